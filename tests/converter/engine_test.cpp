#include "converter/engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "converter/newline_rule.h"
#include "converter/settings.h"
#include "tests/converter/reference_engine.h"

namespace {

struct Outcome {
    std::string bytes;
    Conversion result;
};

// The reference engine's output.
Outcome convert(const std::string &input, int32_t kind, bool repair) {
    OutputBuffer out;
    Conversion result = convert_newlines(reinterpret_cast<const uint8_t *>(input.data()), out,
                                         input.size(), kind, repair);
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

std::string repeat(const char *text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

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
    // Newlines only, far more than a lane of either scan holds between its sums: a lane cap
    // one higher overflows on these and gives a wrong size.
    {"dense cr", repeat("\r", 40000), false, repeat("\r\n", 40000), repeat("\r", 40000),
     repeat("\n", 40000), diff, same, diff},
    {"dense lf", repeat("\n", 40000), false, repeat("\r\n", 40000), repeat("\r", 40000),
     repeat("\n", 40000), diff, diff, same},
    {"dense crlf", repeat("\r\n", 30000), true, repeat("\r\n", 30000), repeat("\r", 30000),
     repeat("\n", 30000), same, diff, diff},
    {"dense triples repaired", repeat("\r\r\n", 30000), true, repeat("\r\n", 30000),
     repeat("\r", 30000), repeat("\n", 30000), diff, diff, diff},
    {"dense triples", repeat("\r\r\n", 20000), false, repeat("\r\n\r\n", 20000),
     repeat("\r\r", 20000), repeat("\n\n", 20000), diff, diff, diff},
    // Every kind of newline, longer than the least slices, so that their edges fall everywhere.
    {"all kinds repaired", repeat("ab\r\r\ncd\re\nf\r\n\r", 12), true,
     repeat("ab\r\ncd\r\ne\r\nf\r\n\r\n", 12), repeat("ab\rcd\re\rf\r\r", 12),
     repeat("ab\ncd\ne\nf\n\n", 12), diff, diff, diff},
    {"all kinds", repeat("ab\r\r\ncd\re\nf\r\n\r", 12), false,
     repeat("ab\r\n\r\ncd\r\ne\r\nf\r\n\r\n", 12), repeat("ab\r\rcd\re\rf\r\r", 12),
     repeat("ab\n\ncd\ne\nf\n\n", 12), diff, diff, diff},
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

// The block-wise engine on one path: the content's own bytes up to the first change, then what
// write_converted gives, or with a room, what write_slice gives slice by slice. Checks the
// scan's size against what was written.
Outcome convert_blockwise(const std::string &input, int32_t kind, bool repair, EnginePath path,
                          uint32_t room = 0) {
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(input.data());
    uint32_t length = static_cast<uint32_t>(input.size());
    NewlineScan scan = scan_newlines(bytes, length, kind, repair, path);
    std::string out(static_cast<size_t>(scan.output_size - scan.first_change) + converted_slack,
                    '?');
    uint32_t written = 0;
    if (room == 0) {
        written = write_converted(bytes, length, scan.first_change,
                                  reinterpret_cast<uint8_t *>(&out[0]), kind, repair, path);
    } else {
        // A block of exactly room bytes, so that the sanitizers see a store past it.
        std::vector<uint8_t> slice(room);
        for (uint32_t from = scan.first_change; from < length;) {
            uint32_t part =
                write_slice(bytes, length, from, slice.data(), room, kind, repair, path);
            out.replace(written, part, reinterpret_cast<const char *>(slice.data()), part);
            written += part;
        }
    }
    EXPECT_EQ(scan.output_size, uint64_t{scan.first_change} + written);
    return {input.substr(0, scan.first_change) + out.substr(0, written),
            scan.changed ? Conversion::changed : Conversion::unchanged};
}

const EnginePath both_paths[] = {EnginePath::portable, EnginePath::sse2};

// Every row on both paths, also padded so that the newlines fall inside words and blocks.
TEST_P(EngineRows, BothBlockwisePaths) {
    const Row &row = GetParam();
    const std::string pad(37, 'x');
    const struct {
        int32_t kind;
        const std::string &expected;
        Conversion result;
    } targets[] = {{newline_windows, row.windows, row.on_windows},
                   {newline_mac, row.mac, row.on_mac},
                   {newline_unix, row.unix_form, row.on_unix}};
    for (EnginePath path : both_paths)
        for (const auto &t : targets) {
            Outcome plain = convert_blockwise(row.input, t.kind, row.repair, path);
            EXPECT_EQ(t.expected, plain.bytes) << "kind " << t.kind;
            EXPECT_EQ(t.result, plain.result) << "kind " << t.kind;
            Outcome padded = convert_blockwise(pad + row.input + pad, t.kind, row.repair, path);
            EXPECT_EQ(pad + t.expected + pad, padded.bytes) << "kind " << t.kind;
            EXPECT_EQ(t.result, padded.result) << "kind " << t.kind;
        }
}

// Every row in slices on both paths, padded, with rooms from the least on, so that the slice
// edges fall before, inside and after each newline.
TEST_P(EngineRows, Slices) {
    const Row &row = GetParam();
    const std::string pad(37, 'x');
    const struct {
        int32_t kind;
        const std::string &expected;
    } targets[] = {
        {newline_windows, row.windows}, {newline_mac, row.mac}, {newline_unix, row.unix_form}};
    const uint32_t rooms = row.input.size() < 1000 ? 40 : 3;
    for (EnginePath path : both_paths)
        for (const auto &t : targets)
            for (uint32_t room = slice_minimum; room < slice_minimum + rooms; ++room)
                ASSERT_EQ(
                    pad + t.expected + pad,
                    convert_blockwise(pad + row.input + pad, t.kind, row.repair, path, room).bytes)
                    << "kind " << t.kind << " room " << room;
}

TEST(BlockwiseEngine, BothPathsMatchTheRulesOnRandomContent) {
    // Newline bytes dense and sparse, so that runs both end inside blocks and cross them.
    unsigned seed = 1;
    for (int round = 0; round < 300; ++round) {
        std::string input;
        int length = round % 7 == 0 ? 3000 : round % 50;
        int density = 2 + round % 40;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            unsigned pick = (seed >> 16) % density;
            input += pick == 0 ? '\r' : pick == 1 ? '\n' : static_cast<char>('a' + pick % 26);
        }
        for (int32_t kind = 1; kind <= 3; ++kind)
            for (bool repair : {false, true}) {
                Outcome reference = convert(input, kind, repair);
                for (EnginePath path : both_paths) {
                    Outcome outcome = convert_blockwise(input, kind, repair, path);
                    ASSERT_EQ(reference.bytes, outcome.bytes) << "round " << round;
                    ASSERT_EQ(reference.result, outcome.result) << "round " << round;
                }
            }
    }
}

TEST(BlockwiseEngine, FirstChangeIsTheFirstNewlineRewritten) {
    const struct {
        const char *input;
        int32_t kind;
        bool repair;
        uint32_t first_change;
    } cases[] = {
        {"a\r\nb\nc", newline_windows, false, 4},
        {"ab\r\n", newline_unix, false, 2},
        {"a\rb\r\n", newline_mac, false, 3},
        {"ab\r\r\n", newline_windows, true, 2},  // the repaired triple
        {"ab\r\r\n", newline_windows, false, 2}, // its lone 0Dh
        {"a\r\n", newline_windows, false, 3},    // unchanged: the length
    };
    for (const auto &c : cases)
        for (EnginePath path : both_paths) {
            const uint8_t *bytes = reinterpret_cast<const uint8_t *>(c.input);
            EXPECT_EQ(
                c.first_change,
                scan_newlines(bytes, std::strlen(c.input), c.kind, c.repair, path).first_change)
                << c.input;
        }
}

TEST(BlockwiseEngine, FirstChangeIsALoneLfAfterPlainBytesAnywhere) {
    // CR LF lines of 19 bytes, one at a time without its 0Dh: the lone 0Ah then stands at every
    // place of an 8-byte step and of a 256-byte batch, after more than a step of plain bytes.
    const std::string text = repeat("abcdefghijklmnopq\r\n", 256);
    for (size_t at = 17; at < text.size(); at += 19) {
        std::string input = text;
        input.erase(at, 1);
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(input.data());
        for (EnginePath path : both_paths)
            EXPECT_EQ(at, scan_newlines(bytes, static_cast<uint32_t>(input.size()), newline_windows,
                                        false, path)
                              .first_change);
    }
}

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
    const uint8_t cr = 0x0D;
    OutputBuffer out;
    EXPECT_EQ(Conversion::changed, convert_newlines(&cr, out, 1, newline_windows, false));
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
        OutputBuffer out;
        convert_newlines(reinterpret_cast<const uint8_t *>(input.data()), out, input.size(), kind,
                         false);
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

namespace {

TEST(NewlineRule, TheWordFormGivesTheRulesLengths) {
    const uint32_t units[] = {0x0D, 0x0A, 'x', 0x00, 0x8D};
    for (uint32_t first : {0x0Du, 0x0Au})
        for (uint32_t second : units)
            for (uint32_t third : units)
                for (bool repair : {false, true})
                    EXPECT_EQ(newline_units(first, second, third, 3, repair),
                              newline_bytes_in_word(first | second << 8 | third << 16 | 0x0D000000u,
                                                    repair))
                        << first << " " << second << " " << third << " " << repair;
}

} // namespace
