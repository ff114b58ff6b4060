// The few printf formats the converter prints, done by the program itself: %s, %.*s, %d, %u,
// %lu and %%. Platform-free, over bytes; the same bytes msvcrt.dll's printf family gave.
#ifndef CONVERTER_TEXT_FORMAT_H
#define CONVERTER_TEXT_FORMAT_H

#include <cstdarg>
#include <cstddef>

// Receives the formatted text piece by piece, in order; a piece is not zero-terminated.
using FormatSink = void (*)(void *context, const char *bytes, size_t length);

// Hands format, with its values put in, to sink. A conversion other than those above is passed
// on as written and takes no value. Never fails.
void format_to(FormatSink sink, void *context, const char *format, va_list values);

// snprintf's contract: writes at most size - 1 bytes and always a terminating zero when
// size > 0 (a cut falls on a byte, as snprintf's does); returns the full text's length, or -1
// when that exceeds what an int holds.
int format_list(char *buffer, size_t size, const char *format, va_list values);
int format_text(char *buffer, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

#endif
