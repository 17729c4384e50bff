// fake_winapi.h: a recording fake of the Windows services, for the shell's tests.
//
// It implements the declarations of shell/standin/winapi.h: every call is written to a log as
// one readable line ("CreateWindowExA(OpenGL|Sphere Snake|style=0x80000000|ex=0x40008|800x600)"),
// results come from a script the test fills in, and a small message queue with per-window
// filtering stands for the platform's. Window procedures run synchronously, as on Windows.
#pragma once

#include "shell/platform.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct FakePlatform {
    // What happened, in order.
    std::vector<std::string> calls;

    // Scripted results.
    std::deque<int> messageBoxAnswers;      // answers, in order; IDOK when empty
    bool registerClassFails = false;
    bool createWindowFails = false;
    bool getDCFails = false;
    bool choosePixelFormatFails = false;
    bool setPixelFormatFails = false;
    bool createContextFails = false;
    bool makeCurrentFails = false;
    LONG displayChangeResult = DISP_CHANGE_SUCCESSFUL;
    std::function<DWORD()> tickCount = [] { return (DWORD)5000; };
    // Runs when the loop waits for a message (the window is minimised); should post one.
    std::function<void()> onWaitMessage;

    // State.
    std::deque<MSG> queue;
    WNDPROC windowProc = nullptr;   // the registered class's procedure
    LONG_PTR userData = 0;          // the window's user-data slot
    HWND window = nullptr;          // the live window, if any
    int windowsCreated = 0;
    int cursorCount = 0;            // ShowCursor's display counter

    // Resets everything to a fresh platform.
    void reset();
    // True when the log holds a line starting with the given text.
    bool called(const std::string& prefix) const;
    // Number of log lines starting with the given text.
    int count(const std::string& prefix) const;
    // Index of the first log line at or after `from` starting with the text, or -1.
    int indexOf(const std::string& prefix, int from = 0) const;
    // Log lines starting with any of the given prefixes, in order (a filtered view).
    std::vector<std::string> only(const std::vector<std::string>& prefixes) const;
    // Records a line, for the test's own hooks.
    void log(const std::string& line) { calls.push_back(line); }
};

extern FakePlatform fake;

// The handle values the fake hands out for its one window, device context and context.
HWND fakeWindowHandle(int serial);
extern HDC const fakeDeviceContext;
extern HGLRC const fakeRenderContext;
