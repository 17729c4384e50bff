// text_test.cpp: the glyph lists, printText and the overlay's lines as Mesa draws them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "game/game_state.h"
#include "gl_fixture.h"
#include "render/render.h"

namespace {

const Vec3 farAway = {100.0f, 100.0f, 0.0f};

// The raster position in window coordinates.
struct Raster {
    GLfloat x, y;
    bool valid;
};

Raster currentRaster()
{
    GLfloat position[4];
    GLint valid = 0;
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    return {position[0], position[1], valid != 0};
}

// Ink bounds of a frame.
struct Bounds {
    int left = 800, right = -1, bottom = 600, top = -1;
    bool empty() const { return right < 0; }
};

Bounds inkBounds(const Frame& f)
{
    Bounds b;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (f.lit(x, y)) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.bottom = std::min(b.bottom, y);
                b.top = std::max(b.top, y);
            }
        }
    }
    return b;
}

// Lit pixels of one window row between two columns.
int rowInk(const Frame& f, int y, int x0, int x1)
{
    return f.inkIn(x0, y, x1, y);
}

class TextTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        glColor3f(0.0f, 0.0f, 0.0f);
        createTextFont(deviceContext());
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 0);
        // Window pixels as coordinates, so that raster positions are exact.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(0, 800, 0, 600);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    void TearDown() override
    {
        glDeleteLists(fontBase, 96);
        fontBase = 0;
    }

    // Prints one string with the raster position at window pixel (x, y) on a cleared buffer.
    static Frame printAt(int x, int y, const char* text)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glRasterPos2f(static_cast<GLfloat>(x) + 0.25f, static_cast<GLfloat>(y) + 0.25f);
        printText("%s", text);
        return readFrame();
    }

    // How far printing the text moves the raster position.
    static GLfloat advanceOf(const char* text)
    {
        glRasterPos2f(10.0f, 10.0f);
        Raster before = currentRaster();
        printText("%s", text);
        return currentRaster().x - before.x;
    }
};

TEST_F(TextTest, FontBuildsWhiteListsAndLeavesNoStateBehind)
{
    EXPECT_NE(fontBase, 0u);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[1], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
    for (GLuint i = 0; i < 96; ++i) EXPECT_TRUE(glIsList(fontBase + i)) << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextTest, GlyphsAdvanceByTheirWidthAndSitOnTheBaseline)
{
    GLfloat w = advanceOf("W"), i = advanceOf("i"), space = advanceOf(" ");
    // A 16-pixel bold serif: a wide W, a narrow i, a space between them.
    EXPECT_GE(w, 12.0f);
    EXPECT_LE(w, 20.0f);
    EXPECT_GE(i, 3.0f);
    EXPECT_LT(i, w);
    EXPECT_GT(space, 0.0f);
    EXPECT_EQ(advanceOf("Wi"), w + i);

    // 'T' stands on the baseline, its bar on top, about a cap height (11 pixels) tall.
    Frame t = printAt(100, 100, "T");
    Bounds b = inkBounds(t);
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(b.bottom, 100);
    EXPECT_GE(b.top - b.bottom + 1, 9);
    EXPECT_LE(b.top - b.bottom + 1, 13);
    EXPECT_GT(rowInk(t, b.top, 0, 799), rowInk(t, b.bottom, 0, 799) + 2);
    EXPECT_GE(b.left, 100);
    EXPECT_LE(b.right, 100 + static_cast<int>(advanceOf("T")));
    // 'p' hangs below it.
    EXPECT_LT(inkBounds(printAt(100, 100, "p")).bottom, 100);
    // The space inks nothing.
    EXPECT_TRUE(inkBounds(printAt(100, 100, " ")).empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextTest, PrintTextKeepsTheListBaseCutsLongLinesAndIgnoresANullFormat)
{
    glListBase(1234);
    GLfloat x = advanceOf("x");
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 1234);

    std::string longLine(300, 'x');
    EXPECT_EQ(advanceOf(longLine.c_str()), 255 * x);
    printText("%s and %d more", longLine.c_str(), 42);

    glRasterPos2f(10.0f, 10.0f);
    Raster before = currentRaster();
    printText(nullptr);
    EXPECT_EQ(currentRaster().x, before.x);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextTest, WithoutAnyFontTheListsStayEmptyAndTheFailureIsReported)
{
    char configPath[] = "/tmp/fonts-none-XXXXXX";
    int fd = mkstemp(configPath);
    ASSERT_GE(fd, 0);
    const char emptyConfig[] = "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    ASSERT_EQ(write(fd, emptyConfig, sizeof emptyConfig - 1),
              static_cast<ssize_t>(sizeof emptyConfig - 1));
    close(fd);
    const char* previous = std::getenv("FONTCONFIG_FILE");
    std::string saved = previous ? previous : "";
    setenv("FONTCONFIG_FILE", configPath, 1);

    GLuint base = glGenLists(96);
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Times New Roman");
    HGDIOBJ old = SelectObject(deviceContext(), reinterpret_cast<HGDIOBJ>(font));
    testing::internal::CaptureStderr();
    BOOL made = wglUseFontBitmapsA(deviceContext(), 32, 96, base);
    std::string said = testing::internal::GetCapturedStderr();
    SelectObject(deviceContext(), old);
    EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(font)));

    if (previous) setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else unsetenv("FONTCONFIG_FILE");
    unlink(configPath);

    EXPECT_FALSE(made);
    EXPECT_NE(said.find("Times New Roman"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    glDeleteLists(fontBase, 96);
    fontBase = base;
    EXPECT_TRUE(inkBounds(printAt(100, 100, "Snake")).empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(FontObjects, SelectionReturnsThePreviousFontAndASelectedFontIsNotDeleted)
{
    HDC dc = reinterpret_cast<HDC>(0x1000);
    HGDIOBJ a = reinterpret_cast<HGDIOBJ>(CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0,
                                                      0, "Times New Roman"));
    HGDIOBJ b = reinterpret_cast<HGDIOBJ>(CreateFontA(12, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                                                      nullptr));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(SelectObject(dc, a), nullptr);  // the stock font was selected
    EXPECT_EQ(SelectObject(dc, b), a);
    EXPECT_FALSE(DeleteObject(b));             // still selected: kept
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_FALSE(DeleteObject(a));             // gone
    EXPECT_EQ(SelectObject(dc, a), nullptr);   // a stale handle is refused...
    EXPECT_EQ(SelectObject(dc, nullptr), b);   // ...and b stayed selected
    EXPECT_TRUE(DeleteObject(b));
}

// ---------------------------------------------------------------- the overlay

// Parks the scene out of sight and zeroes every screen flag.
class OverlayTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        gameState = GameState();
        gameState.appleX = gameState.bonusX = farAway.x;
        gameState.appleY = gameState.bonusY = farAway.y;
        gameState.appleSphere = gluNewQuadric();
        std::memset(static_cast<void*>(&snake), 0, sizeof snake);
        snake.head = farAway;
        snake.radius = 0.25f;
        snake.sphere = gluNewQuadric();
        gameState.skill = SKILL_EASY;
        gameState.level = 1;
        gameState.snakes = 5;
        gameState.applesNeeded = 5;
        fpsValue = 60.0f;
        createTextFont(deviceContext());
        setUpScene();
    }

    void TearDown() override
    {
        glDeleteLists(fontBase, 96);
        fontBase = 0;
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

    // Lit pixels in the band of a line whose raster position is (x, y) in the text plane.
    static int lineInk(const Frame& f, double x, double y, int width = 150)
    {
        WindowPoint p = projectText(x, y);
        int left = static_cast<int>(p.x), base = static_cast<int>(p.y);
        return f.inkIn(left, base - 5, left + width, base + 13);
    }
};

TEST_F(OverlayTest, TheHeadsUpRowsAlwaysShowAndNothingElseWithoutAScreen)
{
    Frame f = frame();
    for (double y : {5.5, 4.5, 3.5, 2.5, 1.5, -1.5, -2.5}) {
        EXPECT_GT(lineInk(f, 5.0, y), 0) << "heads-up row at y = " << y;
    }
    for (double y : {0.5, -0.5}) {
        EXPECT_EQ(lineInk(f, 5.0, y), 0) << "no row at y = " << y;
    }
    for (int y = -3; y <= 3; ++y) {
        EXPECT_EQ(lineInk(f, -6.0, y), 0) << "screen row at y = " << y;
    }
}

// Which screen rows at x = -6 carry text for a set of flags and values.
struct ScreenCase {
    const char* name;
    bool skillMenu, dead, paused, levelDone;
    int skill, level, snakes;
    const char* rows;  // for y = 3, 2, 1, 0, -1, -2, -3: '#' text, '.' none
};

TEST_F(OverlayTest, EachScreenShowsItsBlockWhenItsFlagIsSet)
{
    const ScreenCase cases[] = {
        {"skill menu", true, false, false, false, 1, 1, 5, "######."},
        {"skill menu, unknown skill", true, false, false, false, 7, 1, 5, "####.#."},
        {"death", false, true, false, false, 1, 1, 2, ".###..."},
        {"game over", false, true, false, false, 1, 1, 0, ".###..."},
        {"pause", false, false, true, false, 1, 1, 5, "...##.."},
        {"level 3 done", false, false, false, true, 1, 3, 5, "...####"},
        {"level 2 done", false, false, false, true, 4, 2, 5, "...##.#"},
        {"level done, unknown skill", false, false, false, true, 0, 3, 5, "...#.##"},
        {"pause over death", false, true, true, false, 1, 1, 5, ".####.."},
    };
    for (const ScreenCase& c : cases) {
        gameState.skillMenu = c.skillMenu;
        gameState.dead = c.dead;
        gameState.paused = c.paused;
        gameState.levelDone = c.levelDone;
        gameState.skill = c.skill;
        gameState.level = c.level;
        gameState.snakes = c.snakes;
        Frame f = frame();
        for (int row = 0; row < 7; ++row) {
            int y = 3 - row;
            bool wanted = c.rows[row] == '#';
            EXPECT_EQ(lineInk(f, -6.0, y, 320) > 0, wanted) << c.name << ", row y = " << y;
        }
    }
}

TEST_F(OverlayTest, GameOverReplacesTheContinueLine)
{
    gameState.dead = true;
    gameState.snakes = 1;
    Frame more = frame();
    gameState.snakes = 0;
    Frame over = frame();
    // "GAME OVER!" is much shorter than "Press SPACE to continue".
    WindowPoint p = projectText(-6.0, 2.0);
    int left = static_cast<int>(p.x), base = static_cast<int>(p.y);
    int farPart = static_cast<int>(p.x) + 120;
    EXPECT_GT(more.inkIn(farPart, base - 5, farPart + 200, base + 13), 0);
    EXPECT_EQ(over.inkIn(farPart, base - 5, farPart + 200, base + 13), 0);
    EXPECT_GT(over.inkIn(left, base - 5, farPart, base + 13), 0);
}

}  // namespace
