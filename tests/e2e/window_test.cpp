// window_test.cpp: what happens to the game through its window: closed by a window manager,
// minimised and restored, and re-created by the screen-mode switch message of another program.
#include "game_session.h"

#include <X11/keysym.h>

#include <unistd.h>

namespace {

using GameWindow = GameSession;

TEST_F(GameWindow, ClosingEndsTheGameWithCodeZeroAndLeavesTheScoreFileAsItWas)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(seedScoreFile("77\n"));
    ASSERT_NO_FATAL_FAILURE(launchWindowed());
    ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "running"));
    x.closeAsWindowManager(gameWindow);
    EXPECT_EQ(waitForExit(), 0);
    std::string after;
    ASSERT_TRUE(readFile(scorePath(), &after));
    EXPECT_EQ(after, "77\n");
}

TEST_F(GameWindow, MinimisedTheGameStandsStillWithoutProcessorTimeAndGoesOnWhenRestored)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(startWindowManager());
    ASSERT_NO_FATAL_FAILURE(launchWindowed());
    Projection v = view();
    ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "running"));
    // A step up, then minimise. The last shot before the window goes tells where the snake was.
    SceneView before;
    ASSERT_TRUE(waitForShot(
        [&](const Shot& s) {
            before = readScene(s, v);
            return before.screen == GameScreen::Running && before.hasHead && before.head.y >= 0.5f;
        },
        5000, "climbing"));
    x.minimise(gameWindow);
    ASSERT_TRUE(waitFor(
        [&] {
            Shot s = shoot();
            if (s.empty()) return true;
            SceneView scene = readScene(s, v);
            if (scene.hasHead) before = scene;
            return false;
        },
        5000))
        << "the window was not minimised";

    // The frame loop waits for messages: almost no processor time over 2.5 s. A running loop
    // takes a whole processor.
    long ticksPerSecond = sysconf(_SC_CLK_TCK);
    sleepMs(300);  // the minimise reaches the game through a few messages
    long start = game.cpuTicks();
    long long startedAt = nowMs();
    sleepMs(2500);
    long used = game.cpuTicks() - start;
    double seconds = (nowMs() - startedAt) / 1000.0;
    ASSERT_GE(start, 0);
    EXPECT_LE(used, static_cast<long>(0.05 * seconds * ticksPerSecond) + 2)
        << used << " clock ticks of processor time while minimised for " << seconds << " s";

    // Restored, the snake is about where it was: a step or two may come before the minimise
    // reaches the game and after the restore before the first shot. Had frames run while
    // minimised, it would have climbed ten cells and more and been lost at the border.
    x.restore(gameWindow);
    ASSERT_TRUE(waitFor(
        [&] {
            WindowGeometry g;
            return x.geometry(gameWindow, &g) && g.viewable;
        },
        5000))
        << "the window did not come back";
    x.focus(gameWindow);
    SceneView after;
    ASSERT_TRUE(waitForShot(
        [&](const Shot& s) {
            after = readScene(s, v);
            return after.hasHead;
        },
        5000, "restored"));
    EXPECT_EQ(after.screen, GameScreen::Running);
    EXPECT_EQ(after.head.x, 0.0f);
    EXPECT_GE(after.head.y, before.head.y);
    EXPECT_LE(after.head.y, before.head.y + 2.0f) << "the snake moved while minimised";

    // And the game goes on: the snake climbs on.
    float restoredAt = after.head.y;
    EXPECT_TRUE(waitForShot(
        [&](const Shot& s) {
            SceneView scene = readScene(s, v);
            return scene.hasHead && scene.head.y >= restoredAt + 1.0f;
        },
        5000, "goes-on"))
        << "the snake does not move after restoring";

    x.closeAsWindowManager(gameWindow);
    EXPECT_EQ(waitForExit(), 0);
}

TEST_F(GameWindow, TheScreenModeSwitchMessageRecreatesTheWindowOnTheSkillMenu)
{
    // On an 800 x 600 display the game can run full-screen and windowed.
    ASSERT_NO_FATAL_FAILURE(startDisplay(800, 600));
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(answerStartQuestion(true));
    ASSERT_NE(waitForGameWindow(), 0u);
    ASSERT_TRUE(waitForScreen(GameScreen::SkillMenu, 15000, "full-screen-menu"));
    ASSERT_TRUE(x.hasState(gameWindow, "_NET_WM_STATE_ABOVE")) << "not top-most";

    for (bool fullScreenNext : {false, true}) {
        // Leave the menu, so that the switch visibly brings it back.
        ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "running"));
        XWindow before = gameWindow;
        x.sendSwitchScreenMode(before);
        ASSERT_NE(waitForGameWindow(15000, before), 0u) << "no new window after the switch";
        EXPECT_FALSE(x.exists(before)) << "the old window is still there";
        Shot menu;
        ASSERT_TRUE(waitForScreen(GameScreen::SkillMenu, 15000,
                                  fullScreenNext ? "full-screen-again" : "windowed", &menu))
            << "the new window does not show the skill menu";
        SceneView scene = readScene(menu, view());
        EXPECT_TRUE(scene.hasHead && scene.head == (Cell{0, 0}))
            << "the snake is not at the centre: " << (scene.hasHead ? describe(scene.head) : "no head");
        WindowGeometry where;
        ASSERT_TRUE(x.geometry(gameWindow, &where));
        EXPECT_EQ(where.width, 800);
        EXPECT_EQ(where.height, 600);
        EXPECT_EQ(where.x, 0);
        EXPECT_EQ(where.y, 0);
        EXPECT_EQ(x.hasState(gameWindow, "_NET_WM_STATE_ABOVE"), fullScreenNext)
            << "only the full-screen window is top-most";
        EXPECT_EQ(x.findWindow("Error"), 0u);
    }

    x.closeAsWindowManager(gameWindow);
    EXPECT_EQ(waitForExit(), 0);
}

} // namespace
