// rules_bench.cpp: the cost of one updateFrame, collision test included, by snake length.
//
// The snake runs (no screen up) and lies along a serpentine inside the border, with more than
// five steps taken so that the body test runs over every segment. Each iteration advances the
// tick count by 1 ms, too little for a step: the state stays the same from one update to the
// next, and every update does the full work of a running frame without a step. The stepping
// update is measured apart: there each update moves the snake one cell along its row.
#include <benchmark/benchmark.h>

#include "game/game_state.h"

#include <algorithm>
#include <iterator>

// ---------------------------------------------------------------- platform doubles

namespace {
DWORD fakeTickCount = 100000;
int keys[256];
GameWindow window;
}  // namespace

DWORD GetTickCount(void)
{
    return fakeTickCount;
}

void requestQuit(const GameWindow&)
{
}

namespace {

// A running game on skill Easy, apples off the snake's way, no bonus apple.
void startRunningGame(int length)
{
    std::fill(std::begin(keys), std::end(keys), 0);
    hostKeys = keys;
    hostWindow = &window;
    gameState = GameState();
    gameState.skill = SKILL_EASY;
    gameState.playing = true;
    gameState.appleX = 4.5f;
    gameState.appleY = 5.5f;
    gameState.bonusX = 4.0f;
    gameState.bonusY = 5.5f;
    gameState.level = 1;
    gameState.applesNeeded = 5;
    gameState.snakes = 5;
    gameState.startInterval = 0.25f;
    gameSrand(1);
    bonusClock = 0.0f;
    bonusShownClock = 0.0f;
    moveClock = 0.0f;
    fpsFrames = 0.0f;
    fpsLastTime = 0.0f;
    fpsValue = 0.0f;
    const Vec3 origin = {0.0f, 0.0f, 0.0f};
    snake.init(DIR_RIGHT, 0.25f, origin, 0.25f);
    // Serpentine from the lower left, head leading to the right on row y = -5.5 + 0.5 * rows.
    const int perRow = 23;
    auto cell = [&](int k) {
        int row = k / perRow, column = k % perRow;
        float x = row % 2 == 0 ? -6.5f + 0.5f * column : 4.5f - 0.5f * column;
        return Vec3{x, -5.5f + 0.5f * row, 0.0f};
    };
    // The head goes on a row of its own above the body, heading right from the left wall,
    // with room for 20 steps.
    snake.head = Vec3{-6.0f, 5.0f, 0.0f};
    for (int i = 0; i < length; ++i) snake.body[i] = cell(length - 1 - i);
    snake.length = length;
    snake.stepsTaken = 6;
}

// One running update without a step.
void BM_UpdateFrame(benchmark::State& state)
{
    const int length = static_cast<int>(state.range(0));
    startRunningGame(length);
    snake.stepInterval = 1.0e9f;  // never steps
    for (auto _ : state) {
        fakeTickCount += 1;
        updateFrame(1);
        benchmark::ClobberMemory();
    }
    if (!gameState.playing || snake.length != length) state.SkipWithError("the snake died");
}
BENCHMARK(BM_UpdateFrame)->Arg(3)->Arg(50)->Arg(100);

// One running update with a step: every update moves the whole body one cell. Before the
// head reaches the right wall the snake and the state are copied back from the start (about
// 2.5 KB every 18 updates, timed with them: pausing the clock would cost more than that).
void BM_UpdateFrameWithStep(benchmark::State& state)
{
    const int length = static_cast<int>(state.range(0));
    startRunningGame(length);
    const Snake startSnake = snake;
    const GameState startState = gameState;
    int steps = 0;
    for (auto _ : state) {
        if (steps == 18) {
            snake = startSnake;
            gameState = startState;
            steps = 0;
        }
        fakeTickCount += 250;
        updateFrame(250);
        ++steps;
        benchmark::ClobberMemory();
    }
    if (!gameState.playing) state.SkipWithError("the snake died");
}
BENCHMARK(BM_UpdateFrameWithStep)->Arg(3)->Arg(50)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
