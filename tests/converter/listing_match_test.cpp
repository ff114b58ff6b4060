#include "converter/listing_match.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool shift_jis_lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(ListingPattern, OnlyPlainPatterns) {
    for (const char *plain : {"*", "*.*", "*.txt", "*.HTML", "*.7z", "*.a1"})
        EXPECT_TRUE(is_listing_pattern(plain)) << plain;
    for (const char *own :
         {"", "*.", "**", "*.*.*", "a*.txt", "*.t?t", "?.txt", "*.txt ", " *.txt", "*.txt.", "*.t*",
          "sub\\*.txt", "*.\x95\x5C", "*.t-t", "*txt", "*..txt", "*.tx*"})
        EXPECT_FALSE(is_listing_pattern(own)) << own;
}

// Long and short names as Wine lists them; each pattern with the names it finds.
TEST(ListingMatch, AsTheSystemSearch) {
    const struct {
        const char *long_name, *short_name;
    } names[] = {
        {"a.htm", ""},
        {"a.html", "A~~~~PED.HTM"}, // found under *.htm by its short name
        {"B.HTM", ""},
        {"noext", ""},
        {"x.y.z.htm", "X_Y_~JRD.HTM"},
        {".htm", "_HTM~LOK"},
        {"trail.htm.", "TRAI~QDP.HTM"},
        {"c.Htm.txt", "C_HT~AF5.TXT"},
        {"a.htmx", "A~~~~HBX.HTM"},
        {"\x93\xFA\x96\x7B.htm", "__~~~P44.HTM"}, // Shift-JIS, 日本.htm
        {"\x95\x5C.TXT", ""},
        {"\x81.txt", ""}, // '.' taken as a trail byte: no extension
        {"e.htm", "_~~~~E1C.HTM"},
    };
    const struct {
        const char *pattern, *expected;
    } cases[] = {
        {"*", "a.htm|a.html|B.HTM|noext|x.y.z.htm|.htm|trail.htm.|c.Htm.txt|a.htmx|\x93\xFA\x96\x7B"
              ".htm|\x95\x5C.TXT|\x81.txt|e.htm|"},
        {"*.*", "a.htm|a.html|B.HTM|noext|x.y.z.htm|.htm|trail.htm.|c.Htm.txt|a.htmx|\x93\xFA\x96"
                "\x7B.htm|\x95\x5C.TXT|\x81.txt|e.htm|"},
        {"*.htm",
         "a.htm|a.html|B.HTM|x.y.z.htm|.htm|trail.htm.|a.htmx|\x93\xFA\x96\x7B.htm|e.htm|"},
        {"*.HTML", "a.html|"},
        {"*.txt", "c.Htm.txt|\x95\x5C.TXT|"},
        {"*.tx", ""},
        {"*.z", ""},
    };
    for (const auto &c : cases) {
        std::string found;
        for (const auto &n : names)
            if (listing_entry_matches(c.pattern, n.long_name, n.short_name, shift_jis_lead))
                found += std::string(n.long_name) + "|";
        EXPECT_EQ(c.expected, found) << c.pattern;
    }
}

TEST(FaithfulEntry, SubstitutesAndLookAlikes) {
    const struct {
        const char *long_name, *short_name;
        bool expected;
    } cases[] = {
        {"a.htm", "", true},
        {"a.html", "A~~~~PED.HTM", true},
        {"a b.Htm", "A_B~~DOY.HTM", true},
        {"x.y.z.htm", "X_Y_~JRD.HTM", true},
        {"trail.htm.", "TRAI~QDP.HTM", true},
        {"noext_long_name", "NOEX~XYZ", true},
        {"a.t+t", "A~~~~ABC.T_T", true},        // no pattern of the listing matches it
        {"\x83\x3F.txt", "_~~~~ABC.TXT", true}, // a trail byte 3Fh is no '?'
        {"e.htm", "_~~~~E1C.HTM", true},        // é as e, in the stem: matched alike
        {"?.html", "_~~~~JIF.HTM", false},      // ㅎ.html
        {"a.ht?", "A~~~~FZI.HT_", false},       // a.htḿ
        {"??.htm", "__~~~LHJ.HTM", false},      // an emoji
        {"a.c", "A~~~~NI0._", false},           // a.ç
        {"c.dat", "C~~~~VFB.D_T", false},       // c.dàt
        {".htm", "_HTM~LOK", false},            // no extension in the short name
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, is_faithful_entry(c.long_name, c.short_name, shift_jis_lead))
            << c.long_name;
}

} // namespace
