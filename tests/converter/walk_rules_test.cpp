#include "converter/walk_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "code_page_932.h"

namespace {

TEST(EntryClass, FollowsTheAttributeLowByte) {
    const struct {
        uint32_t attributes, size_high;
        EntryClass expected;
    } cases[] = {
        {0x20, 0, EntryClass::listed},
        {0x80, 0, EntryClass::listed},
        {0x21, 0, EntryClass::listed}, // read-only with archive
        {0x27, 0, EntryClass::listed}, // hidden and system do not exclude
        {0x30, 0, EntryClass::listed}, // a folder with the archive bit counts as a file
        {0x20, 1, EntryClass::too_large},
        {0xA0, 0xFFFFFFFF, EntryClass::too_large},
        {0x10, 0, EntryClass::passed_over},
        {0x17, 5, EntryClass::passed_over},
        {0x01, 0, EntryClass::skipped_by_attribute}, // read-only alone
        {0x00, 0, EntryClass::skipped_by_attribute},
        {0x06, 1, EntryClass::skipped_by_attribute},
        {0x100, 0, EntryClass::skipped_by_attribute}, // only the low byte counts
        {0x120, 0, EntryClass::listed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, classify_entry(c.attributes, c.size_high))
            << std::hex << c.attributes << " " << c.size_high;
}

TEST(Subfolder, DirectoryBitExceptDotEntries) {
    EXPECT_TRUE(is_subfolder(0x10, "sub"));
    EXPECT_TRUE(is_subfolder(0x16, "..."));
    EXPECT_TRUE(is_subfolder(0x30, ".git"));
    EXPECT_FALSE(is_subfolder(0x10, "."));
    EXPECT_FALSE(is_subfolder(0x10, ".."));
    EXPECT_FALSE(is_subfolder(0x20, "file"));
}

TEST(JoinPath, BoundedByItsBuffer) {
    char path[path_buffer_size];
    EXPECT_TRUE(join_path(path, sizeof path, "C:", "a.txt"));
    EXPECT_STREQ("C:\\a.txt", path);
    std::string folder(250, 'f');
    EXPECT_TRUE(join_path(path, sizeof path, folder.c_str(), "12345678"));
    EXPECT_EQ(259u, std::string(path).size());
    EXPECT_FALSE(join_path(path, sizeof path, folder.c_str(), "123456789"));
    EXPECT_STREQ("", path);
}

TEST(FolderPart, EndsAfterTheLastSeparatorCharacter) {
    const struct {
        const char *path;
        size_t expected;
    } cases[] = {
        {"*.txt", 0},
        {"", 0},
        {"sub\\*.txt", 4},
        {"a/b\\c/*.txt", 6},
        {"C:\\", 3},
        {"C:\\\x95\x5C", 3},  // the kanji 95h 5Ch ends the name: no separator
        {"\x95\x5C*.txt", 0}, // nor at the start of a pattern
        {"\x95\x5C\\*.txt", 3},
        {"C:\\x\x95", 3}, // a lead byte at the end reads nothing past it
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, folder_part_length(c.path, cp932_lead)) << c.path;
}

} // namespace
