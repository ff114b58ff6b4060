#include "converter/option_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "converter/settings.h"

namespace {

// mask|kind|keeptime|repair
std::string summary(const Settings &record) {
    return std::string(record.file_mask) + "|" + std::to_string(record.output_kind) + "|" +
           std::to_string(record.keep_time_flag) + "|" + std::to_string(record.repair_flag);
}

struct Walked {
    OptionOutcome outcome;
    int stopper; // index into the arguments after the program's own, -1 for none
    std::string settings;
};

// Walks args over record, which starts as the settings file left it.
Walked walk(const std::vector<std::string> &args, Settings &record) {
    std::vector<std::string> words = {"eolfix"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &w : words)
        argv.push_back(&w[0]);
    const char *stopper = reinterpret_cast<const char *>(1);
    const OptionOutcome outcome =
        walk_options(static_cast<int>(argv.size()), argv.data(), record, &stopper);
    int index = -1;
    for (size_t i = 1; i < argv.size(); ++i) {
        if (stopper == argv[i])
            index = static_cast<int>(i - 1);
    }
    if (stopper != nullptr && index < 0)
        index = -2;
    return {outcome, index, summary(record)};
}

const std::string mask = "*.txt;*.htm;*.html";

struct Case {
    std::vector<std::string> args;
    OptionOutcome outcome;
    int stopper;
    std::string expected;
};

const Case cases[] = {
    {{}, options_go_on, -1, mask + "|1|0|0"},
    {{"-t"}, options_go_on, -1, mask + "|1|1|0"},
    {{"-t", "-T"}, options_go_on, -1, mask + "|1|0|0"},
    {{"/txyz"}, options_go_on, -1, mask + "|1|1|0"},
    {{"-i"}, options_go_on, -1, mask + "|1|0|1"},
    {{"/I", "-i"}, options_go_on, -1, mask + "|1|0|0"},
    {{"-m=*.c"}, options_go_on, -1, "*.c|1|0|0"},
    {{"/M=*.c;*.h"}, options_go_on, -1, "*.c;*.h|1|0|0"},
    {{"-m="}, options_go_on, -1, "|1|0|0"},
    {{""}, options_go_on, -1, "|1|0|0"},
    {{"*.c", "-m=*.d"}, options_go_on, -1, "*.d|1|0|0"},
    {{"-m=*.d", "*.c"}, options_go_on, -1, "*.c|1|0|0"},
    {{"-m"}, options_illegal, 0, mask + "|1|0|0"},
    {{"-mx=*.c"}, options_illegal, 0, mask + "|1|0|0"},
    {{"-ou", "-ox"}, options_go_on, -1, mask + "|1|0|0"},
    {{"-ou", "-o"}, options_go_on, -1, mask + "|1|0|0"},
    {{"-ou", "-ow"}, options_go_on, -1, mask + "|1|0|0"},
    {{"-omac"}, options_go_on, -1, mask + "|2|0|0"},
    {{"-ounix"}, options_go_on, -1, mask + "|3|0|0"},
    {{"/OU"}, options_go_on, -1, mask + "|3|0|0"},
    {{"-oM"}, options_go_on, -1, mask + "|2|0|0"},
    {{"-?"}, options_usage, 0, mask + "|1|0|0"},
    {{"-help"}, options_usage, 0, mask + "|1|0|0"},
    {{"-H"}, options_usage, 0, mask + "|1|0|0"},
    {{"/?"}, options_usage, 0, mask + "|1|0|0"},
    {{"-x", "-?"}, options_illegal, 0, mask + "|1|0|0"},
    {{"-?", "-x"}, options_usage, 0, mask + "|1|0|0"},
    {{"-ou", "-h"}, options_usage, 1, mask + "|3|0|0"},
    {{"-"}, options_illegal, 0, mask + "|1|0|0"},
    {{"/"}, options_illegal, 0, mask + "|1|0|0"},
    {{"-t", "-x", "-i"}, options_illegal, 1, mask + "|1|1|0"},
    {{std::string(259, 'a')}, options_go_on, -1, std::string(259, 'a') + "|1|0|0"},
    {{"-m=" + std::string(259, 'a')}, options_go_on, -1, std::string(259, 'a') + "|1|0|0"},
    {{"-t", std::string(260, 'a'), "-i"}, options_mask_too_long, 1, mask + "|1|1|0"},
    {{"-m=" + std::string(260, 'a')}, options_mask_too_long, 0, mask + "|1|0|0"},
};

TEST(WalkOptions, AppliesArgumentsUntilOneStops) {
    for (const Case &c : cases) {
        Settings record;
        const Walked w = walk(c.args, record);
        std::string args;
        for (const std::string &a : c.args)
            args += "[" + a.substr(0, 20) + "]";
        EXPECT_EQ(c.outcome, w.outcome) << args;
        EXPECT_EQ(c.stopper, w.stopper) << args;
        EXPECT_EQ(c.expected, w.settings) << args;
    }
}

TEST(WalkOptions, TogglesStartFromTheSettingsFile) {
    Settings record;
    record.keep_time_flag = 1;
    record.repair_flag = 1;
    EXPECT_EQ(mask + "|1|0|0", walk({"-t", "-i"}, record).settings);
}

TEST(WalkOptions, OverLongMaskLeavesTheFieldAsItWas) {
    Settings record;
    std::strcpy(record.file_mask, "*.ini-mask");
    walk({"-m=" + std::string(1000, 'b')}, record);
    EXPECT_STREQ("*.ini-mask", record.file_mask);
}

} // namespace
