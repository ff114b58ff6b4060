#include "converter/walk_rules.h"

#include <cstring>

#include "converter/character_walk.h"
#include "converter/text_format.h"

enum : uint32_t {
    attribute_directory = 0x10,
    attribute_archive = 0x20,
    attribute_normal = 0x80,
};

EntryClass classify_entry(uint32_t attributes, uint32_t size_high) {
    uint32_t low = attributes & 0xFF;
    if (low & (attribute_archive | attribute_normal))
        return size_high != 0 ? EntryClass::too_large : EntryClass::listed;
    if (low & attribute_directory)
        return EntryClass::passed_over;
    return EntryClass::skipped_by_attribute;
}

bool is_subfolder(uint32_t attributes, const char *name) {
    if (!(attributes & attribute_directory))
        return false;
    return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

bool join_path(char *path, size_t size, const char *folder, const char *name) {
    int length = format_text(path, size, "%s\\%s", folder, name);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        if (size > 0)
            path[0] = '\0';
        return false;
    }
    return true;
}

size_t folder_part_length(const char *path, LeadBytePredicate is_lead_byte) {
    const char *last = find_last_character(path, "\\/", is_lead_byte);
    return last != nullptr ? static_cast<size_t>(last - path) + 1 : 0;
}
