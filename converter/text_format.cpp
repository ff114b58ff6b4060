#include "converter/text_format.h"

#include <climits>
#include <cstring>

namespace {

// Digits of value, written backwards from the end of room; returns where they start.
char *digits(unsigned long value, char *end) {
    do {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return end;
}

struct Bounded {
    char *buffer;
    size_t room; // bytes that may still be written, the terminating zero's place excluded
    size_t length;
};

void into_buffer(void *context, const char *bytes, size_t length) {
    Bounded &out = *static_cast<Bounded *>(context);
    size_t taken = length < out.room ? length : out.room;
    for (size_t i = 0; i < taken; ++i)
        out.buffer[i] = bytes[i];
    out.buffer += taken;
    out.room -= taken;
    out.length += length;
}

} // namespace

void format_to(FormatSink sink, void *context, const char *format, va_list values) {
    const char *run = format;
    while (*run != '\0') {
        const char *percent = run;
        while (*percent != '\0' && *percent != '%')
            ++percent;
        if (percent != run)
            sink(context, run, static_cast<size_t>(percent - run));
        if (*percent == '\0')
            return;
        const char *at = percent + 1;
        char number[24];
        char *const number_end = number + sizeof number;
        if (at[0] == '%') {
            sink(context, "%", 1);
        } else if (at[0] == 's') {
            const char *text = va_arg(values, const char *);
            sink(context, text, std::strlen(text));
        } else if (at[0] == '.' && at[1] == '*' && at[2] == 's') {
            // At most precision bytes, stopping at the text's zero like printf.
            int precision = va_arg(values, int);
            const char *text = va_arg(values, const char *);
            size_t length = 0;
            while ((precision < 0 || length < static_cast<size_t>(precision)) &&
                   text[length] != '\0')
                ++length;
            sink(context, text, length);
            at += 2;
        } else if (at[0] == 'd') {
            int value = va_arg(values, int);
            // Negated as unsigned, so that INT_MIN has its digits too.
            unsigned long magnitude = value < 0 ? 0ul - static_cast<unsigned long>(value)
                                                : static_cast<unsigned long>(value);
            char *start = digits(magnitude, number_end);
            if (value < 0)
                *--start = '-';
            sink(context, start, static_cast<size_t>(number_end - start));
        } else if (at[0] == 'u') {
            char *start = digits(va_arg(values, unsigned int), number_end);
            sink(context, start, static_cast<size_t>(number_end - start));
        } else if (at[0] == 'l' && at[1] == 'u') {
            char *start = digits(va_arg(values, unsigned long), number_end);
            sink(context, start, static_cast<size_t>(number_end - start));
            at += 1;
        } else {
            // Unknown or cut off at the end: the percent sign stands for itself.
            sink(context, "%", 1);
            run = percent + 1;
            continue;
        }
        run = at + 1;
    }
}

int format_list(char *buffer, size_t size, const char *format, va_list values) {
    Bounded out = {buffer, size > 0 ? size - 1 : 0, 0};
    format_to(into_buffer, &out, format, values);
    if (size > 0)
        *out.buffer = '\0';
    return out.length <= static_cast<size_t>(INT_MAX) ? static_cast<int>(out.length) : -1;
}

int format_text(char *buffer, size_t size, const char *format, ...) {
    va_list values;
    va_start(values, format);
    int length = format_list(buffer, size, format, values);
    va_end(values);
    return length;
}
