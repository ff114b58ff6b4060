#include "converter/settings_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "code_page_932.h"
#include "converter/settings.h"

namespace {

bool single_byte(unsigned char) {
    return false;
}

// mask|kind|keeptime|repair|backup flag|target|compare length
std::string summary(const Settings &record) {
    return std::string(record.file_mask) + "|" + std::to_string(record.output_kind) + "|" +
           std::to_string(record.keep_time_flag) + "|" + std::to_string(record.repair_flag) + "|" +
           std::to_string(record.backup_flag) + "|" + record.backup_target + "|" +
           std::to_string(record.backup_compare_length);
}

std::string read_whole(const std::string &text, LeadBytePredicate lead_bytes = cp932_lead) {
    Settings record;
    SettingsReader reader(record, lead_bytes);
    reader.feed(text.data(), text.size());
    reader.finish();
    return summary(record);
}

std::string read_bytewise(const std::string &text) {
    Settings record;
    SettingsReader reader(record, cp932_lead);
    for (char c : text)
        reader.feed(&c, 1);
    reader.finish();
    return summary(record);
}

const std::string defaults = "*.txt;*.htm;*.html|1|0|0|1|.bak|0";

struct Case {
    const char *why;
    std::string text;
    std::string expected;
};

const Case cases[] = {
    {"empty file", "", defaults},
    {"comments only", "# filemask=*.c\n#output=unix\n\n", defaults},
    {"key in upper case", "FILEMASK=*.c\n", "*.c|1|0|0|1|.bak|0"},
    {"blank before '=' is no key", "filemask =*.c\n", defaults},
    {"'#' after blanks is no comment but no key", " #output=unix\n", defaults},
    {"blanks, tabs and '=' before the key", " \t==output=unix\n",
     "*.txt;*.htm;*.html|3|0|0|1|.bak|0"},
    {"blanks, tabs and '=' before the value", "filemask= \t==*.c\n", "*.c|1|0|0|1|.bak|0"},
    {"value ends at a blank", "filemask=*.c *.h\n", "*.c|1|0|0|1|.bak|0"},
    {"value ends at a control byte", "filemask=*.c\x01*.h\n", "*.c|1|0|0|1|.bak|0"},
    {"empty mask", "filemask=\n", "|1|0|0|1|.bak|0"},
    {"later line wins", "filemask=*.a\nfilemask=*.b\n", "*.b|1|0|0|1|.bak|0"},
    {"line without a key", "[eolfix]\nmask=*.c\n", defaults},
    {"zero byte first", std::string("\0filemask=*.c\n", 14), defaults},
    {"output words in any case", "output=Mac\n", "*.txt;*.htm;*.html|2|0|0|1|.bak|0"},
    {"output back to win", "output=unix\noutput=WIN\n", defaults},
    {"unknown output word changes nothing", "output=unix\noutput=dos\n",
     "*.txt;*.htm;*.html|3|0|0|1|.bak|0"},
    {"output word must match whole", "output=unixx\noutput=mac2\n", defaults},
    {"switches on", "keeptime=ON\ndoinet=on\n", "*.txt;*.htm;*.html|1|1|1|1|.bak|0"},
    {"unknown switch word changes nothing", "keeptime=on\nkeeptime=yes\ndoinet=1\n",
     "*.txt;*.htm;*.html|1|1|0|1|.bak|0"},
    {"switch off", "keeptime=on\nkeeptime=Off\n", defaults},
    {"backup empty turns backups off", "backup=\n", "*.txt;*.htm;*.html|1|0|0|0|.bak|0"},
    {"backup OFF keeps the target", "backup=D:\\old\nbackup=OFF\n",
     "*.txt;*.htm;*.html|1|0|0|0|D:\\old\\|6"},
    {"backup extension", "backup=.old\n", "*.txt;*.htm;*.html|1|0|0|1|.old|0"},
    {"extension keeps the compare length", "backup=D:\\x\nbackup=.y\n",
     "*.txt;*.htm;*.html|1|0|0|1|.y|4"},
    {"dotted relative path is an extension", "backup=..\\bak\n",
     "*.txt;*.htm;*.html|1|0|0|1|..\\bak|0"},
    {"folder gets its '\\'", "backup=C:\\bak\n", "*.txt;*.htm;*.html|1|0|0|1|C:\\bak\\|6"},
    {"folder with '\\' stays", "backup=C:\\bak\\\n", "*.txt;*.htm;*.html|1|0|0|1|C:\\bak\\|6"},
    {"'/' is no folder end", "backup=C:/bak/\n", "*.txt;*.htm;*.html|1|0|0|1|C:/bak/\\|7"},
    {"backup back on after off", "backup=off\nbackup=.x\n", "*.txt;*.htm;*.html|1|0|0|1|.x|0"},
    {"CR LF lines", "output=unix\r\nkeeptime=on\r\n", "*.txt;*.htm;*.html|3|1|0|1|.bak|0"},
    {"LF lines", "output=unix\nkeeptime=on", "*.txt;*.htm;*.html|3|1|0|1|.bak|0"},
    {"CR-only file is one line", "output=unix\rkeeptime=on\r", "*.txt;*.htm;*.html|3|0|0|1|.bak|0"},
    {"lone CR inside a line ends the value", "filemask=*.c\rx\n", "*.c|1|0|0|1|.bak|0"},
    {"CR CR LF", "output=mac\r\r\nkeeptime=on\n", "*.txt;*.htm;*.html|2|1|0|1|.bak|0"},
    {"Ctrl-Z ends the file", "output=unix\n\x1akeeptime=on\n", "*.txt;*.htm;*.html|3|0|0|1|.bak|0"},
    {"Ctrl-Z inside a line", "filemask=*.c\x1a.h\nkeeptime=on\n", "*.c|1|0|0|1|.bak|0"},
    {"CR before Ctrl-Z", "filemask=*.c\r\x1a\nkeeptime=on\n", "*.c|1|0|0|1|.bak|0"},
    {"a 255-byte piece, then a key", "filemask=" + std::string(246, 'a') + "output=unix\n",
     std::string(246, 'a') + "|3|0|0|1|.bak|0"},
    {"a comment's tail past 255 bytes is a line", "#" + std::string(254, 'c') + "keeptime=on\n",
     "*.txt;*.htm;*.html|1|1|0|1|.bak|0"},
    {"newline as the 256th byte", "filemask=" + std::string(246, 'a') + "\noutput=unix\n",
     std::string(246, 'a') + "|3|0|0|1|.bak|0"},
    {"CR-only file in pieces: only each piece's first key",
     "output=unix\r" + std::string(243, 'z') + "keeptime=on\rdoinet=on\r",
     "*.txt;*.htm;*.html|3|1|0|1|.bak|0"},
    {"Shift-JIS mask kept whole", "filemask=\x95\x5c*.txt;\xb1*.htm\n",
     "\x95\x5c*.txt;\xb1*.htm|1|0|0|1|.bak|0"},
    {"Shift-JIS folder ending in trail byte 5Ch gets its '\\'", "backup=C:\\\x95\x5c\n",
     "*.txt;*.htm;*.html|1|0|0|1|C:\\\x95\x5c\\|5"},
    {"Shift-JIS folder with its '\\'", "backup=C:\\\x95\x5c\\\n",
     "*.txt;*.htm;*.html|1|0|0|1|C:\\\x95\x5c\\|5"},
    {"a kanji cut at the piece's end is left out, not joined with the '\\'",
     "backup=C:\\" + std::string(244, 'a') + "\x95\x5c\n",
     "*.txt;*.htm;*.html|1|0|0|1|C:\\" + std::string(244, 'a') + "\\|247"},
};

TEST(SettingsReader, AppliesLineRules) {
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, read_whole(c.text)) << c.why;
}

TEST(SettingsReader, BlockBoundariesChangeNothing) {
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, read_bytewise(c.text)) << c.why;
}

TEST(SettingsReader, SingleByteCodePageTakesEvery5CForBackslash) {
    EXPECT_EQ("*.txt;*.htm;*.html|1|0|0|1|C:\\\x95\x5c|4",
              read_whole("backup=C:\\\x95\x5c\n", single_byte));
}

TEST(SettingsReader, StopsAtCtrlZ) {
    Settings record;
    SettingsReader reader(record, cp932_lead);
    reader.feed("output=mac\n", 11);
    EXPECT_FALSE(reader.ended());
    reader.feed("\x1a", 1);
    EXPECT_TRUE(reader.ended());
    reader.feed("output=unix\n", 12);
    reader.finish();
    EXPECT_EQ(newline_mac, record.output_kind);
}

TEST(SettingsPath, ReplacesTheLastExtension) {
    struct PathCase {
        const char *program;
        size_t size;
        const char *expected; // nullptr: refused
    } path_cases[] = {
        {"C:\\tools\\eolfix.exe", 260, "C:\\tools\\eolfix.ini"},
        {"C:\\a.b\\x.y.exe", 260, "C:\\a.b\\x.y.ini"},
        {"C:\\my.dir\\eolfix", 260, "C:\\my.ini"},
        {"x.", 260, "x.ini"},
        {"C:\\tools\\eolfix", 260, nullptr},
        {"x.exe", 6, "x.ini"},
        {"x.exe", 5, nullptr},
    };
    for (const PathCase &c : path_cases) {
        char path[260];
        std::memset(path, '?', sizeof path);
        const bool formed = settings_path_for(c.program, path, c.size);
        EXPECT_EQ(c.expected != nullptr, formed) << c.program;
        EXPECT_STREQ(c.expected != nullptr ? c.expected : "", path) << c.program;
    }
}

} // namespace
