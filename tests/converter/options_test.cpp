#include "converter/options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "converter/settings.h"
#include "expected_usage.h"

namespace {

// USER32.DLL's formatter, and the C runtime's that stands in when the library can't be had.
const UsageFormatter formatters[] = {UsageFormatter::system, UsageFormatter::runtime};
UsageFormatter formatter = UsageFormatter::system;

std::string screen() {
    char buffer[usage_buffer_size];
    std::memset(buffer, '?', sizeof buffer);
    format_usage_screen(buffer, formatter);
    return buffer;
}

// The other settings reach the screen in the end-to-end runs; a mask is the one value whose
// bytes could be taken for formatting.
TEST(UsageScreen, MaskIsAValueNotAFormat) {
    settings = Settings();
    std::strcpy(settings.file_mask, "%s%d%%*.txt");
    UsageValues values;
    values.mask = "%s%d%%*.txt";
    for (UsageFormatter each : formatters) {
        formatter = each;
        EXPECT_EQ(expected_usage(values), screen());
    }
}

TEST(UsageScreen, IsCutAt1023Bytes) {
    for (UsageFormatter each : formatters) {
        formatter = each;
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
        // A folder in kanji (88h EAh): with one of the two mask lengths a lead byte meets the cut.
        std::string kanji = "C:\\";
        while (kanji.size() < 200)
            kanji += "\x88\xEA";
        std::memcpy(settings.backup_target, kanji.c_str(), kanji.size() + 1);
        for (size_t length : {259u, 258u}) {
            settings.file_mask[length] = '\0';
            EXPECT_EQ('\xEA', screen().back()) << length;
            EXPECT_GE(screen().size(), 1022u) << length;
        }
    }
}

} // namespace
