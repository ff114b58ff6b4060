// The usage screen as a reader of the program's documentation expects it, built apart from
// the program's own text so that a wrong byte in either shows.
#ifndef TESTS_CONVERTER_EXPECTED_USAGE_H
#define TESTS_CONVERTER_EXPECTED_USAGE_H

#include <string>

struct UsageValues {
    std::string repair = "OFF";
    std::string mask = "*.txt;*.htm;*.html";
    int kind = 1;
    std::string keep_time = "OFF";
    std::string backup = "Rename extention to \".bak\"";
};

// The whole screen, "\n" between lines and none at the end, Japanese lines in Shift-JIS.
std::string expected_usage(const UsageValues &values);

// Shift-JIS bytes of a UTF-8 text.
std::string shift_jis(const char *utf8);

#endif
