// The command-line rule: one table of lines and the arguments they give.
#include "converter/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/memory.h"

namespace {

// Code page 932's lead bytes, as the system's table has them.
bool shift_jis_lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(CommandLine, SplitsByTheClassicRule) {
    struct Case {
        const char *line;
        std::vector<std::string> arguments;
    } cases[] = {
        {"eolfix", {"eolfix"}},
        {"", {""}},
        {"eolfix  -t\t\t-i ", {"eolfix", "-t", "-i"}},
        {"\"C:\\Program Files\\eolfix.exe\" -t", {"C:\\Program Files\\eolfix.exe", "-t"}},
        {"\"C:\\a b\\eolfix.exe\"-t", {"C:\\a b\\eolfix.exe", "-t"}},
        {"eolfix \"*.txt;my file.htm\" x", {"eolfix", "*.txt;my file.htm", "x"}},
        {"eolfix a\"b c\"d", {"eolfix", "ab cd"}},
        {"eolfix \"\" \"\"", {"eolfix", "", ""}},
        {"eolfix \"a\"\"b\" c", {"eolfix", "a\"b", "c"}},
        {"eolfix \"a\"\" b\"", {"eolfix", "a\" b"}},
        {"eolfix \"a\"\"\"", {"eolfix", "a\""}},
        {"eolfix a\"\"b", {"eolfix", "ab"}},
        {"eolfix \"unended group", {"eolfix", "unended group"}},
        {"eolfix a\\\\b c\\", {"eolfix", "a\\\\b", "c\\"}},
        {"eolfix a\\\"b", {"eolfix", "a\"b"}},
        {"eolfix a\\\\\"b c\"", {"eolfix", "a\\b c"}},
        {"eolfix a\\\\\\\"b c", {"eolfix", "a\\\"b", "c"}},
        {"eolfix \"C:\\dir\\\\\" -t", {"eolfix", "C:\\dir\\", "-t"}},
        // 95h 5Ch is one kanji: its 5Ch is no backslash before '"' or before '\"'.
        {"eolfix \"\x95\x5c\" -t", {"eolfix", "\x95\x5c", "-t"}},
        {"eolfix \x95\x5c\\\"x", {"eolfix", "\x95\x5c\"x"}},
        {"eolfix \"\x95\x5c\x95\x5c\\\\\" y", {"eolfix", "\x95\x5c\x95\x5c\\", "y"}},
        {"\"C:\\\x95\x5c\" -t", {"C:\\\x95\x5c", "-t"}},
        {"eolfix a\x95", {"eolfix", "a\x95"}},
    };
    for (const Case &c : cases) {
        int count = -1;
        char **arguments = split_command_line(c.line, shift_jis_lead, &count);
        ASSERT_NE(nullptr, arguments) << c.line;
        std::vector<std::string> got(arguments, arguments + count);
        EXPECT_EQ(c.arguments, got) << c.line;
        EXPECT_EQ(nullptr, arguments[count]) << c.line;
        memory_release(arguments);
    }
}

} // namespace
