// game_session.cpp: the scenario fixture and the readings of the game's screen.
#include "game_session.h"

#include "png_writer.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef SPHERE_SNAKE_EXE
#error "SPHERE_SNAKE_EXE must name the game's executable"
#endif
#ifndef E2E_OUTPUT_DIR
#error "E2E_OUTPUT_DIR must name the folder for shots and logs"
#endif

namespace {

// The heights of the block lines, as the overlay lays them out.
const double blockRows[] = {3, 2, 1, 0, -1, -2, -3};
const int longestBlockLine = 300;  // pixels: 32 characters of the 16-pixel bold font

void makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
        if (slash == std::string::npos) break;
    }
}

} // namespace

const char* screenName(GameScreen screen)
{
    switch (screen) {
    case GameScreen::SkillMenu: return "skill menu";
    case GameScreen::Death: return "death screen";
    case GameScreen::Pause: return "pause screen";
    case GameScreen::LevelDone: return "level complete";
    case GameScreen::Running: return "running game";
    case GameScreen::Other: return "other screen";
    }
    return "?";
}

Box hudRow(const Projection& view, double y)
{
    double px, py;
    view.toScreen(5, y, 1, &px, &py);
    return Box{static_cast<int>(px) - 3, static_cast<int>(py) - 15, view.width,
               static_cast<int>(py) + 5};
}

Box blockRow(const Projection& view, double y)
{
    double px, py;
    view.toScreen(-6, y, 1, &px, &py);
    return Box{static_cast<int>(px) - 3, static_cast<int>(py) - 15,
               static_cast<int>(px) + longestBlockLine, static_cast<int>(py) + 5};
}

std::vector<Box> sphereMasks(const ColourMap& shot, const Projection& view)
{
    std::vector<Box> masks;
    for (Colour colour : {Colour::Green, Colour::Yellow, Colour::Red}) {
        for (const Blob& blob : findBlobs(shot, colour, 12)) {
            masks.push_back(Box{blob.bounds.x0 - 4, blob.bounds.y0 - 4, blob.bounds.x1 + 4,
                                blob.bounds.y1 + 4});
        }
    }
    for (const Cell& cell : cellsShowing(shot, view, Colour::White)) {
        masks.push_back(sphereBox(view, cell, 4));
    }
    return masks;
}

GameScreen screenOf(const ColourMap& map, const Projection& view, const std::vector<Box>& masks)
{
    bool ink[7];
    for (int i = 0; i < 7; ++i) {
        ink[i] = countInk(map, blockRow(view, blockRows[i]), masks) >= INK_PRESENT;
    }
    bool r3 = ink[0], r2 = ink[1], r1 = ink[2], r0 = ink[3], m1 = ink[4], m2 = ink[5], m3 = ink[6];
    if (r3 && r2 && r1 && r0 && m2 && !m3) return GameScreen::SkillMenu;
    if (!r3 && r2 && r1 && r0 && !m1 && !m2 && !m3) return GameScreen::Death;
    if (!r3 && !r2 && !r1 && r0 && m1 && !m2 && !m3) return GameScreen::Pause;
    if (!r3 && !r2 && !r1 && r0 && m1 && m3) return GameScreen::LevelDone;
    if (!r3 && !r2 && !r1 && !r0 && !m1 && !m2 && !m3) return GameScreen::Running;
    return GameScreen::Other;
}

GameScreen readScreen(const Shot& shot, const Projection& view)
{
    ColourMap map = classify(shot);
    return screenOf(map, view, sphereMasks(map, view));
}

int inkIn(const Shot& shot, const Projection& view, const Box& area)
{
    ColourMap map = classify(shot);
    return countInk(map, area, sphereMasks(map, view));
}

int inkEdge(const Shot& shot, const Projection& view, const Box& area)
{
    ColourMap map = classify(shot);
    return inkRightEdge(map, area, sphereMasks(map, view));
}

SceneView readScene(const Shot& shot, const Projection& view)
{
    SceneView scene;
    ColourMap map = classify(shot);
    scene.screen = screenOf(map, view, sphereMasks(map, view));
    scene.body = cellsShowing(map, view, Colour::Red, 0.6);
    // Segments lying on one another add up to a white centre in a deep red rim: body. (The
    // head over segments has a pink rim: white plus red.)
    std::vector<Cell> heads;
    for (const Cell& cell : cellsShowing(map, view, Colour::White)) {
        if (ringShare(map, view, cell, Colour::DeepRed, 0.7, 0.95) >= 0.3) {
            scene.body.push_back(cell);
        } else {
            heads.push_back(cell);
        }
    }
    if (heads.size() == 1) {
        scene.hasHead = true;
        scene.head = heads.front();
    }
    double sphereArea = 3.14159 * 0.25 * 0.25 * view.pixelsPerUnit() * view.pixelsPerUnit();
    int minArea = static_cast<int>(sphereArea * 0.3);
    std::vector<Blob> green = findBlobs(map, Colour::Green, minArea);
    if (!green.empty()) {
        scene.hasApple = true;
        scene.apple = view.cellAt(green.front().centreX, green.front().centreY);
    }
    std::vector<Blob> yellow = findBlobs(map, Colour::Yellow, minArea);
    if (!yellow.empty()) {
        scene.hasBonus = true;
        scene.bonus = view.cellAt(yellow.front().centreX, yellow.front().centreY);
    }
    return scene;
}

void GameSession::SetUp()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    outDir = std::string(E2E_OUTPUT_DIR) + "/" + test->test_suite_name() + "." + test->name();
    removeFolder(outDir);
    makeFolders(outDir);
    workDir = makeTemporaryFolder();
    ASSERT_FALSE(workDir.empty()) << "no temporary working folder";
}

void GameSession::TearDown()
{
    game.kill();
    x.close();
    if (windowManager > 0) {
        kill(windowManager, SIGTERM);
        int status;
        while (waitpid(windowManager, &status, 0) < 0 && errno == EINTR) {
        }
        windowManager = -1;
    }
    xvfb.stop();
    removeFolder(workDir);
}

void GameSession::startDisplay(int width, int height)
{
    ASSERT_TRUE(xvfb.start(width, height, 24)) << xvfb.error();
    ASSERT_TRUE(x.open()) << "cannot reach the X server " << xvfb.display() << " or no XTest";
}

void GameSession::startWindowManager()
{
    std::string log = outDir + "/openbox.log";
    windowManager = fork();
    ASSERT_GE(windowManager, 0);
    if (windowManager == 0) {
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_TRUE(x.waitForWindowManager(20000)) << "openbox did not start (see " << log << ")";
}

void GameSession::seedScoreFile(const std::string& content)
{
    ASSERT_TRUE(writeFile(scorePath(), content));
}

void GameSession::launch(const std::string& label)
{
    ASSERT_TRUE(game.start(SPHERE_SNAKE_EXE, workDir, outDir + "/" + label + ".log"))
        << "cannot start " << SPHERE_SNAKE_EXE;
}

void GameSession::launchWindowed(Shot* menu, const std::string& label)
{
    ASSERT_NO_FATAL_FAILURE(launch(label));
    ASSERT_NO_FATAL_FAILURE(answerStartQuestion(false));
    ASSERT_NE(waitForGameWindow(), 0u);
    ASSERT_TRUE(waitForScreen(GameScreen::SkillMenu, 15000, label + "-menu", menu))
        << "the skill menu did not show";
}

void GameSession::acknowledgeBox(const std::string& title)
{
    XWindow box = 0;
    ASSERT_TRUE(waitFor([&] { return (box = x.findWindow(title)) != 0; }, 20000))
        << "no message box titled \"" << title << "\"";
    Shot picture;
    if (x.screenshot(box, &picture)) save(picture, "box");
    // A key pressed before the box listens is lost: press again while the box stays up.
    for (int attempt = 0; attempt < 4; ++attempt) {
        x.focus(box);
        x.tapKey(XK_Return, 60);
        if (waitFor([&] { return x.findWindow(title) == 0; }, 1500)) return;
    }
    FAIL() << "the message box \"" << title << "\" did not close on Return";
}

void GameSession::answerStartQuestion(bool fullScreen)
{
    const std::string title = "Start FullScreen?";
    XWindow box = 0;
    ASSERT_TRUE(waitFor([&] { return (box = x.findWindow(title)) != 0; }, 20000))
        << "no start-up question (see " << outDir << "/game.log)";
    Shot picture;
    if (x.screenshot(box, &picture)) save(picture, "question");
    for (int attempt = 0; attempt < 4; ++attempt) {
        x.focus(box);
        x.tapKey(fullScreen ? XK_Return : XK_Escape, 60);
        if (waitFor([&] { return x.findWindow(title) == 0; }, 1500)) return;
    }
    FAIL() << "the start-up question did not close";
}

XWindow GameSession::waitForGameWindow(int timeoutMs, XWindow other)
{
    XWindow found = 0;
    bool seen = waitFor(
        [&] {
            for (XWindow w : x.windowsTitled("Sphere Snake")) {
                if (w != other) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    EXPECT_TRUE(seen) << "no game window (see " << outDir << "/game.log)";
    gameWindow = seen ? found : 0;
    if (gameWindow != 0) x.focus(gameWindow);
    return gameWindow;
}

Projection GameSession::view()
{
    Projection projection;
    WindowGeometry where;
    if (x.geometry(gameWindow, &where) && where.width > 0 && where.height > 0) {
        projection.width = where.width;
        projection.height = where.height;
    }
    return projection;
}

void GameSession::save(const Shot& shot, const std::string& note)
{
    if (shot.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "%02d", ++shotNumber);
    std::string path = outDir + "/" + name + (note.empty() ? "" : "-" + note) + ".png";
    writePng(path, shot.width, shot.height, shot.rgb);
}

Shot GameSession::shoot(const std::string& note)
{
    Shot shot;
    x.screenshot(gameWindow, &shot);
    if (!note.empty()) save(shot, note);
    return shot;
}

bool GameSession::waitForShot(const std::function<bool(const Shot&)>& test, int timeoutMs,
                              const std::string& note, Shot* deciding)
{
    Shot last;
    bool met = waitFor(
        [&] {
            last = shoot();
            return !last.empty() && test(last);
        },
        timeoutMs);
    save(last, met ? note : note + "-timeout");
    if (deciding != nullptr) *deciding = last;
    return met;
}

bool GameSession::waitForScreen(GameScreen screen, int timeoutMs, const std::string& note,
                                Shot* deciding)
{
    GameScreen seen = GameScreen::Other;
    bool met = waitForShot(
        [&](const Shot& s) {
            seen = readScreen(s, view());
            return seen == screen;
        },
        timeoutMs, note, deciding);
    if (!met) {
        std::fprintf(stderr, "waited for the %s, the last shot showed the %s\n",
                     screenName(screen), screenName(seen));
    }
    return met;
}

bool GameSession::holdKeyUntil(XKey key, const std::function<bool(const Shot&)>& test,
                               int timeoutMs, const std::string& note, Shot* deciding)
{
    x.pressKey(key);
    bool met = waitForShot(test, timeoutMs, note, deciding);
    x.releaseKey(key);
    return met;
}

bool GameSession::holdKeyUntilScreen(XKey key, GameScreen screen, int timeoutMs,
                                     const std::string& note, Shot* deciding)
{
    return holdKeyUntil(
        key, [&](const Shot& s) { return readScreen(s, view()) == screen; }, timeoutMs, note,
        deciding);
}

int GameSession::holdKeyUntilExit(XKey key, int timeoutMs)
{
    x.pressKey(key);
    int code = -1;
    bool ended = game.waitExit(timeoutMs, &code);
    x.releaseKey(key);
    EXPECT_TRUE(ended) << "the game did not end within " << timeoutMs << " ms";
    return ended ? code : -1;
}

int GameSession::waitForExit(int timeoutMs)
{
    int code = -1;
    bool ended = game.waitExit(timeoutMs, &code);
    EXPECT_TRUE(ended) << "the game did not end within " << timeoutMs << " ms";
    return ended ? code : -1;
}
