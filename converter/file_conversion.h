// In-place newline conversion of one file, with its backup copy.
#ifndef CONVERTER_FILE_CONVERSION_H
#define CONVERTER_FILE_CONVERSION_H

#include <cstdint>

#include "converter/walk_rules.h"

// Converts the file at path in place when its newlines are not all of the target kind; prints
// "convert: <path>" and counts it in settings when done, or one line for the failure. The size
// comes from the opened file, so a file that changed since it was listed is still read whole.
// True when the file ends in the target form and nothing was reported (converted, or found
// unchanged): a second visit would then print nothing. False after a line for a failure.
// The file's close is left out behind the conversion (see settle_closing_file); if it fails,
// its line is the failure's and *clean_mark is set to 0 then. The mark must last until
// settle_closing_file has been called.
bool convert_file(const char (&path)[path_buffer_size], uint32_t *clean_mark);

// Waits for the close of the file last converted, if it is out, and prints what its answer
// calls for: "convert: <path>" with the count, or the failure's line. Every print settles it
// first, so lines keep the order of the files; the run settles it before its count.
void settle_closing_file();

// Prints the line for a file too large to be converted, "skip too large file : " and name: the
// file's name as the folder's search gave it, without its folder, whether the walk or the
// conversion finds it too large.
void report_too_large_file(const char *name);

#endif
