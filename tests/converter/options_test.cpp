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

std::string screen(const Settings &record) {
    char buffer[usage_buffer_size];
    std::memset(buffer, '?', sizeof buffer);
    format_usage_screen(buffer, record, formatter);
    return buffer;
}

// The other settings reach the screen in the end-to-end runs; a mask is the one value whose
// bytes could be taken for formatting.
TEST(UsageScreen, MaskIsAValueNotAFormat) {
    Settings record;
    std::strcpy(record.file_mask, "%s%d%%*.txt");
    UsageValues values;
    values.mask = "%s%d%%*.txt";
    for (UsageFormatter each : formatters) {
        formatter = each;
        EXPECT_EQ(expected_usage(values), screen(record));
    }
}

TEST(UsageScreen, IsCutAt1023Bytes) {
    for (UsageFormatter each : formatters) {
        formatter = each;
        Settings record;
        const std::string mask(259, 'm');
        std::memcpy(record.file_mask, mask.c_str(), mask.size() + 1);
        const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
        std::memcpy(record.backup_target, folder.c_str(), folder.size() + 1);
        UsageValues values;
        values.mask = mask;
        // The description itself stops at 127 bytes.
        values.backup = ("Copy to \"" + folder + "\"").substr(0, 127);
        const std::string whole = expected_usage(values);
        ASSERT_GT(whole.size(), 1023u);
        EXPECT_EQ(whole.substr(0, 1023), screen(record));
        // A folder in kanji (88h EAh): with one of the two mask lengths a lead byte meets the cut.
        std::string kanji = "C:\\";
        while (kanji.size() < 200)
            kanji += "\x88\xEA";
        std::memcpy(record.backup_target, kanji.c_str(), kanji.size() + 1);
        for (size_t length : {259u, 258u}) {
            record.file_mask[length] = '\0';
            EXPECT_EQ('\xEA', screen(record).back()) << length;
            EXPECT_GE(screen(record).size(), 1022u) << length;
        }
    }
}

} // namespace
