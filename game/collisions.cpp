// collisions.cpp: what the head's cell does - apples, the bonus apple, the border, the body.
#include <cmath>

#include "game/game_state.h"

// Distance in the playfield plane from the head to a cell; z plays no part.
static float distanceFromHead(float x, float y)
{
    const float dx = snake.head.x - x;
    const float dy = snake.head.y - y;
    return std::sqrt(dx * dx + dy * dy);
}

// Marks the snake as lost: the game stops and the death screen comes up.
static void loseSnake()
{
    gameState.playing = false;
    gameState.dead = true;
    snake.stepsTaken = 0;
    snake.direction = DIR_UP;
}

// Runs at the end of every update, whatever screen is up.
void checkCollisions()
{
    const float toApple = distanceFromHead(gameState.appleX, gameState.appleY);
    const float toBonus = distanceFromHead(gameState.bonusX, gameState.bonusY);

    if (toApple <= snake.radius) {
        const Cell cell = randomCell();
        gameState.appleX = cell.x;
        gameState.appleY = cell.y;
        gameState.points += 10;
        gameState.applesEaten += 1;
        // The body tables are full at SNAKE_MAX_SEGMENTS: the apple still counts, the snake
        // just stops growing.
        if (snake.length < SNAKE_MAX_SEGMENTS) {
            snake.length += 1;
            Vec3& added = snake.body[snake.length - 1];
            added.x = 100.0f;  // parked out of sight until the next step
            added.y = 100.0f;
        }
    }

    if (toBonus <= snake.radius && gameState.bonusVisible) {
        const Cell cell = randomCell();
        gameState.bonusX = cell.x;
        gameState.bonusY = cell.y;
        gameState.bonusVisible = false;
        bonusClock = 0.0f;
        bonusShownClock = 0.0f;
        gameState.points += 25 * gameState.level;
    }

    const Vec3& head = snake.head;
    if (head.x <= -7.0f || head.x >= 5.0f || head.y <= -6.0f || head.y >= 6.0f) {
        loseSnake();
        return;
    }

    if (snake.stepsTaken > 5) {
        bool onBody = false;
        for (int i = 0; i < snake.length - 1; ++i) {
            const Vec3& segment = snake.body[i];
            if (head.x == segment.x && head.y == segment.y && head.z == segment.z) {
                onBody = true;
            }
        }
        if (onBody) {
            loseSnake();
        }
    }
}
