#include "converter/system_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <io.h>

#include "converter/output.h"
#include "eolfix_runner.h"

namespace {

// Collects what the reporter prints by pointing standard output at a file for the call.
template <typename Call> std::string printed(Call call) {
    std::string folder = make_temp_folder();
    std::string capture = folder + "\\out.txt";
    std::fflush(stdout);
    int saved = _dup(1);
    FILE *file = std::freopen(capture.c_str(), "w", stdout);
    EXPECT_NE(nullptr, file);
    call();
    // The reporter prints through the converter's own buffered writer (converter/output.h).
    print_flush();
    std::fflush(stdout);
    _dup2(saved, 1);
    _close(saved);
    std::string bytes = read_file(capture);
    remove_tree(folder);
    return bytes;
}

TEST(SystemError, ReadsTheLastErrorBeforeAnythingElse) {
    std::string out = printed([] {
        SetLastError(ERROR_ACCESS_DENIED);
        report_system_error("C:\\x.txt");
    });
    EXPECT_EQ(system_error_line("C:\\x.txt", ERROR_ACCESS_DENIED), out);
}

TEST(SystemError, CodeWithoutTextGetsItsNumber) {
    const unsigned long unknown = 0x2000ABCD;
    EXPECT_EQ(crlf("C:\\x.txt : error 536914893\n"),
              printed([&] { report_error_code("C:\\x.txt", unknown); }));
}

} // namespace
