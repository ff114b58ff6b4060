#include "converter/backup.h"

#include <cstdio>
#include <cstring>

#include "converter/backup_name.h"
#include "converter/file_handle.h"
#include "converter/lead_byte.h"
#include "converter/settings.h"
#include "converter/system_error.h"

bool write_backup_copy(const char *path, const uint8_t *bytes, uint32_t size,
                       const FILETIME &creation, const FILETIME &last_access,
                       const FILETIME &last_write) {
    char name[backup_path_size];
    if (!make_backup_name(path, settings.backup_target, name, sizeof name, is_ansi_lead_byte)) {
        std::printf("skip too long backup path : %s\n", path);
        return false;
    }
    FileHandle copy(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!copy.held()) {
        report_system_error(name);
        return false;
    }
    if (!write_whole(copy.get(), bytes, size)) {
        report_system_error(name);
        return false;
    }
    if (!SetFileTime(copy.get(), &creation, &last_access, &last_write) || !copy.close()) {
        report_system_error(name);
        return false;
    }
    return true;
}

bool check_backup_folder() {
    if (!settings.backup_flag || settings.backup_target[0] == '.')
        return true;
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
        std::printf("Error-backup path. Check ini file.\n");
        return false;
    }
    search.close();
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        std::printf("\"%s\" is not folder(directry).\n", folder);
        std::printf("Error-backup path. Check ini file.\n");
        return false;
    }
    return true;
}
