// Kernel calls on the stream's file, each reporting its failure to the caller.
#include "plugin/stream_file.h"

bool StreamFile::close() {
    HANDLE open = handle;
    handle = INVALID_HANDLE_VALUE;
    return CloseHandle(open) != 0;
}

bool writeWhole(HANDLE file, const void *bytes, DWORD size, DWORD *written) {
    *written = 0;
    BOOL ok = WriteFile(file, bytes, size, written, nullptr);
    return ok && *written == size;
}
