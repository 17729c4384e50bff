// collisions_test.cpp: apples, the bonus apple, the border, the snake's own body, and the
// snake's length at the size of its tables.
#include "rules_support.h"

namespace {

using CollisionTest = RulesTest;

// ---------------------------------------------------------------- border

struct BorderCase {
    float x;
    float y;
    bool lost;
};

class Border : public CollisionTest, public ::testing::WithParamInterface<BorderCase> {};

TEST_P(Border, LosesTheSnakeOnTheLine)
{
    startRunning();
    snake.head = Vec3{GetParam().x, GetParam().y, 0.0f};
    snake.direction = DIR_LEFT;
    snake.stepsTaken = 3;
    checkCollisions();
    EXPECT_EQ(gameState.dead, GetParam().lost);
    EXPECT_EQ(gameState.playing, !GetParam().lost);
    EXPECT_EQ(snake.stepsTaken, GetParam().lost ? 0 : 3);
    EXPECT_EQ(snake.direction, GetParam().lost ? DIR_UP : DIR_LEFT);
}

const BorderCase borderCases[] = {
    {4.5f, 0.0f, false}, {5.0f, 0.0f, true},
    {-6.5f, 0.0f, false}, {-7.0f, 0.0f, true},
    {0.0f, 5.5f, false}, {0.0f, 6.0f, true},
    {0.0f, -5.5f, false}, {0.0f, -6.0f, true},
};
INSTANTIATE_TEST_SUITE_P(Cells, Border, ::testing::ValuesIn(borderCases));

// ---------------------------------------------------------------- own body

struct BodyCase {
    int stepsTaken;
    int segment;  // the segment the head shares a cell with
    bool lost;
};

class OwnBody : public CollisionTest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(OwnBody, CountsOnlyAfterFiveStepsAndNeverOnTheTail)
{
    startRunning();
    layOutSnake(1.0f, 1.0f, 6);
    snake.stepsTaken = GetParam().stepsTaken;
    snake.head = snake.body[GetParam().segment];
    checkCollisions();
    EXPECT_EQ(gameState.dead, GetParam().lost);
    EXPECT_EQ(gameState.playing, !GetParam().lost);
}

const BodyCase bodyCases[] = {
    {6, 4, true},    // body[length - 2]
    {6, 0, true},
    {6, 5, false},   // the tail
    {5, 0, false},   // too early
};
INSTANTIATE_TEST_SUITE_P(Segments, OwnBody, ::testing::ValuesIn(bodyCases));

TEST_F(CollisionTest, SegmentsDifferingOnlyInZDoNotCount)
{
    startRunning();
    layOutSnake(1.0f, 1.0f, 6);
    snake.stepsTaken = 8;
    snake.head = snake.body[2];
    snake.head.z = 0.5f;
    checkCollisions();
    EXPECT_FALSE(gameState.dead);
}

// ---------------------------------------------------------------- apples

TEST_F(CollisionTest, BothApplesInOneCallDrawAppleThenBonusCells)
{
    startRunning();
    gameState.level = 3;
    gameState.points = 40;
    gameState.appleX = 1.0f;
    gameState.appleY = 2.0f;
    gameState.bonusX = 1.0f;
    gameState.bonusY = 2.0f;
    gameState.bonusVisible = true;
    bonusClock = 11.0f;
    bonusShownClock = 1.0f;
    layOutSnake(1.0f, 2.0f, 3);
    checkCollisions();
    EXPECT_EQ(gameState.appleX, -5.5f);  // seed 1: first cell to the apple
    EXPECT_EQ(gameState.appleY, -1.5f);
    EXPECT_EQ(gameState.bonusX, 1.0f);   // second cell to the bonus apple
    EXPECT_EQ(gameState.bonusY, -5.0f);
    EXPECT_EQ(gameState.points, 40 + 10 + 75);
    EXPECT_EQ(gameState.applesEaten, 1);
    EXPECT_FALSE(gameState.bonusVisible);
    EXPECT_EQ(bonusClock, 0.0f);
    EXPECT_EQ(bonusShownClock, 0.0f);
    ASSERT_EQ(snake.length, 4);
    EXPECT_EQ(snake.body[3].x, 100.0f);
    EXPECT_EQ(snake.body[3].y, 100.0f);
}

TEST_F(CollisionTest, TheGrownSegmentTakesTheTailsPlaceAtTheNextStep)
{
    startRunning();
    layOutSnake(1.0f, 2.0f, 3);
    gameState.appleX = 1.0f;
    gameState.appleY = 2.0f;
    checkCollisions();
    ASSERT_EQ(snake.length, 4);
    const Vec3 oldTail = snake.body[2];
    snake.move(250.0f);
    EXPECT_EQ(snake.body[3].x, oldTail.x);
    EXPECT_EQ(snake.body[3].y, oldTail.y);
}

TEST_F(CollisionTest, HiddenBonusAppleIsNotEaten)
{
    startRunning();
    gameState.bonusX = 0.0f;
    gameState.bonusY = 0.0f;
    checkCollisions();
    EXPECT_EQ(gameState.points, 0);
    EXPECT_EQ(gameState.bonusX, 0.0f);
    EXPECT_EQ(gameState.bonusY, 0.0f);
    EXPECT_EQ(randomCell().x, -5.5f);  // nothing was drawn from the generator
}

TEST_F(CollisionTest, AppleAtTheCentreIsEatenOnTheSkillMenu)
{
    gameState.appleX = 0.0f;
    gameState.appleY = 0.0f;
    update(16);
    EXPECT_TRUE(gameState.skillMenu);
    EXPECT_EQ(gameState.points, 10);
    EXPECT_EQ(gameState.applesEaten, 1);
    EXPECT_EQ(snake.length, 4);
    EXPECT_EQ(gameState.appleX, -5.5f);
    EXPECT_EQ(gameState.appleY, -1.5f);
}

// ---------------------------------------------------------------- length at the tables' size

TEST_F(CollisionTest, AFullSnakeStillScoresButStopsGrowing)
{
    startRunning();
    layOutSnake(0.0f, 5.5f, SNAKE_MAX_SEGMENTS - 1);  // reaches down to y = -44
    for (int i = 0; i < SNAKE_MAX_SEGMENTS - 1; ++i) {
        snake.body[i].x = -0.5f * static_cast<float>(i % 2);  // keep the head off its body
    }
    snake.head = Vec3{2.0f, 0.0f, 0.0f};
    gameState.appleX = 2.0f;
    gameState.appleY = 0.0f;
    checkCollisions();
    ASSERT_EQ(snake.length, SNAKE_MAX_SEGMENTS);
    EXPECT_EQ(snake.body[SNAKE_MAX_SEGMENTS - 1].x, 100.0f);

    // Full: the apple counts, the length and the tables stay as they are.
    const Vec3 tail = snake.body[SNAKE_MAX_SEGMENTS - 1];
    snake.prevBody[0] = Vec3{7.0f, 7.0f, 7.0f};  // the memory right after the body table
    gameState.appleX = 2.0f;
    gameState.appleY = 0.0f;
    checkCollisions();
    EXPECT_EQ(gameState.points, 20);
    EXPECT_EQ(gameState.applesEaten, 2);
    EXPECT_EQ(snake.length, SNAKE_MAX_SEGMENTS);
    EXPECT_EQ(snake.body[SNAKE_MAX_SEGMENTS - 1].x, tail.x);
    EXPECT_EQ(snake.prevBody[0].x, 7.0f);

    // A step, the self test and the level reset stay inside the tables.
    GLUquadric* sphere = snake.sphere;  // the field right after prevBody
    snake.stepsTaken = 10;
    snake.move(250.0f);
    EXPECT_EQ(snake.sphere, sphere);
    checkCollisions();
    EXPECT_FALSE(gameState.dead);
    gameState.applesEaten = gameState.applesNeeded;
    hold(VK_SPACE);
    update(0);
    EXPECT_EQ(snake.length, 3);
    EXPECT_EQ(snake.body[SNAKE_MAX_SEGMENTS - 1].y, 0.0f);
    EXPECT_EQ(snake.sphere, sphere);
}

}  // namespace
