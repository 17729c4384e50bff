// x_driver.h: what another program on the same X display can do with the game: find its
// windows by title, read their place and size, type on the keyboard (XTest), take screenshots,
// send it window messages, and close, minimise and restore it as a window manager would.
#pragma once

#include "picture.h"

// Xlib's own header stays out of the tests (its macros clash with GoogleTest's names).
struct _XDisplay;
using XWindow = unsigned long;  // an X window id
using XKey = unsigned long;     // a key symbol, XK_... from <X11/keysym.h>


#include <string>
#include <vector>

// The place and size of a window's own area (for the game: its client area), on the screen.
struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
};

class XDriver {
public:
    XDriver() = default;
    ~XDriver() { close(); }
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    // Connects to the display DISPLAY names; false when it cannot or XTest is missing.
    bool open();
    void close();
    _XDisplay* display() const { return display_; }

    // The viewable windows, at any depth below the root, whose title (WM_NAME or _NET_WM_NAME)
    // is `title`; a window manager's frames are looked through.
    std::vector<XWindow> windowsTitled(const std::string& title);
    // The first of them, or 0.
    XWindow findWindow(const std::string& title);
    // True while the window exists (viewable or not).
    bool exists(XWindow window);
    // The window's class (the class part of WM_CLASS), or "" when it has none.
    std::string windowClass(XWindow window);
    bool geometry(XWindow window, WindowGeometry* out);
    // True when the window's _NET_WM_STATE holds the named state (e.g. "_NET_WM_STATE_FULLSCREEN").
    bool hasState(XWindow window, const char* stateName);

    // Gives the window the keyboard focus and puts the pointer on it, as a click would.
    void focus(XWindow window);
    // Presses and releases a key (by key symbol, e.g. XK_space), holding it holdMs.
    void tapKey(XKey key, int holdMs = 40);
    void pressKey(XKey key);
    void releaseKey(XKey key);

    // Reads the window's pixels; false when the window is not viewable or has gone.
    bool screenshot(XWindow window, Shot* out);

    // The game's screen-mode switch message (WM_USER + 1) sent from outside, as a client message
    // of the game's own type to the game window.
    void sendSwitchScreenMode(XWindow window);
    // WM_PROTOCOLS with WM_DELETE_WINDOW: the close button of a window manager.
    void closeAsWindowManager(XWindow window);
    // Asks the window manager to minimise (iconify) the window.
    void minimise(XWindow window);
    // Asks the window manager to bring the window back (_NET_ACTIVE_WINDOW) and maps it.
    void restore(XWindow window);
    // Waits until a window manager manages new windows: it maps a probe window of its own
    // (asking again while the manager is still starting and drops requests) and sees it shown.
    bool waitForWindowManager(int timeoutMs);

    // The last X error seen (windows can vanish between two requests), 0 when none.
    int lastError() const;

private:
    std::string titleOf(XWindow window);
    void collect(XWindow parent, const std::string& title, std::vector<XWindow>* found);
    void sendClientMessage(XWindow target, XWindow about, unsigned long type, long mask, long l0, long l1,
                           long l2);
    unsigned long atom(const char* name);

    _XDisplay* display_ = nullptr;
};

// Milliseconds of a steady clock, for waits and timings.
long long nowMs();
// Sleeps for the given milliseconds.
void sleepMs(int ms);

// Polls `condition` every pollMs until it is true or timeoutMs have passed; its last result.
template <class Condition>
bool waitFor(Condition condition, int timeoutMs, int pollMs = 20)
{
    long long end = nowMs() + timeoutMs;
    while (true) {
        if (condition()) return true;
        if (nowMs() >= end) return false;
        sleepMs(pollMs);
    }
}
