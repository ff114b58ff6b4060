// Texts in the system's ANSI code page: its lead-byte table and a cut that never leaves half a
// double-byte character. The rule over bytes is whole_text's; this gives it the code page.
#ifndef PLUGIN_ANSI_TEXT_H
#define PLUGIN_ANSI_TEXT_H

#include <cstdint>

#include "plugin/whole_text.h"

// The lead bytes of the ANSI code page's double-byte characters.
LeadByteTable ansiLeadBytes();

// Ends the text in a buffer of capacity (above 0) bytes: a zero at text[capacity - 1], and,
// when the text ran up to there, at the lead byte that the cut would leave without its trail
// byte. Returns the text's length.
int32_t cutText(char *text, int32_t capacity);

#endif
