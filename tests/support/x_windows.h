// x_windows.h: finding a top-level X window by its caption, for the tests that drive real
// windows from outside (the stand-in's tests, the soak).
#pragma once

#include <X11/Xlib.h>

#include <string>

// The caption of an X window: _NET_WM_NAME (SDL's, UTF-8), else WM_NAME; empty when none.
std::string xWindowTitle(Display* dpy, Window window);

// The first window with this caption, searched depth-first from `parent`; with `viewableOnly`
// only a mapped and viewable one counts. 0 when there is none.
Window findXWindow(Display* dpy, Window parent, const char* title, bool viewableOnly = false);
