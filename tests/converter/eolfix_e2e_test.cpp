// eolfix.exe run on real folder trees: its exact output, exit code and the files it leaves.
#include "eolfix_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char default_mask_line[] = "file mask: *.txt;*.htm;*.html;\n";

class Eolfix : public ::testing::Test {
  protected:
    void SetUp() override {
        base = make_temp_folder();
        tree = base + "\\tree";
        bin = base + "\\bin";
        make_folder(tree);
        make_folder(bin);
    }
    void TearDown() override { remove_tree(base); }

    // Runs the built program with its shipped settings file in the tree.
    RunResult run_default() { return run_program(eolfix_exe(), "", tree); }
    // Runs a copy of the program whose settings file holds ini.
    RunResult run_with(const std::string &ini, const std::string &folder = "") {
        return run_program(install_eolfix(bin, ini), "", folder.empty() ? tree : folder);
    }
    // A file with old time stamps, so that any rewrite shows in them.
    std::string put(const std::string &name, const std::string &bytes) {
        std::string path = tree + "\\" + name;
        write_file(path, bytes);
        set_file_times(path, old_file_times());
        return path;
    }
    // Holds the file open without sharing, as another program would, so that eolfix cannot.
    static HANDLE hold(const std::string &path) {
        return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::string base, tree, bin;
};

TEST_F(Eolfix, DefaultsConvertTheWholeTreeDepthFirst) {
    std::string a = put("a.txt", "one\ntwo\n");
    std::string kept = put("kept.txt", "same\r\nlines\r\n");
    put("other.dat", "x\n");
    make_folder(tree + "\\sub");
    std::string b = put("sub\\b.htm", "b\rc\r\nd");
    make_folder(tree + "\\sub\\deeper");
    std::string c = put("sub\\deeper\\c.html", "mixed\r\nand\nbare\rcr");
    put("sub\\deeper\\empty.txt", "");

    RunResult result = run_default();

    EXPECT_EQ(0u, result.exit_code);
    EXPECT_EQ(crlf(std::string(default_mask_line) + tree + "\n" + "convert: " + a + "\n" + tree +
                   "\\sub\n" + "convert: " + b + "\n" + tree + "\\sub\\deeper\n" + "convert: " + c +
                   "\n" + "convert 3 files.\n"),
              result.out);
    EXPECT_EQ("one\r\ntwo\r\n", read_file(a));
    EXPECT_EQ("b\r\nc\r\nd", read_file(b));
    EXPECT_EQ("mixed\r\nand\r\nbare\r\ncr", read_file(c));
    EXPECT_EQ("one\ntwo\n", read_file(a + ".bak"));
    EXPECT_EQ("b\rc\r\nd", read_file(b + ".bak"));
    EXPECT_EQ("x\n", read_file(tree + "\\other.dat"));

    EXPECT_EQ("same\r\nlines\r\n", read_file(kept));
    EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(kept))
        << "an unchanged file is not touched";
    EXPECT_FALSE(file_exists(kept + ".bak"));
    EXPECT_FALSE(file_exists(tree + "\\sub\\deeper\\empty.txt.bak"));
}

TEST_F(Eolfix, BackupCopiesKeepOldTimesAndAreNotConvertedAgain) {
    std::string a = put("a.txt", "x\n");
    RunResult first = run_default();
    EXPECT_EQ(
        crlf(std::string(default_mask_line) + tree + "\nconvert: " + a + "\nconvert 1 files.\n"),
        first.out);
    EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(a + ".bak"));
    EXPECT_FALSE(same_stored_times(old_file_times(), get_file_times(a)))
        << "keep-time is off by default";

    RunResult second = run_default();
    EXPECT_EQ(crlf(std::string(default_mask_line) + tree + "\nconvert 0 files.\n"), second.out);
    EXPECT_EQ("x\n", read_file(a + ".bak"));
}

TEST_F(Eolfix, KeepTimeRestoresAllThreeTimes) {
    std::string a = put("a.txt", "x\n");
    RunResult result = run_with("keeptime=on\n");
    EXPECT_EQ(
        crlf(std::string(default_mask_line) + tree + "\nconvert: " + a + "\nconvert 1 files.\n"),
        result.out);
    // Reading a file moves its last-access time here, so the times are looked at before the
    // content: eolfix must have taken them before its own read.
    FILETIME old_access = old_file_times().last_access;
    FileTimes file = get_file_times(a), copy = get_file_times(a + ".bak");
    EXPECT_EQ(0, CompareFileTime(&old_access, &file.last_access));
    EXPECT_EQ(0, CompareFileTime(&old_access, &copy.last_access));
    EXPECT_PRED2(same_stored_times, old_file_times(), file);
    EXPECT_PRED2(same_stored_times, old_file_times(), copy);
    EXPECT_EQ("x\r\n", read_file(a));

    // Without backups the times are still taken, for the kept-time rewrite alone.
    std::string b = put("b.txt", "y\n");
    run_with("keeptime=on\nbackup=off\n");
    EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(b));
}

TEST_F(Eolfix, EachTargetCutsOrGrowsTheFileToItsContent) {
    const struct {
        const char *ini;
        const char *expected;
    } cases[] = {
        {"output=unix\n", "a\nb\nc\n\n\nd"},
        {"output=mac\n", "a\rb\rc\r\r\rd"},
        {"output=win\ndoinet=on\n", "a\r\nb\r\nc\r\n\r\nd"},
    };
    for (const auto &c : cases) {
        std::string a = put("a.txt", "a\r\nb\nc\r\r\n\rd");
        RunResult result = run_with(c.ini);
        EXPECT_EQ(0u, result.exit_code);
        EXPECT_EQ(c.expected, read_file(a)) << c.ini;
    }
}

TEST_F(Eolfix, OverlappingPatternsConvertAFileOnce) {
    // A second listing of the same name must meet the converted file and leave it intact,
    // whether the conversion made it longer or shorter.
    for (const char *ini : {"filemask=*.txt;a*.txt\n", "filemask=*.txt;a*.txt\noutput=unix\n"}) {
        std::string a = put("a.txt", "1\n2\r\n3\r");
        RunResult result = run_with(ini);
        EXPECT_EQ(crlf(std::string("file mask: *.txt;a*.txt;\n") + tree + "\nconvert: " + a +
                       "\nconvert 1 files.\n"),
                  result.out)
            << ini;
        EXPECT_EQ(std::string(ini).find("unix") != std::string::npos ? "1\n2\n3\n"
                                                                     : "1\r\n2\r\n3\r\n",
                  read_file(a));
        EXPECT_EQ("1\n2\r\n3\r", read_file(a + ".bak"));
    }
}

TEST_F(Eolfix, PatternWithAFolderPartConvertsTheFilesItFound) {
    make_folder(tree + "\\sub");
    std::string store = base + "\\bak";
    make_folder(store);
    // Folder mode takes the base name after the last '\': a '/' left in the path would put
    // "sub/" in front of it.
    for (const char *pattern : {"sub\\*.txt", "sub/*.txt"}) {
        std::string top = put("a.txt", "top\n");
        std::string below = put("sub\\a.txt", "below\n");
        RunResult result =
            run_with(std::string("filemask=") + pattern + "\nbackup=" + store + "\n");
        EXPECT_EQ(crlf(std::string("file mask: ") + pattern + ";\n" + tree + "\nconvert: " + below +
                       "\n" + tree + "\\sub\nconvert 1 files.\n"),
                  result.out)
            << pattern;
        EXPECT_EQ("below\r\n", read_file(below)) << pattern;
        EXPECT_EQ("below\n", read_file(store + "\\a.txt")) << pattern;
        EXPECT_EQ("top\n", read_file(top)) << "a file the mask does not name is left alone";
    }
}

TEST_F(Eolfix, EmptyMaskWalksButConvertsNothing) {
    put("a.txt", "x\n");
    make_folder(tree + "\\sub");
    RunResult result = run_with("filemask=\n");
    EXPECT_EQ(crlf("file mask: \n" + tree + "\n" + tree + "\\sub\nconvert 0 files.\n"), result.out);
    EXPECT_EQ(0u, result.exit_code);
    EXPECT_EQ("x\n", read_file(tree + "\\a.txt"));
}

TEST_F(Eolfix, FailingBackupLeavesTheFileUnconverted) {
    std::string a = put("a.txt", "x\n");
    make_folder(a + ".bak");
    RunResult result = run_default();
    // The copy's place is taken by a folder, which the walk then enters.
    EXPECT_EQ(crlf(std::string(default_mask_line) + tree + "\n") +
                  system_error_line(a + ".bak", ERROR_ACCESS_DENIED) +
                  crlf(a + ".bak\nconvert 0 files.\n"),
              result.out);
    EXPECT_EQ("x\n", read_file(a));
    EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(a));
}

TEST_F(Eolfix, FileHeldOpenElsewhereIsReportedAndTheWalkGoesOn) {
    std::string held = put("held.txt", "h\n");
    std::string free_file = put("zfree.txt", "f\n");
    HANDLE holder = hold(held);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    RunResult result = run_default();
    CloseHandle(holder);
    EXPECT_NE(std::string::npos, result.out.find(system_error_line(held, ERROR_SHARING_VIOLATION)));
    EXPECT_NE(std::string::npos, result.out.find(crlf("convert: " + free_file + "\n")));
    EXPECT_NE(std::string::npos, result.out.find(crlf("convert 1 files.\n")));
    EXPECT_EQ("h\n", read_file(held));
}

TEST_F(Eolfix, FileListedTwiceIsVisitedAgainOnlyAfterAFailure) {
    // *.htm finds .html by its short name; a clean first visit leaves nothing for a second.
    std::string page = put("p.html", "p\n");
    std::string held = put("held.txt", "h\n");
    HANDLE holder = hold(held);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    RunResult result = run_with("filemask=*.htm;*.html;*.txt;h*.txt\nbackup=off\n");
    CloseHandle(holder);
    const std::string failure = system_error_line(held, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(crlf("file mask: *.htm;*.html;*.txt;h*.txt;\n" + tree + "\nconvert: " + page + "\n") +
                  failure + failure + crlf("convert 1 files.\n"),
              result.out);
}

TEST_F(Eolfix, CurrentFolderEndingInTrailByte5CKeepsItsWholeName) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page (LC_ALL=ja_JP.UTF-8 under Wine)";
    // The kanji 95h 5Ch ends the folder's name; cut after its lead byte, the path would name
    // the files beside the folder whose names begin with that kanji.
    const std::string kanji = "\x95\x5C";
    std::string folder = tree + "\\" + kanji;
    make_folder(folder);
    std::string inside = put(kanji + "\\a.txt", "in\n");
    std::string beside = put(kanji + "b.txt", "out\n");
    RunResult result = run_program(eolfix_exe(), "", folder);
    EXPECT_EQ(crlf(std::string(default_mask_line) + folder + "\nconvert: " + inside +
                   "\nconvert 1 files.\n"),
              result.out);
    EXPECT_EQ("in\r\n", read_file(inside));
    EXPECT_EQ("out\n", read_file(beside));
}

class EolfixFolderMode : public Eolfix {
  protected:
    // The backup folder, spelled in another letter case than the walk builds it.
    std::string backup_ini(const std::string &folder) { return "backup=" + folder + "\n"; }
    static std::string upper(std::string text) {
        for (char &c : text)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return text;
    }
};

TEST_F(EolfixFolderMode, CopiesGoToTheFolderWhichTheWalkSkips) {
    std::string store = tree + "\\bak";
    make_folder(store);
    std::string inside = put("bak\\inside.txt", "not\nmine\n");
    std::string a = put("same.txt", "first\n");
    make_folder(tree + "\\sub");
    std::string b = put("sub\\same.txt", "second\n");
    // The kanji 95h 5Ch: its trail byte must not split the name.
    std::string kanji = put("\x95\x5C.txt", "k\n");

    RunResult result = run_with(backup_ini(upper(store)));

    // The search order of a folder is the file system's own: compare the lines as a set.
    std::string out = result.out;
    EXPECT_EQ(0u, result.exit_code);
    for (const std::string &line :
         {std::string(default_mask_line), tree + "\n", "convert: " + a + "\n",
          "convert: " + kanji + "\n", store + " is backup path. Skip this.\n", tree + "\\sub\n",
          "convert: " + b + "\n", std::string("convert 3 files.\n")})
        EXPECT_NE(std::string::npos, out.find(crlf(line))) << line;
    EXPECT_EQ(0u, out.find(crlf(default_mask_line)));
    EXPECT_EQ(8u, std::count(out.begin(), out.end(), '\n'));

    EXPECT_EQ("not\nmine\n", read_file(inside));
    EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(inside));
    EXPECT_EQ("k\n", read_file(store + "\\\x95\x5C.txt"));
    EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(store + "\\\x95\x5C.txt"));
    EXPECT_EQ("second\n", read_file(store + "\\same.txt")) << "the later copy replaces the first";
    EXPECT_FALSE(file_exists(a + ".bak"));
}

TEST_F(EolfixFolderMode, CurrentFolderAsBackupFolderIsSkipped) {
    std::string a = put("a.txt", "x\n");
    RunResult result = run_with(backup_ini(tree + "\\"));
    EXPECT_EQ(crlf(std::string(default_mask_line) + tree +
                   " is backup path. Skip this.\nconvert 0 files.\n"),
              result.out);
    EXPECT_EQ(0u, result.exit_code);
    EXPECT_EQ("x\n", read_file(a));
}

TEST_F(EolfixFolderMode, RelativeFolderAtDepthZeroOrOneIsRecognisedAndNotEntered) {
    for (const std::string relative : {"bak", "sub\\bak"}) {
        remove_tree(tree);
        make_folder(tree);
        make_folder(tree + "\\sub");
        std::string store = tree + "\\" + relative;
        make_folder(store);
        std::string inside = put(relative + "\\inside.txt", "in\n");
        put("a.txt", "a\n");
        RunResult result = run_with(backup_ini(relative + "\\"));
        EXPECT_NE(std::string::npos, result.out.find(crlf(store + " is backup path. Skip this.\n")))
            << result.out;
        EXPECT_EQ("in\n", read_file(inside));
        EXPECT_EQ("a\n", read_file(store + "\\a.txt"));
    }
}

TEST_F(EolfixFolderMode, MissingOrFileTargetStopsTheRun) {
    put("a.txt", "x\n");
    std::string missing = base + "\\missing";
    RunResult gone = run_with(backup_ini(missing));
    EXPECT_EQ(1u, gone.exit_code);
    EXPECT_EQ(system_error_line(missing, ERROR_FILE_NOT_FOUND) +
                  crlf("Error-backup path. Check ini file.\n"),
              gone.out);

    std::string file = put("plain.dat", "");
    RunResult not_folder = run_with(backup_ini(file));
    EXPECT_EQ(1u, not_folder.exit_code);
    EXPECT_EQ(
        crlf("\"" + file + "\" is not folder(directry).\nError-backup path. Check ini file.\n"),
        not_folder.out);
    EXPECT_EQ("x\n", read_file(tree + "\\a.txt"));
}

// Text in UTF-16 and UTF-32, which a byte-order mark names, next to the byte-wise files around
// it: what each file holds afterwards and the line it gets.
std::string operator""_b(const char *bytes, size_t size) {
    return std::string(bytes, size);
}

const char convert[] = "convert: ";
const char broken16[] = "skip broken UTF-16 file : ";
const char broken32[] = "skip broken UTF-32 file : ";

// One row per encoding, target, repair and state; expected empty: the file stays as it is.
const struct EncodingRow {
    const char *ini;
    std::string input, expected;
    const char *line;
} encoding_rows[] = {
    {"output=win",
     "\xFF\xFE"
     "a\0\r\0\n\0b\0\r\0\n\0"_b,
     "", nullptr},
    {"output=win",
     "\xFF\xFE"
     "a\0\n\0b\0\r\0"_b,
     "\xFF\xFE"
     "a\0\r\0\n\0b\0\r\0\n\0"_b,
     convert},
    {"output=unix", "\xFF\xFE\x0D\x0A\r\0\n\0"_b, "\xFF\xFE\x0D\x0A\n\0"_b, convert},
    {"output=mac\ndoinet=on", "\xFF\xFE\r\0\r\0\n\0x\0"_b, "\xFF\xFE\r\0x\0"_b, convert},
    {"output=win", "\xFF\xFE\r\0\r\0\n\0"_b, "\xFF\xFE\r\0\n\0\r\0\n\0"_b, convert},
    {"output=win",
     "\xFF\xFE"
     "a\0\n"_b,
     "", broken16},
    {"output=unix", "\xFF\xFE"_b, "", nullptr},
    {"output=win", "\xFE\xFF\0a\0\n\x0D\0"_b, "\xFE\xFF\0a\0\r\0\n\x0D\0"_b, convert},
    {"output=unix", "\xFE\xFF\0\n\0b\0\n"_b, "", nullptr},
    {"output=mac\ndoinet=on", "\xFE\xFF\0\r\0\r\0\n"_b, "\xFE\xFF\0\r"_b, convert},
    {"output=unix", "\xFE\xFF\0\r\0"_b, "", broken16},
    {"output=win",
     "\xFF\xFE\0\0"
     "a\0\0\0\n\0\0\0"_b,
     "\xFF\xFE\0\0"
     "a\0\0\0\r\0\0\0\n\0\0\0"_b,
     convert},
    {"output=mac", "\xFF\xFE\0\0\r\0\0\0\n\0\0\0\r\0\0\0"_b, "\xFF\xFE\0\0\r\0\0\0\r\0\0\0"_b,
     convert},
    {"output=unix", "\xFF\xFE\0\0\n\0\0\0\x0D\0\x0A\0"_b, "", nullptr},
    {"output=win", "\xFF\xFE\0\0\n\0"_b, "", broken32},
    {"output=unix", "\0\0\xFE\xFF\0\0\0\r\0\0\0z"_b, "\0\0\xFE\xFF\0\0\0\n\0\0\0z"_b, convert},
    {"output=win\ndoinet=on", "\0\0\xFE\xFF\0\0\0\r\0\0\0\r\0\0\0\n"_b,
     "\0\0\xFE\xFF\0\0\0\r\0\0\0\n"_b, convert},
    {"output=mac", "\0\0\xFE\xFF\0\0\0\r\0\0\0\r"_b, "", nullptr},
    {"output=mac", "\0\0\xFE\xFF\0\0\0\r\0"_b, "", broken32},
    // Byte-wise: UTF-8 with its mark, UTF-16 without one, Shift-JIS.
    {"output=win",
     "\xEF\xBB\xBF"
     "a\nb"_b,
     "\xEF\xBB\xBF"
     "a\r\nb"_b,
     convert},
    {"output=win", "a\0\n\0"_b, "a\0\r\n\0"_b, convert},
    {"output=unix", "\x95\x5C\r\n"_b, "\x95\x5C\n"_b, convert},
};

TEST_F(Eolfix, EachEncodingKeepsItsUnits) {
    for (const EncodingRow &row : encoding_rows) {
        const std::string path = put("r.txt", row.input);
        const RunResult result = run_with(std::string(row.ini) + "\n");
        const bool converted = !row.expected.empty();
        const std::string line = row.line ? row.line + path + "\n" : "";
        const std::string count = converted ? "convert 1 files.\n" : "convert 0 files.\n";
        const std::string where = std::string(row.ini) + " on " + testing::PrintToString(row.input);
        EXPECT_EQ(crlf(default_mask_line + tree + "\n" + line + count), result.out) << where;
        EXPECT_EQ(converted ? row.expected : row.input, read_file(path)) << where;
        if (converted) {
            EXPECT_EQ(row.input, read_file(path + ".bak")) << where;
        } else {
            EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(path)) << where;
        }
        if (file_exists(path + ".bak"))
            DeleteFileA((path + ".bak").c_str());
    }
}

// Code points with the mark of UTF-8 (width 1), UTF-16 (2) or UTF-32 (4), in either order.
std::string encode(const std::vector<uint32_t> &text, int width, bool big) {
    const uint8_t lead[] = {0, 0xC0, 0xE0, 0xF0};
    std::string out = width == 1 ? "\xEF\xBB\xBF" : "";
    std::vector<uint32_t> units = {0xFEFF};
    for (uint32_t c : text) {
        const int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        if (width == 1) {
            out += static_cast<char>(lead[more] | c >> 6 * more);
            for (int i = more - 1; i >= 0; --i)
                out += static_cast<char>(0x80 | (c >> 6 * i & 0x3F));
        } else if (width == 2 && more == 3) {
            units.push_back(0xD800 + ((c - 0x10000) >> 10));
            units.push_back(0xDC00 + (c & 0x3FF));
        } else {
            units.push_back(c);
        }
    }
    for (size_t i = 0; width > 1 && i < units.size(); ++i)
        for (int b = 0; b < width; ++b)
            out += static_cast<char>(units[i] >> 8 * (big ? width - 1 - b : b));
    return out;
}

// The same lines, held in several encodings with several newlines, converted to each target:
// every file holds its text in its own encoding with the target's newlines, and the files
// already in that form keep their bytes and times.
TEST_F(Eolfix, TreeOfEncodingsKeepsItsText) {
    const std::vector<std::vector<uint32_t>> lines = {
        {0x65E5, 0x672C, 0x8A9E}, {0x0A0D, 0x0D0A, 0x010D}, {}, {0x1F600, 'a'}};
    const auto text = [&](const std::vector<uint32_t> &newline) {
        std::vector<uint32_t> all;
        for (const auto &l : lines) {
            all.insert(all.end(), l.begin(), l.end());
            all.insert(all.end(), newline.begin(), newline.end());
        }
        return all;
    };
    const std::vector<uint32_t> win = {'\r', '\n'}, mac = {'\r'}, unix_form = {'\n'};
    const struct {
        const char *name;
        int width;
        bool big;
        std::vector<uint32_t> newline;
    } files[] = {{"notepad.txt", 2, false, win},
                 {"be.txt", 2, true, unix_form},
                 {"u32.txt", 4, false, mac},
                 {"u32be.txt", 4, true, win},
                 {"u8.txt", 1, false, unix_form}};
    for (const auto &target : {std::make_pair("win", win), std::make_pair("mac", mac),
                               std::make_pair("unix", unix_form)}) {
        int changed = 0;
        for (const auto &f : files) {
            put(f.name, encode(text(f.newline), f.width, f.big));
            changed += f.newline != target.second;
        }
        RunResult result = run_with(std::string("backup=off\noutput=") + target.first + "\n");
        EXPECT_NE(std::string::npos,
                  result.out.find(crlf("convert " + std::to_string(changed) + " files.\n")));
        for (const auto &f : files) {
            const std::string path = tree + "\\" + f.name;
            EXPECT_EQ(encode(text(target.second), f.width, f.big), read_file(path))
                << f.name << " to " << target.first;
            if (f.newline == target.second) {
                EXPECT_PRED2(same_stored_times, old_file_times(), get_file_times(path)) << f.name;
            }
        }
    }
}

} // namespace
