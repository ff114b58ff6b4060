// eolfix.exe on text in UTF-16 and UTF-32, which a byte-order mark names, next to the byte-wise
// files around it: what each file holds afterwards and the line it gets.
#include "eolfix_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string operator""_b(const char *bytes, size_t size) {
    return std::string(bytes, size);
}

const char mask_line[] = "file mask: *.txt;*.htm;*.html;\n";
const char convert[] = "convert: ";
const char broken16[] = "skip broken UTF-16 file : ";
const char broken32[] = "skip broken UTF-32 file : ";

class EolfixUnits : public ::testing::Test {
  protected:
    void SetUp() override {
        base = make_temp_folder();
        tree = base + "\\tree";
        make_folder(tree);
        make_folder(base + "\\bin");
    }
    void TearDown() override { remove_tree(base); }
    RunResult run_with(const std::string &ini) {
        return run_program(install_eolfix(base + "\\bin", ini), "", tree);
    }
    std::string put(const std::string &name, const std::string &bytes) {
        std::string path = tree + "\\" + name;
        write_file(path, bytes);
        set_file_times(path, old_file_times());
        return path;
    }
    std::string base, tree;
};

// One row per encoding, target, repair and state; expected empty: the file stays as it is.
const struct Row {
    const char *ini;
    std::string input, expected;
    const char *line;
} rows[] = {
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

TEST_F(EolfixUnits, EachEncodingKeepsItsUnits) {
    for (const Row &row : rows) {
        const std::string path = put("r.txt", row.input);
        const RunResult result = run_with(std::string(row.ini) + "\n");
        const bool converted = !row.expected.empty();
        const std::string line = row.line ? row.line + path + "\n" : "";
        const std::string count = converted ? "convert 1 files.\n" : "convert 0 files.\n";
        const std::string where = std::string(row.ini) + " on " + testing::PrintToString(row.input);
        EXPECT_EQ(crlf(mask_line + tree + "\n" + line + count), result.out) << where;
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
TEST_F(EolfixUnits, TreeOfEncodingsKeepsItsText) {
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
