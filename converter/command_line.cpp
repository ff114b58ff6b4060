#include "converter/command_line.h"

#include <cstddef>
#include <cstring>

#include "converter/memory.h"

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// Copies the character at from (two bytes for a lead byte with a trail byte after it) to *to
// when to is not null; returns the byte after it.
const char *take_character(const char *from, char **to, LeadBytePredicate is_lead_byte) {
    size_t length = is_lead_byte(static_cast<unsigned char>(from[0])) && from[1] != '\0' ? 2 : 1;
    for (size_t i = 0; i < length; ++i) {
        if (*to)
            *(*to)++ = from[i];
    }
    return from + length;
}

// One pass of the rule: counts the arguments and, with texts not null, writes them there and
// their starts into arguments. Returns the count.
int split(const char *p, LeadBytePredicate is_lead_byte, char **arguments, char *texts) {
    char *to = texts;
    int count = 1;
    if (arguments)
        arguments[0] = texts;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            p = take_character(p, &to, is_lead_byte);
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !blank(*p))
            p = take_character(p, &to, is_lead_byte);
    }
    if (to)
        *to++ = '\0';

    for (;;) {
        while (blank(*p))
            ++p;
        if (*p == '\0')
            break;
        if (arguments)
            arguments[count] = to;
        ++count;
        bool grouped = false;
        for (;;) {
            size_t backslashes = 0;
            while (*p == '\\') {
                ++p;
                ++backslashes;
            }
            bool literal_quote = false;
            if (*p == '"') {
                if (backslashes % 2 == 1) {
                    literal_quote = true;
                } else if (grouped && p[1] == '"') {
                    literal_quote = true;
                    ++p;
                } else {
                    grouped = !grouped;
                }
                backslashes /= 2;
            }
            for (; backslashes > 0; --backslashes) {
                if (to)
                    *to++ = '\\';
            }
            if (*p == '\0' || (!grouped && blank(*p)))
                break;
            if (*p == '"' && !literal_quote)
                ++p;
            else
                p = take_character(p, &to, is_lead_byte);
        }
        if (to)
            *to++ = '\0';
    }
    if (arguments)
        arguments[count] = nullptr;
    return count;
}

} // namespace

char **split_command_line(const char *line, LeadBytePredicate is_lead_byte, int *count) {
    *count = 0;
    const size_t length = std::strlen(line);
    // Every argument after the program name takes at least one byte of line and one blank, and
    // no text is longer than line plus its zero: both bounds hold for any line.
    const size_t pointers = length / 2 + 3;
    const size_t text_bytes = length + pointers;
    char **arguments =
        static_cast<char **>(memory_allocate(pointers * sizeof(char *) + text_bytes));
    if (!arguments)
        return nullptr;
    *count = split(line, is_lead_byte, arguments, reinterpret_cast<char *>(arguments + pointers));
    return arguments;
}
