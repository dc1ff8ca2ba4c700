#include "core/shuffle.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

TEST(ShuffleRound, NeverStartsWithTheEntryShownLastAndRejectsStaleRounds) {
    std::mt19937 random(7);
    for (int draw = 0; draw < 200; ++draw) {
        const std::vector<int> round = DrawShuffleRound(5, 3, random);
        EXPECT_TRUE(IsValidShuffleRound(round, 5));
        EXPECT_EQ(round.size(), 5u);
        EXPECT_NE(round.front(), 3);
    }
    EXPECT_EQ(DrawShuffleRound(1, 0, random), std::vector<int>{0});
    EXPECT_FALSE(IsValidShuffleRound({0, 5}, 5)); // the list got shorter
    EXPECT_FALSE(IsValidShuffleRound({1, 1}, 5));
}

} // namespace
} // namespace glimro
