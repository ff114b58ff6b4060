#include "converter/options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "converter/settings.h"
#include "expected_usage.h"

namespace {

std::string screen() {
    char buffer[usage_buffer_size];
    std::memset(buffer, '?', sizeof buffer);
    format_usage_screen(buffer);
    return buffer;
}

// The other settings reach the screen in the end-to-end runs; a mask is the one value whose
// bytes could be taken for formatting.
TEST(UsageScreen, MaskIsAValueNotAFormat) {
    settings = Settings();
    std::strcpy(settings.file_mask, "%s%d%%*.txt");
    UsageValues values;
    values.mask = "%s%d%%*.txt";
    EXPECT_EQ(expected_usage(values), screen());
}

TEST(UsageScreen, IsCutAt1023Bytes) {
    settings = Settings();
    const std::string mask(259, 'm');
    std::memcpy(settings.file_mask, mask.c_str(), mask.size() + 1);
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    std::memcpy(settings.backup_target, folder.c_str(), folder.size() + 1);
    UsageValues values;
    values.mask = mask;
    // The description itself stops at 127 bytes.
    values.backup = ("Copy to \"" + folder + "\"").substr(0, 127);
    const std::string whole = expected_usage(values);
    ASSERT_GT(whole.size(), 1023u);
    EXPECT_EQ(whole.substr(0, 1023), screen());
    // A folder named in kanji (88h EAh): with either mask length one of the cuts falls on a lead
    // byte, and the screen then ends one byte earlier, after a whole character.
    std::string kanji = "C:\\";
    while (kanji.size() < 200)
        kanji += "\x88\xEA";
    std::memcpy(settings.backup_target, kanji.c_str(), kanji.size() + 1);
    for (size_t length : {258u, 259u}) {
        values.mask.assign(length, 'm');
        std::memcpy(settings.file_mask, values.mask.c_str(), length + 1);
        values.backup = "Copy to \"" + kanji;
        const std::string cut = screen();
        EXPECT_EQ(expected_usage(values).substr(0, cut.size()), cut);
        EXPECT_GE(cut.size(), 1022u);
        EXPECT_EQ('\xEA', cut.back());
    }
}

} // namespace
