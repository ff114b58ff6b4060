#include "converter/option_rules.h"

#include <cstring>

#include "converter/settings.h"

namespace {

bool set_mask(Settings &record, const char *mask) {
    const size_t length = std::strlen(mask);
    if (length >= sizeof record.file_mask)
        return false;
    std::memcpy(record.file_mask, mask, length + 1);
    return true;
}

int32_t output_kind_for(char letter) {
    switch (letter) {
    case 'm':
    case 'M':
        return newline_mac;
    case 'u':
    case 'U':
        return newline_unix;
    default:
        return newline_windows;
    }
}

OptionOutcome apply_option(Settings &record, const char *arg) {
    switch (arg[1]) {
    case 't':
    case 'T':
        record.keep_time_flag ^= 1;
        return options_go_on;
    case 'i':
    case 'I':
        record.repair_flag ^= 1;
        return options_go_on;
    case 'm':
    case 'M':
        if (arg[2] != '=')
            return options_illegal;
        return set_mask(record, arg + 3) ? options_go_on : options_mask_too_long;
    case 'o':
    case 'O':
        record.output_kind = output_kind_for(arg[2]);
        return options_go_on;
    case '?':
    case 'h':
    case 'H':
        return options_usage;
    default:
        return options_illegal;
    }
}

} // namespace

OptionOutcome walk_options(int argc, char **argv, Settings &record, const char **stopper) {
    *stopper = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        OptionOutcome outcome;
        if (arg[0] == '-' || arg[0] == '/')
            outcome = apply_option(record, arg);
        else
            outcome = set_mask(record, arg) ? options_go_on : options_mask_too_long;
        if (outcome != options_go_on) {
            *stopper = arg;
            return outcome;
        }
    }
    return options_go_on;
}
