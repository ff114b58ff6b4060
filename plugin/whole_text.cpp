#include "plugin/whole_text.h"

int32_t wholeTextLength(const char *text, int32_t capacity, const LeadByteTable &table) {
    int32_t i = 0;
    while (i < capacity && text[i] != '\0') {
        bool lead = table.lead[static_cast<unsigned char>(text[i])];
        if (!lead) {
            ++i;
            continue;
        }
        if (i + 1 >= capacity || text[i + 1] == '\0')
            break;
        i += 2;
    }
    return i;
}
