// update.cpp: the per-frame update - FPS counter, level check, the screens' keys, the running
// snake and the bonus timer, and the collision test, in that fixed order.
#include "game/game_state.h"

float fpsFrames;
float fpsLastTime;
float fpsValue;

// A key acts while its entry in the shell's key table is exactly 1.
static bool keyHeld(int virtualKey)
{
    return hostKeys != nullptr && hostKeys[virtualKey] == 1;
}

// Asks the shell to end the program; the rest of this update still runs.
static void quitGame()
{
    if (hostWindow != nullptr) {
        requestQuit(*hostWindow);
    }
}

// Puts the head and the first `segments` segments back at the origin.
static void gatherSnakeAtCentre(int segments)
{
    for (int i = 0; i < segments; ++i) {
        snake.body[i].x = 0.0f;
        snake.body[i].y = 0.0f;
        snake.body[i].z = 0.0f;
    }
    snake.head.x = 0.0f;
    snake.head.y = 0.0f;
    snake.head.z = 0.0f;
}

// Counts frames and publishes the count once more than a second of tick count has passed.
// When the tick count has wrapped past 2^32 - 1 a new measuring period starts at once.
void updateFpsCounter()
{
    const float now = static_cast<float>(GetTickCount()) * 0.001f;
    fpsFrames = fpsFrames + 1.0f;
    if (now < fpsLastTime) {
        fpsLastTime = now;
        fpsFrames = 0.0f;
        return;
    }
    if (now - fpsLastTime > 1.0f) {
        fpsLastTime = now;
        fpsValue = fpsFrames;
        fpsFrames = 0.0f;
    }
}

// Level-complete screen: SPACE starts the next level with the snake back at the centre.
static void levelCompleteScreen()
{
    if (!gameState.levelDone || !keyHeld(VK_SPACE)) {
        return;
    }
    gatherSnakeAtCentre(snake.length);
    snake.length = 3;
    snake.stepsTaken = 0;
    gameState.levelDone = false;
    gameState.playing = true;
}

// Pause screen: SPACE resumes; F1 raises and saves the high score and quits.
static void pauseScreen()
{
    if (!gameState.paused) {
        return;
    }
    if (keyHeld(VK_SPACE)) {
        gameState.paused = false;
        gameState.playing = true;
    }
    if (keyHeld(VK_F1)) {
        if (gameState.points > highScore) {
            highScore = gameState.points;
        }
        saveHighScore();
        quitGame();
    }
}

// Death and game-over screen: the snake lies still with three segments; '1' starts a new game,
// '2' saves the high score and quits, SPACE continues while snakes are left.
static void deathScreen()
{
    if (!gameState.dead) {
        return;
    }
    if (gameState.points > highScore) {
        highScore = gameState.points;
    }
    gameState.playing = false;
    snake.length = 3;
    if (keyHeld('1')) {
        gameState.skillMenu = true;
        gameState.dead = false;
        gameState.level = 1;
        gameState.points = 0;
        gameState.applesEaten = 0;
        gameState.applesNeeded = 5;
        gatherSnakeAtCentre(3);
    }
    if (keyHeld('2')) {
        saveHighScore();
        quitGame();
    }
    if (gameState.snakes > 0 && keyHeld(VK_SPACE)) {
        gameState.snakes -= 1;
        gatherSnakeAtCentre(snake.length);
        gameState.dead = false;
        gameState.playing = true;
    }
}

// Skill menu: SPACE starts; the digits choose a skill, the last one held deciding.
static void skillMenuScreen()
{
    if (!gameState.skillMenu) {
        return;
    }
    if (keyHeld(VK_SPACE)) {
        gameState.skillMenu = false;
        gameState.playing = true;
    }
    if (keyHeld('1')) {
        gameState.skill = SKILL_NORMAL;
        snake.stepInterval = 0.1f;
        gameState.snakes = 5;
    }
    if (keyHeld('2')) {
        gameState.skill = SKILL_HARD;
        snake.stepInterval = 0.05f;
        gameState.snakes = 5;
    }
    if (keyHeld('3')) {
        gameState.skill = SKILL_EXPERT;
        snake.stepInterval = 0.03f;
        gameState.snakes = 5;
    }
}

// Running: steering (no direct reversal, no steering with a crossing key held), ESC to pause,
// then the snake's step and the bonus timer - also in the update that has just paused.
static void runningScreen(DWORD elapsedMs)
{
    if (!gameState.playing) {
        return;
    }
    const float m = static_cast<float>(elapsedMs);
    const bool up = keyHeld(VK_UP);
    const bool down = keyHeld(VK_DOWN);
    const bool left = keyHeld(VK_LEFT);
    const bool right = keyHeld(VK_RIGHT);
    if (up && !left && !right && snake.direction != DIR_DOWN) {
        snake.setDirection(DIR_UP);
    }
    if (down && !left && !right && snake.direction != DIR_UP) {
        snake.setDirection(DIR_DOWN);
    }
    if (left && !up && !down && snake.direction != DIR_RIGHT) {
        snake.setDirection(DIR_LEFT);
    }
    if (right && !up && !down && snake.direction != DIR_LEFT) {
        snake.setDirection(DIR_RIGHT);
    }
    if (keyHeld(VK_ESCAPE)) {
        gameState.playing = false;
        gameState.paused = true;
    }
    snake.move(m);
    gameState.updateBonusApple(m);
}

// The frame update: every step tests the state the steps before it left, so one update can
// pass through several screens.
void updateFrame(DWORD elapsedMs)
{
    updateFpsCounter();
    gameState.checkLevelComplete();
    levelCompleteScreen();
    pauseScreen();
    deathScreen();
    skillMenuScreen();
    runningScreen(elapsedMs);
    checkCollisions();
}
