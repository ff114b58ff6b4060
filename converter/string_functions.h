// The C library's byte and string functions that the converter calls and that the compiler
// emits for copies and clears of its own (memcpy, memmove, memset, memcmp, strlen, strcmp,
// strchr, strrchr), defined by the program: eolfix links no C runtime. Declared by <cstring>;
// linked into eolfix.exe only (the tests use their C runtime's).
#ifndef CONVERTER_STRING_FUNCTIONS_H
#define CONVERTER_STRING_FUNCTIONS_H

#include <string.h>

#endif
