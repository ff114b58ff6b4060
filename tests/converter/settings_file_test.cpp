#include "converter/settings_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "converter/program_path.h"
#include "converter/settings.h"
#include "converter/eolfix_runner.h"

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = make_temp_folder(); }
    void TearDown() override { remove_tree(folder_); }

    bool load(const std::string &bytes) {
        const std::string path = folder_ + "\\eolfix.ini";
        write_file(path, bytes);
        return load_settings_file(path.c_str(), loaded_);
    }

    std::string folder_;
    Settings loaded_; // what the file set, over the defaults
};

TEST_F(SettingsFile, MissingFileIsRefused) {
    EXPECT_FALSE(load_settings_file((folder_ + "\\none.ini").c_str(), loaded_));
}

TEST_F(SettingsFile, ReadsPastItsFirstBlock) {
    std::string text;
    while (text.size() < 10000)
        text += "# padding padding padding padding padding padding\r\n";
    text += "output=mac\r";
    ASSERT_TRUE(load(text + "\nkeeptime=on"));
    EXPECT_EQ(newline_mac, loaded_.output_kind);
    EXPECT_EQ(1, loaded_.keep_time_flag);
}

TEST_F(SettingsFile, StopsAtCtrlZ) {
    ASSERT_TRUE(load("output=unix\r\n\x1a" + std::string(5000, '\n') + "keeptime=on\r\n"));
    EXPECT_EQ(newline_unix, loaded_.output_kind);
    EXPECT_EQ(0, loaded_.keep_time_flag);
}

TEST_F(SettingsFile, FolderEndingInTrailByte5CGetsItsBackslash) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page (LC_ALL=ja_JP.UTF-8 under Wine)";
    ASSERT_TRUE(load("backup=D:\\\x95\x5c\r\n"));
    EXPECT_STREQ("D:\\\x95\x5c\\", loaded_.backup_target);
    EXPECT_EQ(5, loaded_.backup_compare_length);
}

TEST(ProgramPath, IsTheProgramWithTheExtensionIni) {
    char program[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, program, sizeof program));
    std::string expected = program;
    expected = expected.substr(0, expected.rfind('.')) + ".ini";
    char path[MAX_PATH];
    ASSERT_TRUE(settings_file_path(path, sizeof path));
    EXPECT_EQ(expected, path);
    EXPECT_FALSE(settings_file_path(path, expected.size()));
    EXPECT_STREQ("", path);
}

} // namespace
