#include "converter/settings.h"

#include <cstring>

// Both globals live in this one file so that their construction order is the order written.
NameList mask_list;
Settings settings;

Settings::Settings()
    : output_kind(newline_windows), converted_count(0), keep_time_flag(0), repair_flag(0),
      backup_flag(1), backup_target(), backup_compare_length(0), file_mask() {
    std::strcpy(backup_target, ".bak");
    std::strcpy(file_mask, "*.txt;*.htm;*.html");
}
