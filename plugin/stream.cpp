// The two stream exports and their callbacks. The control calls a callback with the cookie of
// the EDITSTREAM record it was given; that cookie carries the stream's state, file included, so
// that nothing outlives the one message.
#include "plugin/stream.h"

#include "plugin/ansi_text.h"
#include "plugin/bytes.h"
#include "plugin/plugin_state.h"
#include "plugin/stream_file.h"
#include "plugin/whole_text.h"

#include <richedit.h>

#include <cstdint>

enum : int { streamDone = 0, streamNoControl = -1, streamNoFile = -3, streamBroken = -4 };

// The cookie that transfer gave the control, as the callbacks get it back.
static StreamState &stateOf(DWORD_PTR cookie) {
    return *reinterpret_cast<StreamState *>(cookie);
}

// What a callback answers the control: a non-zero answer stops the stream.
enum : DWORD { streamGoOn = 0, streamStop = 1 };

// The control turns each piece of plain text into its characters on its own, so a piece that
// ended between the two bytes of a character would spoil that character: a lead byte at the
// end of a piece is held back and starts the next one.
static DWORD CALLBACK streamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    StreamState &current = stateOf(cookie);
    LONG taken = 0;
    if (current.holding && size > 0) {
        buffer[taken++] = current.held;
        current.holding = false;
    }
    DWORD read = 0;
    BOOL ok =
        ReadFile(current.file, buffer + taken, static_cast<DWORD>(size - taken), &read, nullptr);
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

// The first failed or short write stops the stream: the file can no longer be the control's copy.
static DWORD CALLBACK streamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
    StreamState &current = stateOf(cookie);
    DWORD written = 0;
    if (!writeWhole(current.file, buffer, static_cast<DWORD>(size), &written))
        current.fileFailed = true;
    *count = static_cast<LONG>(written);
    if (written > 0)
        current.moved = true;
    return current.fileFailed ? streamStop : streamGoOn;
}

// Runs one stream message over the open file; true when every file operation succeeded and
// the control took the whole stream. The control reports in dwError a stream that it refused,
// for example a file that holds no RTF read as RTF, which leaves it empty. An empty stream
// leaves it empty too, which matches the file, whatever the control says: some controls judge
// an empty stream by what their buffer held before.
static bool transfer(UINT message, int formatFlag, const StreamFile &file,
                     EDITSTREAMCALLBACK callback) {
    StreamState current;
    fillBytes(&current, 0, sizeof current);
    current.file = file.handle;
    current.wholeCharacters = formatFlag == 0;
    current.leads = ansiLeadBytes();
    EDITSTREAM stream;
    fillBytes(&stream, 0, sizeof stream);
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&current);
    stream.dwError = 0;
    stream.pfnCallback = callback;
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
