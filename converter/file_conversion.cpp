#include "converter/file_conversion.h"

#include <windows.h>

#include <cstring>

#include "converter/backup.h"
#include "converter/character_walk.h"
#include "converter/engine.h"
#include "converter/file_handle.h"
#include "converter/holder.h"
#include "converter/output.h"
#include "converter/lead_byte.h"
#include "converter/processor.h"
#include "converter/settings.h"
#include "converter/system_error.h"
#include "converter/unit_engine.h"
#include "converter/walk_rules.h"
#include "converter/write_behind.h"

namespace {

// Kept across the files of a run: the content as read, and two slices of the converted bytes,
// one converted while the other is written. The slices keep the memory near the file's size
// and cost fresh pages once per run, where a block of the whole converted content would double
// the memory and take fresh pages for every large file.
ProcessBlock input_block;
ProcessBlock slice_blocks[2];
const uint32_t slice_size = 256 * 1024;

// The file last converted, while its close is out: its line, and its count, wait for the
// close's answer, since a failed close of a written file is lost data. report tells whether it
// was rewritten (an unchanged file is closed the same way, with nothing to say).
struct ClosingFile {
    bool out;
    bool report;
    uint32_t *clean_mark;
    char path[path_buffer_size];
};
ClosingFile closing = {false, false, nullptr, {}};

// Hands the close of file over, with the line that its success will print, and leaves the
// holder empty.
void close_behind(FileHandle &file, const char (&path)[path_buffer_size], bool report,
                  uint32_t *clean_mark) {
    settle_closing_file();
    closing.out = true;
    closing.report = report;
    closing.clean_mark = clean_mark;
    // The path ends inside its buffer, which is the copy's size.
    std::memcpy(closing.path, path, std::strlen(path) + 1);
    behind_close(file.take());
}

// After a failed rewrite the old bytes from offset on go back over whatever part of the new
// ones landed, and a file that grew is cut to its old size, so it ends as it was. The old bytes
// fit: they occupied the same space before.
void restore_content(const char *path, HANDLE file, const uint8_t *content, uint32_t size,
                     uint32_t offset, bool grew) {
    if (!write_at(file, offset, content + offset, size - offset) || (grew && !SetEndOfFile(file)))
        report_system_error(path);
}

// From Windows Vista on, a handle given 0xFFFFFFFF for its last-access time leaves that time
// alone for everything done through it. The 9x family, NT 4.0, 2000 and XP lack this: there the
// value would be stored as a time, so it is given only where the system has it.
void keep_last_access(HANDLE file) {
    const OSVERSIONINFOA *version = system_version();
    const bool supported = version != nullptr && version->dwPlatformId == VER_PLATFORM_WIN32_NT &&
                           version->dwMajorVersion >= 6;
    // Failing, it leaves the handle as on the older systems: the read then moves the time.
    const FILETIME untouched = {0xFFFFFFFF, 0xFFFFFFFF};
    if (supported)
        SetFileTime(file, nullptr, &untouched, nullptr);
}

HANDLE open_for_conversion(const char *path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

} // namespace

void settle_closing_file() {
    if (!closing.out)
        return;
    // Taken first: the lines printed below come back here, and find nothing out.
    closing.out = false;
    if (!behind_wait()) {
        if (closing.report) {
            report_system_error(closing.path);
            *closing.clean_mark = 0;
        }
        return;
    }
    if (closing.report) {
        print_format("convert: %s\n", closing.path);
        ++settings.converted_count;
    }
}

void report_too_large_file(const char *name) {
    print_format("skip too large file : %s\n", name);
}

bool convert_file(const char (&path)[path_buffer_size], uint32_t *clean_mark) {
    FileHandle file(open_for_conversion(path));
    // The file whose close is out may be this one under another name (a hard link, or a folder
    // part of the mask that reaches it twice): it is still open, and shares with no one. This
    // visit then takes the answer that an open after that close gives.
    if (!file.held() && closing.out) {
        settle_closing_file();
        file.reset(open_for_conversion(path));
    }
    if (!file.held()) {
        report_system_error(path);
        return false;
    }
    keep_last_access(file.get());
    DWORD size_high = 0;
    DWORD size = GetFileSize(file.get(), &size_high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        report_system_error(path);
        return false;
    }
    if (size_high != 0 || size == UINT32_MAX) {
        // The walk's paths end in '\' and the name, whatever folder part a pattern gave.
        const char *separator = find_last_character(path, "\\", is_ansi_lead_byte);
        report_too_large_file(separator != nullptr ? separator + 1 : path);
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
        report_out_of_memory(path);
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

    // Text in 16- or 32-bit units is converted in its own units, everything else byte by byte;
    // a marked file cut inside a unit is no such text and is left as it is.
    const TextEncoding encoding = text_encoding(content, size);
    if (!whole_units(encoding, size)) {
        print_format("skip broken %s file : %s\n", unit_bytes(encoding) == 2 ? "UTF-16" : "UTF-32",
                     path);
        return false;
    }
    const bool in_units = encoding != TextEncoding::bytes;
    const int32_t kind = settings.output_kind;
    const bool repair = settings.repair_flag != 0;
    const EnginePath engine = fastest_engine_path();
    const uint32_t first_change =
        in_units ? first_unit_change(content, size, encoding, kind, repair, engine)
                 : find_first_change(content, size, kind, repair, engine);
    if (first_change == size) {
        close_behind(file, path, false, clean_mark);
        return true;
    }
    // Only the Windows target makes content longer, and only past 2 GiB can it pass the 4 GiB
    // that the file's offsets and the walk allow: only there is the size counted beforehand.
    uint8_t *slices[2] = {slice_blocks[0].reserve(slice_size), slice_blocks[1].reserve(slice_size)};
    if (slices[0] == nullptr || slices[1] == nullptr ||
        (kind == newline_windows && size > UINT32_MAX / 2 &&
         (in_units ? scan_units(content, size, encoding, kind, repair, engine).output_size
                   : converted_size(content, size, kind, repair, engine)) >= UINT32_MAX)) {
        report_out_of_memory(path);
        return false;
    }

    // The backup copy may replace the file whose close is out (a backup folder inside the tree):
    // that file is done with first, as it was before.
    settle_closing_file();
    if (settings.backup_flag &&
        !write_backup_copy(path, content, size, creation, last_access, last_write))
        return false;
    // The bytes before the first change are on disk already: only the rest is written, a slice
    // at a time, each while the next is converted. grew tells whether a write may have reached
    // past the old end.
    uint32_t from = first_change, end = first_change;
    bool grew = false, written = true;
    for (int next = 0; written && from < size; next ^= 1) {
        uint8_t *slice = slices[next];
        uint32_t bytes =
            in_units ? write_units(content, size, from, slice, slice_size, encoding, kind, repair,
                                   engine)
                     : write_slice(content, size, from, slice, slice_size, kind, repair, engine);
        grew = grew || uint64_t{end} + bytes > size;
        // The slice before this one is written by now, or the loop ends with its error.
        written = behind_wait();
        if (written)
            behind_write(file.get(), end, slice, bytes);
        end += bytes;
    }
    // Called first: the last slice's write is out when the loop ran to its end.
    written = behind_wait() && written;
    // A file that grows ends where the write ends; only a shorter one needs the cut.
    if (!written || (end < size && !SetEndOfFile(file.get()))) {
        report_system_error(path);
        restore_content(path, file.get(), content, size, first_change, grew);
        return false;
    }
    if (settings.keep_time_flag && !SetFileTime(file.get(), &creation, &last_access, &last_write)) {
        report_system_error(path);
        return false;
    }
    close_behind(file, path, true, clean_mark);
    return true;
}
