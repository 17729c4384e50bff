// random_test.cpp: the apple cells repeat for a seed and cover exactly the apple area.
#include "rules_support.h"

namespace {

struct SeedCase {
    unsigned int seed;
    float x;
    float y;
};

// Expected cells worked out by hand from the generator's rule (multiply 214013, add 2531011).
const SeedCase seedCases[] = {
    {1u, -5.5f, -1.5f},
    {564u, -6.0f, -5.0f},        // residues 0 and 0: the lowest cell
    {276u, 3.5f, 4.5f},          // residues 19 and 19: the highest cell
    {243u, 0.0f, 0.0f},          // the head's start cell
    {0xFFFFFFFFu, 1.5f, 4.5f},   // the state wraps modulo 2^32
};

class FirstCell : public ::testing::TestWithParam<SeedCase> {};

TEST_P(FirstCell, FollowsTheSeed)
{
    gameSrand(GetParam().seed);
    const Cell cell = randomCell();
    EXPECT_EQ(cell.x, GetParam().x);
    EXPECT_EQ(cell.y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Seeds, FirstCell, ::testing::ValuesIn(seedCases));

TEST(RandomCell, SeedOneGivesTheStartUpApplesInOrder)
{
    gameSrand(1);
    const Cell apple = randomCell();
    const Cell bonus = randomCell();
    const Cell third = randomCell();
    EXPECT_EQ(apple.x, -5.5f);
    EXPECT_EQ(apple.y, -1.5f);
    EXPECT_EQ(bonus.x, 1.0f);
    EXPECT_EQ(bonus.y, -5.0f);
    EXPECT_EQ(third.x, -1.5f);
    EXPECT_EQ(third.y, -3.0f);
}

TEST(RandomCell, StaysOnTheAppleGrid)
{
    gameSrand(12345);
    for (int i = 0; i < 2000; ++i) {
        const Cell cell = randomCell();
        ASSERT_GE(cell.x, -6.0f);
        ASSERT_LE(cell.x, 3.5f);
        ASSERT_GE(cell.y, -5.0f);
        ASSERT_LE(cell.y, 4.5f);
        ASSERT_EQ(cell.x * 2.0f, static_cast<float>(static_cast<int>(cell.x * 2.0f)));
        ASSERT_EQ(cell.y * 2.0f, static_cast<float>(static_cast<int>(cell.y * 2.0f)));
    }
}

}  // namespace
