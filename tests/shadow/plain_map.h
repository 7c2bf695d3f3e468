#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Cells cast the plain way, point by point, to check the shadow map against.
struct PlainMap {
    int w, h;
    float dx = 0.0f, dy = 1.0f;
    std::vector<uint8_t> cells;

    PlainMap(int width, int height) : w(width), h(height), cells(std::size_t(width) * height) {}

    uint8_t get(int x, int y) const
    {
        return x >= 0 && x < w && y >= 0 && y < h ? cells[std::size_t(y) * w + x] : 0;
    }

    void set(int x, int y, uint8_t v)
    {
        if (x >= 0 && x < w && y >= 0 && y < h) cells[std::size_t(y) * w + x] = v;
    }

    // Ends where the ray leaves the grid or no longer moves.
    void castRay(int x, int y)
    {
        float px = float(x), py = float(y);
        for (;;) {
            if (!(double(px) < w) || !(px >= 0.0f) || !(double(py) < h) || !(py >= 0.0f)) return;
            cells[std::size_t(int(py)) * w + int(px)] = 1;
            if (px + dx == px && py + dy == py) return;
            px += dx;
            py += dy;
        }
    }

    void castSegment(int x, int y, float heading, int count)
    {
        float px = float(x), py = float(y);
        const float sx = float(std::sin(double(heading)));
        const float sy = float(std::cos(double(heading)));
        for (int i = 0; i < count; ++i) {
            castRay(int(px), int(py));
            px += sx;
            py += sy;
        }
    }
};
