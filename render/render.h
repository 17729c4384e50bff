// render.h: the OpenGL scene and the bitmap-text overlay.
//
// setUpScene gives a new rendering context its light, material and depth state once per game
// start-up. drawFrame (a game hook) clears, draws the border, the apples and the snake with
// additive blending and lighting, then the heads-up display and the current screens' texts in
// the plane one unit in front of the playfield. Everything is immediate mode; only the font's
// glyphs live in display lists, built by createTextFont once per rendering context.
#pragma once

#include "shell/platform.h"

// Light 0's position: (0, 1, 2), positional.
extern const GLfloat lightPosition[4];

// Light, material, clear, depth and shading state; lighting ends off.
void setUpScene();
// The frame: scene, then the text overlay; the shell swaps the buffers after it.
void drawFrame();
// The white playfield outline x -7..5, y -6..6.
void drawBorder();
// The green apple, and the yellow bonus apple while it shows.
void drawApples();

// First of the 96 glyph lists (codes 32..127); 0 until the first font is built.
extern GLuint fontBase;

// Builds the glyph lists of bold "Times New Roman" at 16 pixels for the current context.
void createTextFont(HDC deviceContext);
// Formats one line (printf rules, cut at 255 characters) and draws it at the raster position;
// a null format draws nothing.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((format(printf, 1, 2)))
#endif
void printText(const char* format, ...);
// The heads-up display and the texts of every screen whose flag is set.
void drawTextOverlay();
