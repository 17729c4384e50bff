// scene_test.cpp: the scene as Mesa draws it - border, apples, snake, blending, end state.
#include <cmath>
#include <cstring>

#include "game/game_state.h"
#include "gl_fixture.h"
#include "render/render.h"

namespace {

// A sphere far off to the side of the view.
const Vec3 farAway = {100.0f, 100.0f, 0.0f};

class SceneTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        // The field alone: apples and snake parked far outside the view, no text font.
        gameState = GameState();
        gameState.appleX = farAway.x;
        gameState.appleY = farAway.y;
        gameState.bonusX = farAway.x;
        gameState.bonusY = farAway.y;
        gameState.appleSphere = gluNewQuadric();
        gluQuadricNormals(gameState.appleSphere, GLU_SMOOTH);
        std::memset(static_cast<void*>(&snake), 0, sizeof snake);
        snake.radius = 0.25f;
        snake.head = farAway;
        snake.sphere = gluNewQuadric();
        gluQuadricNormals(snake.sphere, GLU_SMOOTH);
        fontBase = 0;
        glColor3f(1.0f, 1.0f, 1.0f);
        setUpScene();
        // The first frame after set-up is lit from another place; start from the second.
        drawFrame();
    }

    void TearDown() override
    {
        gluDeleteQuadric(gameState.appleSphere);
        gluDeleteQuadric(snake.sphere);
        gameState.appleSphere = nullptr;
        snake.sphere = nullptr;
    }

    static Frame frame()
    {
        drawFrame();
        return readFrame();
    }

    // The pixel at the projected centre of a playfield cell.
    static const unsigned char* centre(const Frame& f, float x, float y)
    {
        WindowPoint p = projectField(x, y);
        return f.at(static_cast<int>(p.x), static_cast<int>(p.y));
    }
};

// Whether a lit pixel lies within `reach` pixels of window point p.
bool litNear(const Frame& f, WindowPoint p, int reach)
{
    int x = static_cast<int>(std::lround(p.x));
    int y = static_cast<int>(std::lround(p.y));
    return f.inkIn(x - reach, y - reach, x + reach, y + reach) > 0;
}

TEST_F(SceneTest, BorderEdgesLieWhereTheProjectionPutsTheFieldOutline)
{
    Frame f = frame();
    // Points on each edge (middles and near the corners) and points well inside and outside.
    struct Probe {
        float x, y;
        bool onLine;
    } probes[] = {
        {-1.0f, 6.0f, true},   {4.0f, 6.0f, true},    // top
        {-1.0f, -6.0f, true},  {-6.0f, -6.0f, true},  // bottom
        {5.0f, 0.0f, true},    {5.0f, 5.0f, true},    // right
        {-7.0f, 0.0f, true},   {-7.0f, -5.0f, true},  // left
        {-1.0f, 6.3f, false},  {-1.0f, 5.7f, false},  {-1.0f, -6.3f, false},
        {-1.0f, -5.7f, false}, {5.3f, 0.0f, false},   {4.7f, 0.0f, false},
        {-7.3f, 0.0f, false},  {-6.7f, 0.0f, false},
    };
    for (const Probe& probe : probes) {
        WindowPoint p = projectField(probe.x, probe.y);
        EXPECT_EQ(litNear(f, p, 2), probe.onLine) << "at (" << probe.x << ", " << probe.y << ")";
    }
    // The border is white.
    WindowPoint top = projectField(-1.0, 6.0);
    int x = static_cast<int>(top.x);
    int bestY = static_cast<int>(top.y);
    for (int y = bestY - 2; y <= bestY + 2; ++y) {
        if (f.red(x, y) > f.red(x, bestY)) bestY = y;
    }
    EXPECT_EQ(f.red(x, bestY), 255);
    EXPECT_EQ(f.green(x, bestY), 255);
    EXPECT_EQ(f.blue(x, bestY), 255);
}

TEST_F(SceneTest, ApplesAndSnakeShowInTheirColoursAtTheirCells)
{
    gameState.appleX = -4.0f;
    gameState.appleY = 3.0f;
    gameState.bonusX = 2.0f;
    gameState.bonusY = -4.0f;
    snake.head = {0.0f, 0.0f, 0.0f};
    snake.length = 2;
    snake.body[0] = {0.0f, -0.5f, 0.0f};
    snake.body[1] = {0.0f, -1.0f, 0.0f};

    gameState.bonusVisible = false;
    Frame hidden = frame();
    gameState.bonusVisible = true;
    Frame shown = frame();

    // Green apple: green dominates.
    const unsigned char* apple = centre(shown, -4.0f, 3.0f);
    EXPECT_GT(apple[1], 100);
    EXPECT_GT(apple[1], apple[0] + 60);
    EXPECT_GT(apple[1], apple[2] + 60);
    // Yellow bonus apple: red and green, little blue; only while bonusVisible is 1.
    const unsigned char* bonus = centre(shown, 2.0f, -4.0f);
    EXPECT_GT(bonus[0], 100);
    EXPECT_GT(bonus[1], 100);
    EXPECT_GT(bonus[0], bonus[2] + 60);
    EXPECT_FALSE(litNear(hidden, projectField(2.0, -4.0), 6));
    // White head: all three channels alike.
    const unsigned char* head = centre(shown, 0.0f, 0.0f);
    EXPECT_GT(head[0], 100);
    EXPECT_EQ(head[0], head[1]);
    EXPECT_EQ(head[1], head[2]);
    // Red segments.
    for (float y : {-0.5f, -1.0f}) {
        const unsigned char* segment = centre(shown, 0.0f, y);
        EXPECT_GT(segment[0], 100) << y;
        EXPECT_GT(segment[0], segment[1] + 60) << y;
        EXPECT_GT(segment[0], segment[2] + 60) << y;
    }
    // Nothing beyond the tail.
    EXPECT_FALSE(litNear(shown, projectField(0.0, -1.5), 3));
}

TEST_F(SceneTest, ASphereFarOutsideTheViewLeavesNoTrace)
{
    snake.head = {1.0f, 1.0f, 0.0f};
    Frame without = frame();
    snake.length = 1;
    snake.body[0] = farAway;
    Frame with = frame();
    EXPECT_TRUE(with == without);
}

TEST_F(SceneTest, LengthZeroDrawsTheHeadOnlyAndLengthPastTheTableIsCut)
{
    snake.head = {1.0f, 1.0f, 0.0f};
    snake.body[0] = {1.0f, 0.5f, 0.0f};
    snake.length = 0;
    Frame headOnly = frame();
    EXPECT_TRUE(litNear(headOnly, projectField(1.0, 1.0), 0));
    EXPECT_FALSE(litNear(headOnly, projectField(1.0, 0.5), 3));

    // Every entry of the table sits far away; the length claims more than the table holds.
    for (Vec3& segment : snake.body) segment = farAway;
    snake.length = SNAKE_MAX_SEGMENTS + 50;
    Frame overlong = frame();
    EXPECT_TRUE(overlong == headOnly);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneTest, TheHeadEnteringTheAppleAddsItsColourWhereItIsNearer)
{
    // Apple at (1, 1), head half a radius to the right: they overlap on screen.
    gameState.appleX = 1.0f;
    gameState.appleY = 1.0f;
    Frame appleOnly = frame();
    gameState.appleX = farAway.x;
    snake.head = {1.125f, 1.0f, 0.0f};
    Frame headOnly = frame();
    gameState.appleX = 1.0f;
    Frame both = frame();

    // Near the head's centre the head is nearer: its colour adds to the apple's, saturating.
    WindowPoint inFront = projectField(1.2, 1.0);
    int x = static_cast<int>(inFront.x), y = static_cast<int>(inFront.y);
    ASSERT_GT(appleOnly.green(x, y), 0);
    ASSERT_GT(headOnly.red(x, y), 0);
    for (int c = 0; c < 3; ++c) {
        int sum = appleOnly.at(x, y)[c] + headOnly.at(x, y)[c];
        EXPECT_NEAR(both.at(x, y)[c], sum > 255 ? 255 : sum, 1) << "channel " << c;
    }
    // Near the apple's centre the head lies behind the apple's surface: it is discarded.
    WindowPoint behind = projectField(0.95, 1.0);
    x = static_cast<int>(behind.x);
    y = static_cast<int>(behind.y);
    ASSERT_GT(headOnly.red(x, y), 0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(both.at(x, y)[c], appleOnly.at(x, y)[c]) << "channel " << c;
    }
}

TEST_F(SceneTest, TheFrameEndsUnlitUnblendedWhiteAndSixteenUnitsAway)
{
    gameState.appleX = 1.0f;
    gameState.appleY = 1.0f;
    gameState.bonusVisible = true;
    snake.head = {0.0f, 0.0f, 0.0f};
    snake.length = 3;
    drawFrame();

    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (GLfloat channel : colour) EXPECT_EQ(channel, 1.0f);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const GLfloat expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -16, 1};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], expected[i]) << "element " << i;
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneTest, SetUpGivesTheLightAndDepthStateWithLightingOff)
{
    glLoadIdentity();  // as the shell's viewport set-up leaves it
    setUpScene();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &value);
    EXPECT_EQ(value, GL_AMBIENT_AND_DIFFUSE);
    GLfloat diffuse[4], shininess = 0, width = 0;
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.7f);
    EXPECT_FLOAT_EQ(diffuse[3], 0.7f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 8.0f);
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f);
    // Given under the identity: the light stands at (0, 1, 2) in eye coordinates.
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(position[1], 1.0f);
    EXPECT_EQ(position[2], 2.0f);
    // After a frame it stands at (0, 1, 2) of the playfield: 14 units in front of the camera.
    drawFrame();
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(position[2], -14.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
