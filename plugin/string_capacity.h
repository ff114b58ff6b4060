// How many bytes a script's string variable may hold, from the sizes the runtime records for
// it. Kept free of Win32 so that it builds and runs natively under the sanitizers too.
#ifndef PLUGIN_STRING_CAPACITY_H
#define PLUGIN_STRING_CAPACITY_H

#include <cstdint>

// Bytes of storage behind a string variable whose elements are unitLength 4-byte units long:
// 4 x unitLength, times elementCount when that is above 1, because an array's elements lie
// back to back and the text runs across them as one string. Sizes that give no storage (a
// unit length of 0 or below) or that no real buffer can have (a product beyond the 32-bit
// signed range) answer 0, which callers refuse like a variable of the wrong type.
int32_t stringCapacity(int32_t unitLength, int32_t elementCount);

#endif
