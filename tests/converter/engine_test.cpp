#include "converter/engine.h"

#include <gtest/gtest.h>

#include <string>

#include "converter/settings.h"

namespace {

struct Outcome {
    std::string bytes;
    Conversion result;
};

Outcome convert(const std::string &input, int32_t kind, bool repair) {
    settings = Settings();
    settings.output_kind = kind;
    settings.repair_flag = repair;
    OutputBuffer out;
    Conversion result =
        convert_newlines(reinterpret_cast<const uint8_t *>(input.data()), out, input.size());
    return {std::string(reinterpret_cast<const char *>(out.start), out.size()), result};
}

const Conversion same = Conversion::unchanged;
const Conversion diff = Conversion::changed;

struct Row {
    const char *name;
    std::string input;
    bool repair;
    std::string windows, mac, unix_form;
    Conversion on_windows, on_mac, on_unix;
};

// One row per newline form and per end case, with its result for each of the three targets.
const Row rows[] = {
    {"empty", "", false, "", "", "", same, same, same},
    {"no newline", "abc", false, "abc", "abc", "abc", same, same, same},
    {"crlf", "a\r\nb\r\n", false, "a\r\nb\r\n", "a\rb\r", "a\nb\n", same, diff, diff},
    {"lone cr", "a\rb\r", false, "a\r\nb\r\n", "a\rb\r", "a\nb\n", diff, same, diff},
    {"bare lf", "a\nb\n", false, "a\r\nb\r\n", "a\rb\r", "a\nb\n", diff, diff, same},
    {"lf first", "\nx", false, "\r\nx", "\rx", "\nx", diff, diff, same},
    {"mixed", "1\r\n2\r3\n4", false, "1\r\n2\r\n3\r\n4", "1\r2\r3\r4", "1\n2\n3\n4", diff, diff,
     diff},
    {"lf cr is two", "\n\r", false, "\r\n\r\n", "\r\r", "\n\n", diff, diff, diff},
    {"triple without repair", "\r\r\n", false, "\r\n\r\n", "\r\r", "\n\n", diff, diff, diff},
    {"triple repaired", "\r\r\n", true, "\r\n", "\r", "\n", diff, diff, diff},
    {"cr before triple", "\r\r\r\n", true, "\r\n\r\n", "\r\r", "\n\n", diff, diff, diff},
    {"crlf kept with repair", "a\r\n", true, "a\r\n", "a\r", "a\n", same, diff, diff},
    {"cr last", "a\r", false, "a\r\n", "a\r", "a\n", diff, same, diff},
    {"cr cr last", "\r\r", true, "\r\n\r\n", "\r\r", "\n\n", diff, same, diff},
    {"cr cr last no repair", "\r\r", false, "\r\n\r\n", "\r\r", "\n\n", diff, same, diff},
    {"nul bytes", std::string("a\0\n\0b", 5), false, std::string("a\0\r\n\0b", 6),
     std::string("a\0\r\0b", 5), std::string("a\0\n\0b", 5), diff, diff, same},
    {"shift-jis trail bytes", "\x95\x5C\x81\x0D\x0A", false, "\x95\x5C\x81\x0D\x0A",
     "\x95\x5C\x81\x0D", "\x95\x5C\x81\x0A", same, diff, diff},
};

class EngineRows : public ::testing::TestWithParam<Row> {};

TEST_P(EngineRows, EachTarget) {
    const Row &row = GetParam();
    Outcome windows = convert(row.input, newline_windows, row.repair);
    EXPECT_EQ(row.windows, windows.bytes);
    EXPECT_EQ(row.on_windows, windows.result);
    Outcome mac = convert(row.input, newline_mac, row.repair);
    EXPECT_EQ(row.mac, mac.bytes);
    EXPECT_EQ(row.on_mac, mac.result);
    Outcome unix_form = convert(row.input, newline_unix, row.repair);
    EXPECT_EQ(row.unix_form, unix_form.bytes);
    EXPECT_EQ(row.on_unix, unix_form.result);
}

INSTANTIATE_TEST_SUITE_P(Rules, EngineRows, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Row> &info) {
                             std::string name = info.param.name;
                             for (char &c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(Engine, UnchangedIffOutputEqualsInput) {
    // Every short content over the interesting bytes, every target, both repair settings.
    const char alphabet[] = {'\r', '\n', 'x', '\0'};
    for (int length = 0; length <= 5; ++length) {
        int combinations = 1 << (2 * length);
        for (int code = 0; code < combinations; ++code) {
            std::string input;
            for (int i = 0; i < length; ++i)
                input += alphabet[(code >> (2 * i)) & 3];
            for (int32_t kind = 1; kind <= 3; ++kind)
                for (bool repair : {false, true}) {
                    Outcome outcome = convert(input, kind, repair);
                    EXPECT_EQ(outcome.bytes == input, outcome.result == Conversion::unchanged)
                        << "kind " << kind << " repair " << repair << " length " << length
                        << " code " << code;
                }
        }
    }
}

TEST(OutputBuffer, SingleCrToWindowsGrowsOnceBetweenItsBytes) {
    settings = Settings();
    const uint8_t cr = 0x0D;
    OutputBuffer out;
    EXPECT_EQ(Conversion::changed, convert_newlines(&cr, out, 1));
    EXPECT_EQ(4097u, out.capacity);
    EXPECT_EQ(2u, out.size());
    EXPECT_EQ(out.start + out.capacity, out.end);
}

TEST(OutputBuffer, GrowthIsProportionalWithAFloorOf4096) {
    OutputBuffer out;
    ASSERT_TRUE(out.reset(0));
    EXPECT_EQ(0u, out.capacity);
    ASSERT_TRUE(out.grow());
    EXPECT_EQ(4096u, out.capacity);
    ASSERT_TRUE(out.reset(100000));
    for (int i = 0; i < 7; ++i)
        ASSERT_TRUE(out.append_byte(static_cast<uint8_t>(i)));
    ASSERT_TRUE(out.grow());
    EXPECT_EQ(150000u, out.capacity);
    EXPECT_EQ(7u, out.size()) << "position keeps its offset";
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(i, out.start[i]);
}

TEST(OutputBuffer, RefusesToPassFourGigabytes) {
    OutputBuffer out;
    out.capacity = UINT32_MAX - 100;
    EXPECT_FALSE(out.grow());
    EXPECT_EQ(UINT32_MAX - 100, out.capacity);
    out.capacity = 0;
}

TEST(Engine, MacAndUnixTargetsNeverGrow) {
    std::string input;
    for (int i = 0; i < 10000; ++i)
        input += i % 3 == 0 ? "ab\r\n" : i % 3 == 1 ? "c\r" : "d\n";
    for (int32_t kind : {newline_mac, newline_unix}) {
        settings = Settings();
        settings.output_kind = kind;
        OutputBuffer out;
        convert_newlines(reinterpret_cast<const uint8_t *>(input.data()), out, input.size());
        EXPECT_EQ(input.size(), out.capacity);
    }
}

TEST(Engine, LargeUnixContentToWindowsDoublesEveryNewline) {
    std::string input(1 << 20, '\n');
    Outcome outcome = convert(input, newline_windows, false);
    ASSERT_EQ(2u * input.size(), outcome.bytes.size());
    EXPECT_EQ(std::string::npos, outcome.bytes.find("\n\n"));
    EXPECT_EQ(Conversion::changed, outcome.result);
}

} // namespace
