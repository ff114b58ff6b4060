#include "converter/output.h"

#include <windows.h>

#include <cstdarg>

#include "converter/text_format.h"

namespace {

char buffer[4096];
size_t used = 0;
// A console shows each line as it comes, as the C runtime's stream did there; files and pipes
// get whole buffers. Decided at the first print: -1 not yet known.
int to_console = -1;
void (*before_print)() = nullptr;

void settle_before_print() {
    if (before_print != nullptr)
        before_print();
}

void put(char c) {
    if (used == sizeof buffer)
        print_flush();
    buffer[used++] = c;
}

void add_text(const char *text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            put('\r');
        put(text[i]);
    }
}

void into_output(void *, const char *bytes, size_t length) {
    add_text(bytes, length);
}

void end_of_print() {
    if (to_console < 0) {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        to_console =
            out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) == FILE_TYPE_CHAR;
    }
    if (to_console == 1)
        print_flush();
}

} // namespace

void print_text(const char *text, size_t length) {
    settle_before_print();
    add_text(text, length);
    end_of_print();
}

void print_format(const char *format, ...) {
    settle_before_print();
    va_list values;
    va_start(values, format);
    format_to(into_output, nullptr, format, values);
    va_end(values);
    end_of_print();
}

void set_before_print(void (*before)()) {
    before_print = before;
}

void print_flush() {
    // Taken at each flush, not kept: a test may point standard output elsewhere between runs.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    size_t done = 0;
    while (done < used && out != nullptr && out != INVALID_HANDLE_VALUE) {
        DWORD wrote = 0;
        if (!WriteFile(out, buffer + done, static_cast<DWORD>(used - done), &wrote, nullptr) ||
            wrote == 0)
            break;
        done += wrote;
    }
    used = 0;
}
