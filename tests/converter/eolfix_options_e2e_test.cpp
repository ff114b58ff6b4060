// Runs a copy of eolfix.exe with its own settings file beside it and checks the exact bytes
// that reach its standard output, and its exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "converter/eolfix_runner.h"
#include "expected_usage.h"

namespace {

std::string error_line(const std::string &argument) {
    return crlf("Error-illegal option : " + argument + "\n");
}

std::string screen(const UsageValues &values) {
    return crlf(expected_usage(values) + "\n");
}

class EolfixOptions : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = make_temp_folder();
        exe_ = root_ + "\\eolfix.exe";
        work_ = root_ + "\\work";
        ASSERT_TRUE(CopyFileA(eolfix_exe().c_str(), exe_.c_str(), FALSE));
        make_folder(work_);
    }
    void TearDown() override { remove_tree(root_); }

    void write_settings(const std::string &bytes) { write_file(root_ + "\\eolfix.ini", bytes); }

    RunResult run(const std::string &args) { return run_program(exe_, args, work_); }

    void expect_run(const std::string &args, const std::string &out, unsigned long code = 1) {
        const RunResult r = run(args);
        EXPECT_EQ(out, r.out) << args;
        EXPECT_EQ(code, r.exit_code) << args;
    }

    std::string root_, exe_, work_;
};

TEST_F(EolfixOptions, ShippedSettingsFileChangesNothing) {
    const std::string shipped = eolfix_exe().substr(0, eolfix_exe().rfind('\\')) + "\\eolfix.ini";
    ASSERT_TRUE(CopyFileA(shipped.c_str(), (root_ + "\\eolfix.ini").c_str(), FALSE));
    expect_run("-?", screen({}));
}

TEST_F(EolfixOptions, HelpAndIllegalOptions) {
    write_settings("");
    const std::string defaults = screen({});
    expect_run("-?", defaults);
    expect_run("/?", defaults);
    expect_run("-H", defaults);
    expect_run("-x -?", error_line("-x") + defaults);
    expect_run("-? -x", defaults);
    expect_run("-", error_line("-") + defaults);
    expect_run("/", error_line("/") + defaults);
    expect_run("-m*.c", error_line("-m*.c") + defaults);
}

TEST_F(EolfixOptions, OptionsBeforeTheStopAreInForce) {
    write_settings("keeptime=on\r\ndoinet=on\r\n");
    expect_run("-ou -h",
               screen({"ON", "*.txt;*.htm;*.html", 3, "ON", "Rename extention to \".bak\""}));
    expect_run("-t -t -i -i -omac -?",
               screen({"ON", "*.txt;*.htm;*.html", 2, "ON", "Rename extention to \".bak\""}));
    expect_run("-t -i *.c -m=*.d -q",
               error_line("-q") + screen({"OFF", "*.d", 1, "OFF", "Rename extention to \".bak\""}));
    expect_run("-m=*.d *.c -?", screen({"ON", "*.c", 1, "ON", "Rename extention to \".bak\""}));
    expect_run("-m= -?", screen({"ON", "", 1, "ON", "Rename extention to \".bak\""}));
}

TEST_F(EolfixOptions, EmptyMaskWalksAndConvertsNothing) {
    write_settings("filemask=*.txt\r\n");
    write_file(work_ + "\\a.txt", "x\ny\n");
    expect_run("-m=", crlf("file mask: \n" + work_ + "\n" + "convert 0 files.\n"), 0);
    EXPECT_EQ("x\ny\n", read_file(work_ + "\\a.txt"));
}

TEST_F(EolfixOptions, MissingSettingsFileEndsEveryRun) {
    expect_run("-?", crlf("File open error : " + root_ + "\\eolfix.ini\n" +
                          "Error-load ini file failed.\n"));
}

TEST_F(EolfixOptions, ProgramPathWithoutDotHasNoSettingsFile) {
    if (root_.find('.') != std::string::npos)
        GTEST_SKIP() << "the temporary folder's own '.' would be taken for the extension";
    const std::string bare = root_ + "\\eolfix";
    ASSERT_TRUE(CopyFileA(exe_.c_str(), bare.c_str(), FALSE));
    write_settings("");
    const RunResult r = run_program(bare, "-?", work_);
    EXPECT_EQ(crlf("Error-set ini file failed.\n"), r.out);
    EXPECT_EQ(1u, r.exit_code);
}

TEST_F(EolfixOptions, BackupSettingOnTheScreen) {
    const std::string bak = root_ + "\\bak";
    make_folder(bak);
    struct Case {
        std::string settings_file;
        std::string description;
    } cases[] = {
        {"backup=off\r\n", "Not backup"},
        {"backup=\r\n", "Not backup"},
        {"backup=" + bak + "\r\n", "Copy to \"" + bak + "\\\""},
        {"backup=" + bak + "\\\r\n", "Copy to \"" + bak + "\\\""},
        {"backup=..\\old\r\n", "Rename extention to \"..\\old\""},
        {"backup=" + bak + "\r\nbackup=OFF\r\n", "Not backup"},
    };
    for (const Case &c : cases) {
        write_settings(c.settings_file);
        expect_run("-?", screen({"OFF", "*.txt;*.htm;*.html", 1, "OFF", c.description}));
    }
}

TEST_F(EolfixOptions, TextModeReadingOfTheSettingsFile) {
    struct Case {
        const char *why;
        std::string settings_file;
        UsageValues expected;
    } cases[] = {
        {"CR-only lines: one line, value ends at the CR",
         "output=unix\rkeeptime=on\rdoinet=on\r",
         {"OFF", "*.txt;*.htm;*.html", 3, "OFF", "Rename extention to \".bak\""}},
        {"Ctrl-Z ends the file",
         "output=mac\r\n\x1akeeptime=on\r\n",
         {"OFF", "*.txt;*.htm;*.html", 2, "OFF", "Rename extention to \".bak\""}},
        {"a 300-character line is read in pieces",
         "#" + std::string(254, '-') + "keeptime=on " + std::string(33, '-') + "\r\n",
         {"OFF", "*.txt;*.htm;*.html", 1, "ON", "Rename extention to \".bak\""}},
        {"keys case-insensitive, later lines win",
         "FileMask=*.a\r\n \t=filemask= =*.b *.c\r\nfilemask =*.d\r\n",
         {"OFF", "*.b", 1, "OFF", "Rename extention to \".bak\""}},
    };
    for (const Case &c : cases) {
        write_settings(c.settings_file);
        const RunResult r = run("-?");
        EXPECT_EQ(screen(c.expected), r.out) << c.why;
        EXPECT_EQ(1u, r.exit_code) << c.why;
    }
}

TEST_F(EolfixOptions, ShiftJisMaskAndBackupFolder) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page (LC_ALL=ja_JP.UTF-8 under Wine)";
    const std::string kanji = shift_jis(u8"表"); // 95h 5Ch: its trail byte is '\'
    const std::string bak = root_ + "\\" + kanji;
    make_folder(bak);
    write_settings("filemask=" + kanji + "*.txt\r\nbackup=" + bak + "\r\n");
    expect_run("-?", screen({"OFF", kanji + "*.txt", 1, "OFF", "Copy to \"" + bak + "\\\""}));

    const std::string name = kanji + "a.txt";
    write_file(work_ + "\\" + name, "x\ny\n");
    write_file(work_ + "\\b.txt", "x\ny\n");
    expect_run("",
               crlf("file mask: " + kanji + "*.txt;\n" + work_ + "\n" + "convert: " + work_ + "\\" +
                    name + "\n" + "convert 1 files.\n"),
               0);
    EXPECT_EQ("x\r\ny\r\n", read_file(work_ + "\\" + name));
    EXPECT_EQ("x\ny\n", read_file(bak + "\\" + name));
    EXPECT_EQ("x\ny\n", read_file(work_ + "\\b.txt"));
}

TEST_F(EolfixOptions, OverLongMaskStopsBeforeTheWalk) {
    write_settings("");
    write_file(work_ + "\\a.txt", "x\ny\n");
    const std::string refused = crlf("Error-file mask longer than 259 characters.\n");
    expect_run(std::string(260, 'a'), refused);
    expect_run("-m=" + std::string(300, 'a') + " -?", refused);
    EXPECT_EQ("x\ny\n", read_file(work_ + "\\a.txt"));
    expect_run("-m=" + std::string(259, 'a') + " -?",
               screen({"OFF", std::string(259, 'a'), 1, "OFF", "Rename extention to \".bak\""}));
}

TEST_F(EolfixOptions, LongErrorLineIsCutAt1023Bytes) {
    write_settings("");
    const std::string argument = "-" + std::string(1100, 'x');
    const std::string line = ("Error-illegal option : " + argument).substr(0, 1023);
    expect_run(argument, crlf(line + "\n") + screen({}));
}

} // namespace
