// The script runtime's records as the plug-in reads and writes them. The runtime lays them out
// by byte offset; every offset is checked below so that no compiler packing can move a field.
#ifndef PLUGIN_HOST_RECORDS_H
#define PLUGIN_HOST_RECORDS_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

enum : int { hostObjectCount = 64 };

// One of the runtime's windows. Only dc, window and objects are the plug-in's business.
struct HostWindowInfo {
    uint8_t reserved0[16];
    HDC dc;
    uint8_t reserved1[32];
    HWND window;
    uint8_t reserved2[108];
    HWND objects[hostObjectCount]; // the window's object controls, by object number
};

// 32-bit sizes of a variable, used instead of the 16-bit fields when sizeRecordFlag > 0.
struct HostVariableSizes {
    uint8_t reserved0[8];
    int32_t unitLength;   // one element's length in 4-byte units
    int32_t elementCount; // up to 1 means a single element
};

enum : int16_t { hostTypeString = 2, hostTypeInteger = 4 };

// The runtime's descriptor of one script variable.
struct HostVariable {
    int16_t type;
    uint8_t reserved0[4];
    uint16_t unitLength;   // one element's length in 4-byte units
    uint16_t elementCount; // 0 and 1 both mean a single element
    uint8_t reserved1[4];
    int16_t sizeRecordFlag;
    void *data; // a string's bytes, or the first 32-bit integer
    HostVariableSizes *sizeRecord;
};

static_assert(offsetof(HostWindowInfo, dc) == 16, "HostWindowInfo.dc");
static_assert(offsetof(HostWindowInfo, window) == 52, "HostWindowInfo.window");
static_assert(offsetof(HostWindowInfo, objects) == 164, "HostWindowInfo.objects");
static_assert(sizeof(HWND) == 4 && sizeof(HDC) == 4 && sizeof(void *) == 4, "32-bit records");
static_assert(offsetof(HostVariableSizes, unitLength) == 8, "HostVariableSizes.unitLength");
static_assert(offsetof(HostVariableSizes, elementCount) == 12, "HostVariableSizes.elementCount");
static_assert(offsetof(HostVariable, type) == 0, "HostVariable.type");
static_assert(offsetof(HostVariable, unitLength) == 6, "HostVariable.unitLength");
static_assert(offsetof(HostVariable, elementCount) == 8, "HostVariable.elementCount");
static_assert(offsetof(HostVariable, sizeRecordFlag) == 14, "HostVariable.sizeRecordFlag");
static_assert(offsetof(HostVariable, data) == 16, "HostVariable.data");
static_assert(offsetof(HostVariable, sizeRecord) == 20, "HostVariable.sizeRecord");

#endif
