// snprintf as the converter's Windows build has it: msvcrt.dll's _vsnprintf underneath, with
// the standard's length and terminating zero on top.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

extern "C" int __cdecl __ms_snprintf(char *buffer, size_t size, const char *format, ...);

namespace {

TEST(CrtSnprintf, AlwaysEndsTheTextAndAnswersTheFullLength) {
    const std::string long_text(5000, 'x');
    struct Case {
        size_t size;
        const char *text;
        const char *why;
    } cases[] = {
        {16, "short", "fits with room to spare"},
        {6, "short", "fits with exactly its zero"},
        {5, "short", "no room for the zero: _vsnprintf alone leaves it out"},
        {1, "short", "room for the zero alone"},
        {0, "short", "no buffer at all: only the length"},
        {100, long_text.c_str(), "longer than the first measuring block"},
    };
    for (const Case &c : cases) {
        char buffer[128];
        std::memset(buffer, '#', sizeof buffer);
        int length = __ms_snprintf(buffer, c.size, "%s", c.text);
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

} // namespace
