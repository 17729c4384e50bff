// icon.cpp: the pixels of the window icon (resource 101 on Windows).
//
// A placeholder drawn in code: red snake segments in a zig-zag over black, a green apple at the
// upper right and a yellow bonus apple at the right. To use the real icon, replace the body of
// standinIconPixels with a table of 32 x 32 RGBA bytes made from resources/ (rows from the top).
#include "shell/standin/standin_internal.h"

namespace {

unsigned char pixels[STANDIN_ICON_SIZE * STANDIN_ICON_SIZE * 4];
bool drawn = false;

// Fills a disc of the given colour.
void disc(int cx, int cy, int radius, unsigned char r, unsigned char g, unsigned char b)
{
    for (int y = 0; y < STANDIN_ICON_SIZE; ++y) {
        for (int x = 0; x < STANDIN_ICON_SIZE; ++x) {
            int dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy > radius * radius) continue;
            unsigned char* p = pixels + 4 * (y * STANDIN_ICON_SIZE + x);
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
    }
}

} // namespace

// The icon, drawn on first use.
const unsigned char* standinIconPixels()
{
    if (!drawn) {
        for (int i = 0; i < STANDIN_ICON_SIZE * STANDIN_ICON_SIZE; ++i) {
            pixels[4 * i + 3] = 255;  // opaque black
        }
        static const int segments[][2] = {{4, 27}, {8, 23}, {12, 19}, {8, 15}, {4, 11},
                                          {8, 7},  {12, 4}, {16, 8},  {20, 12}, {16, 16}};
        for (const auto& s : segments) disc(s[0], s[1], 3, 220, 0, 0);
        disc(26, 5, 4, 0, 200, 0);     // apple, upper right
        disc(27, 19, 3, 240, 220, 0);  // bonus apple, right
        drawn = true;
    }
    return pixels;
}
