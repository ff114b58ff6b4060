#include "plugin/exports.h"
#include "plugin/plugin_state.h"
#include "plugin/text.h"
#include "plugin/whole_text.h"

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

// The state of the one stream in progress, shared with its callback.
static struct {
    bool fileFailed;      // a file operation failed
    bool wholeCharacters; // plain text: no piece ends inside a double-byte character
    bool moved;           // a callback passed at least one byte
    bool holding;         // a lead byte held back from the last piece goes first into the next
    BYTE held;
    LeadByteTable leads;
} current;

// What a callback answers the control: a non-zero answer stops the stream.
enum : DWORD { streamGoOn = 0, streamStop = 1 };

// The control turns each piece of plain text into its characters on its own, so a piece that
// ended between the two bytes of a character would spoil that character: a lead byte at the
// end of a piece is held back and starts the next one.
static DWORD CALLBACK streamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    LONG taken = 0;
    if (current.holding && size > 0) {
        buffer[taken++] = current.held;
        current.holding = false;
    }
    DWORD read = 0;
    BOOL ok = ReadFile(reinterpret_cast<HANDLE>(cookie), buffer + taken,
                       static_cast<DWORD>(size - taken), &read, nullptr);
    if (!ok)
        current.fileFailed = true;
    LONG n = taken + static_cast<LONG>(read);
    // At the end of the file (nothing read) a held byte goes as it is; so does a piece of one.
    if (current.wholeCharacters && read > 0 && n > 1 &&
        wholeCharacterBytes(reinterpret_cast<const char *>(buffer), n, current.leads) < n) {
        current.held = buffer[--n];
        current.holding = true;
    }
    *count = n;
    if (n > 0)
        current.moved = true;
    return ok ? streamGoOn : streamStop;
}

// A full disk can make WriteFile succeed with fewer bytes than asked for, so the count decides.
static DWORD CALLBACK streamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    DWORD written = 0;
    BOOL ok = WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size),
                        &written, nullptr);
    *count = static_cast<LONG>(written);
    if (written > 0)
        current.moved = true;
    if (!ok || written != static_cast<DWORD>(size))
        current.fileFailed = true;
    return current.fileFailed ? streamStop : streamGoOn;
}

// Runs one stream message over the open file; true when every file operation succeeded and
// the control took the whole stream. The control reports in dwError a stream that it refused,
// for example a file that holds no RTF read as RTF, which leaves it empty. An empty stream
// leaves it empty too, which matches the file, whatever the control says: some controls judge
// an empty stream by what their buffer held before.
static bool transfer(UINT message, int formatFlag, const StreamFile &file,
                     EDITSTREAMCALLBACK callback) {
    EDITSTREAM stream;
    fillBytes(&stream, 0, sizeof stream);
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.handle);
    stream.dwError = 0;
    stream.pfnCallback = callback;
    current.fileFailed = false;
    current.moved = false;
    current.wholeCharacters = formatFlag == 0;
    current.holding = false;
    current.leads = ansiLeadBytes();
    SendMessageA(controlSlot.control, message, formatFlag != 0 ? SF_RTF : SF_TEXT,
                 reinterpret_cast<LPARAM>(&stream));
    return !current.fileFailed && (stream.dwError == 0 || !current.moved);
}

static const char *fileNameAt(int address) {
    return reinterpret_cast<const char *>(static_cast<intptr_t>(address));
}

// _REditRead@16: replaces the control's content by the file's. 0 loaded, the control marked
// unmodified; -1 no control, nothing opened; -3 the file cannot be opened, the control and its
// modified flag unchanged; -4 reading failed part-way or the control refused the content, the
// control holds what it took and is marked modified.
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
// the modified flag unchanged; -4 a file operation failed, the file holds part of the text and
// the control is marked modified. The close is part of the save: a failed one is a failed save.
int __stdcall REditWrite(int, int fileName, int formatFlag, int) {
    if (!controlAlive())
        return streamNoControl;
    StreamFile file(CreateFileA(fileNameAt(fileName), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return streamNoFile;
    bool sent = transfer(EM_STREAMOUT, formatFlag, file, streamOutCallback);
    bool saved = file.close() && sent;
    // The script must not take a control as saved whose file holds less than all of it.
    SendMessageA(controlSlot.control, EM_SETMODIFY, saved ? FALSE : TRUE, 0);
    return saved ? streamDone : streamBroken;
}
