// The command-line option walk: which argument does what to the settings. Platform-free.
#ifndef CONVERTER_OPTION_RULES_H
#define CONVERTER_OPTION_RULES_H

enum OptionOutcome {
    options_go_on,         // every argument applied
    options_usage,         // help asked for
    options_illegal,       // an argument that is no option
    options_mask_too_long, // a mask that does not fit Settings::file_mask
};

struct Settings;

// Applies argv[1] to argv[argc - 1] to record, left to right, until one of them stops the
// run. The arguments before the stopping one stay applied; *stopper is set to the stopping
// argument (nullptr when none stopped).
OptionOutcome walk_options(int argc, char **argv, Settings &record, const char **stopper);

#endif
