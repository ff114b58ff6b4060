#include "converter/listing_match.h"

#include <cstring>

namespace {

bool is_ascii_alnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when name ends in '.' and ext (ext_length bytes), folded, the '.' starting a character.
bool ends_in_extension(const char *name, const char *ext, size_t ext_length,
                       LeadBytePredicate is_lead_byte) {
    const size_t length = std::strlen(name);
    if (length < ext_length + 1)
        return false;
    const size_t dot = length - ext_length - 1;
    // A byte alone cannot tell a lead byte from a trail byte: walk from the start.
    size_t i = 0;
    while (i < dot)
        i += is_lead_byte(static_cast<unsigned char>(name[i])) && name[i + 1] != '\0' ? 2 : 1;
    if (i != dot || name[dot] != '.')
        return false;
    for (size_t k = 0; k < ext_length; ++k)
        if (fold(name[dot + 1 + k]) != fold(ext[k]))
            return false;
    return true;
}

} // namespace

bool is_listing_pattern(const char *pattern) {
    if (std::strcmp(pattern, "*") == 0 || std::strcmp(pattern, "*.*") == 0)
        return true;
    if (pattern[0] != '*' || pattern[1] != '.' || pattern[2] == '\0')
        return false;
    for (const char *c = pattern + 2; *c != '\0'; ++c)
        if (!is_ascii_alnum(*c))
            return false;
    return true;
}

bool listing_entry_matches(const char *pattern, const char *long_name, const char *short_name,
                           LeadBytePredicate is_lead_byte) {
    if (pattern[1] == '\0' || pattern[2] == '*')
        return true;
    const char *ext = pattern + 2;
    const size_t ext_length = std::strlen(ext);
    return ends_in_extension(long_name, ext, ext_length, is_lead_byte) ||
           (short_name[0] != '\0' && ends_in_extension(short_name, ext, ext_length, is_lead_byte));
}

bool is_faithful_entry(const char *long_name, const char *short_name,
                       LeadBytePredicate is_lead_byte) {
    const char *long_extension = nullptr;
    for (const char *c = long_name; *c != '\0'; ++c) {
        if (*c == '?')
            return false;
        if (*c == '.')
            long_extension = c + 1;
        else if (is_lead_byte(static_cast<unsigned char>(*c)) && c[1] != '\0')
            ++c;
    }
    if (short_name[0] == '\0' || long_extension == nullptr || *long_extension == '\0')
        return true;
    for (const char *c = long_extension; *c != '\0'; ++c)
        if (!is_ascii_alnum(*c))
            return true; // no pattern of the listing matches it by its long name
    const char *short_extension = "";
    for (const char *c = short_name; *c != '\0'; ++c) {
        if (*c == '.')
            short_extension = c + 1;
        else if (is_lead_byte(static_cast<unsigned char>(*c)) && c[1] != '\0')
            ++c;
    }
    size_t k = 0;
    for (; k < 3 && long_extension[k] != '\0'; ++k)
        if (fold(long_extension[k]) != fold(short_extension[k]))
            return false;
    return short_extension[k] == '\0';
}
