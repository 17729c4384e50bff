// rules_support.h: test doubles for the platform calls of the rules, and the common fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "game/game_state.h"

// The tick count that GetTickCount returns.
extern DWORD fakeTickCount;
// Calls of requestQuit and the window of the latest one.
extern int quitRequests;
extern const GameWindow* quitWindow;

// Runs every test in a fresh temporary working directory (the high-score file lands there)
// with the rules' globals as a game start-up leaves them, seeded with 1, and a plain key
// table as the shell's.
class RulesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void hold(int key) { keys[key] = 1; }
    void release(int key) { keys[key] = 0; }
    void releaseAll();
    void update(DWORD elapsedMs) { updateFrame(elapsedMs); }
    // Leaves the skill menu as SPACE would, without running an update.
    void startRunning();
    // Puts head and segments on a straight line going down from (x, y).
    void layOutSnake(float x, float y, int length);

    int keys[256];
    GameWindow window;
    std::string folder;

private:
    std::string previousFolder;
};

// The text of a file, or "<missing>".
std::string fileContent(const std::string& path);
// Writes the exact bytes given.
void writeFile(const std::string& path, const std::string& content);
