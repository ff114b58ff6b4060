#include "converter/file_conversion.h"

#include <windows.h>

#include <cstdio>

#include "converter/backup.h"
#include "converter/engine.h"
#include "converter/file_handle.h"
#include "converter/holder.h"
#include "converter/processor.h"
#include "converter/settings.h"
#include "converter/system_error.h"

namespace {

// Kept across the files of a run: the content as read, and one slice of the converted bytes.
// The slices keep the memory near the file's size and cost fresh pages once per run, where a
// block of the whole converted content would double the memory and take fresh pages for every
// large file.
ReusedBlock input_block;
ReusedBlock slice_block;
const uint32_t slice_size = 256 * 1024;

bool seek(HANDLE file, uint32_t offset) {
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN);
    return low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

// Writes all of size bytes at offset, leaving the file position after them. A short count is a
// failure: a full disk reports success for part of the bytes.
bool write_at(HANDLE file, uint32_t offset, const uint8_t *bytes, uint32_t size) {
    if (!seek(file, offset))
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

// After a failed rewrite the old bytes from offset on go back over whatever part of the new
// ones landed, and a file that grew is cut to its old size, so it ends as it was. The old bytes
// fit: they occupied the same space before.
void restore_content(const char *path, HANDLE file, const uint8_t *content, uint32_t size,
                     uint32_t offset, bool grew) {
    if (!write_at(file, offset, content + offset, size - offset) || (grew && !SetEndOfFile(file)))
        report_system_error(path);
}

} // namespace

bool convert_file(const char *path) {
    FileHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.held()) {
        report_system_error(path);
        return false;
    }
    DWORD size_high = 0;
    DWORD size = GetFileSize(file.get(), &size_high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        report_system_error(path);
        return false;
    }
    if (size_high != 0 || size == UINT32_MAX) {
        std::printf("skip too large file : %s\n", path);
        return false;
    }
    // Taken before the read, which moves the last-access time on many file systems: the backup
    // copy and a kept-time rewrite must carry the times the file had before eolfix touched it.
    // Without either of them the times go nowhere, and the query is left out: it costs a run of
    // many small files a measurable part of its time.
    FILETIME creation = {}, last_access = {}, last_write = {};
    if ((settings.backup_flag || settings.keep_time_flag) &&
        !GetFileTime(file.get(), &creation, &last_access, &last_write)) {
        report_system_error(path);
        return false;
    }
    // The engine reads no byte past the content, so the block holds the content alone.
    uint8_t *content = input_block.reserve(size);
    if (content == nullptr) {
        std::printf("%s : not enough memory\n", path);
        return false;
    }
    DWORD got = 0;
    if (!ReadFile(file.get(), content, size, &got, nullptr)) {
        report_system_error(path);
        return false;
    }
    if (got != size) {
        report_error_code(path, ERROR_HANDLE_EOF);
        return false;
    }

    const EnginePath engine = fastest_engine_path();
    const int32_t kind = settings.output_kind;
    const bool repair = settings.repair_flag != 0;
    const uint32_t first_change = find_first_change(content, size, kind, repair, engine);
    if (first_change == size)
        return true;
    // Only the Windows target makes content longer, and only past 2 GiB can it pass the 4 GiB
    // that the file's offsets and the walk allow: only there is the size counted beforehand.
    uint8_t *slice = slice_block.reserve(slice_size);
    if (slice == nullptr || (kind == newline_windows && size > UINT32_MAX / 2 &&
                             converted_size(content, size, kind, repair, engine) >= UINT32_MAX)) {
        std::printf("%s : not enough memory\n", path);
        return false;
    }

    if (settings.backup_flag &&
        !write_backup_copy(path, content, size, creation, last_access, last_write))
        return false;
    // The bytes before the first change are on disk already: only the rest is written, a slice
    // at a time. grew tells whether a write may have reached past the old end.
    uint32_t from = first_change, end = first_change;
    bool grew = false, written = true;
    while (written && from < size) {
        uint32_t bytes = write_slice(content, size, from, slice, slice_size, kind, repair, engine);
        grew = grew || uint64_t{end} + bytes > size;
        written = write_at(file.get(), end, slice, bytes);
        end += bytes;
    }
    // A file that grows ends where the write ends; only a shorter one needs the cut.
    if (!written || (end < size && !SetEndOfFile(file.get()))) {
        report_system_error(path);
        restore_content(path, file.get(), content, size, first_change, grew);
        return false;
    }
    if ((settings.keep_time_flag &&
         !SetFileTime(file.get(), &creation, &last_access, &last_write)) ||
        !file.close()) {
        report_system_error(path);
        return false;
    }
    std::printf("convert: %s\n", path);
    ++settings.converted_count;
    return true;
}
