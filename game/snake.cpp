// snake.cpp: the player's snake - placement, heading and stepping (drawing is the scene's).
#include "game/snake.h"

#include "game/game_state.h"

Snake snake;
float moveClock;

// Places the snake at startPos heading `direction`, with three segments and a fresh quadric.
// The quadric of an earlier placement (a previous window) is released first.
void Snake::init(int direction, float radius, const Vec3& startPos, float stepInterval)
{
    this->stepInterval = stepInterval;
    this->direction = direction;
    this->radius = radius;
    head = startPos;
    body[0].x = 0.0f;
    body[0].y = startPos.y - 2.0f * radius;
    body[0].z = 0.0f;
    length = 3;
    stepsTaken = 0;
    if (sphere != nullptr) {
        gluDeleteQuadric(sphere);
    }
    sphere = gluNewQuadric();
    if (sphere != nullptr) {
        gluQuadricNormals(sphere, GLU_SMOOTH);
        gluQuadricTexture(sphere, GL_FALSE);
    }
}

// Takes the heading as given; refusing a reversal is the frame update's business.
void Snake::setDirection(int direction)
{
    this->direction = direction;
}

// Adds the elapsed time and makes one step once moveClock reaches the interval. The time
// beyond the interval is dropped, and a long pause still gives only one step.
void Snake::move(float elapsedMs)
{
    for (int i = 0; i < length; ++i) {
        prevBody[i] = body[i];
    }
    moveClock = moveClock + elapsedMs * 0.001f;
    if (moveClock < stepInterval) {
        return;
    }
    stepsTaken += 1;
    moveClock = 0.0f;
    body[0] = head;
    const float step = 2.0f * radius;
    if (direction == DIR_UP) {
        head.y += step;
    } else if (direction == DIR_DOWN) {
        head.y -= step;
    } else if (direction == DIR_LEFT) {
        head.x -= step;
    } else if (direction == DIR_RIGHT) {
        head.x += step;
    }
    for (int i = 1; i < length; ++i) {
        body[i] = prevBody[i - 1];
    }
}
