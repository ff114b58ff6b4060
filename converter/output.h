// Standard output as eolfix writes it: through a buffer to the standard output handle, each
// '\n' written as CR LF, the bytes that the C runtime's text-mode stream wrote before. Nothing
// printed changes the exit code: a failed write is dropped and the run goes on.
#ifndef CONVERTER_OUTPUT_H
#define CONVERTER_OUTPUT_H

#include <cstddef>

// Prints length bytes of text. Never fails as far as the caller can tell.
void print_text(const char *text, size_t length);

// Prints format with its values (the formats of converter/text_format.h).
void print_format(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Writes out what the buffer holds: at the end of the run, and before anything else (a message
// box, another writer of the same handle) could show up in between. A write that fails or
// stops short drops the rest; the buffer is empty afterwards either way.
void print_flush();

// Has before called ahead of every print from now on (null for none), so that a line waiting
// for an answer comes out before any that follow it. It may print itself.
void set_before_print(void (*before)());

#endif
