// Command-line options and the usage screen.
#ifndef CONVERTER_OPTIONS_H
#define CONVERTER_OPTIONS_H

enum : int { usage_buffer_size = 1024 }; // wsprintfA's own limit: 1023 bytes and a zero

// Applies the arguments after the program's own to settings. Returns false when the run must
// stop with exit code 1 (usage screen, an illegal option or an over-long mask, already printed).
bool apply_options(int argc, char **argv);

// Formats the usage screen for the settings in force, cut at 1023 bytes (one less when that
// would split a double-byte character), without the newline that ends it on the console.
void format_usage_screen(char (&buffer)[usage_buffer_size]);

// Prints the error line (error_format with argument, cut like the screen) when error_format is
// not null, then the usage screen.
void show_usage(const char *error_format, const char *argument);

#endif
