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
