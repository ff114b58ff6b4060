#include "plugin/string_capacity.h"

int32_t stringCapacity(int32_t unitLength, int32_t elementCount) {
    // Wide arithmetic, bounded at each step: the runtime's 32-bit record can hold sizes whose
    // product wraps, and a wrapped size would let a write land outside the variable.
    int64_t capacity = 4 * static_cast<int64_t>(unitLength);
    if (capacity <= 0 || capacity > INT32_MAX)
        return 0;
    if (elementCount > 1)
        capacity *= elementCount;
    if (capacity > INT32_MAX)
        return 0;
    return static_cast<int32_t>(capacity);
}
