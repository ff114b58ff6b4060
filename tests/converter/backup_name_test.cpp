#include "converter/backup_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "converter/settings.h"

namespace {

// The lead bytes of code page 932.
bool shift_jis_lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool single_byte(unsigned char) {
    return false;
}

void use_target(const char *target) {
    settings = Settings();
    std::strcpy(settings.backup_target, target);
    settings.backup_compare_length =
        target[0] == '.' ? 0 : static_cast<int32_t>(std::strlen(target)) - 1;
}

std::string backup_name(const char *path, LeadBytePredicate lead = shift_jis_lead) {
    char name[backup_path_size];
    EXPECT_TRUE(make_backup_name(path, name, sizeof name, lead));
    return name;
}

TEST(BackupName, ExtensionModeAppendsTheWholeTarget) {
    use_target(".bak");
    EXPECT_EQ("C:\\doc\\a.txt.bak", backup_name("C:\\doc\\a.txt"));
    use_target("..\\old");
    EXPECT_EQ("C:\\a.txt..\\old", backup_name("C:\\a.txt")) << "a '.' target is an extension";
}

TEST(BackupName, FolderModeTakesTheBaseName) {
    use_target("D:\\old\\");
    const struct {
        const char *path;
        const char *name;
    } cases[] = {
        {"C:\\doc\\a.txt", "D:\\old\\a.txt"},
        {"C:\\doc\\sub\\b.htm", "D:\\old\\b.htm"},
        {"doc/x/c.txt", "D:\\old\\c.txt"},
        {"C:\\doc/x\\d.txt", "D:\\old\\d.txt"},
        {"C:\\doc\\e/f.txt", "D:\\old\\e/f.txt"},
        {"plain.txt", "D:\\old\\plain.txt"},
        // The kanji 95h 5Ch: its trail byte is no separator.
        {"C:\\doc\\\x95\x5C.txt", "D:\\old\\\x95\x5C.txt"},
        {"C:\\\x95\x5C\\\x95\x5C\x95\x5C", "D:\\old\\\x95\x5C\x95\x5C"},
        {"\x95\x5C", "D:\\old\\\x95\x5C"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.name, backup_name(c.path)) << c.path;
}

TEST(BackupName, SingleByteCodePageSplitsAtEveryBackslash) {
    use_target("D:\\old\\");
    EXPECT_EQ("D:\\old\\.txt", backup_name("C:\\doc\\\x95\x5C.txt", single_byte));
}

TEST(BackupName, LeadByteAtTheEndDoesNotReadPastIt) {
    use_target("D:\\old\\");
    EXPECT_EQ("D:\\old\\a\x95", backup_name("C:\\a\x95"));
}

TEST(BackupName, RefusesANameThatDoesNotFit) {
    use_target(".bak");
    char name[12];
    EXPECT_FALSE(make_backup_name("C:\\a.txt", name, sizeof name, shift_jis_lead));
    EXPECT_STREQ("", name);
    EXPECT_TRUE(make_backup_name("C:\\a.tx", name, sizeof name, shift_jis_lead));
    std::string long_path(600, 'x');
    char full[backup_path_size];
    EXPECT_FALSE(make_backup_name(long_path.c_str(), full, sizeof full, shift_jis_lead));
}

TEST(BackupFolder, MatchesTheWalkPathWithAsciiLettersFolded) {
    use_target("C:\\Work\\Bak\\");
    const struct {
        const char *path;
        bool match;
    } cases[] = {
        {"c:\\work\\bak", true}, {"C:\\WORK\\BAK", true},   {"C:\\Work\\Bak\\", false},
        {"C:\\Work\\Ba", false}, {"C:\\Work\\Bakx", false}, {"C:\\Work\\Bac", false},
        {"Bak", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.match, is_backup_folder(c.path)) << c.path;
}

TEST(BackupFolder, FoldsTrailBytesToo) {
    use_target("C:\\\x83\x41\\");
    EXPECT_TRUE(is_backup_folder("C:\\\x83\x61"));
}

TEST(BackupFolder, NeverInExtensionModeOrWithBackupsOff) {
    use_target(".bak");
    EXPECT_FALSE(is_backup_folder(""));
    use_target("C:\\b\\");
    settings.backup_flag = 0;
    EXPECT_FALSE(is_backup_folder("C:\\b"));
}

TEST(DescribeBackup, NamesTheMode) {
    use_target(".bak");
    EXPECT_STREQ("Rename extention to \".bak\"", describe_backup(shift_jis_lead));
    use_target("D:\\old\\");
    EXPECT_STREQ("Copy to \"D:\\old\\\"", describe_backup(shift_jis_lead));
    settings.backup_flag = 0;
    EXPECT_STREQ("Not backup", describe_backup(shift_jis_lead));
    use_target(std::string(".").append(200, 'x').c_str());
    std::string cut = describe_backup(shift_jis_lead);
    EXPECT_EQ(static_cast<size_t>(backup_description_size - 1), cut.size());
    EXPECT_EQ('"', cut.back());
    // The kanji 88h EAh from byte 2 on: the cut falls on a lead byte, which goes with its trail.
    std::string kanji = ".x";
    while (kanji.size() < 200)
        kanji += "\x88\xEA";
    use_target(kanji.c_str());
    EXPECT_EQ("\xEA\"", std::string(describe_backup(shift_jis_lead)).substr(124));
}

} // namespace
