// The one place where the plug-in asks the system which bytes lead a double-byte character.
#include "plugin/ansi_text.h"

#include <windows.h>

LeadByteTable ansiLeadBytes() {
    LeadByteTable table;
    for (int b = 0; b < 256; ++b)
        table.lead[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
    return table;
}

int32_t cutText(char *text, int32_t capacity) {
    int32_t length = 0;
    while (length < capacity && text[length] != '\0')
        ++length;
    text[capacity - 1] = '\0';
    if (length < capacity)
        return length;
    length = wholeTextLength(text, capacity, ansiLeadBytes());
    text[length] = '\0';
    return length;
}
