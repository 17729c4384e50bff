// standin_internal.h: the stand-in's own records, shared by its source files only.
//
// A window handle (HWND) is the address of a StandinWindow, its device context (HDC) is the
// same address, and a rendering context (HGLRC) is the address of a StandinContext. Every
// handle that comes in is checked against the live lists before it is used.
#pragma once

#include "shell/standin/winapi.h"

#include <SDL.h>

// The frame that AdjustWindowRectEx adds for a captioned window, and that CreateWindowExA
// takes off again to size the client area: a 4-pixel border on the sides and the bottom,
// and a 23-pixel caption above a 4-pixel border at the top.
constexpr int STANDIN_FRAME_SIDE = 4;
constexpr int STANDIN_FRAME_CAPTION = 23;
constexpr int STANDIN_FRAME_TOP = STANDIN_FRAME_CAPTION + STANDIN_FRAME_SIDE;

// The GL buffer sizes a window is created with (the X visual is chosen at creation).
struct StandinGlSizes {
    int depth;
    int stencil;
    int alpha;
};

struct StandinWindow {
    SDL_Window* sdl;           // the SDL window, the client area
    Uint32 sdlId;              // SDL's window id, to route events
    unsigned long xWindow;     // the X window id, to accept client messages
    WNDPROC procedure;         // the class procedure
    LONG_PTR userData;         // the GWLP_USERDATA slot
    DWORD style;
    DWORD exStyle;
    bool shownOnce;            // ShowWindow has shown it at least once
    int pixelFormat;           // 0 until SetPixelFormat
    PIXELFORMATDESCRIPTOR chosenRequest;  // the request ChoosePixelFormat saw last
    StandinGlSizes glSizes;    // what the SDL window was created with
};

struct StandinContext {
    SDL_GLContext sdl;
    StandinWindow* window;     // the window it was created for; null once that is destroyed
};

// Video start-up: SDL's video subsystem, started at first need; false when there is no display.
bool standinEnsureVideo();

// Window lookup.
StandinWindow* standinFindWindow(HWND handle);
StandinWindow* standinWindowFromSdlId(Uint32 id);
StandinWindow* standinWindowFromX(unsigned long xWindow);
StandinWindow* standinFirstWindow();

// Sets SDL's GL attributes for a window's buffers before an SDL window or context is made.
void standinApplyGlSizes(const StandinGlSizes& sizes);
// The default sizes every window starts with; they satisfy the game's request.
StandinGlSizes standinDefaultGlSizes();
// Re-creates the SDL window of `window` with new GL sizes (before it has a context).
bool standinRecreateSdlWindow(StandinWindow* window, const StandinGlSizes& sizes);
// Forgets the contexts of a window that is being destroyed.
void standinDetachContexts(StandinWindow* window);

// Messages: calls a window's procedure directly (a sent message).
LRESULT standinSend(StandinWindow* window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a message (hwnd may be null: a thread message).
void standinPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops the queued messages of a window.
void standinDropMessages(HWND window);

// Keys: the virtual-key code of an SDL key, or 0 when the game's keyboard has none for it.
UINT standinVirtualKey(const SDL_Keysym& key);

// Client messages from other programs: reads an SDL_SYSWMEVENT; true with the message when it
// is one of ours for one of our windows.
bool standinReadRemoteMessage(const SDL_Event& event, HWND* window, UINT* message,
                              WPARAM* wParam, LPARAM* lParam);
// The X window id of an SDL window (0 when it is not an X window).
unsigned long standinXWindowOf(SDL_Window* window);

// The display mode a successful ChangeDisplaySettingsA put in force, for pop-up windows.
bool standinFullScreenMode(SDL_DisplayMode* mode);

// The class icon: the handle LoadImageA gives for icon 101, and its SDL surface.
HICON standinIconHandle();
SDL_Surface* standinIconSurface();

// The icon's pixels: STANDIN_ICON_SIZE x STANDIN_ICON_SIZE pixels of 4 bytes (red, green,
// blue, alpha), rows from the top (icon.cpp, which may be regenerated from the real icon).
constexpr int STANDIN_ICON_SIZE = 32;
const unsigned char* standinIconPixels();
