// startup.cpp: the game's start-up and shutdown hooks.
#include "game/game_state.h"
#include "render/render.h"

namespace {

// Glyph lists made by createTextFont: codes 32 to 127.
const GLsizei fontGlyphCount = 96;

}  // namespace

// Starts a new game on the skill menu at Easy, after every creation of the window.
int initGame(GameWindow* window, int* keyTable)
{
    hostWindow = window;
    hostKeys = keyTable;

    createTextFont(window ? window->deviceContext : nullptr);
    gameSrand(GetTickCount());
    loadHighScore();

    resetGameState();

    // A quadric is plain client memory: the previous window's can go whatever became of its
    // context. shutdownGame normally released it already.
    if (gameState.appleSphere) {
        gluDeleteQuadric(gameState.appleSphere);
    }
    gameState.appleSphere = gluNewQuadric();
    if (gameState.appleSphere) {
        gluQuadricNormals(gameState.appleSphere, GLU_SMOOTH);
        gluQuadricTexture(gameState.appleSphere, GL_FALSE);
    }

    setUpScene();

    const Vec3 origin = {0.0f, 0.0f, 0.0f};
    snake.init(DIR_UP, 0.25f, origin, gameState.startInterval);
    return 1;
}

// Before the window closes, with its context still current: gives back the font's lists and
// the apple quadric of this start-up, so that re-created windows do not pile them up. The
// snake's quadric is left to the snake, whose next placement replaces it. Nothing is drawn
// between this and the next initGame, and drawing skips a missing quadric anyway.
void shutdownGame()
{
    if (fontBase != 0) {
        glDeleteLists(fontBase, fontGlyphCount);
        fontBase = 0;
    }
    if (gameState.appleSphere) {
        gluDeleteQuadric(gameState.appleSphere);
        gameState.appleSphere = nullptr;
    }
}
