// gl_fixture.h: an 800x600 SDL window with a GL compatibility context on a private Xvfb.
//
// The context gets the shell's projection (viewport 800x600, 45 degrees, 800/600, near 1,
// far 100, model-view identity). Frames are read back from the back buffer before any swap.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "shell/platform.h"
#include "xvfb.h"

// Test doubles beside the tests: the tick count initGame seeds with, and the number of GLU
// quadrics made and not yet deleted.
extern DWORD scriptedTickCount;
extern int liveQuadrics;

// A window position in pixels, y from the bottom as GL counts.
struct WindowPoint {
    double x;
    double y;
};

// One frame read back, RGBA, rows bottom-up.
struct Frame {
    std::vector<unsigned char> pixels;

    const unsigned char* at(int x, int y) const { return &pixels[(y * 800 + x) * 4]; }
    int red(int x, int y) const { return at(x, y)[0]; }
    int green(int x, int y) const { return at(x, y)[1]; }
    int blue(int x, int y) const { return at(x, y)[2]; }
    bool lit(int x, int y) const { return red(x, y) > 64 || green(x, y) > 64 || blue(x, y) > 64; }
    // Lit pixels in the box [x0, x1] x [y0, y1], clipped to the window.
    int inkIn(int x0, int y0, int x1, int y1) const;
    bool operator==(const Frame& other) const { return pixels == other.pixels; }
};

class GlTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    // The shell's projection and viewport, model-view identity.
    static void applyShellProjection();
    // Opens and closes the window and context (the suite holds one; re-creation tests more).
    static bool openWindow();
    static void closeWindow();

    // Where (x, y, 0) of a plane lying `distance` units in front of the camera lands.
    static WindowPoint project(double x, double y, double distance);
    static WindowPoint projectField(double x, double y) { return project(x, y, 16.0); }
    static WindowPoint projectText(double x, double y) { return project(x, y, 15.0); }

    static Frame readFrame();
    // An opaque device-context handle for the font functions.
    static HDC deviceContext() { return reinterpret_cast<HDC>(window); }

protected:
    void SetUp() override;

    static XvfbServer* xvfb;
    static SDL_Window* window;
    static SDL_GLContext context;
};
