#include "plugin/exports.h"
#include "plugin/plugin_state.h"

#include <richedit.h>

#include <cstdint>

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
    HANDLE handle;
};

enum : int { streamDone = 0, streamNoFile = -3, streamBroken = -4 };

// Set by a callback whose file operation failed. EDITSTREAM.dwError cannot tell: the control
// also reports there a file that it would not take as RTF, although it read every byte of it.
static bool fileFailed;

// A non-zero answer stops the control's stream.
static DWORD CALLBACK streamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    DWORD read = 0;
    BOOL ok = ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size), &read,
                       nullptr);
    *count = static_cast<LONG>(read);
    if (!ok)
        fileFailed = true;
    return ok ? 0 : 1;
}

// A full disk can make WriteFile succeed with fewer bytes than asked for, so the count decides.
static DWORD CALLBACK streamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    DWORD written = 0;
    BOOL ok = WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size),
                        &written, nullptr);
    *count = static_cast<LONG>(written);
    if (!ok || written != static_cast<DWORD>(size))
        fileFailed = true;
    return fileFailed ? 1 : 0;
}

static WPARAM streamFormat(int formatFlag) {
    return formatFlag != 0 ? SF_RTF : SF_TEXT;
}

// Runs one stream message over the open file; true when every file operation succeeded.
static bool transfer(UINT message, int formatFlag, const StreamFile &file,
                     EDITSTREAMCALLBACK callback) {
    EDITSTREAM stream;
    fillBytes(&stream, 0, sizeof stream);
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.handle);
    stream.dwError = 0;
    stream.pfnCallback = callback;
    fileFailed = false;
    SendMessageA(controlSlot.control, message, streamFormat(formatFlag),
                 reinterpret_cast<LPARAM>(&stream));
    return !fileFailed;
}

static const char *fileNameAt(int address) {
    return reinterpret_cast<const char *>(static_cast<intptr_t>(address));
}

int __stdcall REditRead(int, int fileName, int formatFlag, int) {
    if (!controlAlive())
        return -1;
    StreamFile file(CreateFileA(fileNameAt(fileName), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return streamNoFile;
    bool whole = transfer(EM_STREAMIN, formatFlag, file, streamInCallback);
    // A partly read file is no copy of anything on disk: the script must not take it as saved.
    SendMessageA(controlSlot.control, EM_SETMODIFY, whole ? FALSE : TRUE, 0);
    return whole ? streamDone : streamBroken;
}

int __stdcall REditWrite(int, int fileName, int formatFlag, int) {
    if (!controlAlive())
        return -1;
    StreamFile file(CreateFileA(fileNameAt(fileName), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return streamNoFile;
    if (!transfer(EM_STREAMOUT, formatFlag, file, streamOutCallback))
        return streamBroken;
    SendMessageA(controlSlot.control, EM_SETMODIFY, FALSE, 0);
    return streamDone;
}
