#include "converter/run.h"

#include <windows.h>

#include "converter/backup.h"
#include "converter/file_conversion.h"
#include "converter/lead_byte.h"
#include "converter/mask.h"
#include "converter/options.h"
#include "converter/output.h"
#include "converter/program_path.h"
#include "converter/settings.h"
#include "converter/settings_file.h"
#include "converter/walk.h"
#include "converter/walk_rules.h"

int run(int argc, char **argv) {
    char ini_path[path_buffer_size];
    if (!settings_file_path(ini_path, sizeof ini_path)) {
        print_format("Error-set ini file failed.\n");
        return 1;
    }
    if (!load_settings_file(ini_path, settings)) {
        print_format("Error-load ini file failed.\n");
        return 1;
    }
    if (!apply_options(argc, argv))
        return 1;
    if (!split_file_mask(settings.file_mask)) {
        print_format("Error-not enough memory for the file mask.\n");
        return 1;
    }
    if (!check_backup_folder())
        return 1;

    char folder[path_buffer_size];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    // A longer folder does not fit: the call then answers with the size it would need.
    if (length == 0 || length >= sizeof folder) {
        print_format("Error-can't get current folder!\n");
        return 1;
    }
    // A last byte 5Ch may be the trail byte of a double-byte character ending the folder's name
    // (a folder named with the kanji 95h 5Ch), which is no separator to drop.
    if (folder[length - 1] == '\\' && folder_part_length(folder, is_ansi_lead_byte) == length)
        folder[length - 1] = '\0';

    char mask_line[mask_line_size];
    format_file_mask(mask_line, sizeof mask_line);
    print_format("%s\n", mask_line);
    // A file's line waits for its close, and comes out before any line after it.
    set_before_print(settle_closing_file);
    walk_folder(folder);
    settle_closing_file();
    print_format("convert %d files.\n", static_cast<int>(settings.converted_count));
    return 0;
}
