#include "converter/backup_name.h"

#include <cstdio>

#include "converter/settings.h"

const char *describe_backup() {
    static char text[backup_description_size];
    if (!settings.backup_flag)
        std::snprintf(text, sizeof text, "Not backup");
    else if (settings.backup_target[0] == '.')
        std::snprintf(text, sizeof text, "Rename extention to \"%s\"", settings.backup_target);
    else
        std::snprintf(text, sizeof text, "Copy to \"%s\"", settings.backup_target);
    return text;
}
