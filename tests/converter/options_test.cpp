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

TEST(UsageScreen, ShowsTheSettingsInForce) {
    struct Case {
        const char *why;
        void (*change)();
        UsageValues expected;
    };
    const Case cases[] = {
        {"defaults", [] {}, UsageValues{}},
        {"repair on", [] { settings.repair_flag = 1; },
         UsageValues{"ON", "*.txt;*.htm;*.html", 1, "OFF", "Rename extention to \".bak\""}},
        {"mac and keep time",
         [] {
             settings.output_kind = newline_mac;
             settings.keep_time_flag = 1;
         },
         UsageValues{"OFF", "*.txt;*.htm;*.html", 2, "ON", "Rename extention to \".bak\""}},
        {"unix and an empty mask",
         [] {
             settings.output_kind = newline_unix;
             settings.file_mask[0] = '\0';
         },
         UsageValues{"OFF", "", 3, "OFF", "Rename extention to \".bak\""}},
        {"mask with '%'", [] { std::strcpy(settings.file_mask, "%s%d*.txt"); },
         UsageValues{"OFF", "%s%d*.txt", 1, "OFF", "Rename extention to \".bak\""}},
        {"no backup", [] { settings.backup_flag = 0; },
         UsageValues{"OFF", "*.txt;*.htm;*.html", 1, "OFF", "Not backup"}},
        {"backup folder",
         [] {
             std::strcpy(settings.backup_target, "C:\\bak\\");
             settings.backup_compare_length = 6;
         },
         UsageValues{"OFF", "*.txt;*.htm;*.html", 1, "OFF", "Copy to \"C:\\bak\\\""}},
    };
    for (const Case &c : cases) {
        settings = Settings();
        c.change();
        EXPECT_EQ(expected_usage(c.expected), screen()) << c.why;
    }
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
}

} // namespace
