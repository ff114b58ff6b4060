// Holders of the system's file and search handles.
#ifndef CONVERTER_FILE_HANDLE_H
#define CONVERTER_FILE_HANDLE_H

#include <windows.h>

#include "converter/holder.h"

struct FileHandleKind {
    using Value = HANDLE;
    static Value none() { return INVALID_HANDLE_VALUE; }
    static bool release(Value file) { return CloseHandle(file) != 0; }
};

struct SearchHandleKind {
    using Value = HANDLE;
    static Value none() { return INVALID_HANDLE_VALUE; }
    static bool release(Value search) { return FindClose(search) != 0; }
};

// A file from CreateFileA; a failed close of a written file is lost data, so writers close()
// and check.
using FileHandle = Holder<FileHandleKind>;
// A search from FindFirstFileA.
using SearchHandle = Holder<SearchHandleKind>;

#endif
