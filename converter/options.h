// Command-line options and the usage screen.
#ifndef CONVERTER_OPTIONS_H
#define CONVERTER_OPTIONS_H

enum : int { usage_buffer_size = 1024 }; // wsprintfA's own limit: 1023 bytes and a zero

// Applies the arguments after the program's own to settings. Returns false when the run must
// stop with exit code 1 (usage screen, an illegal option or an over-long mask, already printed).
bool apply_options(int argc, char **argv);

// Who formats the screen: the system's wsprintfA (from USER32.DLL, loaded on first use; the
// program's own formatter steps in when it can't be had), or that formatter alone
// (converter/text_format.h), which gives the same bytes.
enum class UsageFormatter { system, runtime };

struct Settings;

// Formats the usage screen for the settings in record, cut at 1023 bytes (one less when that
// would split a double-byte character), without the newline that ends it on the console.
void format_usage_screen(char (&buffer)[usage_buffer_size], const Settings &record,
                         UsageFormatter formatter = UsageFormatter::system);

// Prints the error line (error_format with argument, cut like the screen) when error_format is
// not null, then the usage screen for the settings in force.
void show_usage(const char *error_format, const char *argument);

#endif
