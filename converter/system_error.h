// The lines that report a failure on a path: a failed system call, or a block that can't be had.
#ifndef CONVERTER_SYSTEM_ERROR_H
#define CONVERTER_SYSTEM_ERROR_H

enum : int { system_message_size = 256 };

// Prints "<path> : <system text>\n" for the calling thread's last error code. When the system
// has no text for the code, the text is "error <code>".
void report_system_error(const char *path);

// The same line for a given error code.
void report_error_code(const char *path, unsigned long code);

// Prints "<path> : not enough memory\n"; with a name, the path is path, '\' and name, given
// apart since together they may pass a path buffer.
void report_out_of_memory(const char *path, const char *name = nullptr);

#endif
