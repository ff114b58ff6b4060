#include "converter/listing_match.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool shift_jis_lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(ListingPattern, OnlyPlainPatterns) {
    for (const char *plain : {"*", "*.*", "*.txt", "*.HTML", "*.7z"})
        EXPECT_TRUE(is_listing_pattern(plain)) << plain;
    for (const char *own : {"", "*.", "**", "*.*.*", "a*.txt", "*.t?t", "?.txt", "*.txt ", " *.txt",
                            "*.txt.", "*.t*", "sub\\*.txt", "*.\x95\x5C", "*.t-t", "*..txt"})
        EXPECT_FALSE(is_listing_pattern(own)) << own;
}

// Names as Wine lists them; which of the patterns find each, and whether it is faithful.
TEST(ListingMatch, NamesByPattern) {
    const char *patterns[] = {"*", "*.*", "*.htm", "*.HTML", "*.txt", "*.tx"};
    const struct {
        const char *name, *short_name, *found;
        bool faithful;
    } cases[] = {
        {"a.htm", "", "111000", true},
        {"a.html", "A~~~~PED.HTM", "111100", true}, // *.htm finds it by its short name
        {"noext", "", "110000", true},
        {"x.y.z.htm", "X_Y_~JRD.HTM", "111000", true},
        {".htm", "_HTM~LOK", "111000", false}, // the short name has no extension
        {"trail.htm.", "TRAI~QDP.HTM", "111000", true},
        {"c.Htm.txt", "C_HT~AF5.TXT", "110010", true},
        {"\x93\xFA\x96\x7B.htm", "__~~~P44.HTM", "111000", true}, // 日本.htm
        {"\x95\x5C.TXT", "", "110010", true},
        {"\x81.txt", "", "110000", true},            // '.' as a trail byte: no extension
        {"e.htm", "_~~~~E1C.HTM", "111000", true},   // é.htm: the look-alike in the stem
        {"?.html", "_~~~~JIF.HTM", "111100", false}, // ㅎ.html
        {"a.ht?", "A~~~~FZI.HT_", "110000", false},  // a.htḿ
        {"a.c", "A~~~~NI0._", "110000", false},      // a.ç
        {"a.TXT", "A~~~~XYZ.TX", "110011", false},   // contradicted by its short name
    };
    for (const auto &c : cases) {
        std::string found;
        for (const char *p : patterns)
            found += listing_entry_matches(p, c.name, c.short_name, shift_jis_lead) ? '1' : '0';
        EXPECT_EQ(c.found, found) << c.name;
        EXPECT_EQ(c.faithful, is_faithful_entry(c.name, c.short_name, shift_jis_lead)) << c.name;
    }
}

} // namespace
