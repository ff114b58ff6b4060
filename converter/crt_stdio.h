// Forced in front of every converter source of the Windows build (-include): selects the
// system's msvcrt.dll printf family instead of the toolchain's own printf, which holds Pentium
// Pro instructions and would stop eolfix on a Pentium. The C++ library's headers switch the
// toolchain's printf on for every source that includes them; including <stdio.h> here first,
// with the switch off, settles the declarations before they can.
//
// With the switch off, format checks follow msvcrt.dll's rules: no %zu, %lld or %hh (use
// %I64d for 64-bit numbers), so -Wformat reports a format the system's printf would misprint.
#ifndef CONVERTER_CRT_STDIO_H
#define CONVERTER_CRT_STDIO_H

#ifdef __USE_MINGW_ANSI_STDIO
#error "converter/crt_stdio.h must come before any other header"
#endif
#define __USE_MINGW_ANSI_STDIO 0
#include <stdio.h>

#endif
