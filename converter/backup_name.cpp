#include "converter/backup_name.h"

#include <cstring>

#include "converter/text_format.h"
#include "converter/settings.h"

static bool extension_mode() {
    return settings.backup_target[0] == '.';
}

// A trail byte equal to the separator belongs to its double-byte character, never splits it.
static const char *last_separator(const char *path, char separator,
                                  LeadBytePredicate is_lead_byte) {
    const char *found = nullptr;
    for (const char *p = path; *p; ++p) {
        if (is_lead_byte(static_cast<unsigned char>(*p))) {
            if (!p[1])
                break;
            ++p;
        } else if (*p == separator) {
            found = p;
        }
    }
    return found;
}

bool make_backup_name(const char *path, char *name, size_t size, LeadBytePredicate is_lead_byte) {
    const char *first = path;
    const char *second = settings.backup_target;
    if (!extension_mode()) {
        const char *separator = last_separator(path, '\\', is_lead_byte);
        if (!separator)
            separator = last_separator(path, '/', is_lead_byte);
        first = settings.backup_target;
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

bool is_backup_folder(const char *path) {
    if (!settings.backup_flag || extension_mode())
        return false;
    size_t length = static_cast<size_t>(settings.backup_compare_length);
    if (length >= sizeof settings.backup_target || std::strlen(path) != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (fold(static_cast<unsigned char>(path[i])) !=
            fold(static_cast<unsigned char>(settings.backup_target[i])))
            return false;
    return true;
}

size_t whole_character_length(const char *text, size_t length, LeadBytePredicate is_lead_byte) {
    size_t i = 0;
    while (i < length) {
        size_t width = is_lead_byte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (length - i < width)
            break;
        i += width;
    }
    return i;
}

// A long target is cut so that the closing quote still fits the description, and never between
// the two bytes of a character: a lone lead byte would take the quote for its trail byte.
static void describe_target(char *text, size_t size, const char *lead,
                            LeadBytePredicate is_lead_byte) {
    const size_t room = size - std::strlen(lead) - 2;
    size_t length = std::strlen(settings.backup_target);
    if (length > room)
        length = whole_character_length(settings.backup_target, room, is_lead_byte);
    format_text(text, size, "%s%.*s\"", lead, static_cast<int>(length), settings.backup_target);
}

const char *describe_backup(LeadBytePredicate is_lead_byte) {
    static char text[backup_description_size];
    if (!settings.backup_flag)
        format_text(text, sizeof text, "Not backup");
    else if (extension_mode())
        describe_target(text, sizeof text, "Rename extention to \"", is_lead_byte);
    else
        describe_target(text, sizeof text, "Copy to \"", is_lead_byte);
    return text;
}
