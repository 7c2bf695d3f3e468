#include "shadow_map.h"

#include <algorithm>
#include <cmath>

namespace {

// Most points a ray with step (dx, dy) can visit in a w x h grid: enough to
// cross it along the larger component. Also ends rays whose step is too small
// to move them.
long long pointLimit(float dx, float dy, int w, int h)
{
    const double ax = std::fabs(static_cast<double>(dx));
    const double ay = std::fabs(static_cast<double>(dy));
    const double d = std::max(ax, ay);
    if (!(d > 0.0)) return 1;
    const double span = ax >= ay ? w : h;
    const double n = std::ceil(span / d) + 1.0;
    return n < 4e18 ? static_cast<long long>(n) : 4000000000000000000LL;
}

} // namespace

void ShadowMap::castRay(int x, int y)
{
    if (!front || !inside(x, y)) return;
    if (rayStepX == 0.0f && rayStepY == 1.0f) fillDown(x, y);
    else march(x, y);
}

// The default step, (0, 1), from a cell inside the grid: marks column x from
// row y to the bottom, skipping the run below that is already marked.
void ShadowMap::fillDown(int x, int y)
{
    const int end = darkFrom[x];
    if (y >= end) return;
    uint8_t* cell = front.get() + static_cast<std::size_t>(y) * width + x;
    for (int row = y; row < end; ++row, cell += width) *cell = 1;
    darkFrom[x] = y;
}

// Any other step, from a cell inside the grid: the point by point march,
// with float positions compared to the bounds as exact values.
void ShadowMap::march(int x, int y)
{
    float px = static_cast<float>(x);
    float py = static_cast<float>(y);
    const long long limit = pointLimit(rayStepX, rayStepY, width, height);
    for (long long n = 0; n < limit; ++n) {
        if (!(static_cast<double>(px) < width) || !(px >= 0.0f)) return;
        if (!(static_cast<double>(py) < height) || !(py >= 0.0f)) return;
        front[static_cast<std::size_t>(py) * width + static_cast<std::size_t>(px)] = 1;
        const float nx = px + rayStepX;
        const float ny = py + rayStepY;
        if (nx == px && ny == py) return;   // the same cell from here on
        px = nx;
        py = ny;
    }
}

void ShadowMap::castSegment(int x, int y, float heading, int count)
{
    float px = static_cast<float>(x);
    float py = static_cast<float>(y);
    const float sx = static_cast<float>(std::sin(static_cast<double>(heading)));
    const float sy = static_cast<float>(std::cos(static_cast<double>(heading)));
    if (std::isnan(sx) || std::isnan(sy)) count = std::min(count, 1);

    // Sides are at most 2^24, so they and the float positions compare exactly.
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const bool down = front && rayStepX == 0.0f && rayStepY == 1.0f;
    for (int i = 0; i < count; ++i) {
        // trunc(p) lies in [0, n) exactly when -1 < p < n.
        if (px > -1.0f && px < w && py > -1.0f && py < h) {
            const int cx = static_cast<int>(px);
            const int cy = static_cast<int>(py);
            if (down) fillDown(cx, cy);
            else march(cx, cy);
        } else {
            // Off the grid: once moving away, or no longer moving at all, no
            // later point comes back onto it.
            if ((px <= -1.0f && sx <= 0.0f) || (px >= w && sx >= 0.0f) || (py <= -1.0f && sy <= 0.0f) ||
                (py >= h && sy >= 0.0f) || (px + sx == px && py + sy == py))
                return;
        }
        px += sx;
        py += sy;
    }
}
