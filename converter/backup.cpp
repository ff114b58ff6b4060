#include "converter/backup.h"

#include <cstring>

#include "converter/backup_name.h"
#include "converter/file_handle.h"
#include "converter/lead_byte.h"
#include "converter/output.h"
#include "converter/settings.h"
#include "converter/system_error.h"
#include "converter/walk_rules.h"

namespace {

// Writes bytes and the three times into the file at temp, which GetTempFileNameA made. Returns
// NO_ERROR, or the error code of the step that failed, read before the handle closes; the file
// may then be partial.
DWORD write_complete_copy(const char *temp, const uint8_t *bytes, uint32_t size,
                          const FILETIME &creation, const FILETIME &last_access,
                          const FILETIME &last_write) {
    FileHandle copy(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!copy.held())
        return GetLastError();
    if (!write_whole(copy.get(), bytes, size) ||
        !SetFileTime(copy.get(), &creation, &last_access, &last_write) || !copy.close())
        return GetLastError();
    return NO_ERROR;
}

// Puts the complete copy at temp in the place of name. Windows 95 has no MoveFileEx, so an
// older copy is deleted first and the new one moved after it: stopped between the two (power
// cut, killed), the folder holds no copy under name but the complete new one under temp's
// name, and the file itself is still as it was, since it is rewritten only after this. Returns
// NO_ERROR, or the error code when the older copy cannot go (read-only, a folder: it stays) or
// the move fails (a name over the system's limit fails here); old_gone tells whether the older
// copy was deleted, so that the complete one at temp is then the only copy left.
DWORD replace_copy(const char *temp, const char *name, bool &old_gone) {
    old_gone = false;
    if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) {
        if (!DeleteFileA(name))
            return GetLastError();
        old_gone = true;
    }
    return MoveFileA(temp, name) ? NO_ERROR : GetLastError();
}

} // namespace

bool write_backup_copy(const char *path, const uint8_t *bytes, uint32_t size,
                       const FILETIME &creation, const FILETIME &last_access,
                       const FILETIME &last_write) {
    char name[backup_path_size];
    if (!make_backup_name(path, settings.backup_target, name, sizeof name, is_ansi_lead_byte)) {
        print_format("skip too long backup path : %s\n", path);
        return false;
    }
    // The new copy is written under a name of its own in the same folder, so that an older
    // copy is given up only for a complete one, and the move stays on one volume.
    char folder[backup_path_size];
    const size_t folder_length = folder_part_length(name, is_ansi_lead_byte);
    std::memcpy(folder, name, folder_length);
    folder[folder_length] = '\0';
    // The system takes a folder of at most MAX_PATH - 14 characters, room for the 13 of the
    // name that it adds; some implementations do not check.
    char temp[MAX_PATH];
    if (folder_length > MAX_PATH - 14) {
        report_error_code(name, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (!GetTempFileNameA(folder_length ? folder : ".", "eol", 0, temp)) {
        report_system_error(name);
        return false;
    }
    bool old_gone = false;
    DWORD code = write_complete_copy(temp, bytes, size, creation, last_access, last_write);
    if (code == NO_ERROR)
        code = replace_copy(temp, name, old_gone);
    if (code != NO_ERROR) {
        report_error_code(name, code);
        // A partial copy goes; a complete one whose move failed after the older copy was
        // deleted is kept under temp's name, the only record left of the file's older state.
        if (old_gone)
            report_error_code(temp, code);
        else if (!DeleteFileA(temp))
            report_system_error(temp);
        return false;
    }
    return true;
}

bool check_backup_folder() {
    if (!settings.backup_flag || settings.backup_target[0] == '.')
        return true;
    // The walk and the copies use full paths: a relative folder (bak\) is resolved once, by
    // the system's rule, against the current folder, which the walk then starts from.
    char full[backup_target_size];
    DWORD full_length = GetFullPathNameA(settings.backup_target, sizeof full, full, nullptr);
    if (full_length == 0 || full_length >= sizeof full) {
        report_error_code(settings.backup_target,
                          full_length ? ERROR_FILENAME_EXCED_RANGE : GetLastError());
        print_format("Error-backup path. Check ini file.\n");
        return false;
    }
    // The target ends in '\', and the system keeps a trailing separator.
    std::memcpy(settings.backup_target, full, full_length + 1);
    settings.backup_compare_length = static_cast<int32_t>(full_length - 1);

    char folder[backup_target_size];
    size_t length = static_cast<size_t>(settings.backup_compare_length);
    if (length >= sizeof folder)
        length = sizeof folder - 1;
    std::memcpy(folder, settings.backup_target, length);
    folder[length] = '\0';
    WIN32_FIND_DATAA entry;
    SearchHandle search(FindFirstFileA(folder, &entry));
    if (!search.held()) {
        report_system_error(folder);
        print_format("Error-backup path. Check ini file.\n");
        return false;
    }
    search.close();
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        print_format("\"%s\" is not folder(directry).\n", folder);
        print_format("Error-backup path. Check ini file.\n");
        return false;
    }
    return true;
}
