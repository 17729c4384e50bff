// update_test.cpp: the frame update replayed with scripted keys and elapsed times - the
// screens, steering, level completion, the bonus timer and the FPS counter.
#include "rules_support.h"

namespace {

using UpdateTest = RulesTest;

void expectAtOrigin(const Vec3& v)
{
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
}

// ---------------------------------------------------------------- skill menu

struct SkillCase {
    int key;
    int skill;
    float interval;
};

class SkillMenuKeys : public UpdateTest, public ::testing::WithParamInterface<SkillCase> {};

TEST_P(SkillMenuKeys, ChooseSkillIntervalAndFiveSnakesWithoutStarting)
{
    gameState.snakes = 2;
    hold(GetParam().key);
    update(16);
    EXPECT_EQ(gameState.skill, GetParam().skill);
    EXPECT_EQ(snake.stepInterval, GetParam().interval);
    EXPECT_EQ(gameState.snakes, 5);
    EXPECT_TRUE(gameState.skillMenu);
    EXPECT_FALSE(gameState.playing);
}

const SkillCase skillCases[] = {
    {'1', SKILL_NORMAL, 0.1f},
    {'2', SKILL_HARD, 0.05f},
    {'3', SKILL_EXPERT, 0.03f},
};
INSTANTIATE_TEST_SUITE_P(Digits, SkillMenuKeys, ::testing::ValuesIn(skillCases));

TEST_F(UpdateTest, SpaceAloneStartsAtEasy)
{
    hold(VK_SPACE);
    update(16);
    EXPECT_FALSE(gameState.skillMenu);
    EXPECT_TRUE(gameState.playing);
    EXPECT_EQ(gameState.skill, SKILL_EASY);
    EXPECT_EQ(snake.stepInterval, 0.25f);
}

TEST_F(UpdateTest, SpaceWithSeveralDigitsStartsWithTheLastMatchingSkill)
{
    hold(VK_SPACE);
    hold('1');
    hold('3');
    update(16);
    EXPECT_TRUE(gameState.playing);
    EXPECT_EQ(gameState.skill, SKILL_EXPERT);
    EXPECT_EQ(snake.stepInterval, 0.03f);
}

TEST_F(UpdateTest, KeysOffTheirScreenDoNothing)
{
    // On the skill menu: arrows, ESC, F1 and the death screen's '2' must not act.
    hold(VK_LEFT);
    hold(VK_ESCAPE);
    hold(VK_F1);
    update(300);
    EXPECT_TRUE(gameState.skillMenu);
    EXPECT_FALSE(gameState.paused);
    EXPECT_EQ(snake.direction, DIR_UP);
    EXPECT_EQ(snake.stepsTaken, 0);
    EXPECT_EQ(quitRequests, 0);
    EXPECT_EQ(fileContent(highScoreFileName), "<missing>");
}

// ---------------------------------------------------------------- steering

struct SteerCase {
    int heading;
    int keyA;
    int keyB;  // 0: none
    int expected;
};

class Steering : public UpdateTest, public ::testing::WithParamInterface<SteerCase> {};

TEST_P(Steering, FollowsTheHeldKeys)
{
    startRunning();
    snake.direction = GetParam().heading;
    hold(GetParam().keyA);
    if (GetParam().keyB != 0) {
        hold(GetParam().keyB);
    }
    update(0);
    EXPECT_EQ(snake.direction, GetParam().expected);
}

const SteerCase steerCases[] = {
    {DIR_UP, VK_RIGHT, 0, DIR_RIGHT},
    {DIR_UP, VK_DOWN, 0, DIR_UP},                // no direct reversal
    {DIR_LEFT, VK_RIGHT, 0, DIR_LEFT},
    {DIR_RIGHT, VK_UP, VK_DOWN, DIR_UP},         // Up wins ...
    {DIR_DOWN, VK_UP, VK_DOWN, DIR_DOWN},        // ... unless heading down
    {DIR_UP, VK_LEFT, VK_RIGHT, DIR_LEFT},       // Left wins ...
    {DIR_RIGHT, VK_LEFT, VK_RIGHT, DIR_RIGHT},   // ... unless heading right
    {DIR_UP, VK_UP, VK_RIGHT, DIR_UP},           // crossing axes steer nowhere
    {DIR_LEFT, VK_DOWN, VK_LEFT, DIR_LEFT},
};
INSTANTIATE_TEST_SUITE_P(Keys, Steering, ::testing::ValuesIn(steerCases));

TEST_F(UpdateTest, TwoQuickTurnsReverseTheSnakeOntoItsBody)
{
    startRunning();
    for (int i = 0; i < 7; ++i) {
        update(250);
    }
    ASSERT_EQ(snake.stepsTaken, 7);
    ASSERT_FALSE(gameState.dead);
    hold(VK_RIGHT);
    update(10);
    release(VK_RIGHT);
    hold(VK_DOWN);
    update(250);
    EXPECT_EQ(snake.direction, DIR_UP);  // set back by the loss
    EXPECT_TRUE(gameState.dead);
    EXPECT_FALSE(gameState.playing);
    EXPECT_EQ(snake.head.y, 3.0f);
}

// ---------------------------------------------------------------- pause

TEST_F(UpdateTest, EscPausesAfterTheSnakesMoveOfThatUpdate)
{
    startRunning();
    hold(VK_ESCAPE);
    update(250);
    EXPECT_TRUE(gameState.paused);
    EXPECT_FALSE(gameState.playing);
    EXPECT_EQ(snake.stepsTaken, 1);
    release(VK_ESCAPE);
    update(1000);  // paused: nothing moves
    EXPECT_EQ(snake.stepsTaken, 1);
}

TEST_F(UpdateTest, ResumingWithEscHeldPausesAgainAndStillMoves)
{
    gameState.skillMenu = false;
    gameState.paused = true;
    hold(VK_SPACE);
    hold(VK_ESCAPE);
    update(250);
    EXPECT_TRUE(gameState.paused);
    EXPECT_FALSE(gameState.playing);
    EXPECT_EQ(snake.stepsTaken, 1);
}

TEST_F(UpdateTest, AQuitRequestDoesNotCutTheUpdateShort)
{
    gameState.skillMenu = false;
    gameState.paused = true;
    hold(VK_SPACE);
    hold(VK_F1);
    update(250);
    EXPECT_EQ(quitRequests, 1);
    EXPECT_EQ(quitWindow, &window);
    EXPECT_TRUE(gameState.playing);  // SPACE resumed in the same update
    EXPECT_EQ(snake.stepsTaken, 1);  // and the snake still stepped
}

// ---------------------------------------------------------------- death and game over

class DeathScreen : public UpdateTest {
protected:
    // A snake lost at (2, 3) with seven segments, 120 points in the game.
    void SetUp() override
    {
        UpdateTest::SetUp();
        gameState.skillMenu = false;
        gameState.dead = true;
        gameState.points = 120;
        gameState.level = 3;
        gameState.applesEaten = 4;
        gameState.applesNeeded = 35;
        gameState.snakes = 2;
        layOutSnake(2.0f, 3.0f, 7);
        moveClock = 0.2f;
    }
};

TEST_F(DeathScreen, KeepsThreeSegmentsStillAndRaisesTheHighScoreEveryUpdate)
{
    highScore = 100;
    update(1000);
    EXPECT_EQ(snake.length, 3);
    EXPECT_EQ(highScore, 120);
    EXPECT_EQ(snake.head.x, 2.0f);
    EXPECT_EQ(snake.head.y, 3.0f);
    EXPECT_EQ(moveClock, 0.2f);
    gameState.points = 130;
    update(1000);
    EXPECT_EQ(highScore, 130);
    EXPECT_TRUE(gameState.dead);
}

TEST_F(DeathScreen, SpaceContinuesWithTheNextSnakeAtTheCentre)
{
    hold(VK_SPACE);
    update(0);
    EXPECT_FALSE(gameState.dead);
    EXPECT_TRUE(gameState.playing);
    EXPECT_EQ(gameState.snakes, 1);
    EXPECT_EQ(snake.length, 3);
    expectAtOrigin(snake.head);
    for (int i = 0; i < 3; ++i) {
        expectAtOrigin(snake.body[i]);
    }
    EXPECT_EQ(snake.body[3].y, 1.0f);  // beyond the length: left where it was
    EXPECT_EQ(moveClock, 0.2f);
    EXPECT_EQ(gameState.points, 120);
}

TEST_F(DeathScreen, GameOverIgnoresSpace)
{
    gameState.snakes = 0;
    hold(VK_SPACE);
    update(250);
    EXPECT_TRUE(gameState.dead);
    EXPECT_FALSE(gameState.playing);
    EXPECT_EQ(gameState.snakes, 0);
    EXPECT_EQ(snake.head.y, 3.0f);
}

TEST_F(DeathScreen, OneStartsANewGameOnTheSkillMenuAtNormal)
{
    gameState.snakes = 0;
    hold('1');
    update(16);
    EXPECT_TRUE(gameState.skillMenu);
    EXPECT_FALSE(gameState.dead);
    EXPECT_FALSE(gameState.playing);
    EXPECT_EQ(gameState.skill, SKILL_NORMAL);
    EXPECT_EQ(snake.stepInterval, 0.1f);
    EXPECT_EQ(gameState.snakes, 5);
    EXPECT_EQ(gameState.level, 1);
    EXPECT_EQ(gameState.points, 0);
    EXPECT_EQ(gameState.applesEaten, 0);
    EXPECT_EQ(gameState.applesNeeded, 5);
    EXPECT_EQ(highScore, 120);  // raised before the points were cleared
    expectAtOrigin(snake.head);
    for (int i = 0; i < 3; ++i) {
        expectAtOrigin(snake.body[i]);
    }
    EXPECT_EQ(quitRequests, 0);
    EXPECT_EQ(fileContent(highScoreFileName), "<missing>");
}

TEST_F(DeathScreen, OneWithSpaceStartsTheNewGameAtOnce)
{
    hold('1');
    hold(VK_SPACE);
    update(0);
    EXPECT_TRUE(gameState.playing);
    EXPECT_FALSE(gameState.skillMenu);
    EXPECT_FALSE(gameState.dead);
    EXPECT_EQ(gameState.skill, SKILL_NORMAL);
    EXPECT_EQ(gameState.snakes, 5);
}

TEST_F(DeathScreen, TwoSavesAndQuits)
{
    hold('2');
    update(16);
    EXPECT_EQ(quitRequests, 1);
    EXPECT_EQ(fileContent(highScoreFileName), "120\n");
}

// ---------------------------------------------------------------- level completion

struct LevelCase {
    int skill;
    int level;
    int award;
    int extraSnakes;
    int applesNeeded;
};

class LevelCompletion : public UpdateTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LevelCompletion, PaysTheAwardAndSetsUpTheNextLevel)
{
    const LevelCase& c = GetParam();
    startRunning();
    gameState.skill = c.skill;
    gameState.level = c.level;
    gameState.applesNeeded = 7;
    gameState.applesEaten = 7;
    gameState.points = 50;
    snake.direction = DIR_LEFT;
    update(0);
    EXPECT_EQ(gameState.points, 50 + c.award);
    EXPECT_EQ(gameState.level, c.level + 1);
    EXPECT_EQ(gameState.snakes, 5 + c.extraSnakes);
    EXPECT_EQ(gameState.applesNeeded, c.applesNeeded);
    EXPECT_EQ(gameState.applesEaten, 0);
    EXPECT_TRUE(gameState.levelDone);
    EXPECT_FALSE(gameState.playing);
    EXPECT_EQ(snake.direction, DIR_UP);
}

const LevelCase levelCases[] = {
    {SKILL_EASY, 1, 0, 0, 15},
    {SKILL_NORMAL, 2, 200, 1, 35},
    {SKILL_HARD, 3, 600, 0, 65},
    {SKILL_EXPERT, 1, 4000, 0, 15},
    {SKILL_HARD, 4, 800, 0, 105},
    {SKILL_NORMAL, 5, 500, 1, 155},
    {SKILL_EASY, 8, 0, 1, 365},
};
INSTANTIATE_TEST_SUITE_P(Skills, LevelCompletion, ::testing::ValuesIn(levelCases));

TEST_F(UpdateTest, LevelIsNotCompleteBeforeItsLastApple)
{
    startRunning();
    gameState.applesEaten = 4;
    update(0);
    EXPECT_FALSE(gameState.levelDone);
    EXPECT_EQ(gameState.level, 1);
}

TEST_F(UpdateTest, SpaceHeldWhenTheLevelCompletesStartsTheNextLevelAtOnce)
{
    startRunning();
    layOutSnake(2.0f, 3.0f, 9);
    snake.stepsTaken = 20;
    gameState.applesEaten = 5;
    hold(VK_SPACE);
    update(0);
    EXPECT_FALSE(gameState.levelDone);
    EXPECT_TRUE(gameState.playing);
    EXPECT_EQ(gameState.level, 2);
    EXPECT_EQ(snake.length, 3);
    EXPECT_EQ(snake.stepsTaken, 0);
    expectAtOrigin(snake.head);
    for (int i = 0; i < 9; ++i) {
        expectAtOrigin(snake.body[i]);
    }
}

// ---------------------------------------------------------------- bonus apple

class BonusApple : public UpdateTest {
protected:
    void SetUp() override
    {
        UpdateTest::SetUp();
        startRunning();
        snake.stepInterval = 1.0e6f;  // the snake stays put
    }
};

TEST_F(BonusApple, ShowsAfterTenSecondsForThreeSecondsThenMoves)
{
    for (int i = 0; i < 9; ++i) {
        update(1000);
    }
    EXPECT_FALSE(gameState.bonusVisible);
    update(1000);
    EXPECT_TRUE(gameState.bonusVisible);
    EXPECT_EQ(bonusShownClock, 1.0f);  // the update reaching 10 s already counts
    update(1500);
    EXPECT_TRUE(gameState.bonusVisible);
    update(500);
    EXPECT_FALSE(gameState.bonusVisible);
    EXPECT_EQ(bonusClock, 0.0f);
    EXPECT_EQ(bonusShownClock, 0.0f);
    EXPECT_EQ(gameState.bonusX, -5.5f);  // first cell of the seed
    EXPECT_EQ(gameState.bonusY, -1.5f);
}

TEST_F(BonusApple, OneLongUpdatePassesBothMarksBeforeItIsEverShown)
{
    update(13000);
    EXPECT_FALSE(gameState.bonusVisible);
    EXPECT_EQ(bonusClock, 0.0f);
    EXPECT_EQ(gameState.bonusX, -5.5f);
    EXPECT_EQ(gameState.bonusY, -1.5f);
}

// The first frame after hours minimised, or a tick count that went back a little (the
// shell's difference modulo 2^32), hands the update up to 2^32 - 1 ms: still one step.
TEST_F(UpdateTest, TheLargestElapsedTimeGivesOneStepAndPassesBothBonusMarks)
{
    startRunning();
    hold(VK_RIGHT);
    gameState.bonusVisible = true;
    bonusClock = 10.5f;
    bonusShownClock = 1.0f;
    update(0xFFFFFFFFu);
    EXPECT_EQ(snake.stepsTaken, 1);
    EXPECT_EQ(snake.head.x, 0.5f);
    EXPECT_EQ(snake.head.y, 0.0f);
    EXPECT_EQ(moveClock, 0.0f);
    EXPECT_TRUE(gameState.playing);
    EXPECT_FALSE(gameState.bonusVisible);
    EXPECT_EQ(bonusClock, 0.0f);
    EXPECT_EQ(bonusShownClock, 0.0f);
    update(16);  // and the game goes on at its usual pace
    EXPECT_EQ(snake.stepsTaken, 1);
    EXPECT_FALSE(gameState.bonusVisible);
}

TEST_F(BonusApple, CountsOnlyRunningTime)
{
    bonusClock = 9.5f;
    gameState.playing = false;
    gameState.paused = true;
    update(5000);
    gameState.paused = false;
    gameState.dead = true;
    gameState.snakes = 0;
    update(5000);
    gameState.dead = false;
    gameState.levelDone = true;
    update(5000);
    gameState.levelDone = false;
    gameState.skillMenu = true;
    update(5000);
    EXPECT_EQ(bonusClock, 9.5f);
    EXPECT_FALSE(gameState.bonusVisible);
}

// ---------------------------------------------------------------- frames per second

TEST_F(UpdateTest, FpsCounterClosesAPeriodAfterMoreThanASecond)
{
    fakeTickCount = 5000;
    update(0);
    EXPECT_EQ(fpsValue, 1.0f);  // the first update closes the first period
    for (int i = 1; i <= 9; ++i) {
        fakeTickCount = 5000 + 100 * i;
        update(100);
    }
    EXPECT_EQ(fpsValue, 1.0f);
    fakeTickCount = 6100;
    update(200);
    EXPECT_EQ(fpsValue, 10.0f);  // frames of the period, including the one closing it
}

TEST_F(UpdateTest, FpsCounterKeepsRefreshingAfterTheTickCountWraps)
{
    fakeTickCount = 0xFFFFF000u;
    update(0);
    ASSERT_EQ(fpsValue, 1.0f);
    for (DWORD tick = 0; tick <= 2000; tick += 100) {
        fakeTickCount = tick;  // wrapped past 2^32 - 1
        update(100);
    }
    EXPECT_EQ(fpsValue, 11.0f);  // a new period began at the wrap and closed after it
}

}  // namespace
