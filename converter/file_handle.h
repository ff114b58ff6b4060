// Holders of the system's file and search handles, and the one way eolfix writes to a file.
#ifndef CONVERTER_FILE_HANDLE_H
#define CONVERTER_FILE_HANDLE_H

#include <windows.h>

#include <cstdint>

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

// Writes all size bytes at file's position, which ends after them. False with the calling
// thread's last error set when the write fails or falls short (ERROR_DISK_FULL then: a full
// disk can take part of the bytes and still report success); what part landed stays written.
bool write_whole(HANDLE file, const uint8_t *bytes, uint32_t size);

// write_whole at offset from the file's start, leaving the position after the bytes. False with
// the last error set, a failed seek included.
bool write_at(HANDLE file, uint32_t offset, const uint8_t *bytes, uint32_t size);

#endif
