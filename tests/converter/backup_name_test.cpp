#include "converter/backup_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "code_page_932.h"
#include "converter/settings.h"

namespace {

bool single_byte(unsigned char) {
    return false;
}

// The backup setting under test, as the settings file leaves it.
Settings backup;

void use_target(const char *target) {
    backup = Settings();
    std::strcpy(backup.backup_target, target);
    backup.backup_compare_length =
        target[0] == '.' ? 0 : static_cast<int32_t>(std::strlen(target)) - 1;
}

std::string backup_name(const char *path, LeadBytePredicate lead = cp932_lead) {
    char name[backup_path_size];
    EXPECT_TRUE(make_backup_name(path, backup.backup_target, name, sizeof name, lead));
    return name;
}

bool names_backup_folder(const char *path) {
    return is_backup_folder(path, backup.backup_flag, backup.backup_target,
                            backup.backup_compare_length);
}

const char *description() {
    return describe_backup(backup.backup_flag, backup.backup_target, cp932_lead);
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
    EXPECT_FALSE(
        make_backup_name("C:\\a.txt", backup.backup_target, name, sizeof name, cp932_lead));
    EXPECT_STREQ("", name);
    EXPECT_TRUE(make_backup_name("C:\\a.tx", backup.backup_target, name, sizeof name, cp932_lead));
    std::string long_path(600, 'x');
    char full[backup_path_size];
    EXPECT_FALSE(
        make_backup_name(long_path.c_str(), backup.backup_target, full, sizeof full, cp932_lead));
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
        EXPECT_EQ(c.match, names_backup_folder(c.path)) << c.path;
}

TEST(BackupFolder, FoldsTrailBytesToo) {
    use_target("C:\\\x83\x41\\");
    EXPECT_TRUE(names_backup_folder("C:\\\x83\x61"));
}

TEST(BackupFolder, NeverInExtensionModeOrWithBackupsOff) {
    use_target(".bak");
    EXPECT_FALSE(names_backup_folder(""));
    use_target("C:\\b\\");
    backup.backup_flag = 0;
    EXPECT_FALSE(names_backup_folder("C:\\b"));
}

TEST(DescribeBackup, NamesTheMode) {
    use_target(".bak");
    EXPECT_STREQ("Rename extention to \".bak\"", description());
    use_target("D:\\old\\");
    EXPECT_STREQ("Copy to \"D:\\old\\\"", description());
    backup.backup_flag = 0;
    EXPECT_STREQ("Not backup", description());
    use_target(std::string(".").append(200, 'x').c_str());
    std::string cut = description();
    EXPECT_EQ(static_cast<size_t>(backup_description_size - 1), cut.size());
    EXPECT_EQ('"', cut.back());
    // The kanji 88h EAh from byte 2 on: the cut falls on a lead byte, which goes with its trail.
    std::string kanji = ".x";
    while (kanji.size() < 200)
        kanji += "\x88\xEA";
    use_target(kanji.c_str());
    EXPECT_EQ("\xEA\"", std::string(description()).substr(124));
}

} // namespace
