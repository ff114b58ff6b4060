#include "converter/file_conversion.h"

#include <windows.h>

#include <cstdio>

#include "converter/backup.h"
#include "converter/engine.h"
#include "converter/file_handle.h"
#include "converter/memory.h"
#include "converter/settings.h"
#include "converter/system_error.h"

namespace {

// Writes all of size bytes from the file's start. A short count is a failure: a full disk
// reports success for part of the bytes.
bool write_from_start(HANDLE file, const uint8_t *bytes, uint32_t size) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    DWORD written = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr))
        return false;
    if (written != size) {
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return true;
}

// After a failed rewrite the old bytes go back over whatever part of the new ones landed, so the
// file ends as it was. The old bytes fit: they occupied the same space before.
void restore_content(const char *path, HANDLE file, const uint8_t *bytes, uint32_t size) {
    if (!write_from_start(file, bytes, size) || !SetEndOfFile(file))
        report_system_error(path);
}

} // namespace

void convert_file(const char *path) {
    FileHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.held()) {
        report_system_error(path);
        return;
    }
    DWORD size_high = 0;
    DWORD size = GetFileSize(file.get(), &size_high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        report_system_error(path);
        return;
    }
    if (size_high != 0 || size == UINT32_MAX) {
        std::printf("skip too large file : %s\n", path);
        return;
    }
    // Taken before the read, which moves the last-access time on many file systems: the backup
    // copy and a kept-time rewrite must carry the times the file had before eolfix touched it.
    FILETIME creation, last_access, last_write;
    if (!GetFileTime(file.get(), &creation, &last_access, &last_write)) {
        report_system_error(path);
        return;
    }
    // The engine reads no byte past the content, so the block holds the content alone.
    MemoryBlock input(static_cast<uint8_t *>(memory_allocate(size)));
    if (!input.held()) {
        std::printf("%s : not enough memory\n", path);
        return;
    }
    DWORD got = 0;
    if (!ReadFile(file.get(), input.get(), size, &got, nullptr)) {
        report_system_error(path);
        return;
    }
    if (got != size) {
        report_error_code(path, ERROR_HANDLE_EOF);
        return;
    }

    OutputBuffer output;
    Conversion result = convert_newlines(input.get(), output, size);
    if (result == Conversion::unchanged)
        return;
    if (result == Conversion::out_of_memory) {
        std::printf("%s : not enough memory\n", path);
        return;
    }

    if (settings.backup_flag &&
        !write_backup_copy(path, input.get(), size, creation, last_access, last_write))
        return;
    if (!write_from_start(file.get(), output.start, output.size()) || !SetEndOfFile(file.get())) {
        report_system_error(path);
        restore_content(path, file.get(), input.get(), size);
        return;
    }
    if ((settings.keep_time_flag &&
         !SetFileTime(file.get(), &creation, &last_access, &last_write)) ||
        !file.close()) {
        report_system_error(path);
        return;
    }
    std::printf("convert: %s\n", path);
    ++settings.converted_count;
}
