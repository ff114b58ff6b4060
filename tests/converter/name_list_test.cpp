#include "converter/name_list.h"

#include <gtest/gtest.h>

#include <string>

TEST(NameList, GrowsInStepsOfTenAndKeepsOrder) {
    NameList list;
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.capacity);
    for (uint32_t i = 0; i < 25; ++i) {
        ASSERT_TRUE(list.add(std::to_string(i).c_str(), i * 7));
        EXPECT_EQ(static_cast<int32_t>(i + 1), list.count);
        EXPECT_EQ(static_cast<int32_t>((i / 10 + 1) * 10), list.capacity);
    }
    for (int32_t i = 0; i < 25; ++i) {
        EXPECT_EQ(std::to_string(i), list.names[i]);
        EXPECT_EQ(static_cast<uint32_t>(i * 7), list.values[i]);
    }
    for (int32_t i = 25; i < list.capacity; ++i) {
        EXPECT_EQ(nullptr, list.names[i]) << "slots past count stay zero";
        EXPECT_EQ(0u, list.values[i]);
    }
}

TEST(NameList, OwnsItsCopies) {
    NameList list;
    char text[] = "a.txt";
    ASSERT_TRUE(list.add(text, 5));
    text[0] = 'b';
    EXPECT_STREQ("a.txt", list.names[0]);
    ASSERT_TRUE(list.add("", 0));
    EXPECT_STREQ("", list.names[1]);
}

TEST(NameList, ClearLeavesANewList) {
    NameList list;
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(list.add("x", i));
    list.clear();
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.capacity);
    EXPECT_EQ(nullptr, list.names);
    ASSERT_TRUE(list.add("y", 1));
    EXPECT_STREQ("y", list.names[0]);
    EXPECT_EQ(10, list.capacity);
}
