// startup_test.cpp: initGame's new game, its seeded apples, and windows made again and again.
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <string>
#include <unistd.h>

#include "game/game_state.h"
#include "gl_fixture.h"
#include "render/render.h"

namespace {

class StartupTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        // A working directory of its own, holding a high-score file.
        char pattern[] = "/tmp/startup-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        ASSERT_EQ(chdir(directory.c_str()), 0);
        FILE* file = std::fopen("Highscore.hsc", "w");
        ASSERT_NE(file, nullptr);
        std::fprintf(file, "1234\n");
        std::fclose(file);

        gameWindow = GameWindow();
        gameWindow.deviceContext = deviceContext();
        gameWindow.width = 800;
        gameWindow.height = 600;
    }

    void TearDown() override
    {
        shutdownGame();
        std::remove("Highscore.hsc");
        if (chdir("/") == 0) rmdir(directory.c_str());
    }

    std::string directory;
    GameWindow gameWindow;
    KeyTable keys = {};
};

TEST_F(StartupTest, ANewGameWaitsOnTheSkillMenuAtEasy)
{
    // What a previous game may have left behind.
    gameState.playing = true;
    gameState.dead = true;
    gameState.paused = true;
    gameState.levelDone = true;
    gameState.bonusVisible = true;
    gameState.points = 990;
    gameState.level = 7;
    gameState.skill = SKILL_EXPERT;
    gameState.snakes = 0;
    gameState.applesEaten = 40;
    bonusClock = 3.5f;
    bonusShownClock = 1.5f;
    snake.length = 40;
    snake.direction = DIR_LEFT;
    snake.head = {3.0f, -2.0f, 0.0f};

    scriptedTickCount = 4242;
    EXPECT_EQ(initGame(&gameWindow, keys), 1);

    EXPECT_EQ(hostWindow, &gameWindow);
    EXPECT_EQ(hostKeys, keys);
    EXPECT_EQ(highScore, 1234);
    EXPECT_FALSE(gameState.playing);
    EXPECT_FALSE(gameState.dead);
    EXPECT_FALSE(gameState.paused);
    EXPECT_FALSE(gameState.levelDone);
    EXPECT_FALSE(gameState.bonusVisible);
    EXPECT_TRUE(gameState.skillMenu);
    EXPECT_EQ(gameState.skill, SKILL_EASY);
    EXPECT_EQ(gameState.points, 0);
    EXPECT_EQ(gameState.level, 1);
    EXPECT_EQ(gameState.snakes, 5);
    EXPECT_EQ(gameState.applesNeeded, 5);
    EXPECT_EQ(gameState.applesEaten, 0);
    EXPECT_EQ(gameState.startInterval, 0.25f);
    EXPECT_NE(gameState.appleSphere, nullptr);
    // The bonus clocks carry over.
    EXPECT_EQ(bonusClock, 3.5f);
    EXPECT_EQ(bonusShownClock, 1.5f);

    EXPECT_EQ(snake.head.x, 0.0f);
    EXPECT_EQ(snake.head.y, 0.0f);
    EXPECT_EQ(snake.head.z, 0.0f);
    EXPECT_EQ(snake.direction, DIR_UP);
    EXPECT_EQ(snake.stepInterval, 0.25f);
    EXPECT_EQ(snake.radius, 0.25f);
    EXPECT_EQ(snake.length, 3);
    EXPECT_NE(snake.sphere, nullptr);

    // The apples are the first four draws of the generator seeded with the tick count.
    gameSrand(4242);
    Cell apple = randomCell();
    Cell bonus = randomCell();
    EXPECT_EQ(gameState.appleX, apple.x);
    EXPECT_EQ(gameState.appleY, apple.y);
    EXPECT_EQ(gameState.bonusX, bonus.x);
    EXPECT_EQ(gameState.bonusY, bonus.y);

    // The scene is set up, the font built, and the colour left white for the first border.
    EXPECT_NE(fontBase, 0u);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(StartupTest, SeededWithOneTheApplesLieOnTheKnownCells)
{
    scriptedTickCount = 1;
    initGame(&gameWindow, keys);
    EXPECT_EQ(gameState.appleX, -5.5f);
    EXPECT_EQ(gameState.appleY, -1.5f);
    EXPECT_EQ(gameState.bonusX, 1.0f);
    EXPECT_EQ(gameState.bonusY, -5.0f);
}

TEST_F(StartupTest, TheFirstFrameShowsAWhiteBorderTheSnakeAndTheMenu)
{
    scriptedTickCount = 1;
    initGame(&gameWindow, keys);
    drawFrame();
    Frame f = readFrame();
    WindowPoint top = projectField(-1.0, 6.0);
    int x = static_cast<int>(top.x), y = static_cast<int>(top.y);
    int white = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        if (f.red(x, y + dy) == 255 && f.green(x, y + dy) == 255 && f.blue(x, y + dy) == 255) {
            ++white;
        }
    }
    EXPECT_GT(white, 0);
    WindowPoint head = projectField(0.0, 0.0);
    EXPECT_TRUE(f.lit(static_cast<int>(head.x), static_cast<int>(head.y)));
    WindowPoint menu = projectText(-6.0, 3.0);
    EXPECT_GT(f.inkIn(static_cast<int>(menu.x), static_cast<int>(menu.y) - 5,
                      static_cast<int>(menu.x) + 200, static_cast<int>(menu.y) + 13),
              0);
}

// One window's life as the shell runs it: open, start, a frame and its swap, shut down, close.
void windowLife(KeyTable keys)
{
    GlTest::closeWindow();
    ASSERT_TRUE(GlTest::openWindow());
    GameWindow window = GameWindow();
    window.deviceContext = GlTest::deviceContext();
    initGame(&window, keys);
    drawFrame();
    SDL_GL_SwapWindow(SDL_GL_GetCurrentWindow());
    shutdownGame();
}

TEST_F(StartupTest, RecreatedWindowsLeaveNothingBehind)
{
    // Shutdown gives the font's lists back while their context is still current.
    initGame(&gameWindow, keys);
    const GLuint base = fontBase;
    ASSERT_TRUE(glIsList(base));
    shutdownGame();
    for (GLuint i = 0; i < 96; ++i) EXPECT_FALSE(glIsList(base + i)) << i;

    for (int i = 0; i < 5; ++i) windowLife(keys);
    const int quadrics = liveQuadrics;
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 50; ++i) windowLife(keys);
    const long grown = static_cast<long>(mallinfo2().uordblks) - static_cast<long>(before);

    // No quadric piles up: the apple's goes at shutdown, the snake's at its next placement.
    EXPECT_EQ(liveQuadrics, quadrics);
    // The heap stays flat within the driver's own small change; a FreeType library and face
    // kept per window would cost tens of kilobytes each.
    RecordProperty("heap_growth_bytes", std::to_string(grown));
    EXPECT_LT(grown, 256 * 1024) << "heap grew by " << grown << " bytes over 50 windows";
}

}  // namespace
