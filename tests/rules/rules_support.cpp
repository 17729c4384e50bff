// rules_support.cpp: the platform doubles and the fixture that resets the rules' globals.
#include "rules_support.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

DWORD fakeTickCount;
int quitRequests;
const GameWindow* quitWindow;

DWORD GetTickCount(void)
{
    return fakeTickCount;
}

void requestQuit(const GameWindow& window)
{
    ++quitRequests;
    quitWindow = &window;
}

void RulesTest::SetUp()
{
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previousFolder = cwd;
    char pattern[] = "/tmp/rules_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    ASSERT_EQ(chdir(folder.c_str()), 0);

    std::fill(std::begin(keys), std::end(keys), 0);
    window = GameWindow();
    hostKeys = keys;
    hostWindow = &window;
    quitRequests = 0;
    quitWindow = nullptr;

    // The state of a game start-up, with the apples far off the snake's usual path and the
    // generator seeded with 1 afterwards.
    resetGameState();
    gameState.appleX = -6.0f;
    gameState.appleY = -5.0f;
    gameState.bonusX = 3.5f;
    gameState.bonusY = -5.0f;
    gameSrand(1);
    highScore = 0;
    bonusClock = 0.0f;
    bonusShownClock = 0.0f;
    moveClock = 0.0f;
    fakeTickCount = 100000;
    fpsFrames = 0.0f;
    fpsLastTime = 0.0f;
    fpsValue = 0.0f;
    std::fill(std::begin(snake.body), std::end(snake.body), Vec3{0.0f, 0.0f, 0.0f});
    std::fill(std::begin(snake.prevBody), std::end(snake.prevBody), Vec3{0.0f, 0.0f, 0.0f});
    const Vec3 origin = {0.0f, 0.0f, 0.0f};
    snake.init(DIR_UP, 0.25f, origin, gameState.startInterval);
}

void RulesTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    if (!previousFolder.empty()) {
        EXPECT_EQ(chdir(previousFolder.c_str()), 0);
    }
    std::filesystem::remove_all(folder, ignored);
}

void RulesTest::releaseAll()
{
    std::fill(std::begin(keys), std::end(keys), 0);
}

void RulesTest::startRunning()
{
    gameState.skillMenu = false;
    gameState.playing = true;
}

void RulesTest::layOutSnake(float x, float y, int length)
{
    snake.head = Vec3{x, y, 0.0f};
    for (int i = 0; i < length; ++i) {
        snake.body[i] = Vec3{x, y - 0.5f * static_cast<float>(i + 1), 0.0f};
    }
    snake.length = length;
}

std::string fileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}
