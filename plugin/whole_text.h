// Where a text taken into a fixed buffer ends without splitting a double-byte character.
// Kept free of Win32 so that it builds and runs natively under the sanitizers too.
#ifndef PLUGIN_WHOLE_TEXT_H
#define PLUGIN_WHOLE_TEXT_H

#include <cstdint>

// The lead bytes of the ANSI code page's double-byte characters, by byte value.
struct LeadByteTable {
    bool lead[256];
};

// Bytes of the first count bytes that hold whole characters: count, or count - 1 when the last
// byte is a lead byte whose trail byte lies beyond them. Zero bytes count as characters.
int32_t wholeCharacterBytes(const char *bytes, int32_t count, const LeadByteTable &table);

// Length of the text at the start of a buffer of capacity bytes: up to its first zero, or up
// to the capacity, and one byte shorter when the last character is a lead byte whose trail
// byte was cut off. Such a lone lead byte before the terminator would make a reader that
// walks the text by characters take the terminator as the trail byte and run on beyond it.
int32_t wholeTextLength(const char *text, int32_t capacity, const LeadByteTable &table);

#endif
