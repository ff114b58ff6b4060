// The file mask: its split into patterns and the line that shows them.
#ifndef CONVERTER_MASK_H
#define CONVERTER_MASK_H

#include <cstddef>

enum : int { mask_line_size = 1024 };

// Fills mask_list with the non-empty ';'-separated items of mask, in order and untrimmed.
// False when memory ran out before every item was stored.
bool split_file_mask(const char *mask);

// Composes "file mask: " and each pattern of mask_list followed by ';' into line (no newline).
// A line longer than size - 1 bytes is cut there.
void format_file_mask(char *line, size_t size);

#endif
