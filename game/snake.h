// snake.h: the player's snake - placement, heading, stepping on the 0.5 grid, drawing.
//
// There is one snake, the global `snake`, zero until Snake::init places it. Its fields are
// public: the frame update and the collision test write them directly (growth, deaths, resets,
// the skill's step interval). Snake::move makes at most one step per call, once the module's
// moveClock reaches stepInterval; the time beyond it is dropped. Snake::draw is the scene's.
#pragma once

#include "shell/platform.h"

// A position in playfield units: x right, y up, z towards the viewer.
struct Vec3 {
    float x;
    float y;
    float z;
};

// Room in the body tables; the snake never grows past it.
enum { SNAKE_MAX_SEGMENTS = 100 };

class Snake {
public:
    float stepInterval;                  // seconds between two steps
    int direction;                       // DIR_UP, DIR_DOWN, DIR_LEFT or DIR_RIGHT
    float radius;                        // sphere radius; one step is 2 * radius
    int length;                          // body segments behind the head (head not counted)
    int stepsTaken;                      // steps since the snake was last placed or reset
    Vec3 head;                           // position of the head
    Vec3 body[SNAKE_MAX_SEGMENTS];       // body[0] right behind the head, body[length-1] the tail
    Vec3 prevBody[SNAKE_MAX_SEGMENTS];   // the live segments at the start of the latest move
    GLUquadric* sphere;                  // quadric for head and segments; owned by the snake

    // Places the snake: head at startPos, body[0] one step below, length 3, a new quadric.
    void init(int direction, float radius, const Vec3& startPos, float stepInterval);
    // Takes a new heading, without any test; it acts at the next step.
    void setDirection(int direction);
    // Adds the elapsed time to moveClock and makes at most one step when it reaches stepInterval.
    void move(float elapsedMs);
    // Draws the white head and the red segments (render/scene.cpp).
    void draw();
};

// The one snake.
extern Snake snake;

// Seconds accumulated towards the next step; only Snake::move touches it.
extern float moveClock;
