#include "converter/system_error.h"

#include <windows.h>

#include "converter/text_format.h"
#include "converter/output.h"

void report_system_error(const char *path) {
    // Read first: any later call, a print included, may overwrite it.
    DWORD code = GetLastError();
    report_error_code(path, code);
}

void report_error_code(const char *path, unsigned long code) {
    char text[system_message_size];
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr))
        format_text(text, sizeof text, "error %lu", code);
    print_format("%s : %s\n", path, text);
}

void report_out_of_memory(const char *path, const char *name) {
    print_format("%s%s%s : not enough memory\n", path, name != nullptr ? "\\" : "",
                 name != nullptr ? name : "");
}
