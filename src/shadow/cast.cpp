#include "shadow_map.h"

#include "turtle/direction.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

static_assert(FLT_EVAL_METHOD == 0, "float sums must round to float, as on SSE maths (use -mfpmath=sse)");

namespace {

constexpr long long never = LLONG_MAX;

// The points p, p + d, p + 2d, ... of one coordinate, each sum rounded to
// float, from p on: how many of the next points can be skipped because they
// stay in the cell of p, and by how much each of them moves.
struct Drift {
    long long steps;
    double by;
};

// Where the floats around p are evenly spaced, p + d rounds the same way at
// every point (ties to even make it settle after one step), so the next
// points are exactly p + j * by. They are known while each one stays a
// spacing inside that stretch and inside the cell. p is finite and >= 0.
Drift driftInCell(float p, float d)
{
    const float first = p + d;
    if (first == p) return {never, 0.0};   // this coordinate no longer moves
    const float second = first + d;
    const double by = double(first) - double(p);
    if (!(double(second) - double(first) == by)) return {0, 0.0};

    double lo = 0.0, hi = 0x1p-125, spacing = 0x1p-149;   // subnormals and the lowest binade
    if (p >= 0x1p-125f) {
        int e;
        std::frexp(double(p), &e);
        lo = std::ldexp(1.0, e - 1);
        hi = std::ldexp(1.0, e);
        spacing = std::ldexp(1.0, e - 24);
    }
    const double cell = std::floor(double(p));
    const double low = std::max(cell, lo + spacing);
    const double high = std::min(cell + 1.0, hi) - spacing;
    if (!(first >= low && first <= high && second >= low && second <= high)) return {0, 0.0};

    // In units of the spacing every value here is a whole number below 2^26.
    const auto units = [&](double v) { return static_cast<long long>((v - lo) / spacing); };
    const long long move = units(double(p) + by) - units(double(p));
    const long long room = move > 0 ? units(high) - units(double(p)) : units(double(p)) - units(low);
    return {room / (move > 0 ? move : -move), by};
}

// Whether none of the n points p, p + s, p + 2s, ... (each sum rounded to
// float) comes between lo and hi, where p is not between them. While the
// points come closer they are no further from 0 than p, so each sum rounds
// by at most |p| * 2^-24 (taken twice over, for the double sums here).
bool outOfReach(float p, float s, float lo, float hi, int n)
{
    const double reach = double(n) * (std::fabs(double(s)) + std::fabs(double(p)) * 0x1p-23);
    if (p <= lo) return double(p) + reach <= double(lo);
    if (p >= hi) return double(p) - reach >= double(hi);
    return false;
}

float skip(float p, const Drift& drift, long long steps)
{
    return drift.steps == never ? p : static_cast<float>(double(p) + double(steps) * drift.by);
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
    for (int row = y; row < end; ++row) front[static_cast<std::size_t>(row) * width + x] = 1;
    darkFrom[x] = y;
}

// Any other step, from a cell inside the grid: the point by point march,
// with float positions compared to the bounds as exact values. The points
// that stay in the cell just marked are skipped, so a ray costs about as
// much as the cells it crosses, however small its step.
void ShadowMap::march(int x, int y)
{
    float px = static_cast<float>(x);
    float py = static_cast<float>(y);
    for (;;) {
        if (!(static_cast<double>(px) < width) || !(px >= 0.0f)) return;
        if (!(static_cast<double>(py) < height) || !(py >= 0.0f)) return;
        front[static_cast<std::size_t>(py) * width + static_cast<std::size_t>(px)] = 1;

        const Drift driftX = driftInCell(px, rayStepX);
        const Drift driftY = driftInCell(py, rayStepY);
        const long long steps = std::min(driftX.steps, driftY.steps);
        if (steps == never) return;   // the same cell from here on
        px = skip(px, driftX, steps);
        py = skip(py, driftY, steps);
        px += rayStepX;
        py += rayStepY;
    }
}

void ShadowMap::castSegment(int x, int y, float heading, int count)
{
    // Marking only ever sets cells to 1: the same rays again change nothing.
    const Segment segment{x, y, heading, count};
    if (lastSegment == segment) return;
    lastSegment = segment;

    float px = static_cast<float>(x);
    float py = static_cast<float>(y);
    const Direction d = directionOf(heading);
    const float sx = d.sine;
    const float sy = d.cosine;
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
            // Nor does any where the steps left are too few to reach it.
            if (outOfReach(px, sx, -1.0f, w, count - i) || outOfReach(py, sy, -1.0f, h, count - i)) return;
        }
        px += sx;
        py += sy;
    }
}
