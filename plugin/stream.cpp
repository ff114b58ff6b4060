#include "plugin/exports.h"
#include "plugin/plugin_state.h"

#include <richedit.h>

#include <cstdint>

// The plug-in's one holder of a kernel handle: owns an open file for the length of one stream
// message and closes it on every way out.
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
    bool close() {
        HANDLE open = handle;
        handle = INVALID_HANDLE_VALUE;
        return CloseHandle(open) != 0;
    }
    HANDLE handle;
};

enum : int { streamDone = 0, streamNoControl = -1, streamNoFile = -3, streamBroken = -4 };

// Set by a callback whose file operation failed. EDITSTREAM.dwError cannot tell: the control
// also reports there a file that it would not take as RTF, although it read every byte of it.
static bool fileFailed;

// What a callback answers the control: a non-zero answer stops the stream.
enum : DWORD { streamGoOn = 0, streamStop = 1 };

static DWORD CALLBACK streamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    DWORD read = 0;
    BOOL ok = ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size), &read,
                       nullptr);
    *count = static_cast<LONG>(read);
    if (!ok)
        fileFailed = true;
    return ok ? streamGoOn : streamStop;
}

// A full disk can make WriteFile succeed with fewer bytes than asked for, so the count decides.
static DWORD CALLBACK streamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    DWORD written = 0;
    BOOL ok = WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size),
                        &written, nullptr);
    *count = static_cast<LONG>(written);
    if (!ok || written != static_cast<DWORD>(size))
        fileFailed = true;
    return fileFailed ? streamStop : streamGoOn;
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

// _REditRead@16: replaces the control's content by the file's. 0 loaded, the control marked
// unmodified; -1 no control, nothing opened; -3 the file cannot be opened, the control and its
// modified flag unchanged; -4 reading failed part-way, the control holds what was read and is
// marked modified.
int __stdcall REditRead(int, int fileName, int formatFlag, int) {
    if (!controlAlive())
        return streamNoControl;
    StreamFile file(CreateFileA(fileNameAt(fileName), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return streamNoFile;
    bool whole = transfer(EM_STREAMIN, formatFlag, file, streamInCallback);
    // A partly read file is no copy of anything on disk: the script must not take it as saved.
    SendMessageA(controlSlot.control, EM_SETMODIFY, whole ? FALSE : TRUE, 0);
    return whole ? streamDone : streamBroken;
}

// _REditWrite@16: saves the control's content, replacing the file. 0 saved, the control marked
// unmodified; -1 no control, nothing opened; -3 the file cannot be created, nothing written and
// the modified flag unchanged; -4 writing failed part-way, the file holds part of the text and
// the modified flag is unchanged.
int __stdcall REditWrite(int, int fileName, int formatFlag, int) {
    if (!controlAlive())
        return streamNoControl;
    StreamFile file(CreateFileA(fileNameAt(fileName), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return streamNoFile;
    if (!transfer(EM_STREAMOUT, formatFlag, file, streamOutCallback))
        return streamBroken;
    SendMessageA(controlSlot.control, EM_SETMODIFY, FALSE, 0);
    return streamDone;
}
