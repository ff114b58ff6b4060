#include "converter/walk.h"

#include <windows.h>
#include <cstring>

#include "converter/backup.h"
#include "converter/backup_name.h"
#include "converter/file_conversion.h"
#include "converter/file_handle.h"
#include "converter/text_format.h"
#include "converter/lead_byte.h"
#include "converter/listing_match.h"
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

// Takes one entry that a search for pattern gave, by its class: into files, or its skip line.
void take_file_entry(const char *path, const char *pattern, const char *entry_name,
                     EntryClass entry_class, NameList &files) {
    switch (entry_class) {
    case EntryClass::listed: {
        // The search gives bare names; those of a pattern such as sub\*.txt lie in its folder part.
        const int folder_part = static_cast<int>(folder_part_length(pattern, is_ansi_lead_byte));
        // Both parts are shorter than a path; the joined path's own limit is checked later.
        char name[2 * path_buffer_size];
        format_text(name, sizeof name, "%.*s%s", folder_part, pattern, entry_name);
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
        report_too_large_file(entry_name);
        break;
    case EntryClass::skipped_by_attribute:
        print_format("skip file by attribute : %s\n", entry_name);
        break;
    case EntryClass::passed_over:
        break;
    }
}

void list_files(const char *path, const char *pattern, NameList &files) {
    char search_path[path_buffer_size];
    if (!join_or_refuse(search_path, path, pattern))
        return;
    WIN32_FIND_DATAA entry;
    SearchHandle search(FindFirstFileA(search_path, &entry));
    if (!search.held())
        return;
    do {
        take_file_entry(path, pattern, entry.cFileName,
                        classify_entry(entry.dwFileAttributes, entry.nFileSizeHigh), files);
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
// A listing's short-name value: a subfolder that the walk enters.
enum : int32_t { entered_subfolder = 1 };

// One search of a folder ("*") kept after it is closed: each entry's long name with its class,
// and its short name with entered_subfolder for a subfolder the walk enters. A system search costs
// about half a millisecond, a large share of a small file's visit; this one answers every pattern
// that is_listing_pattern takes, and the subfolders, with the entries and the order that their own
// searches give.
struct Listing {
    NameList names;
    NameList short_names;
};

bool uses_listing() {
    for (int32_t i = 0; i < mask_list.count; ++i)
        if (is_listing_pattern(mask_list.names[i]))
            return true;
    return false;
}

// Fills listing from one search of path. False, with the folder left to its per-pattern
// searches (which then list it as they always do), when the search fails, memory runs out,
// or an entry's listed name may differ from the one the system's search compares (a
// substitute or a look-alike for a character the code page cannot hold; is_faithful_entry).
// Every other entry is matched as the system matches it, so the one listing lists no file that
// those searches would not, and misses none.
bool take_listing(const char *path, Listing &listing) {
    char search_path[path_buffer_size];
    if (!join_path(search_path, sizeof search_path, path, "*"))
        return false;
    WIN32_FIND_DATAA entry;
    SearchHandle search(FindFirstFileA(search_path, &entry));
    if (!search.held())
        return false;
    do {
        if (!is_faithful_entry(entry.cFileName, entry.cAlternateFileName, is_ansi_lead_byte))
            return false;
        const EntryClass entry_class = classify_entry(entry.dwFileAttributes, entry.nFileSizeHigh);
        if (!listing.names.add(entry.cFileName, static_cast<uint32_t>(entry_class)) ||
            !listing.short_names.add(
                entry.cAlternateFileName,
                is_subfolder(entry.dwFileAttributes, entry.cFileName) ? entered_subfolder : 0))
            return false;
    } while (FindNextFileA(search.get(), &entry));
    return true;
}

// The entries of listing that pattern matches, in listing order, as its own search gives them.
void list_files_from(const Listing &listing, const char *path, const char *pattern,
                     NameList &files) {
    for (int32_t i = 0; i < listing.names.count; ++i)
        if (listing_entry_matches(pattern, listing.names.names[i], listing.short_names.names[i],
                                  is_ansi_lead_byte))
            take_file_entry(path, pattern, listing.names.names[i],
                            static_cast<EntryClass>(listing.names.values[i]), files);
}

void list_folders_from(const Listing &listing, const char *path, NameList &folders) {
    for (int32_t i = 0; i < listing.names.count; ++i)
        if (listing.short_names.values[i] == entered_subfolder &&
            !folders.add(listing.names.names[i], 0))
            report_out_of_memory(path, listing.names.names[i]);
}

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
    Listing listing;
    const bool listed = uses_listing() && take_listing(path, listing);
    int32_t first_pattern_end = 0;
    for (int32_t i = 0; i < mask_list.count; ++i) {
        if (listed && is_listing_pattern(mask_list.names[i]))
            list_files_from(listing, path, mask_list.names[i], files);
        else
            list_files(path, mask_list.names[i], files);
        if (i == 0)
            first_pattern_end = files.count;
    }
    // A file that several patterns list (*.htm also finds .html by its short name) is visited
    // again only when its first visit printed a failure, since only then could a second visit
    // print anything. Each entry's value records that its visit left nothing to report.
    for (int32_t i = 0; i < files.count; ++i) {
        if (i >= first_pattern_end && visited_cleanly(files, i)) {
            // The first visit's close may still be out, and a failed one calls for this visit.
            settle_closing_file();
            if (visited_cleanly(files, i))
                continue;
        }
        char file_path[path_buffer_size];
        if (join_or_refuse(file_path, path, files.names[i]) &&
            convert_file(file_path, &files.values[i]))
            files.values[i] = visit_clean;
    }
    // The marks go with the list.
    settle_closing_file();

    NameList folders;
    if (listed)
        list_folders_from(listing, path, folders);
    else
        list_folders(path, folders);
    listing.names.clear();
    listing.short_names.clear();
    // Each level adds at least two characters, so the path limit also ends a folder loop.
    for (int32_t i = 0; i < folders.count; ++i) {
        char folder_path[path_buffer_size];
        if (join_or_refuse(folder_path, path, folders.names[i]))
            walk_folder(folder_path);
    }
}
