// The converter's one settings record and its global pattern list.
#ifndef CONVERTER_SETTINGS_H
#define CONVERTER_SETTINGS_H

#include <cstdint>

#include "converter/name_list.h"

// The target newline code of converted files.
enum NewlineKind : int32_t {
    newline_windows = 1, // 0Dh 0Ah
    newline_mac = 2,     // 0Dh
    newline_unix = 3,    // 0Ah
};

enum : int {
    file_mask_size = 260,     // the mask with its terminating zero
    backup_target_size = 261, // extension text or folder path with its terminating zero
};

// The defaults stand in the members, so that the global is set when the program is loaded:
// nothing runs before the start-up (no constructor list).
struct Settings {
    int32_t output_kind = newline_windows; // a NewlineKind, always 1, 2 or 3
    int32_t converted_count = 0;           // files reported as converted in this run
    uint8_t keep_time_flag = 0;            // 1: rewritten files get their old time stamps back
    uint8_t repair_flag = 0;               // 1: 0Dh 0Dh 0Ah counts as one newline
    uint8_t backup_flag = 1;               // 1: a file about to change gets a backup copy first
    // Extension text when it begins with '.', otherwise a folder path ending in '\'.
    char backup_target[backup_target_size] = ".bak";
    // Folder mode: the length of backup_target without its trailing '\'.
    int32_t backup_compare_length = 0;
    char file_mask[file_mask_size] = "*.txt;*.htm;*.html"; // ';'-separated file-name patterns
};

// Both are set when the program is loaded (mask_list empty, settings with its defaults).
// mask_list lives as long as the process: the start-up releases it before the process ends.
extern NameListEntries mask_list;
extern Settings settings;

#endif
