// Random: range, replay after reseeding, and the documented sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Zembra/Random.h"

TEST(Random, KnownSequenceForSeedOne)
{
    // The first values of the portable C generator seeded with 1.
    Random::seed(1);
    EXPECT_EQ(16838, Random::next());
    EXPECT_EQ(5758, Random::next());
    EXPECT_EQ(10113, Random::next());
    EXPECT_EQ(17515, Random::next());
}

TEST(Random, ReseedingReplaysAndSeedsDiffer)
{
    Random::seed(1234);
    std::vector<int> first;
    for (int i = 0; i < 100; ++i)
        first.push_back(Random::next());
    Random::seed(1234);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(first[i], Random::next()) << "draw " << i;

    Random::seed(1235);
    int same = 0;
    for (int i = 0; i < 100; ++i)
        same += Random::next() == first[i];
    EXPECT_LT(same, 5);
}

TEST(Random, CoversTheWholeRangeAndNoMore)
{
    Random::seed(7);
    int lowest = Random::MAX, highest = 0;
    for (int i = 0; i < 200000; ++i) {
        const int v = Random::next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, Random::MAX);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_EQ(32767, Random::MAX);
    EXPECT_LT(lowest, 10);
    EXPECT_GT(highest, Random::MAX - 10);
}
