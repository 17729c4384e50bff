// snake_test.cpp: placement and stepping of the snake.
#include "rules_support.h"

namespace {

using SnakeTest = RulesTest;

void expectAt(const Vec3& v, float x, float y)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, 0.0f);
}

TEST_F(SnakeTest, InitPlacesThreeSegmentsBelowTheHeadAndKeepsTheMoveClock)
{
    moveClock = 0.125f;
    snake.body[5] = Vec3{2.0f, 2.0f, 0.0f};
    const Vec3 start = {1.5f, 2.0f, 0.0f};
    snake.init(DIR_LEFT, 0.25f, start, 0.05f);
    EXPECT_EQ(snake.direction, DIR_LEFT);
    EXPECT_EQ(snake.stepInterval, 0.05f);
    EXPECT_EQ(snake.radius, 0.25f);
    expectAt(snake.head, 1.5f, 2.0f);
    expectAt(snake.body[0], 0.0f, 1.5f);  // x is 0 whatever the start's x
    EXPECT_EQ(snake.length, 3);
    EXPECT_EQ(snake.stepsTaken, 0);
    EXPECT_NE(snake.sphere, nullptr);
    EXPECT_EQ(moveClock, 0.125f);
    expectAt(snake.body[5], 2.0f, 2.0f);
}

TEST_F(SnakeTest, DropsTheTimeBeyondTheInterval)
{
    // 0.25 s interval, 100 ms per call: a step after 0.3 s, then again 0.3 s later.
    const int expectedSteps[] = {0, 0, 1, 1, 1, 2};
    for (int call = 0; call < 6; ++call) {
        snake.move(100.0f);
        EXPECT_EQ(snake.stepsTaken, expectedSteps[call]) << "call " << call + 1;
    }
}

TEST_F(SnakeTest, MakesOneStepPerCallHoweverLong)
{
    snake.move(600000.0f);
    EXPECT_EQ(snake.stepsTaken, 1);
    expectAt(snake.head, 0.0f, 0.5f);
    EXPECT_EQ(moveClock, 0.0f);
}

TEST_F(SnakeTest, StepsOnAZeroCallWhenTheIntervalWasLowered)
{
    snake.move(200.0f);
    ASSERT_EQ(snake.stepsTaken, 0);
    snake.stepInterval = 0.1f;
    snake.move(0.0f);
    EXPECT_EQ(snake.stepsTaken, 1);
}

TEST_F(SnakeTest, RefreshesPrevBodyWithoutAStep)
{
    layOutSnake(1.0f, 1.0f, 4);
    snake.prevBody[4] = Vec3{9.0f, 9.0f, 0.0f};
    snake.move(10.0f);
    ASSERT_EQ(snake.stepsTaken, 0);
    for (int i = 0; i < 4; ++i) {
        expectAt(snake.prevBody[i], 1.0f, 0.5f - 0.5f * static_cast<float>(i));
    }
    expectAt(snake.prevBody[4], 9.0f, 9.0f);  // beyond the length: left alone
}

TEST_F(SnakeTest, StepsRightDroppingTheOldTail)
{
    snake.direction = DIR_RIGHT;
    snake.head = Vec3{1.0f, 0.0f, 0.0f};
    snake.body[0] = Vec3{0.5f, 0.0f, 0.0f};
    snake.body[1] = Vec3{0.0f, 0.0f, 0.0f};
    snake.body[2] = Vec3{-0.5f, 0.0f, 0.0f};
    snake.move(250.0f);
    expectAt(snake.head, 1.5f, 0.0f);
    expectAt(snake.body[0], 1.0f, 0.0f);
    expectAt(snake.body[1], 0.5f, 0.0f);
    expectAt(snake.body[2], 0.0f, 0.0f);
}

TEST_F(SnakeTest, UnfoldsFromTheCentreAfterAReset)
{
    snake.body[0] = Vec3{0.0f, 0.0f, 0.0f};
    struct Expected {
        float headY;
        float segmentY[3];
    };
    const Expected steps[] = {
        {0.5f, {0.0f, 0.0f, 0.0f}},
        {1.0f, {0.5f, 0.0f, 0.0f}},
        {1.5f, {1.0f, 0.5f, 0.0f}},
    };
    for (const Expected& e : steps) {
        snake.move(250.0f);
        expectAt(snake.head, 0.0f, e.headY);
        for (int i = 0; i < 3; ++i) {
            expectAt(snake.body[i], 0.0f, e.segmentY[i]);
        }
    }
}

}  // namespace
