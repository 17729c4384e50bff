// rules_fuzz.cpp: the frame update on arbitrary sequences of key changes and elapsed times,
// starting from every screen. After every update the rules' invariants must hold; reads and
// writes outside the key table and the snake's tables are AddressSanitizer's to catch.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"

namespace {

// The keys the game reads; most key changes pick one of them, the rest any code 0 to 255.
const int gameKeys[] = {VK_SPACE, VK_ESCAPE, VK_F1, VK_UP, VK_DOWN,
                        VK_LEFT,  VK_RIGHT,  '1',   '2',   '3'};
const int gameKeyCount = sizeof gameKeys / sizeof gameKeys[0];

// Screens an input can start from: one flag, or two of them together as some sequences leave.
enum StartScreen {
    START_SKILL_MENU,
    START_RUNNING,
    START_PAUSED,
    START_DEAD,
    START_GAME_OVER,
    START_LEVEL_DONE,
    START_PAUSED_AND_DEAD,
    START_PAUSED_AND_LEVEL_DONE,
    START_LEVEL_DONE_AND_DEAD,
    START_PAUSED_AND_SKILL_MENU,
    START_COUNT
};

const float skillIntervals[] = {0.25f, 0.1f, 0.05f, 0.03f};

// Cells of the field in a serpentine order: neighbours in the list are neighbours on the grid,
// so any run of it is a snake the rules could have made.
std::vector<Vec3> serpentine()
{
    std::vector<Vec3> cells;
    int row = 0;
    for (float y = 5.5f; y >= -5.5f; y -= 0.5f, ++row) {
        for (int i = 0; i < 23; ++i) {
            const int column = (row % 2 == 0) ? i : 22 - i;
            cells.push_back(Vec3{-6.5f + 0.5f * static_cast<float>(column), y, 0.0f});
        }
    }
    return cells;
}

// The byte a bool is stored in, read without assuming it holds 0 or 1.
unsigned rawFlag(const bool& flag)
{
    unsigned char byte;
    std::memcpy(&byte, &flag, 1);
    return byte;
}

bool onHalfGrid(float v)
{
    const float doubled = v * 2.0f;
    return doubled == static_cast<float>(static_cast<long>(doubled));
}

bool insideField(const Vec3& p)
{
    return p.x >= -7.0f && p.x <= 5.0f && p.y >= -6.0f && p.y <= 6.0f;
}

bool parked(const Vec3& p)
{
    return p.x == 100.0f && p.y == 100.0f && p.z == 0.0f;
}

[[noreturn]] void broken(const char* invariant, int update)
{
    std::fprintf(stderr,
                 "rules fuzz: after update %d: %s\n"
                 "  flags playing %u dead %u levelDone %u skillMenu %u paused %u bonus %u\n"
                 "  length %d stepsTaken %d direction %d head (%g, %g, %g)\n"
                 "  skill %d level %d applesEaten %d applesNeeded %d snakes %d points %d\n",
                 update, invariant, rawFlag(gameState.playing), rawFlag(gameState.dead),
                 rawFlag(gameState.levelDone), rawFlag(gameState.skillMenu),
                 rawFlag(gameState.paused), rawFlag(gameState.bonusVisible), snake.length,
                 snake.stepsTaken, snake.direction, snake.head.x, snake.head.y, snake.head.z,
                 gameState.skill, gameState.level, gameState.applesEaten,
                 gameState.applesNeeded, gameState.snakes, gameState.points);
    std::abort();
}

// The invariants of the rules, as they must hold at the end of every update.
void checkInvariants(int update)
{
    const bool* flags[] = {&gameState.playing,   &gameState.dead,         &gameState.levelDone,
                           &gameState.skillMenu, &gameState.bonusVisible, &gameState.paused};
    for (const bool* flag : flags) {
        if (rawFlag(*flag) > 1) {
            broken("a flag holds neither 0 nor 1", update);
        }
    }
    if (gameState.playing && (gameState.dead || gameState.levelDone || gameState.skillMenu ||
                              gameState.paused)) {
        broken("playing together with a screen flag", update);
    }
    if (snake.length < 0 || snake.length > SNAKE_MAX_SEGMENTS) {
        broken("length outside 0..100", update);
    }
    if (gameState.applesEaten < 0 || gameState.applesEaten > gameState.applesNeeded) {
        broken("applesEaten outside 0..applesNeeded", update);
    }
    if (gameState.skill < SKILL_EASY || gameState.skill > SKILL_EXPERT) {
        broken("skill outside 1..4", update);
    }
    if (snake.direction < DIR_UP || snake.direction > DIR_RIGHT) {
        broken("direction outside 1..4", update);
    }
    const Vec3& head = snake.head;
    if (!onHalfGrid(head.x) || !onHalfGrid(head.y) || head.z != 0.0f || !insideField(head)) {
        broken("head off the 0.5 grid, off the plane or beyond the border", update);
    }
    for (int i = 0; i < snake.length; ++i) {
        const Vec3& s = snake.body[i];
        if (parked(s)) {
            continue;
        }
        if (!onHalfGrid(s.x) || !onHalfGrid(s.y) || s.z != 0.0f || !insideField(s)) {
            broken("a live segment off the 0.5 grid, off the plane or beyond the border", update);
        }
    }
    const float cellsX[] = {gameState.appleX, gameState.bonusX};
    const float cellsY[] = {gameState.appleY, gameState.bonusY};
    for (int i = 0; i < 2; ++i) {
        if (!onHalfGrid(cellsX[i]) || !onHalfGrid(cellsY[i]) || cellsX[i] < -6.0f ||
            cellsX[i] > 3.5f || cellsY[i] < -5.0f || cellsY[i] > 4.5f) {
            broken("an apple off its grid", update);
        }
    }
}

// Puts the rules into a state the game can reach, on the chosen screen.
void setUpStart(FuzzedDataProvider& in, int* keys)
{
    static const std::vector<Vec3> cells = serpentine();

    std::memset(&snake.body, 0, sizeof snake.body);
    std::memset(&snake.prevBody, 0, sizeof snake.prevBody);
    gameSrand(in.ConsumeIntegral<uint32_t>());
    const Vec3 origin = {0.0f, 0.0f, 0.0f};
    snake.init(DIR_UP, 0.25f, origin, 0.25f);

    gameState = GameState{};
    gameState.startInterval = 0.25f;
    gameState.skill = in.ConsumeIntegralInRange<int>(SKILL_EASY, SKILL_EXPERT);
    snake.stepInterval = skillIntervals[gameState.skill - 1];
    gameState.level = in.ConsumeIntegralInRange<int>(1, 30);
    gameState.applesNeeded = 5 * (gameState.level - 1) * gameState.level + 5;
    gameState.applesEaten = in.ConsumeIntegralInRange<int>(0, gameState.applesNeeded);
    gameState.snakes = in.ConsumeIntegralInRange<int>(0, 9);
    gameState.points = in.ConsumeIntegralInRange<int>(0, 1000000);
    highScore = in.ConsumeIntegralInRange<int>(0, 1000000);

    // The snake: either fresh at the centre, or any run of the serpentine.
    if (in.ConsumeBool()) {
        snake.length = in.ConsumeIntegralInRange<int>(3, SNAKE_MAX_SEGMENTS);
        const size_t start =
            in.ConsumeIntegralInRange<size_t>(0, cells.size() - 1 - snake.length);
        snake.head = cells[start];
        for (int i = 0; i < snake.length; ++i) {
            snake.body[i] = cells[start + 1 + i];
        }
        snake.stepsTaken = in.ConsumeIntegralInRange<int>(0, 20);
    }
    snake.direction = in.ConsumeIntegralInRange<int>(DIR_UP, DIR_RIGHT);
    moveClock = in.ConsumeFloatingPointInRange<float>(0.0f, 0.3f);

    const Cell apple = randomCell();
    gameState.appleX = apple.x;
    gameState.appleY = apple.y;
    const Cell bonus = randomCell();
    gameState.bonusX = bonus.x;
    gameState.bonusY = bonus.y;
    // Sometimes the apple lies right ahead of the head, where the next step eats it.
    if (in.ConsumeBool()) {
        const float dx[] = {0.0f, 0.0f, -0.5f, 0.5f};
        const float dy[] = {0.5f, -0.5f, 0.0f, 0.0f};
        const float x = snake.head.x + dx[snake.direction - 1];
        const float y = snake.head.y + dy[snake.direction - 1];
        if (x >= -6.0f && x <= 3.5f && y >= -5.0f && y <= 4.5f) {
            gameState.appleX = x;
            gameState.appleY = y;
        }
    }
    bonusClock = in.ConsumeFloatingPointInRange<float>(0.0f, 13.0f);
    bonusShownClock = bonusClock >= 10.0f ? in.ConsumeFloatingPointInRange<float>(0.0f, 3.0f)
                                          : 0.0f;
    gameState.bonusVisible = bonusClock >= 10.0f && bonusShownClock < 3.0f;

    switch (in.ConsumeIntegralInRange<int>(0, START_COUNT - 1)) {
    case START_SKILL_MENU:
        gameState.skillMenu = true;
        break;
    case START_RUNNING:
        gameState.playing = true;
        break;
    case START_PAUSED:
        gameState.paused = true;
        break;
    case START_DEAD:
        gameState.dead = true;
        gameState.snakes = gameState.snakes > 0 ? gameState.snakes : 1;
        break;
    case START_GAME_OVER:
        gameState.dead = true;
        gameState.snakes = 0;
        break;
    case START_LEVEL_DONE:
        gameState.levelDone = true;
        break;
    case START_PAUSED_AND_DEAD:
        gameState.paused = true;
        gameState.dead = true;
        break;
    case START_PAUSED_AND_LEVEL_DONE:
        gameState.paused = true;
        gameState.levelDone = true;
        break;
    case START_LEVEL_DONE_AND_DEAD:
        gameState.levelDone = true;
        gameState.dead = true;
        break;
    case START_PAUSED_AND_SKILL_MENU:
        gameState.paused = true;
        gameState.skillMenu = true;
        break;
    }
    if (gameState.dead || gameState.levelDone) {
        snake.stepsTaken = 0;
        snake.direction = DIR_UP;
    }

    std::memset(keys, 0, 256 * sizeof(int));
    fuzzTickCount = in.ConsumeIntegral<uint32_t>();
    fpsFrames = 0.0f;
    fpsLastTime = 0.0f;
    fpsValue = 0.0f;
}

// One elapsed time: mostly frame-sized, sometimes long, sometimes anything a DWORD holds
// (a tick count that went backwards, hours minimised).
DWORD nextElapsed(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 6:
        return in.ConsumeIntegralInRange<DWORD>(0, 60000);
    case 7:
        return in.ConsumeIntegral<DWORD>();
    default:
        return in.ConsumeIntegralInRange<DWORD>(0, 100);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    enterScratchFolder();
    FuzzedDataProvider in(data, size);
    // On the heap, sized as the shell's table: a read past it is a finding.
    int* keys = new int[256];
    GameWindow window = {};
    window.keyTable = keys;
    hostKeys = keys;
    hostWindow = &window;

    setUpStart(in, keys);
    checkInvariants(0);
    for (int update = 1; in.remaining_bytes() > 0 && update <= 4000; ++update) {
        const int changes = in.ConsumeIntegralInRange<int>(0, 3);
        for (int i = 0; i < changes; ++i) {
            const uint8_t pick = in.ConsumeIntegral<uint8_t>();
            const int key = pick < 3 * gameKeyCount ? gameKeys[pick % gameKeyCount] : pick;
            keys[key] = in.ConsumeBool() ? 1 : 0;
        }
        const DWORD elapsed = nextElapsed(in);
        fuzzTickCount += elapsed;
        updateFrame(elapsed);
        checkInvariants(update);
    }

    hostKeys = nullptr;
    hostWindow = nullptr;
    delete[] keys;
    leaveScratchFolder();
    return 0;
}
