#include "converter/processor_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ProcessorRules, Sse2OnlyWithCpuidSse2AndASystemThatSavesItsState) {
    const uint32_t sse2 = 1u << 26, win9x = 1, nt = 2;
    const struct {
        bool cpuid;
        uint32_t edx, platform, major, minor;
        bool allowed;
    } cases[] = {
        {true, sse2, win9x, 4, 10, true}, // Windows 98
        {true, sse2, win9x, 4, 90, true}, // Windows Me
        {true, sse2, win9x, 4, 0, false}, // Windows 95
        {true, sse2, nt, 4, 0, false},    // NT 4.0
        {true, sse2, nt, 5, 0, true},     // Windows 2000
        {true, sse2, nt, 10, 0, true},    //
        {true, sse2, 0, 3, 10, false},    // Win32s
        {true, ~sse2, nt, 5, 1, false},   // no SSE2
        {false, sse2, nt, 5, 1, false},   // no CPUID
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.allowed, sse2_path_allowed(c.cpuid, c.edx, c.platform, c.major, c.minor))
            << c.platform << " " << c.major << "." << c.minor;
}

} // namespace
