#include "converter/backup_name.h"

#include <cstring>

#include "converter/character_walk.h"
#include "converter/text_format.h"
#include "converter/settings.h"

static bool extension_mode(const char *target) {
    return target[0] == '.';
}

bool make_backup_name(const char *path, const char *target, char *name, size_t size,
                      LeadBytePredicate is_lead_byte) {
    const char *first = path;
    const char *second = target;
    if (!extension_mode(target)) {
        const char *separator = find_last_character(path, "\\", is_lead_byte);
        if (!separator)
            separator = find_last_character(path, "/", is_lead_byte);
        first = target;
        second = separator ? separator + 1 : path;
    }
    int length = format_text(name, size, "%s%s", first, second);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        if (size > 0)
            name[0] = '\0';
        return false;
    }
    return true;
}

static unsigned char fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

bool is_backup_folder(const char *path, bool backups_on, const char *target,
                      int32_t compare_length) {
    if (!backups_on || extension_mode(target))
        return false;
    size_t length = static_cast<size_t>(compare_length);
    if (length >= backup_target_size || std::strlen(path) != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (fold(static_cast<unsigned char>(path[i])) !=
            fold(static_cast<unsigned char>(target[i])))
            return false;
    return true;
}

// A long target is cut so that the closing quote still fits the description, and never between
// the two bytes of a character: a lone lead byte would take the quote for its trail byte.
static void describe_target(char *text, size_t size, const char *lead, const char *target,
                            LeadBytePredicate is_lead_byte) {
    const size_t room = size - std::strlen(lead) - 2;
    size_t length = std::strlen(target);
    if (length > room)
        length = whole_character_length(target, room, is_lead_byte);
    format_text(text, size, "%s%.*s\"", lead, static_cast<int>(length), target);
}

const char *describe_backup(bool backups_on, const char *target, LeadBytePredicate is_lead_byte) {
    static char text[backup_description_size];
    if (!backups_on)
        format_text(text, sizeof text, "Not backup");
    else if (extension_mode(target))
        describe_target(text, sizeof text, "Rename extention to \"", target, is_lead_byte);
    else
        describe_target(text, sizeof text, "Copy to \"", target, is_lead_byte);
    return text;
}
