#include "converter/file_handle.h"

bool write_whole(HANDLE file, const uint8_t *bytes, uint32_t size) {
    DWORD written = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr))
        return false;
    if (written != size) {
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return true;
}

bool write_at(HANDLE file, uint32_t offset, const uint8_t *bytes, uint32_t size) {
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return false;
    return write_whole(file, bytes, size);
}
