#include "converter/walk.h"

#include <windows.h>
#include <cstring>

#include "converter/backup.h"
#include "converter/backup_name.h"
#include "converter/file_conversion.h"
#include "converter/file_handle.h"
#include "converter/text_format.h"
#include "converter/lead_byte.h"
#include "converter/name_list.h"
#include "converter/output.h"
#include "converter/settings.h"
#include "converter/system_error.h"
#include "converter/walk_rules.h"

namespace {

// Joins folder, '\' and name into full. False, after the refusal line, when they would not fit.
bool join_or_refuse(char (&full)[path_buffer_size], const char *folder, const char *name) {
    if (join_path(full, sizeof full, folder, name))
        return true;
    print_format("skip too long path : %s\\%s\n", folder, name);
    return false;
}

void list_files(const char *path, const char *pattern, NameList &files) {
    char search_path[path_buffer_size];
    if (!join_or_refuse(search_path, path, pattern))
        return;
    WIN32_FIND_DATAA entry;
    SearchHandle search(FindFirstFileA(search_path, &entry));
    if (!search.held())
        return;
    // The search gives bare names; those of a pattern such as sub\*.txt lie in its folder part.
    const int folder_part = static_cast<int>(folder_part_length(pattern, is_ansi_lead_byte));
    do {
        switch (classify_entry(entry.dwFileAttributes, entry.nFileSizeHigh)) {
        case EntryClass::listed: {
            // Both parts are shorter than a path; the joined path's own limit is checked later.
            char name[2 * path_buffer_size];
            format_text(name, sizeof name, "%.*s%s", folder_part, pattern, entry.cFileName);
            // Backup naming splits at '\' first; '/' is never a trail byte, so this is safe.
            for (int i = 0; i < folder_part; ++i)
                if (name[i] == '/')
                    name[i] = '\\';
            // No size: convert_file takes it from the opened file, which may have changed since;
            // the value records the visit instead (walk_folder).
            if (!files.add(name, 0))
                report_out_of_memory(path, name);
            break;
        }
        case EntryClass::too_large:
            report_too_large_file(entry.cFileName);
            break;
        case EntryClass::skipped_by_attribute:
            print_format("skip file by attribute : %s\n", entry.cFileName);
            break;
        case EntryClass::passed_over:
            break;
        }
    } while (FindNextFileA(search.get(), &entry));
}

void list_folders(const char *path, NameList &folders) {
    char search_path[path_buffer_size];
    if (!join_or_refuse(search_path, path, "*.*"))
        return;
    WIN32_FIND_DATAA entry;
    SearchHandle search(FindFirstFileA(search_path, &entry));
    if (!search.held())
        return;
    do {
        if (is_subfolder(entry.dwFileAttributes, entry.cFileName) &&
            !folders.add(entry.cFileName, 0))
            report_out_of_memory(path, entry.cFileName);
    } while (FindNextFileA(search.get(), &entry));
}

// A file-list entry's value: 0 until its visit, then visit_clean when that visit left nothing to
// report.
enum : int32_t { visit_clean = 1 };

// True when an entry before index names the same file and its visit left nothing to report.
bool visited_cleanly(const NameList &files, int32_t index) {
    for (int32_t i = 0; i < index; ++i)
        if (files.values[i] == visit_clean && std::strcmp(files.names[i], files.names[index]) == 0)
            return true;
    return false;
}

} // namespace

void walk_folder(const char *path) {
    if (is_backup_folder(path, settings.backup_flag, settings.backup_target,
                         settings.backup_compare_length)) {
        print_format("%s is backup path. Skip this.\n", path);
        return;
    }
    print_format("%s\n", path);

    // Every search of this folder is closed before its files change or its subfolders are
    // entered, so the rewrites and the backup copies they create never disturb a listing.
    NameList files;
    int32_t first_pattern_end = 0;
    for (int32_t i = 0; i < mask_list.count; ++i) {
        list_files(path, mask_list.names[i], files);
        if (i == 0)
            first_pattern_end = files.count;
    }
    // A file that several patterns list (*.htm also finds .html by its short name) is visited
    // again only when its first visit printed a failure, since only then could a second visit
    // print anything. Each entry's value records that its visit left nothing to report.
    for (int32_t i = 0; i < files.count; ++i) {
        if (i >= first_pattern_end && visited_cleanly(files, i))
            continue;
        char file_path[path_buffer_size];
        if (join_or_refuse(file_path, path, files.names[i]) && convert_file(file_path))
            files.values[i] = visit_clean;
    }

    NameList folders;
    list_folders(path, folders);
    // Each level adds at least two characters, so the path limit also ends a folder loop.
    for (int32_t i = 0; i < folders.count; ++i) {
        char folder_path[path_buffer_size];
        if (join_or_refuse(folder_path, path, folders.names[i]))
            walk_folder(folder_path);
    }
}
