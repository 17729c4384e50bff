// game_session.h: the test fixture of the end-to-end scenarios: a private X server, the real
// game started in a fresh working folder, the driver to answer and play it, and readings of
// its screen (where the spheres are, which overlay block shows) from screenshots alone.
#pragma once

#include "game_process.h"
#include "picture.h"
#include "x_driver.h"
#include "xvfb.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Which screen the overlay shows, told by the rows of its blocks that carry ink.
enum class GameScreen { SkillMenu, Death, Pause, LevelDone, Running, Other };
const char* screenName(GameScreen screen);

// What one screenshot shows of the game.
struct SceneView {
    GameScreen screen = GameScreen::Other;
    bool hasHead = false;
    Cell head;
    bool hasApple = false;
    Cell apple;
    bool hasBonus = false;
    Cell bonus;
    std::vector<Cell> body;  // cells showing a red segment
};

// Where the overlay prints: the ink band of the heads-up line at playfield height y (its text
// starts at x = 5 on the text plane and runs to the window's edge), and of a block line at
// height y (starting at x = -6, as long as the longest block line).
Box hudRow(const Projection& view, double y);
Box blockRow(const Projection& view, double y);
// Boxes around everything coloured and the white head, to keep spheres out of ink counts.
std::vector<Box> sphereMasks(const ColourMap& map, const Projection& view);
// Text ink in a box, and its right-most column (-1 for none), spheres left out.
int inkIn(const Shot& shot, const Projection& view, const Box& area);
int inkEdge(const Shot& shot, const Projection& view, const Box& area);
// Text rows count as printed from this many ink pixels on.
constexpr int INK_PRESENT = 25;

GameScreen readScreen(const Shot& shot, const Projection& view);
SceneView readScene(const Shot& shot, const Projection& view);

class GameSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a private X server of that size and connects the driver to it.
    void startDisplay(int width, int height);
    // Starts openbox on the display and waits until it manages windows.
    void startWindowManager();
    // Writes "Highscore.hsc" in the working folder before the game starts.
    void seedScoreFile(const std::string& content);
    // Starts the game in the working folder, its output in the scenario's log `label`.log.
    void launch(const std::string& label = "game");
    // Waits for the start-up question and answers it with Return (Yes) or Escape (No).
    void answerStartQuestion(bool fullScreen);
    // Waits for a message box titled `title` and presses Return on it.
    void acknowledgeBox(const std::string& title);
    // Waits until the game window (caption "Sphere Snake") is viewable and focuses it; also
    // after a re-creation. `other` is a window to ignore (the one just closed).
    XWindow waitForGameWindow(int timeoutMs = 20000, XWindow other = 0);
    // The projection of the game window as it is now.
    Projection view();

    // A screenshot of the game window (empty when it is not viewable), saved when `note` is given.
    Shot shoot(const std::string& note = "");
    void save(const Shot& shot, const std::string& note);
    // Takes shots until `test` holds, or timeoutMs pass; the deciding shot is saved as `note`.
    bool waitForShot(const std::function<bool(const Shot&)>& test, int timeoutMs,
                     const std::string& note, Shot* deciding = nullptr);
    // Starts the game windowed (the question answered No) and waits for the skill menu of the
    // first frames; the deciding shot in `menu`.
    void launchWindowed(Shot* menu = nullptr, const std::string& label = "game");
    // Waits until the overlay shows `screen`.
    bool waitForScreen(GameScreen screen, int timeoutMs, const std::string& note,
                       Shot* deciding = nullptr);
    // Holds a key down until `test` holds for a shot, then lets it go. The game reads keys by
    // level once per frame, so a key must stay down while a frame runs; a slow frame can
    // take longer than any short tap.
    bool holdKeyUntil(XKey key, const std::function<bool(const Shot&)>& test, int timeoutMs,
                      const std::string& note, Shot* deciding = nullptr);
    bool holdKeyUntilScreen(XKey key, GameScreen screen, int timeoutMs, const std::string& note,
                            Shot* deciding = nullptr);
    // Holds a key down until the game ends; its exit code, or fails the test.
    int holdKeyUntilExit(XKey key, int timeoutMs = 10000);
    // Waits for the game to end; the exit code, or fails the test.
    int waitForExit(int timeoutMs = 10000);

    std::string scorePath() const { return workDir + "/Highscore.hsc"; }

    XvfbServer xvfb;
    XDriver x;
    GameProcess game;
    XWindow gameWindow = 0;
    std::string workDir;
    std::string outDir;  // the scenario's shots and log, in the build folder

private:
    pid_t windowManager = -1;
    int shotNumber = 0;
};
