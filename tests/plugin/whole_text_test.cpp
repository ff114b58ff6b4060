#include <gtest/gtest.h>

#include <cstring>

#include "code_page_932.h"
#include "plugin/whole_text.h"

static LeadByteTable shiftJis() {
    LeadByteTable table;
    for (int b = 0; b < 256; ++b)
        table.lead[b] = cp932_lead(static_cast<unsigned char>(b));
    return table;
}

TEST(WholeTextLength, StopsAtTheTerminatorOrTheCapacityWithoutSplittingACharacter) {
    const LeadByteTable table = shiftJis();
    struct Case {
        const char *name;
        const char *bytes;
        int32_t size; // bytes given, the buffer's capacity
        int32_t length;
    } cases[] = {
        {"plain, terminated", "abc\0zz", 6, 3},
        {"plain, filling the buffer", "abcd", 4, 4},
        {"empty", "\0abc", 4, 0},
        {"whole double-byte characters", "\x82\xa0\x82\xa2\0", 5, 4},
        {"lead byte before the terminator", "\x82\xa0\x82\0", 4, 2},
        {"lead byte at the capacity", "ab\x82", 3, 2},
        {"trail byte that looks like a lead byte", "\x82\x82\x82\0", 4, 2},
        {"trail byte in the ASCII range", "\x83\x5c\0", 3, 2},
        {"half-width katakana is single-byte", "\xb1\xb2\0", 3, 2},
        {"no capacity", "abc", 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.length, wholeTextLength(c.bytes, c.size, table)) << c.name;
}

// A piece of a file may hold zero bytes: they are characters like any other.
TEST(WholeCharacterBytes, KeepsZerosAndHoldsBackALeadByteAtTheEnd) {
    const LeadByteTable table = shiftJis();
    EXPECT_EQ(4, wholeCharacterBytes("a\0\0b", 4, table));
    EXPECT_EQ(3, wholeCharacterBytes("a\0b\x95", 4, table));
    EXPECT_EQ(4, wholeCharacterBytes("\x95\x5c\x82\x82", 4, table));
}

TEST(WholeTextLength, SingleByteCodePageKeepsEveryByte) {
    LeadByteTable table;
    std::memset(table.lead, 0, sizeof table.lead);
    EXPECT_EQ(4, wholeTextLength("\x82\xa0\x82\xa2", 4, table));
}
