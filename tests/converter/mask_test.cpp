#include "converter/mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/settings.h"

namespace {

std::vector<std::string> split(const char *mask) {
    mask_list.clear();
    EXPECT_TRUE(split_file_mask(mask));
    std::vector<std::string> patterns;
    for (int32_t i = 0; i < mask_list.count; ++i) {
        patterns.push_back(mask_list.names[i]);
        EXPECT_EQ(0u, mask_list.values[i]);
    }
    return patterns;
}

std::string line_for(const char *mask) {
    split(mask);
    char line[mask_line_size];
    format_file_mask(line, sizeof line);
    return line;
}

using Patterns = std::vector<std::string>;

TEST(MaskSplit, KeepsNonEmptyItemsInOrderUntrimmed) {
    const struct {
        const char *mask;
        Patterns patterns;
    } cases[] = {
        {"*.txt;*.htm;*.html", {"*.txt", "*.htm", "*.html"}},
        {";a*;;b*;", {"a*", "b*"}},
        {"", {}},
        {";;;", {}},
        {" *.txt; x ", {" *.txt", " x "}},
        {"one", {"one"}},
        {"sub\\*.txt", {"sub\\*.txt"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.patterns, split(c.mask)) << c.mask;
}

TEST(MaskLine, EveryPatternIsFollowedBySemicolon) {
    EXPECT_EQ("file mask: *.txt;*.htm;*.html;", line_for("*.txt;*.htm;*.html"));
    EXPECT_EQ("file mask: ", line_for(";"));
    EXPECT_EQ("file mask: a;b;", line_for(";;a;;b;;"));
}

TEST(MaskLine, IsCutAtItsBuffer) {
    split("abcdef;ghijkl");
    char line[16];
    format_file_mask(line, sizeof line);
    EXPECT_EQ("file mask: abcd", std::string(line));
}

} // namespace
