// Runs the built eolfix.exe in temporary folder trees and inspects what it leaves behind.
#ifndef TESTS_CONVERTER_EOLFIX_RUNNER_H
#define TESTS_CONVERTER_EOLFIX_RUNNER_H

#include <windows.h>

#include <ostream>
#include <string>

struct RunResult {
    std::string out; // the exact bytes the program wrote to its standard output
    unsigned long exit_code;
};

// Starts exe with args in folder, its standard output read through a pipe until it ends.
RunResult run_program(const std::string &exe, const std::string &args, const std::string &folder);

// Full Windows path of the eolfix.exe that this build made.
std::string eolfix_exe();

// Copies eolfix.exe into folder beside a settings file holding ini; returns the copy's path.
std::string install_eolfix(const std::string &folder, const std::string &ini);

// A fresh empty folder under the temporary folder; the path has no trailing '\'.
std::string make_temp_folder();

void write_file(const std::string &path, const std::string &bytes);
std::string read_file(const std::string &path);
void make_folder(const std::string &path);
bool file_exists(const std::string &path);

// Deletes the folder and everything below it, read-only entries included.
void remove_tree(const std::string &path);

struct FileTimes {
    FILETIME creation, last_access, last_write;
};
FileTimes get_file_times(const std::string &path);
void set_file_times(const std::string &path, const FileTimes &times);
// Compares the creation and last-write times. On this system a read moves the last-access time
// of an old file (relatime), and the creation time follows the last-write time.
bool same_stored_times(const FileTimes &a, const FileTimes &b);
void PrintTo(const FileTimes &times, std::ostream *out);
// Times far enough in the past that no rewrite could produce them by chance.
FileTimes old_file_times();

// Bytes as the program's text-mode standard output writes them: each "\n" as CR LF.
std::string crlf(const std::string &text);

// The system-error line, as it reaches the pipe, that the program prints for path after code.
std::string system_error_line(const std::string &path, unsigned long code);

#endif
