#include "plugin/whole_text.h"

int32_t wholeCharacterBytes(const char *bytes, int32_t count, const LeadByteTable &table) {
    int32_t i = 0;
    while (i < count) {
        if (!table.lead[static_cast<unsigned char>(bytes[i])])
            ++i;
        else if (i + 1 < count)
            i += 2;
        else
            break;
    }
    return i;
}

int32_t wholeTextLength(const char *text, int32_t capacity, const LeadByteTable &table) {
    // A zero is no trail byte: a lead byte just before the terminator stands alone too.
    int32_t end = 0;
    while (end < capacity && text[end] != '\0')
        ++end;
    return wholeCharacterBytes(text, end, table);
}
