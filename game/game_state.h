// game_state.h: the game's rules - state record, frame update, pickups, high score, start-up.
//
// All of the rules' state lives in the one GameState `gameState` and a few globals beside it.
// The shell calls the hooks of shell/game_window.h: initGame starts a new game on the skill
// menu; updateFrame runs, in a fixed order, the FPS counter, the level check, the keys of every
// screen whose flag is set, the snake's steering and step and the bonus timer while playing,
// and last the collision test; drawFrame (render/) shows the result. Keys are read by level
// from the shell's key table through hostKeys. Nothing here knows about windows or SDL.
#pragma once

#include "game/snake.h"
#include "shell/game_window.h"

// Skills: step interval and level award differ.
enum {
    SKILL_EASY = 1,    // 0.25 s, no award; only the start-up sets it
    SKILL_NORMAL = 2,  // 0.1 s, 100 x level
    SKILL_HARD = 3,    // 0.05 s, 200 x level
    SKILL_EXPERT = 4   // 0.03 s, 4000 x level
};

// Headings of the snake.
enum {
    DIR_UP = 1,
    DIR_DOWN = 2,
    DIR_LEFT = 3,
    DIR_RIGHT = 4
};

class GameState {
public:
    bool playing;          // the snake runs
    bool dead;             // death (or game over when snakes is 0) screen
    bool levelDone;        // level-complete screen
    bool skillMenu;        // skill menu screen
    bool bonusVisible;     // the bonus apple shows and can be eaten
    float appleX;          // the apple's cell
    float appleY;
    float bonusX;          // the bonus apple's cell
    float bonusY;
    int points;            // score of the current game
    int applesNeeded;      // apples the level asks for
    int applesEaten;       // apples eaten in this level
    float startInterval;   // step interval at start-up: 0.25 s
    int skill;             // SKILL_EASY .. SKILL_EXPERT
    int level;             // current level, from 1
    int snakes;            // snakes in reserve
    bool paused;           // pause screen
    GLUquadric* appleSphere;  // quadric both apples are drawn with

    // Completes the level once applesEaten equals applesNeeded: award, next level, extra snake.
    void checkLevelComplete();
    // Runs the bonus apple's 10 s wait and 3 s show on playing time.
    void updateBonusApple(float elapsedMs);
};

// ---------------------------------------------------------------- globals

extern GameState gameState;
extern GameWindow* hostWindow;  // the shell's window, for requestQuit
extern int* hostKeys;           // the shell's key table, 256 entries
extern float bonusClock;        // playing seconds towards the bonus apple's next show
extern float bonusShownClock;   // seconds the bonus apple has been showing

extern float fpsFrames;         // frames since the last refresh of fpsValue
extern float fpsLastTime;       // seconds (of the tick count) of the last refresh
extern float fpsValue;          // frames of the last measuring period, shown on screen

extern int highScore;           // the best score, kept in "Highscore.hsc"

// ---------------------------------------------------------------- random cells

// The game's own generator: the Windows C runtime's rand rule, so placements repeat per seed.
void gameSrand(unsigned int seed);
int gameRand();  // 0 .. 32767

struct Cell {
    float x;
    float y;
};

// A random apple cell: x in -6.0 .. 3.5, y in -5.0 .. 4.5, on the 0.5 grid; x drawn first.
Cell randomCell();

// ---------------------------------------------------------------- new game

// Sets every field of gameState for a new game waiting on the skill menu at Easy: the apple's
// and then the bonus apple's cell from randomCell, level 1, 5 apples to eat, 5 snakes. The
// quadric and the clocks beside the record are left alone.
void resetGameState();

// ---------------------------------------------------------------- update and collisions

// Refreshes fpsValue once more than a second of tick count has passed.
void updateFpsCounter();

// Eats apples, ends the snake at the border or on its own body.
void checkCollisions();

// ---------------------------------------------------------------- high score

// The file's name; it lies in the working directory.
extern const char highScoreFileName[];  // "Highscore.hsc"

// Reads the best score; keeps highScore when the file holds no number or cannot be read.
void loadHighScore();
// Writes highScore as "%d\n"; the previous file survives a failed write.
void saveHighScore();
