// picture.cpp: colour classes, the game's projection, blobs and text ink on screenshots.
#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double pi = 3.14159265358979323846;
const double tanHalfFov = std::tan(22.5 * pi / 180.0);
const double playfieldDistance = 16.0;

int maxOf(const uint8_t* p) { return std::max({p[0], p[1], p[2]}); }
int minOf(const uint8_t* p) { return std::min({p[0], p[1], p[2]}); }

bool inside(const Box& box, int x, int y)
{
    return x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1;
}

bool masked(const std::vector<Box>& masks, int x, int y)
{
    for (const Box& m : masks) {
        if (inside(m, x, y)) return true;
    }
    return false;
}

Box clipped(const ColourMap& shot, Box box)
{
    box.x0 = std::max(box.x0, 0);
    box.y0 = std::max(box.y0, 0);
    box.x1 = std::min(box.x1, shot.width);
    box.y1 = std::min(box.y1, shot.height);
    return box;
}

// Text is drawn unlit in pure white; a lit white sphere is grey to white.
bool isInk(const uint8_t* p)
{
    return minOf(p) >= 180 && maxOf(p) - minOf(p) <= 40;
}

} // namespace

bool isColour(const uint8_t* p, Colour colour)
{
    // A sphere's specular highlight adds white to its colour: the strong channels stay ahead of
    // the weak ones, which rise together.
    int r = p[0], g = p[1], b = p[2];
    switch (colour) {
    case Colour::White:
        return minOf(p) >= 100 && maxOf(p) - minOf(p) <= 60;
    case Colour::Green:
        return g >= 90 && g - std::max(r, b) >= 40 && std::abs(r - b) <= 40;
    case Colour::Yellow:
        return r >= 90 && g >= 90 && std::min(r, g) - b >= 40 && std::abs(r - g) <= 40;
    case Colour::Red:
        return r >= 90 && r - std::max(g, b) >= 40 && std::abs(g - b) <= 40;
    case Colour::DeepRed:
        return r >= 150 && std::max(g, b) <= 80 && std::abs(g - b) <= 40;
    }
    return false;
}

ColourMap classify(const Shot& shot)
{
    ColourMap map;
    map.width = shot.width;
    map.height = shot.height;
    map.bits.assign(static_cast<size_t>(shot.width) * shot.height, 0);
    const uint8_t* p = shot.rgb.data();
    for (uint8_t& bits : map.bits) {
        if (maxOf(p) >= 90) {
            for (Colour c : {Colour::White, Colour::Green, Colour::Yellow, Colour::Red, Colour::DeepRed}) {
                if (isColour(p, c)) bits |= static_cast<uint8_t>(1u << static_cast<int>(c));
            }
            if (isInk(p)) bits |= ColourMap::INK_BIT;
        }
        p += 3;
    }
    return map;
}

std::string describe(const Cell& cell)
{
    char text[48];
    std::snprintf(text, sizeof text, "(%.1f, %.1f)", cell.x, cell.y);
    return text;
}

void Projection::toScreen(double x, double y, double z, double* px, double* py) const
{
    double distance = playfieldDistance - z;
    double aspect = static_cast<double>(width) / height;
    double ndcX = x / (distance * tanHalfFov * aspect);
    double ndcY = y / (distance * tanHalfFov);
    *px = (ndcX + 1.0) * width / 2.0;
    *py = (1.0 - ndcY) * height / 2.0;
}

void Projection::toPlayfield(double px, double py, double* x, double* y) const
{
    double aspect = static_cast<double>(width) / height;
    double ndcX = (px - width / 2.0) / (width / 2.0);
    double ndcY = (height / 2.0 - py) / (height / 2.0);
    *x = ndcX * aspect * tanHalfFov * playfieldDistance;
    *y = ndcY * tanHalfFov * playfieldDistance;
}

Cell Projection::cellAt(double px, double py) const
{
    double x, y;
    toPlayfield(px, py, &x, &y);
    Cell cell;
    cell.x = static_cast<float>(std::round(x * 2.0) / 2.0);
    cell.y = static_cast<float>(std::round(y * 2.0) / 2.0);
    return cell;
}

double Projection::pixelsPerUnit() const
{
    return (height / 2.0) / (playfieldDistance * tanHalfFov);
}

std::vector<Blob> findBlobs(const ColourMap& shot, Colour colour, int minArea)
{
    std::vector<Blob> blobs;
    if (shot.width <= 0 || shot.height <= 0) return blobs;
    std::vector<uint8_t> seen(static_cast<size_t>(shot.width) * shot.height, 0);
    std::vector<int> stack;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            size_t index = static_cast<size_t>(y) * shot.width + x;
            if (seen[index] || !shot.has(x, y, colour)) continue;
            Blob blob;
            blob.bounds = {x, y, x + 1, y + 1};
            double sumX = 0, sumY = 0;
            seen[index] = 1;
            stack.assign(1, static_cast<int>(index));
            while (!stack.empty()) {
                int i = stack.back();
                stack.pop_back();
                int cx = i % shot.width, cy = i / shot.width;
                ++blob.area;
                sumX += cx + 0.5;
                sumY += cy + 0.5;
                blob.bounds.x0 = std::min(blob.bounds.x0, cx);
                blob.bounds.y0 = std::min(blob.bounds.y0, cy);
                blob.bounds.x1 = std::max(blob.bounds.x1, cx + 1);
                blob.bounds.y1 = std::max(blob.bounds.y1, cy + 1);
                const int dx[] = {1, -1, 0, 0};
                const int dy[] = {0, 0, 1, -1};
                for (int k = 0; k < 4; ++k) {
                    int nx = cx + dx[k], ny = cy + dy[k];
                    if (nx < 0 || ny < 0 || nx >= shot.width || ny >= shot.height) continue;
                    size_t n = static_cast<size_t>(ny) * shot.width + nx;
                    if (seen[n] || !shot.has(nx, ny, colour)) continue;
                    seen[n] = 1;
                    stack.push_back(static_cast<int>(n));
                }
            }
            if (blob.area >= minArea) {
                blob.centreX = sumX / blob.area;
                blob.centreY = sumY / blob.area;
                blobs.push_back(blob);
            }
        }
    }
    std::sort(blobs.begin(), blobs.end(),
              [](const Blob& a, const Blob& b) { return a.area > b.area; });
    return blobs;
}

std::vector<Cell> cellsShowing(const ColourMap& shot, const Projection& view, Colour colour,
                               double fill)
{
    std::vector<Cell> cells;
    if (shot.width <= 0 || shot.height <= 0) return cells;
    double probe = 0.6 * 0.25 * view.pixelsPerUnit();
    int reach = static_cast<int>(std::ceil(probe));
    for (int iy = -12; iy <= 12; ++iy) {
        for (int ix = -14; ix <= 10; ++ix) {
            Cell cell{ix * 0.5f, iy * 0.5f};
            double cx, cy;
            view.toScreen(cell.x, cell.y, 0, &cx, &cy);
            int total = 0, matching = 0;
            for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
                for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
                    double ddx = x + 0.5 - cx, ddy = y + 0.5 - cy;
                    if (ddx * ddx + ddy * ddy > probe * probe) continue;
                    ++total;
                    if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) continue;
                    if (shot.has(x, y, colour)) ++matching;
                }
            }
            if (total > 0 && matching >= fill * total) cells.push_back(cell);
        }
    }
    return cells;
}

double ringShare(const ColourMap& map, const Projection& view, const Cell& cell, Colour colour,
                 double inner, double outer)
{
    double radius = 0.25 * view.pixelsPerUnit();
    double from = inner * radius, to = outer * radius;
    double cx, cy;
    view.toScreen(cell.x, cell.y, 0, &cx, &cy);
    int reach = static_cast<int>(std::ceil(to));
    int total = 0, matching = 0;
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double d2 = dx * dx + dy * dy;
            if (d2 < from * from || d2 > to * to) continue;
            ++total;
            if (x >= 0 && y >= 0 && x < map.width && y < map.height && map.has(x, y, colour)) {
                ++matching;
            }
        }
    }
    return total > 0 ? static_cast<double>(matching) / total : 0.0;
}

Box sphereBox(const Projection& view, const Cell& cell, int margin)
{
    double cx, cy;
    view.toScreen(cell.x, cell.y, 0, &cx, &cy);
    double r = 0.25 * view.pixelsPerUnit() + margin;
    return Box{static_cast<int>(std::floor(cx - r)), static_cast<int>(std::floor(cy - r)),
               static_cast<int>(std::ceil(cx + r)), static_cast<int>(std::ceil(cy + r))};
}

int countInk(const ColourMap& shot, const Box& area, const std::vector<Box>& masks)
{
    Box box = clipped(shot, area);
    int count = 0;
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            if (shot.ink(x, y) && !masked(masks, x, y)) ++count;
        }
    }
    return count;
}

int inkRightEdge(const ColourMap& shot, const Box& area, const std::vector<Box>& masks)
{
    Box box = clipped(shot, area);
    for (int x = box.x1 - 1; x >= box.x0; --x) {
        for (int y = box.y0; y < box.y1; ++y) {
            if (shot.ink(x, y) && !masked(masks, x, y)) return x;
        }
    }
    return -1;
}

int litPixels(const Shot& shot)
{
    int count = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (maxOf(shot.at(x, y)) > 40) ++count;
        }
    }
    return count;
}
