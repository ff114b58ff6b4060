// The converter's own formatter: snprintf's length and terminating zero, and the bytes that
// msvcrt.dll's printf gave for the formats the converter prints.
#include "converter/text_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace {

template <typename... Values> std::string text(const char *format, Values... values) {
    char buffer[256];
    int length = format_text(buffer, sizeof buffer, format, values...);
    EXPECT_EQ(static_cast<int>(std::strlen(buffer)), length);
    return buffer;
}

TEST(Format, AlwaysEndsTheTextAndAnswersTheFullLength) {
    const std::string long_text(5000, 'x');
    struct Case {
        size_t size;
        const char *text;
        const char *why;
    } cases[] = {
        {16, "short", "fits with room to spare"},
        {6, "short", "fits with exactly its zero"},
        {5, "short", "no room for the zero"},
        {1, "short", "room for the zero alone"},
        {0, "short", "no buffer at all: only the length"},
        {100, long_text.c_str(), "longer than the first measuring block"},
    };
    for (const Case &c : cases) {
        char buffer[128];
        std::memset(buffer, '#', sizeof buffer);
        int length = format_text(buffer, c.size, "%s", c.text);
        EXPECT_EQ(static_cast<int>(std::strlen(c.text)), length) << c.why;
        if (c.size == 0) {
            EXPECT_EQ('#', buffer[0]) << c.why;
            continue;
        }
        std::string kept(c.text, std::min(c.size - 1, std::strlen(c.text)));
        EXPECT_STREQ(kept.c_str(), buffer) << c.why;
        EXPECT_EQ('#', buffer[c.size]) << c.why << ": nothing written past the buffer";
    }
}

TEST(Format, GivesThePrintfBytesOfEachFormatInUse) {
    struct Case {
        std::string got, expected;
    } cases[] = {
        {text("convert %d files.\n", 0), "convert 0 files.\n"},
        {text("%d|%d|%d", -1, 2147483647, -2147483647 - 1), "-1|2147483647|-2147483648"},
        {text("%u|%lu", 4294967295u, 1234567890ul), "4294967295|1234567890"},
        {text("%s : %s", "C:\\a", ""), "C:\\a : "},
        {text("%.*s%s", 3, "abcdef", "!"), "abc!"},
        {text("%.*s|", 9, "ab"), "ab|"},
        {text("100%% %x %"), "100% %x %"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, c.got);
}

} // namespace
