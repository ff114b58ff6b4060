// The string variable's capacity for random sizes, compared with the rule in exact arithmetic:
// 4 x unitLength, times elementCount when that is above 1; 0 when that is not a positive size
// that fits in 32 signed bits.
// Input: unitLength and elementCount, 32 bits each.
#include "fuzz/fuzz_input.h"
#include "plugin/string_capacity.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const int32_t unit = static_cast<int32_t>(in.word());
    const int32_t count = static_cast<int32_t>(in.word());
    const __int128 exact = static_cast<__int128>(4) * unit * (count > 1 ? count : 1);
    const int32_t expected = exact > 0 && exact <= INT32_MAX ? static_cast<int32_t>(exact) : 0;
    check(stringCapacity(unit, count) == expected, "capacity");
    return 0;
}
