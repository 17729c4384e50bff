// text.cpp: the bitmap font, line printing and the heads-up display with the screens' texts.
#include "render/render.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "game/game_state.h"

GLuint fontBase = 0;

namespace {

// Glyph lists cover the character codes 32 to 127.
const GLsizei glyphCount = 96;
const GLuint firstGlyph = 32;

// Room for one formatted line and its terminating zero.
const std::size_t lineBufferSize = 256;

// The skill's name in the menu's "Current Skill" line; null for a value outside 1..4.
const char* currentSkillLine(int skill)
{
    switch (skill) {
    case SKILL_EASY: return "Current Skill: Easy";
    case SKILL_NORMAL: return "Current Skill: Normal";
    case SKILL_HARD: return "Current Skill: Hard";
    case SKILL_EXPERT: return "Current Skill: Expert";
    default: return nullptr;
    }
}

// The always-shown values at the right of the field.
void drawHeadsUp()
{
    glRasterPos2f(5.0f, 5.5f);
    printText("FPS: %.0f", static_cast<double>(fpsValue));
    glRasterPos2f(5.0f, 4.5f);
    printText("Points: %d", gameState.points);
    glRasterPos2f(5.0f, 3.5f);
    printText("Snakes: %d", gameState.snakes);
    glRasterPos2f(5.0f, 2.5f);
    printText("Level: %d", gameState.level);
    glRasterPos2f(5.0f, 1.5f);
    printText("Highscore: %d", highScore);
    glRasterPos2f(5.0f, -1.5f);
    printText("Apples left: %d", gameState.applesNeeded - gameState.applesEaten);
    glRasterPos2f(5.0f, -2.5f);
    printText("Apples: %d", gameState.applesEaten);
}

void drawSkillMenu()
{
    glRasterPos2f(-6.0f, 3.0f);
    printText("Choose your Skill:");
    glRasterPos2f(-6.0f, 2.0f);
    printText("1. Normal");
    glRasterPos2f(-6.0f, 1.0f);
    printText("2. Hard");
    glRasterPos2f(-6.0f, 0.0f);
    printText("3. Expert");
    glRasterPos2f(-6.0f, -1.0f);
    printText(currentSkillLine(gameState.skill));
    glRasterPos2f(-6.0f, -2.0f);
    printText("Press SPACE to start...");
}

void drawDeathScreen()
{
    glRasterPos2f(-6.0f, 2.0f);
    printText(gameState.snakes > 0 ? "Press SPACE to continue" : "GAME OVER!");
    glRasterPos2f(-6.0f, 1.0f);
    printText("1. Start New Game");
    glRasterPos2f(-6.0f, 0.0f);
    printText("2. Exit to Windows");
    glRasterPos2f(-6.0f, -1.0f);
    printText(nullptr);
}

void drawPauseScreen()
{
    glRasterPos2f(-6.0f, 0.0f);
    printText("PAUSED - Press SPACE to Continue");
    glRasterPos2f(-6.0f, -1.0f);
    printText("Press F1 to exit to Windows");
}

void drawLevelDoneScreen()
{
    const int level = gameState.level;
    glRasterPos2f(-6.0f, 0.0f);
    printText("Level %d", level);

    // The figure shown here is the display's own; the award itself is the update's.
    glRasterPos2f(-6.0f, -1.0f);
    switch (gameState.skill) {
    case SKILL_EASY: printText("Level Bonus = %d", 100 * level - 100); break;
    case SKILL_NORMAL: printText("Level Bonus = %d", 200 * level - 200); break;
    case SKILL_HARD: printText("Level Bonus = %d", 300 * level - 300); break;
    case SKILL_EXPERT: printText("Level Bonus = %d", 1000 * level - 1000); break;
    default: printText(nullptr); break;
    }

    glRasterPos2f(-6.0f, -2.0f);
    printText(level % 3 == 0 ? "Extra Life!" : nullptr);
    glRasterPos2f(-6.0f, -3.0f);
    printText("Press SPACE to continue");
}

}  // namespace

// 96 glyph lists of bold Times New Roman, 16 pixels, from the platform's font service.
void createTextFont(HDC deviceContext)
{
    fontBase = glGenLists(glyphCount);
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Times New Roman");
    HGDIOBJ previousFont = SelectObject(deviceContext, reinterpret_cast<HGDIOBJ>(font));
    wglUseFontBitmapsA(deviceContext, firstGlyph, glyphCount, fontBase);
    SelectObject(deviceContext, previousFont);
    DeleteObject(reinterpret_cast<HGDIOBJ>(font));
    glColor3f(1.0f, 1.0f, 1.0f);
}

// Formats one line into a bounded buffer (longer lines are cut) and calls its glyph lists.
void printText(const char* format, ...)
{
    if (format == nullptr) {
        return;
    }
    char line[lineBufferSize];
    va_list arguments;
    va_start(arguments, format);
    int written = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    // No glyphs yet (or none could be made): calling lists relative to 0 would hit others.
    if (written <= 0 || fontBase == 0) {
        return;
    }

    glPushAttrib(GL_LIST_BIT);
    glListBase(fontBase - firstGlyph);
    glCallLists(static_cast<GLsizei>(std::strlen(line)), GL_UNSIGNED_BYTE, line);
    glPopAttrib();
}

// The heads-up display, then the block of every screen whose flag is set, in a fixed order.
void drawTextOverlay()
{
    drawHeadsUp();
    if (gameState.skillMenu == 1) {
        drawSkillMenu();
    }
    if (gameState.dead == 1) {
        drawDeathScreen();
    }
    if (gameState.paused == 1) {
        drawPauseScreen();
    }
    if (gameState.levelDone == 1) {
        drawLevelDoneScreen();
    }
}
