#include <gtest/gtest.h>

#include <cstdint>

#include "plugin/string_capacity.h"

TEST(StringCapacity, FourBytesPerUnitTimesTheElementsOfAnArray) {
    struct Case {
        int32_t unitLength;
        int32_t elementCount;
        int32_t capacity;
    } cases[] = {
        {16, 1, 64},
        {16, 0, 64},
        {16, -7, 64},
        {16, 3, 192},
        {1, 1, 4},
        {0x1FFFFFFF, 1, 0x7FFFFFFC},
        {0x0FFFFFFF, 2, 0x7FFFFFF8},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.capacity, stringCapacity(c.unitLength, c.elementCount))
            << c.unitLength << " x " << c.elementCount;
}

// Zero is the answer that callers refuse; no size may come back wrapped into a small positive.
TEST(StringCapacity, NoStorageOrImpossibleSizesAnswerZero) {
    struct Case {
        int32_t unitLength;
        int32_t elementCount;
    } cases[] = {
        {0, 1},          {0, 5},          {-1, 1},         {-1, 0x7FFFFFFF},
        {0x20000000, 1}, {0x10000000, 2}, {0x7FFFFFFF, 1}, {0x7FFFFFFF, 0x7FFFFFFF},
        {INT32_MIN, 1},  {INT32_MIN, 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(0, stringCapacity(c.unitLength, c.elementCount))
            << c.unitLength << " x " << c.elementCount;
}
