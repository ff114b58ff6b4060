#include "converter/character_walk.h"

#include <cstring>

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

const char *find_last_character(const char *text, const char *bytes,
                                LeadBytePredicate is_lead_byte) {
    const char *found = nullptr;
    for (const char *p = text; *p != '\0'; ++p) {
        if (is_lead_byte(static_cast<unsigned char>(*p))) {
            if (p[1] == '\0')
                break;
            ++p;
        } else if (std::strchr(bytes, *p) != nullptr) {
            found = p;
        }
    }
    return found;
}
