// game_state.cpp: the game state record, its globals, random apple cells, level and bonus rules.
#include "game/game_state.h"

GameState gameState;
GameWindow* hostWindow;
int* hostKeys;
float bonusClock;
float bonusShownClock;

// The generator's state: 1 until the start-up seeds it with the tick count.
static unsigned int randomState = 1;

void gameSrand(unsigned int seed)
{
    randomState = seed;
}

// One step of the Windows C runtime's rule; the arithmetic wraps modulo 2^32.
int gameRand()
{
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

Cell randomCell()
{
    Cell cell;
    const int rx = gameRand();
    cell.x = static_cast<float>(rx % 20 - 12) * 0.5f;
    const int ry = gameRand();
    cell.y = static_cast<float>(ry % 20 - 10) * 0.5f;
    return cell;
}

// Completes the level once its apples are eaten: award by skill, next level, perhaps an extra
// snake, the next level's apples, the level-complete screen and the heading reset to up.
void GameState::checkLevelComplete()
{
    if (applesEaten != applesNeeded) {
        return;
    }
    const int finished = level;
    if (skill == SKILL_NORMAL) {
        points += 100 * finished;
    } else if (skill == SKILL_HARD) {
        points += 200 * finished;
    } else if (skill == SKILL_EXPERT) {
        points += 4000 * finished;
    }
    level = finished + 1;
    if ((finished + 1) % 3 == 0) {
        snakes += 1;
    }
    applesEaten = 0;
    playing = false;
    applesNeeded = 5 * finished * (finished + 1) + 5;
    levelDone = true;
    snake.direction = DIR_UP;
}

// The bonus apple waits 10 s of playing time, then shows for 3 s and moves to its next cell.
void GameState::updateBonusApple(float elapsedMs)
{
    const float dt = elapsedMs * 0.001f;
    bonusClock = bonusClock + dt;
    if (bonusClock < 10.0f) {
        bonusVisible = false;
        return;
    }
    bonusShownClock = bonusShownClock + dt;
    bonusVisible = true;
    if (bonusShownClock < 3.0f) {
        return;
    }
    bonusVisible = false;
    bonusShownClock = 0.0f;
    bonusClock = 0.0f;
    const Cell cell = randomCell();
    bonusX = cell.x;
    bonusY = cell.y;
}

void resetGameState()
{
    gameState.skill = SKILL_EASY;
    gameState.playing = false;
    const Cell apple = randomCell();
    gameState.appleX = apple.x;
    gameState.appleY = apple.y;
    const Cell bonus = randomCell();
    gameState.bonusX = bonus.x;
    gameState.bonusY = bonus.y;
    gameState.applesEaten = 0;
    gameState.level = 1;
    gameState.applesNeeded = 5;
    gameState.snakes = 5;
    gameState.points = 0;
    gameState.startInterval = 0.25f;
    gameState.skillMenu = true;
    gameState.dead = false;
    gameState.paused = false;
    gameState.bonusVisible = false;
    gameState.levelDone = false;
}
