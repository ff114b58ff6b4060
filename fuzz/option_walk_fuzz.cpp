// Walks random argument vectors and compares the outcome, the stopping argument and the
// settings with a reference written from the option table: '-' or '/' then t, i, m=, o with
// w/m/u, ?, h or H; any other argument is a mask of at most 259 bytes.
// Input: one byte giving the starting switches and output kind, then the arguments, each ended
// by a zero byte.
#include <string>
#include <vector>

#include "converter/option_rules.h"
#include "converter/settings.h"
#include "fuzz/fuzz_input.h"

namespace {

struct Expected {
    std::string mask;
    int32_t kind;
    int keep, repair;
    OptionOutcome outcome = options_go_on;
    int stopper = -1;
};

bool set_mask(Expected &e, const std::string &mask) {
    if (mask.size() > 259) {
        e.outcome = options_mask_too_long;
        return false;
    }
    e.mask = mask;
    return true;
}

bool stop(Expected &e, OptionOutcome outcome) {
    e.outcome = outcome;
    return false;
}

// Applies one argument; false when it stops the walk.
bool apply(Expected &e, const std::string &arg) {
    if (arg.empty() || (arg[0] != '-' && arg[0] != '/'))
        return set_mask(e, arg);
    const char third = arg.size() > 2 ? arg[2] : '\0';
    switch (arg.size() > 1 ? arg[1] : '\0') {
    case 't':
    case 'T':
        e.keep ^= 1;
        return true;
    case 'i':
    case 'I':
        e.repair ^= 1;
        return true;
    case 'm':
    case 'M':
        return third == '=' ? set_mask(e, arg.substr(3)) : stop(e, options_illegal);
    case 'o':
    case 'O':
        e.kind = (third == 'm' || third == 'M') ? 2 : (third == 'u' || third == 'U') ? 3 : 1;
        return true;
    case '?':
    case 'h':
    case 'H':
        return stop(e, options_usage);
    default:
        return stop(e, options_illegal);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t start = in.byte();
    std::vector<std::string> words = {"eolfix"};
    while (!in.empty() && words.size() < 64)
        words.push_back(in.text());

    Settings record;
    record.keep_time_flag = start & 1;
    record.repair_flag = (start >> 1) & 1;
    record.output_kind = 1 + (start >> 2) % 3;
    Expected e{record.file_mask, record.output_kind, record.keep_time_flag, record.repair_flag};
    for (size_t i = 1; i < words.size(); ++i) {
        if (!apply(e, words[i])) {
            e.stopper = static_cast<int>(i);
            break;
        }
    }

    std::vector<char *> argv;
    for (std::string &w : words)
        argv.push_back(&w[0]);
    const char *stopper = nullptr;
    const OptionOutcome outcome =
        walk_options(static_cast<int>(argv.size()), argv.data(), record, &stopper);
    check(outcome == e.outcome, "outcome");
    check(stopper == (e.stopper < 0 ? nullptr : argv[e.stopper]), "stopping argument");
    check(e.mask == record.file_mask, "file mask");
    check(e.kind == record.output_kind, "output kind");
    check(e.keep == record.keep_time_flag && e.repair == record.repair_flag, "switches");
    return 0;
}
