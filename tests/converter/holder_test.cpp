#include "converter/holder.h"

#include <gtest/gtest.h>

namespace {

int releases = 0;
bool release_result = true;

struct CountingKind {
    using Value = int;
    static Value none() { return 0; }
    static bool release(Value) {
        ++releases;
        return release_result;
    }
};

TEST(Holder, ReleasesOnceAndReportsAFailedRelease) {
    releases = 0;
    {
        Holder<CountingKind> held(7);
        release_result = false;
        EXPECT_FALSE(held.close());
        EXPECT_FALSE(held.held());
        EXPECT_TRUE(held.close()) << "nothing left to release";
    }
    EXPECT_EQ(1, releases) << "the destructor must not release again";
    release_result = true;
    { Holder<CountingKind> held(7); }
    EXPECT_EQ(2, releases);
    { Holder<CountingKind> empty(0); }
    EXPECT_EQ(2, releases);
}

TEST(ProcessBlock, IsReplacedOnlyByALargerOne) {
    ProcessBlock block;
    uint8_t *first = block.reserve(40000);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, block.reserve(10));
    // Rounded up: a slightly larger file still fits.
    EXPECT_EQ(first, block.reserve(65536));
    uint8_t *second = block.reserve((3u << 20) - 1000);
    ASSERT_NE(nullptr, second);
    second[(3u << 20) - 1] = 1;
    EXPECT_EQ(second, block.reserve(3u << 20));
    block.release();
}

} // namespace
