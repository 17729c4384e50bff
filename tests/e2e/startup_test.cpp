// startup_test.cpp: the start-up question and its three outcomes, and the first frame a new
// game shows.
#include "game_session.h"

#include <X11/keysym.h>

namespace {

class StartUp : public GameSession {
protected:
    // Ends the game as a window manager's close button would; it must end with code 0.
    void closeGame()
    {
        x.closeAsWindowManager(gameWindow);
        EXPECT_EQ(waitForExit(), 0);
    }
};

using FirstFrame = GameSession;

TEST_F(StartUp, AnsweredNoOpensAn800x600WindowAtTheTopLeftCorner)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(launchWindowed());
    WindowGeometry where;
    ASSERT_TRUE(x.geometry(gameWindow, &where));
    EXPECT_EQ(where.width, 800);
    EXPECT_EQ(where.height, 600);
    EXPECT_EQ(where.x, 0);
    EXPECT_EQ(where.y, 0);
    EXPECT_FALSE(x.hasState(gameWindow, "_NET_WM_STATE_ABOVE")) << "a window is not top-most";
    EXPECT_EQ(x.findWindow("Error"), 0u) << "no error box belongs to a windowed start";
    closeGame();
}

TEST_F(StartUp, AnsweredYesWhereTheDisplayCannotSwitchFallsBackToASmallerWindow)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(answerStartQuestion(true));
    // "Mode Switch Failed." comes before the window.
    ASSERT_NO_FATAL_FAILURE(acknowledgeBox("Error"));
    ASSERT_NE(waitForGameWindow(), 0u);
    ASSERT_TRUE(waitForShot([](const Shot& s) { return litPixels(s) > 1000; }, 15000, "window"))
        << "the window shows no picture";
    WindowGeometry where;
    ASSERT_TRUE(x.geometry(gameWindow, &where));
    // The whole window, frame and caption included, is 800 x 600: the client area is smaller.
    EXPECT_LT(where.width, 800);
    EXPECT_LT(where.height, 600);
    EXPECT_GT(where.width, 700);
    EXPECT_GT(where.height, 500);
    EXPECT_FALSE(x.hasState(gameWindow, "_NET_WM_STATE_ABOVE")) << "a window is not top-most";
    closeGame();
}

TEST_F(StartUp, AnsweredYesOnAn800x600DisplayRunsFullScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(800, 600));
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(answerStartQuestion(true));
    ASSERT_NE(waitForGameWindow(), 0u);
    ASSERT_TRUE(waitForScreen(GameScreen::SkillMenu, 15000, "menu"));
    EXPECT_EQ(x.findWindow("Error"), 0u) << "the mode switch must not fail at 800 x 600";
    WindowGeometry where;
    ASSERT_TRUE(x.geometry(gameWindow, &where));
    EXPECT_EQ(where.x, 0);
    EXPECT_EQ(where.y, 0);
    EXPECT_EQ(where.width, 800);
    EXPECT_EQ(where.height, 600);
    // The full-screen window is a top-most pop-up covering the display.
    EXPECT_TRUE(x.hasState(gameWindow, "_NET_WM_STATE_ABOVE")) << "not top-most";
    closeGame();
}

// The heads-up lines sit at these heights; there is none at 0.5 and -0.5.
const double hudLines[] = {5.5, 4.5, 3.5, 2.5, 1.5, -1.5, -2.5};

TEST_F(FirstFrame, ShowsTheSkillMenuTheHeadsUpDisplayAndAFreshGame)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(answerStartQuestion(false));
    ASSERT_NE(waitForGameWindow(), 0u);
    Projection v = view();
    Shot first;
    // The first shot with a picture in it.
    ASSERT_TRUE(waitForShot([](const Shot& s) { return litPixels(s) > 1000; }, 15000, "first",
                            &first));
    ColourMap map = classify(first);
    if (readScreen(first, v) != GameScreen::SkillMenu) {
        // The window may have been caught before its first complete frame: take the next.
        ASSERT_TRUE(waitForScreen(GameScreen::SkillMenu, 5000, "first-menu", &first));
        map = classify(first);
    }
    for (double y : hudLines) {
        EXPECT_GE(inkIn(first, v, hudRow(v, y)), INK_PRESENT)
            << "no heads-up line at y = " << y;
    }
    for (double y : {0.5, -0.5, -3.5}) {
        EXPECT_LT(inkIn(first, v, hudRow(v, y)), INK_PRESENT)
            << "a heads-up line where there is none, at y = " << y;
    }
    SceneView scene = readScene(first, v);
    ASSERT_TRUE(scene.hasHead) << "no white head on the playfield";
    EXPECT_EQ(scene.head, (Cell{0, 0})) << "head at " << describe(scene.head);
    ASSERT_TRUE(scene.hasApple) << "no green apple";
    EXPECT_GE(scene.apple.x, -6.0f);
    EXPECT_LE(scene.apple.x, 3.5f);
    EXPECT_GE(scene.apple.y, -5.0f);
    EXPECT_LE(scene.apple.y, 4.5f);
    EXPECT_FALSE(scene.hasBonus) << "a bonus apple before any play, at " << describe(scene.bonus);
    // The first segment waits one step below the head; the other two lie under it.
    ASSERT_EQ(scene.body.size(), 1u);
    EXPECT_EQ(scene.body.front(), (Cell{0, -0.5f}));

    // The border: white lines along x = -7 and 5, y = -6 and 6, and nothing outside it but
    // the heads-up text to the right.
    struct Point {
        double x, y;
    };
    for (Point p : {Point{-1, 6}, Point{-1, -6}, Point{-7, 0}, Point{5, 0}, Point{-7, 6},
                    Point{5, -6}}) {
        double px, py;
        v.toScreen(p.x, p.y, 0, &px, &py);
        Box around{static_cast<int>(px) - 2, static_cast<int>(py) - 2, static_cast<int>(px) + 3,
                   static_cast<int>(py) + 3};
        EXPECT_GT(countInk(map, around), 0) << "no border line at (" << p.x << ", " << p.y << ")";
    }
    double left, top, right, bottom;
    v.toScreen(-7, 6, 0, &left, &top);
    v.toScreen(5, -6, 0, &right, &bottom);
    Box leftOfField{0, 0, static_cast<int>(left) - 3, v.height};
    Box belowField{0, static_cast<int>(bottom) + 4, static_cast<int>(right) + 4, v.height};
    Box aboveField{0, 0, static_cast<int>(right) + 4, static_cast<int>(top) - 3};
    EXPECT_EQ(countInk(map, leftOfField), 0);
    EXPECT_EQ(countInk(map, belowField), 0);
    EXPECT_EQ(countInk(map, aboveField), 0);

    x.closeAsWindowManager(gameWindow);
    EXPECT_EQ(waitForExit(), 0);
}

} // namespace
