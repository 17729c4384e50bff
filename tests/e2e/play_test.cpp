// play_test.cpp: playing the game with the keyboard: the snake's climb without steering, a bot
// that eats apples and quits from the pause screen, and the death and game-over screens.
#include "game_session.h"

#include <X11/keysym.h>

#include <cmath>
#include <cstdlib>

namespace {

using Play = GameSession;

// A step of the snake, as seen between two shots.
enum Heading { UP, DOWN, LEFT, RIGHT, NONE };

Cell stepFrom(const Cell& cell, Heading heading)
{
    switch (heading) {
    case UP: return Cell{cell.x, cell.y + 0.5f};
    case DOWN: return Cell{cell.x, cell.y - 0.5f};
    case LEFT: return Cell{cell.x - 0.5f, cell.y};
    case RIGHT: return Cell{cell.x + 0.5f, cell.y};
    case NONE: break;
    }
    return cell;
}

Heading headingOf(const Cell& from, const Cell& to)
{
    for (Heading h : {UP, DOWN, LEFT, RIGHT}) {
        if (stepFrom(from, h) == to) return h;
    }
    return NONE;
}

Heading reverseOf(Heading h)
{
    switch (h) {
    case UP: return DOWN;
    case DOWN: return UP;
    case LEFT: return RIGHT;
    case RIGHT: return LEFT;
    case NONE: break;
    }
    return NONE;
}

XKey keyOf(Heading h)
{
    switch (h) {
    case UP: return XK_Up;
    case DOWN: return XK_Down;
    case LEFT: return XK_Left;
    case RIGHT: return XK_Right;
    case NONE: break;
    }
    return 0;  // no key
}

// The head lives on x = -6.5 ... 4.5 and y = -5.5 ... 5.5.
bool insideBorder(const Cell& c)
{
    return c.x > -7 && c.x < 5 && c.y > -6 && c.y < 6;
}

bool contains(const std::vector<Cell>& cells, const Cell& c)
{
    for (const Cell& d : cells) {
        if (d == c) return true;
    }
    return false;
}

// The bot's choice at a new cell: the heading, not back onto the body, that brings the head
// nearest to the target without leaving the field or running into a segment.
Heading chooseHeading(const Cell& head, Heading current, const Cell& target,
                      const std::vector<Cell>& body)
{
    Heading best = current;
    double bestDistance = 1e9;
    for (Heading h : {current, UP, DOWN, LEFT, RIGHT}) {
        if (h == NONE || h == reverseOf(current)) continue;
        Cell next = stepFrom(head, h);
        if (!insideBorder(next) || contains(body, next)) continue;
        double distance = std::fabs(next.x - target.x) + std::fabs(next.y - target.y);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = h;
        }
    }
    return best;
}

TEST_F(Play, WithoutSteeringTheSnakeClimbsAndIsLostAtTheTopBorder)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(launchWindowed());
    Projection v = view();

    // Follow the head from shot to shot until the death screen shows.
    std::vector<Cell> cells;
    long long timedFrom = 0, deathAt = 0;
    float timedFromY = 0;
    auto follow = [&](const Shot& s) {
        SceneView scene = readScene(s, v);
        if (scene.hasHead && (cells.empty() || cells.back() != scene.head)) {
            cells.push_back(scene.head);
            // The clock starts at the first cell seen from (0, 1) on: the steps before may
            // still carry the start's key hold.
            if (scene.head.x == 0 && scene.head.y >= 1 && timedFrom == 0) {
                timedFrom = nowMs();
                timedFromY = scene.head.y;
            }
        }
        if (scene.screen == GameScreen::Death) {
            deathAt = nowMs();
            return true;
        }
        return false;
    };
    ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "started"));
    ASSERT_TRUE(waitForShot(follow, 15000, "lost")) << "the snake was not lost within 15 s";

    // Straight up, whole cells at a time, from the centre to the border line at y = 6. A
    // loaded machine may take a screenshot slower than a step, so a shot can miss a cell;
    // the timing below holds the pace to one step per quarter second.
    ASSERT_GE(cells.size(), 2u);
    EXPECT_TRUE(cells.front() == (Cell{0, 0}) || cells.front() == (Cell{0, 0.5f}))
        << "first seen at " << describe(cells.front());
    for (size_t i = 1; i < cells.size(); ++i) {
        float rise = cells[i].y - cells[i - 1].y;
        EXPECT_TRUE(cells[i].x == 0 && rise > 0 && std::fmod(rise, 0.5f) == 0)
            << "step " << i << ": " << describe(cells[i - 1]) << " to " << describe(cells[i]);
    }
    EXPECT_EQ(cells.back(), (Cell{0, 6})) << "lost at " << describe(cells.back());

    // At Easy a step takes a quarter second (a little more: a step waits for a frame).
    ASSERT_NE(timedFrom, 0);
    ASSERT_LT(timedFromY, 6.0f);
    double steps = (6.0 - timedFromY) / 0.5;
    double seconds = (deathAt - timedFrom) / 1000.0;
    EXPECT_GE(seconds, steps * 0.25 - 0.35) << "faster than a step per quarter second";
    EXPECT_LE(seconds, steps * 0.25 * 3 + 0.5) << "far slower than a step per quarter second";

    // SPACE continues with the next snake, climbing from the centre again.
    EXPECT_TRUE(holdKeyUntil(
        XK_space,
        [&](const Shot& s) {
            SceneView scene = readScene(s, v);
            return scene.screen == GameScreen::Running && scene.hasHead && scene.head.x == 0 &&
                   scene.head.y <= 2.0f;
        },
        5000, "next-snake"))
        << "SPACE did not continue with a new snake from the centre";

    x.closeAsWindowManager(gameWindow);
    EXPECT_EQ(waitForExit(), 0);
}

TEST_F(Play, ABotEatsApplesThenQuitsFromThePauseScreenAndTheScoreIsSaved)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(launchWindowed());
    Projection v = view();
    ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "started"));

    // The bot holds the arrow key of the heading it wants and changes keys only when it has
    // seen the head step: one turn per step, so it never turns the snake back on itself.
    int apples = 0, bonuses = 0, losses = 0;
    bool havePrevious = false;
    SceneView previous;
    Heading heading = UP;
    XKey held = 0;
    auto hold = [&](XKey key) {
        if (key == held) return;
        if (held != 0) x.releaseKey(held);
        if (key != 0) x.pressKey(key);
        held = key;
    };
    long long giveUpAt = nowMs() + 90000;
    while (apples < 3 && nowMs() < giveUpAt) {
        Shot shot = shoot();
        if (shot.empty()) {
            sleepMs(20);
            continue;
        }
        SceneView scene = readScene(shot, v);
        if (scene.screen == GameScreen::Death) {
            // Lost a snake: go on with the next one.
            save(shot, "bot-lost");
            hold(0);
            ++losses;
            ASSERT_LE(losses, 4) << "the bot keeps losing snakes";
            ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "bot-continues"));
            havePrevious = false;
            heading = UP;
            continue;
        }
        if (scene.screen != GameScreen::Running || !scene.hasHead || !scene.hasApple) {
            sleepMs(10);
            continue;
        }
        if (havePrevious && scene.head != previous.head) {
            // An apple is eaten when the head reaches its cell and it is put elsewhere.
            if (scene.head == previous.apple && scene.apple != previous.apple) {
                ++apples;
                save(shot, "apple-" + std::to_string(apples));
            }
            if (previous.hasBonus && scene.head == previous.bonus &&
                (!scene.hasBonus || scene.bonus != previous.bonus)) {
                ++bonuses;
                save(shot, "bonus-" + std::to_string(bonuses));
            }
            // Turn only after a single step seen: after a missed one the heading is unsure.
            Heading moved = headingOf(previous.head, scene.head);
            if (moved != NONE) {
                heading = moved;
                Heading wanted = chooseHeading(scene.head, heading, scene.apple, scene.body);
                hold(wanted == heading ? 0 : keyOf(wanted));
            }
        }
        previous = scene;
        havePrevious = true;
        sleepMs(10);
    }
    hold(0);
    ASSERT_GE(apples, 3) << "the bot ate " << apples << " apples in 90 s";

    ASSERT_TRUE(holdKeyUntilScreen(XK_Escape, GameScreen::Pause, 5000, "paused"));
    EXPECT_EQ(holdKeyUntilExit(XK_F1), 0);

    std::string saved;
    ASSERT_TRUE(readFile(scorePath(), &saved)) << "no Highscore.hsc after F1";
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.back(), '\n') << "the score ends with a line end";
    int points = std::atoi(saved.c_str());
    EXPECT_EQ(saved, std::to_string(points) + "\n");
    // 10 per apple and 25 per bonus apple at level 1. An apple put straight back under the
    // head is eaten unseen (one chance in 400 per apple): that adds 10 more.
    int expected = 10 * apples + 25 * bonuses;
    EXPECT_TRUE(points == expected || points == expected + 10)
        << "saved " << points << " points; the bot saw " << apples << " apples and " << bonuses
        << " bonus apples eaten";
}

TEST_F(Play, GameOverAndTheTwoExitsOfTheDeathScreen)
{
    // A best score below anything a game scores: the death screen raises it to the points.
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));
    ASSERT_NO_FATAL_FAILURE(seedScoreFile("-5\n"));
    Shot menu;
    ASSERT_NO_FATAL_FAILURE(launchWindowed(&menu));
    Projection v = view();
    Box skillLine = blockRow(v, -1);
    int easyEdge = inkEdge(menu, v, skillLine);

    // At Easy the snake climbs to the border in three seconds: lose all six. Each SPACE is let
    // go as soon as the snake runs again; at a quicker skill a loaded machine could still hold
    // it when the next snake is lost, and so spend two snakes at once.
    ASSERT_TRUE(holdKeyUntil(
        XK_space, [&](const Shot& s) { return readScreen(s, v) != GameScreen::SkillMenu; }, 5000,
        "started"));
    Box firstLine = blockRow(v, 2);
    int continueEdge = -1, gameOverEdge = -1;
    for (int life = 1; life <= 6; ++life) {
        Shot death;
        ASSERT_TRUE(waitForScreen(GameScreen::Death, 10000, "lost-" + std::to_string(life), &death))
            << "snake " << life << " was not lost";
        int edge = inkEdge(death, v, firstLine);
        if (life == 1) continueEdge = edge;
        if (life == 6) gameOverEdge = edge;
        if (life < 6) {
            EXPECT_EQ(edge, continueEdge) << "\"Press SPACE to continue\" expected";
            ASSERT_TRUE(holdKeyUntil(
                XK_space, [&](const Shot& s) { return readScreen(s, v) != GameScreen::Death; },
                5000, "continued-" + std::to_string(life)));
        }
    }
    // "GAME OVER!" is shorter than "Press SPACE to continue".
    EXPECT_LT(gameOverEdge, continueEdge - 40);

    // Game over: SPACE does nothing any more, however long it is held.
    x.pressKey(XK_space);
    long long until = nowMs() + 800;
    while (nowMs() < until) {
        Shot s = shoot();
        EXPECT_EQ(readScreen(s, v), GameScreen::Death) << "SPACE left the game-over screen";
        sleepMs(30);
    }
    x.releaseKey(XK_space);

    // '1': a new game on the skill menu, the snake back at the centre, and the '1' still held
    // there chooses Normal.
    Shot newGame;
    ASSERT_TRUE(holdKeyUntilScreen(XK_1, GameScreen::SkillMenu, 5000, "new-game", &newGame));
    int newGameEdge = inkEdge(newGame, v, skillLine);
    EXPECT_NE(newGameEdge, easyEdge) << "the new game's skill line still names Easy";
    SceneView fresh = readScene(newGame, v);
    EXPECT_TRUE(fresh.hasHead && fresh.head == (Cell{0, 0})) << "the snake is not at the centre";

    // The skill menu names the skill chosen: '3' Expert, then '1' Normal again, which is the
    // line the new game showed.
    int expertEdge = -1, normalEdge = -1;
    ASSERT_TRUE(holdKeyUntil(
        XK_3,
        [&](const Shot& s) {
            expertEdge = inkEdge(s, v, skillLine);
            return expertEdge != newGameEdge;
        },
        5000, "expert"))
        << "'3' did not change the skill line";
    ASSERT_TRUE(holdKeyUntil(
        XK_1,
        [&](const Shot& s) {
            normalEdge = inkEdge(s, v, skillLine);
            return normalEdge != expertEdge;
        },
        5000, "normal"))
        << "'1' did not change the skill line";
    EXPECT_EQ(normalEdge, newGameEdge) << "the new game's skill line is not the one of Normal";

    // Lose this snake too, then '2': the best score is saved and the game ends.
    ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "normal-running"));
    ASSERT_TRUE(waitForScreen(GameScreen::Death, 10000, "lost-at-normal"));
    EXPECT_EQ(holdKeyUntilExit(XK_2), 0);
    std::string saved;
    ASSERT_TRUE(readFile(scorePath(), &saved));
    EXPECT_EQ(saved, "0\n") << "the best of -5 and the game's 0 points";
}

} // namespace
