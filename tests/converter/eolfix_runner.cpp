#include "eolfix_runner.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    Handle() = default;
    explicit Handle(HANDLE handle) : h(handle) {}
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { close(); }
    void close() {
        if (h != INVALID_HANDLE_VALUE && h != nullptr)
            CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    bool ok() const { return h != INVALID_HANDLE_VALUE && h != nullptr; }
};

} // namespace

RunResult run_program(const std::string &exe, const std::string &args, const std::string &folder) {
    RunResult result{"", 0xFFFFFFFFu};
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
        ADD_FAILURE() << "CreatePipe failed: " << GetLastError();
        return result;
    }
    Handle reader(read_end), writer(write_end);
    SetHandleInformation(reader.h, HANDLE_FLAG_INHERIT, 0);
    Handle nul(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr));

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul.h;
    startup.hStdOutput = writer.h;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        ADD_FAILURE() << "CreateProcessA failed for " << exe << ": " << GetLastError();
        return result;
    }
    Handle process_handle(process.hProcess), thread_handle(process.hThread);
    // Our copy of the write end must go, or the pipe never reports its end.
    writer.close();
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(reader.h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        result.out.append(chunk, got);
    WaitForSingleObject(process_handle.h, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_handle.h, &code);
    result.exit_code = code;
    return result;
}

std::string eolfix_exe() {
    // The build passes the Unix path; Wine shows the Unix root as drive Z.
    std::string path = "Z:" EOLFIX_EXE_UNIX_PATH;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string install_eolfix(const std::string &folder, const std::string &ini) {
    std::string exe = folder + "\\eolfix.exe";
    if (!CopyFileA(eolfix_exe().c_str(), exe.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy eolfix.exe to " << folder << ": " << GetLastError();
    write_file(folder + "\\eolfix.ini", ini);
    return exe;
}

std::string make_temp_folder() {
    char base[MAX_PATH];
    DWORD length = GetTempPathA(sizeof base, base);
    if (length == 0 || length >= sizeof base) {
        ADD_FAILURE() << "GetTempPathA failed";
        return "";
    }
    static unsigned serial = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%seol%lu_%u", base, GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(name, nullptr))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "CreateDirectoryA failed for " << name << ": " << GetLastError();
            return "";
        }
    }
}

void write_file(const std::string &path, const std::string &bytes) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        ADD_FAILURE() << "cannot create " << path << ": " << GetLastError();
        return;
    }
    DWORD written = 0;
    if (!WriteFile(file.h, bytes.data(), bytes.size(), &written, nullptr) ||
        written != bytes.size())
        ADD_FAILURE() << "cannot write " << path;
}

std::string read_file(const std::string &path) {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        ADD_FAILURE() << "cannot open " << path << ": " << GetLastError();
        return "";
    }
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

void make_folder(const std::string &path) {
    if (!CreateDirectoryA(path.c_str(), nullptr))
        ADD_FAILURE() << "cannot create folder " << path << ": " << GetLastError();
}

bool file_exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void remove_tree(const std::string &path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

FileTimes get_file_times(const std::string &path) {
    FileTimes times{};
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.ok() || !GetFileTime(file.h, &times.creation, &times.last_access, &times.last_write))
        ADD_FAILURE() << "cannot read the times of " << path;
    return times;
}

void set_file_times(const std::string &path, const FileTimes &times) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.ok() || !SetFileTime(file.h, &times.creation, &times.last_access, &times.last_write))
        ADD_FAILURE() << "cannot set the times of " << path;
}

static bool same_time(const FILETIME &a, const FILETIME &b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool same_stored_times(const FileTimes &a, const FileTimes &b) {
    return same_time(a.creation, b.creation) && same_time(a.last_write, b.last_write);
}

void PrintTo(const FileTimes &times, std::ostream *out) {
    for (const FILETIME *time : {&times.creation, &times.last_access, &times.last_write}) {
        SYSTEMTIME when;
        FileTimeToSystemTime(time, &when);
        char text[40];
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", when.wYear,
                      when.wMonth, when.wDay, when.wHour, when.wMinute, when.wSecond,
                      when.wMilliseconds);
        *out << text;
    }
}

FileTimes old_file_times() {
    SYSTEMTIME when{2001, 2, 0, 3, 4, 5, 6, 0};
    FileTimes times{};
    SystemTimeToFileTime(&when, &times.last_write);
    times.creation = times.last_write;
    when.wYear = 2002;
    SystemTimeToFileTime(&when, &times.last_access);
    return times;
}

std::string system_error_line(const std::string &path, unsigned long code) {
    char text[256];
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0x400, text, sizeof text,
                        nullptr))
        std::snprintf(text, sizeof text, "error %lu", code);
    return crlf(path + " : " + text + "\n");
}

std::string crlf(const std::string &text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}
