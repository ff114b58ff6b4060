// Loading and saving the control's content, plain text or RTF, through its stream messages.
#ifndef PLUGIN_STREAM_H
#define PLUGIN_STREAM_H

#include <windows.h>

#include "plugin/exports.h"
#include "plugin/whole_text.h"

// The state of one stream in progress: the EDITSTREAM cookie points at it, so that the
// callbacks share it with the export for the length of the one message and nothing outlives it.
struct StreamState {
    HANDLE file;          // the open file, which the export's holder owns
    bool fileFailed;      // a file operation failed
    bool wholeCharacters; // plain text: no piece ends inside a double-byte character
    bool moved;           // a callback passed at least one byte
    bool holding;         // a lead byte held back from the last piece goes first into the next
    BYTE held;
    LeadByteTable leads;
};

LUMBRA_EXPORT int __stdcall REditRead(int, int fileName, int formatFlag, int);
LUMBRA_EXPORT int __stdcall REditWrite(int, int fileName, int formatFlag, int);

#endif
