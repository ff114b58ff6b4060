// The file behind one stream message: the plug-in's one holder of a kernel handle, and the
// write that takes a short write for the failure it is.
#ifndef PLUGIN_STREAM_FILE_H
#define PLUGIN_STREAM_FILE_H

#include <windows.h>

// Owns an open file for the length of one stream message and closes it on every way out.
class StreamFile {
  public:
    explicit StreamFile(HANDLE handle) : handle(handle) {}
    ~StreamFile() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    StreamFile(const StreamFile &) = delete;
    StreamFile &operator=(const StreamFile &) = delete;
    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    // Closes at once, for a caller to whom a failed close means lost data; the holder then
    // holds nothing. False when the close failed.
    bool close();
    HANDLE handle;
};

// Writes size bytes to file and stores in *written how many arrived. True only when all of
// them did: a full disk can make WriteFile succeed with fewer bytes than asked for.
bool writeWhole(HANDLE file, const void *bytes, DWORD size, DWORD *written);

#endif
