// The command line split into arguments, by one rule of the program's own (the classic one of
// the C runtimes, which split differently from version to version):
// - The program name, first, ends at the next '"' when it begins with one, else at the first
//   blank or tab; backslashes in it are plain characters.
// - After it, blanks and tabs separate arguments; a '"' opens or closes a group, inside which
//   blanks and tabs belong to the argument.
// - 2n backslashes before a '"' give n backslashes and a '"' that opens or closes a group;
//   2n+1 give n backslashes and a literal '"'. Other backslashes are literal.
// - Inside a group, "" gives one literal '"' and the group goes on (as the system's
//   msvcrt.dll read it).
// - A lead byte of the code page takes the next byte with it, so a trail byte 5Ch is no
//   backslash.
// Platform-free, over bytes.
#ifndef CONVERTER_COMMAND_LINE_H
#define CONVERTER_COMMAND_LINE_H

#include "converter/lead_byte.h"

// The arguments of line, the program name first, as one block from memory_allocate that holds
// the pointers (ended by a null one) and the texts; *count gets their number. Null, with
// nothing held and *count 0, when memory runs out. The caller releases the block with
// memory_release.
char **split_command_line(const char *line, LeadBytePredicate is_lead_byte, int *count);

#endif
