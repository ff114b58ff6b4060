// snprintf with the standard's results on top of msvcrt.dll's _vsnprintf. The headers route
// snprintf and vsnprintf here (__ms_vsnprintf, __ms_snprintf); the toolchain's own versions
// measure a cut text with _vscprintf, which the msvcrt.dll of Windows 95, 98 and NT 4.0 lacks.
// msvcrt.dll's _vsnprintf answers -1 for a text that does not fit and then leaves the buffer
// without its terminating zero: callers here rely on the length and on the zero.
#include <stdarg.h>
#include <stddef.h>

#include "converter/memory.h"

// The length that format gives with arguments, measured in heap blocks that double until the
// text fits. -1 when the text needs more than 256 MiB or no block can be had; nothing is held
// afterwards.
static int formatted_length(const char *format, va_list arguments) {
    for (size_t size = 1024; size <= (size_t(1) << 28); size *= 2) {
        char *block = static_cast<char *>(memory_allocate(size));
        if (!block)
            return -1;
        va_list copy;
        va_copy(copy, arguments);
        int length = _vsnprintf(block, size, format, copy);
        va_end(copy);
        memory_release(block);
        if (length >= 0 && static_cast<size_t>(length) < size)
            return length;
    }
    return -1;
}

// Writes at most size - 1 bytes and always a terminating zero when size > 0; returns the full
// text's length, or -1 when that cannot be measured (the buffer then holds the cut text).
extern "C" int __cdecl __ms_vsnprintf(char *buffer, size_t size, const char *format,
                                      va_list arguments) {
    if (size > 0) {
        va_list copy;
        va_copy(copy, arguments);
        int length = _vsnprintf(buffer, size, format, copy);
        va_end(copy);
        if (length >= 0 && static_cast<size_t>(length) < size)
            return length;
        buffer[size - 1] = '\0';
    }
    return formatted_length(format, arguments);
}

extern "C" int __cdecl __ms_snprintf(char *buffer, size_t size, const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int length = __ms_vsnprintf(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}
