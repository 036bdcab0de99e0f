// The saver's generator: its sequence from the initial state and its seeding.
#include <gtest/gtest.h>

#include "animation/saver_random.h"
#include "test_support.h"

namespace {

TEST(SaverRandom, StartsWithTheKnownSequence)
{
    SaverRandomState = 1;
    const int32_t want[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int32_t value : want)
        EXPECT_EQ(SaverRandom(), value);
}

TEST(SaverRandom, SeedingReplacesTheWholeState)
{
    SaverRandomState = 0xDEADBEEF;
    SeedSaverRandom(1);
    EXPECT_EQ(SaverRandom(), 41);
    SeedSaverRandom(0xFFFFFFFFu);
    EXPECT_EQ(SaverRandomState, 0xFFFFFFFFu);
    // state * 214013 + 2531011 wraps: 0xFFFFFFFF * 214013 + 2531011 = 0x00234D86 (mod 2^32)
    EXPECT_EQ(SaverRandom(), 0x23);
    EXPECT_EQ(SaverRandomState, 2531011u - 214013u);
}

TEST(SaverRandom, ValuesStayWithinFifteenBits)
{
    SeedSaverRandom(12345);
    int32_t lowest = 32767;
    int32_t highest = 0;
    for (int i = 0; i < 100000; ++i) {
        int32_t value = SaverRandom();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
}

TEST(SaverRandom, TestHelperPicksTheNextValue)
{
    for (int32_t value : {0, 1, 41, 6553, 16383, 16384, 26213, 32767}) {
        SaverRandomState = StateBefore(value);
        EXPECT_EQ(SaverRandom(), value);
    }
}

} // namespace
