// game_window.h: the application shell - entry, game window, window procedure and frame loop.
//
// WinMain asks for the screen mode, registers the "OpenGL" window class and runs the window
// cycle: openGameWindow, initGame, the message and frame loop, shutdownGame, closeGameWindow,
// repeated while appRunning is set (a screen-mode switch re-creates the window this way).
//
// The frame loop handles one message or one frame per pass. A frame is
//     updateFrame(now - lastTick); drawFrame(); SwapBuffers(deviceContext);
// and runs only while no message for the window is waiting and the window is not minimised.
// The game implements the four hooks below and ends the program through requestQuit.
//
// Operations return 1 for success and 0 for failure; failures are told to the player in
// message boxes titled "Error".
#pragma once

#include "platform.h"

// Key states by virtual-key code: 1 while held, 0 otherwise. Written only by gameWindowProc.
typedef int KeyTable[256];

// The custom message that flips between full-screen and windowed and re-creates the window.
enum { MSG_SWITCH_SCREEN_MODE = WM_USER + 1 };

// The identity of the window class.
struct AppIdentity {
    HINSTANCE instance;     // module instance handle given to WinMain
    const char* className;  // "OpenGL"
};

// The one game window. Owned by WinMain for the whole run and reused for every window.
struct GameWindow {
    int* keyTable;              // first of the KeyTable's 256 entries; cleared on every open
    HWND windowHandle;          // null while there is no window
    HDC deviceContext;          // the window's own device context, null while none
    HGLRC renderContext;        // the OpenGL rendering context, null while none
    const AppIdentity* identity;
    const char* title;          // the caption
    int width;                  // wanted client width: 800
    int height;                 // wanted client height: 600
    int bitsPerPixel;           // colour depth: 32
    int fullScreen;             // mode of the window being opened or open; 0 after a failed switch
    int visible;                // 1 while not minimised; frames run only then
    DWORD lastTick;             // tick count at the start of the previous frame
};

// The fixed caption and the class name.
extern const char gameTitle[];     // "Sphere Snake"
extern const char gameClassName[]; // "OpenGL"

// The cycle repeats while appRunning is non-zero; fullScreenWanted is the mode of the next window.
extern int appRunning;
extern int fullScreenWanted;

// ---------------------------------------------------------------- entry and loop

// Registers the window class; 1 on success, 0 after its own message box.
int registerGameWindowClass(const AppIdentity& identity);

// Posts WM_QUIT to the game window and clears appRunning; destroys nothing itself.
void requestQuit(const GameWindow& window);

// Runs message and frame passes until WM_QUIT is fetched (the WM_QUIT is not dispatched).
void runMessageLoop(GameWindow& window, MSG& msg);

// ---------------------------------------------------------------- game window

// Creates the window in the wanted mode with its device context, pixel format and current
// rendering context; 1 on success, 0 with the handles null (and the display given back).
int openGameWindow(GameWindow& window);

// Switches the display to width x height x bitsPerPixel for full-screen; 1 on success.
int switchDisplayMode(int width, int height, int bitsPerPixel);

// Releases context, device context and window, and gives the display back; always 1.
int closeGameWindow(GameWindow& window);

// Viewport and 45-degree perspective projection for a client size; leaves GL_MODELVIEW identity.
void resizeViewport(int width, int height);

// ---------------------------------------------------------------- window procedure

// Keeps the key table, visibility and viewport, turns close requests into requestQuit and
// MSG_SWITCH_SCREEN_MODE into a re-created window in the other mode.
LRESULT CALLBACK gameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------- game hooks (the game implements)

// After each successful openGameWindow, with the context current; 0 means failure.
int initGame(GameWindow* window, int* keyTable);
// Once per frame pass, first, with the milliseconds since the previous pass (modulo 2^32).
void updateFrame(DWORD elapsedMs);
// Right after updateFrame; the shell then swaps the buffers.
void drawFrame();
// Once per window, right before closeGameWindow.
void shutdownGame();
