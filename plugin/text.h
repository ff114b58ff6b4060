// Text transfer between script variables and the control, and the variable sizes it rests on.
#ifndef PLUGIN_TEXT_H
#define PLUGIN_TEXT_H

#include <cstdint>

#include "plugin/host_records.h"
#include "plugin/whole_text.h"

// The runtime passes a variable's descriptor as a 32-bit argument.
HostVariable *hostVariableAt(int address);

// Bytes of storage behind a string variable, from its 16-bit fields or, when sizeRecordFlag
// says so, from its 32-bit size record; 0 when it has none that can be used.
int32_t variableCapacity(const HostVariable &variable);

// Ends the text in a buffer of capacity (above 0) bytes: a zero at text[capacity - 1], and,
// when the text ran up to there, at the lead byte that the cut would leave without its trail
// byte. Returns the text's length.
int32_t cutText(char *text, int32_t capacity);

// The lead bytes of the ANSI code page's double-byte characters.
LeadByteTable ansiLeadBytes();

#endif
