// standin_harness.h: what the stand-in's tests share: a private X server for the program, a
// window class whose procedure records what it receives, and a second X connection that
// plays the user (XTest keys) and the window manager.
#pragma once

#include "shell/standin/winapi.h"

// Xlib's macros (None, Bool, Status) clash with GoogleTest: include this after <gtest/gtest.h>.
#include <X11/Xlib.h>

#include "x_windows.h"

#include <functional>
#include <string>
#include <vector>

// Starts the private Xvfb of a test program before its tests run.
void addXvfbEnvironment(int width, int height);

// One call of the recording procedure.
struct ProcCall {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LPVOID createParam;        // WM_CREATE: lpCreateParams
    LONG_PTR userDataAtCreate; // WM_CREATE: the user-data slot before the procedure sets it
};

// The calls the recording procedure has seen, oldest first.
extern std::vector<ProcCall> procCalls;
// The class whose windows the recording procedure serves.
constexpr const char* TEST_CLASS = "StandinTest";
LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers TEST_CLASS with the recording procedure; non-zero atom on success.
ATOM registerTestClass();
// A windowed test window with the given client size, caption and creation parameter.
HWND createTestWindow(const char* title, int clientWidth = 320, int clientHeight = 240,
                      LPVOID param = nullptr);

// Polls `done` until it holds or `timeoutMs` passes; true when it held.
bool pollUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Fetches (and removes) messages of `window` until one satisfies `wanted`; the others fetched
// on the way are appended to `skipped` when given.
bool waitForMessage(HWND window, const std::function<bool(const MSG&)>& wanted, MSG* found,
                    std::vector<MSG>* skipped = nullptr, int timeoutMs = 5000);

// The test's own connection to the X server.
Display* testDisplay();
// The X window with this caption, or 0 (polls until it appears).
Window findXWindow(const char* title, int timeoutMs = 5000);
// The X window's size and its place on the root window.
void xGeometry(Window window, int* x, int* y, int* width, int* height);
// Presses and releases a key (the key that types `keysym`) through XTest.
void tapKey(KeySym keysym);
void pressKey(KeySym keysym, bool down);
// Gives the keyboard focus to an X window.
void focusXWindow(Window window);
