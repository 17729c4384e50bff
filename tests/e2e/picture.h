// picture.h: reading a screenshot of the game as a player looks at it: coloured spheres on the
// playfield grid, white text ink in the rows where the overlay prints, and the game's own
// perspective to go from a playfield point to a pixel and back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A screenshot of a window: width x height pixels of 3 bytes (red, green, blue), rows from the top.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool empty() const { return width <= 0 || height <= 0; }
    const uint8_t* at(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};

// The colours the game draws with; lit spheres keep at least half of their colour (the ambient
// part), so each class is told apart by which channels are strong.
// DeepRed is the unmixed red of a segment's rim (no white added by a head drawn there).
enum class Colour { White, Green, Yellow, Red, DeepRed };
bool isColour(const uint8_t* pixel, Colour colour);

// The colour classes of every pixel of a shot, worked out once: bit (1 << colour) for each
// class the pixel belongs to, and INK_BIT for white text ink.
struct ColourMap {
    static const uint8_t INK_BIT = 0x80;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;

    bool has(int x, int y, Colour colour) const
    {
        return bits[static_cast<size_t>(y) * width + x] & (1u << static_cast<int>(colour));
    }
    bool ink(int x, int y) const { return bits[static_cast<size_t>(y) * width + x] & INK_BIT; }
};
ColourMap classify(const Shot& shot);

// A playfield cell: x and y in playfield units, on the 0.5 grid.
struct Cell {
    float x = 0;
    float y = 0;
    bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Cell& other) const { return !(*this == other); }
};
std::string describe(const Cell& cell);

// A rectangle of pixels, x0 <= x < x1, y0 <= y < y1.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The game's projection for a viewport of width x height pixels filling the window: a vertical
// field of view of 45 degrees, the aspect width / height, the playfield plane 16 units in front
// of the camera and the text plane one unit nearer.
struct Projection {
    int width = 800;
    int height = 600;

    // Pixel position (from the window's top-left corner) of the playfield point (x, y) lying
    // z units in front of the playfield plane (z = 1: the text plane).
    void toScreen(double x, double y, double z, double* px, double* py) const;
    // The playfield point on the plane z = 0 that a pixel position shows, before snapping.
    void toPlayfield(double px, double py, double* x, double* y) const;
    // The cell on the 0.5 grid nearest to what a pixel position shows.
    Cell cellAt(double px, double py) const;
    // Pixels per playfield unit on the playfield plane.
    double pixelsPerUnit() const;
};

// A connected patch of one colour.
struct Blob {
    double centreX = 0;  // centroid, in pixels
    double centreY = 0;
    int area = 0;
    Box bounds;
};
// The 4-connected patches of a colour with at least minArea pixels, the largest first.
std::vector<Blob> findBlobs(const ColourMap& map, Colour colour, int minArea);

// Cells of the playfield (also those on the border lines) whose sphere shows the colour: the
// disc of 0.6 sphere radii around the cell's projected centre is at least `fill` of that colour.
std::vector<Cell> cellsShowing(const ColourMap& map, const Projection& view, Colour colour,
                               double fill = 0.7);

// The share of the colour among the pixels of the ring between inner and outer sphere radii
// around a cell's projected centre.
double ringShare(const ColourMap& map, const Projection& view, const Cell& cell, Colour colour,
                 double inner, double outer);

// The box a sphere of radius 0.25 at a cell covers on the screen, grown by `margin` pixels.
Box sphereBox(const Projection& view, const Cell& cell, int margin = 3);

// Text ink: white pixels inside `area`, leaving out every pixel inside one of the masks.
int countInk(const ColourMap& map, const Box& area, const std::vector<Box>& masks = {});
// The right-most column with ink inside `area` (masks left out), or -1 when there is none.
int inkRightEdge(const ColourMap& map, const Box& area, const std::vector<Box>& masks = {});
// Pixels that are not black (any channel above 40) in the whole shot.
int litPixels(const Shot& shot);
