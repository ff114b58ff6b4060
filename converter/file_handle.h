// The holder that closes a file on every way out of the code that opened it.
#ifndef CONVERTER_FILE_HANDLE_H
#define CONVERTER_FILE_HANDLE_H

#include <windows.h>

struct FileHandle {
    HANDLE h;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    // Closes at once, for the callers to whom a failed close means lost data; the holder then
    // holds nothing. False when the close failed.
    bool close() {
        HANDLE open = h;
        h = INVALID_HANDLE_VALUE;
        return CloseHandle(open) != 0;
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
};

#endif
