#include "converter/mask.h"

#include <cstring>

#include "converter/text_format.h"
#include "converter/settings.h"

bool split_file_mask(const char *mask) {
    char item[file_mask_size];
    const char *from = mask;
    for (;;) {
        const char *to = std::strchr(from, ';');
        size_t length = to ? static_cast<size_t>(to - from) : std::strlen(from);
        if (length > 0) {
            // An item longer than any mask the settings can hold is cut to that length.
            if (length >= sizeof item)
                length = sizeof item - 1;
            std::memcpy(item, from, length);
            item[length] = '\0';
            if (!mask_list.add(item, 0))
                return false;
        }
        if (!to)
            return true;
        from = to + 1;
    }
}

void format_file_mask(char *line, size_t size) {
    if (size == 0)
        return;
    int used = format_text(line, size, "file mask: ");
    for (int32_t i = 0; i < mask_list.count && used >= 0 && static_cast<size_t>(used) < size; ++i)
        used += format_text(line + used, size - used, "%s;", mask_list.names[i]);
}
