// The shadow map's casting against a plain point-by-point march.
#include "shadow/plain_map.h"
#include "shadow/shadow_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

void expectSame(const ShadowMap& fast, const PlainMap& plain, int round)
{
    for (int y = 0; y < plain.h; ++y)
        for (int x = 0; x < plain.w; ++x)
            ASSERT_EQ(fast.readFront(x, y), plain.cells[std::size_t(y) * plain.w + x])
                << "cell (" << x << ", " << y << ") after round " << round;
}

void compareRandomCasts(int w, int h, bool otherSteps, unsigned seed)
{
    std::mt19937 rng(seed);
    auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    auto integer = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    ShadowMap fast;
    fast.setSize(w, h);
    PlainMap plain(w, h);
    int x = 0, y = 0, count = 0;
    float heading = 0.0f;
    for (int round = 0; round < 30; ++round) {
        fast.swapAndClear();
        std::fill(plain.cells.begin(), plain.cells.end(), 0);
        if (otherSteps) {
            float dx = round % 3 == 0 ? 0.0f : uniform(-2.0f, 2.0f);
            float dy = round % 3 == 0 ? 1.0f : uniform(-2.0f, 2.0f);
            if (std::max(std::fabs(dx), std::fabs(dy)) < 0.05f) dx = 0.5f;
            fast.setRayStep(dx, dy);
            plain.dx = dx;
            plain.dy = dy;
        }
        for (int n = 0; n < 150; ++n) {
            if (integer(0, 9) == 0) {
                // Writes into marked cells, 0, 1 and other values alike.
                const int cx = integer(-2, w + 1), cy = integer(-2, h + 1);
                const uint8_t v = static_cast<uint8_t>(integer(0, 3));
                fast.setCell(cx, cy, v);
                plain.set(cx, cy, v);
                continue;
            }
            // A third of the casts repeat the one before, across cell writes,
            // swaps and step changes as well as straight after it.
            if (integer(0, 2) != 0) {
                x = integer(-30, w + 30);
                y = integer(-30, h + 30);
                heading = integer(0, 3) == 0 ? 3.1416f : uniform(-7.0f, 7.0f);
                count = integer(-3, 40);
            }
            fast.castSegment(x, y, heading, count);
            plain.castSegment(x, y, heading, count);
        }
        expectSame(fast, plain, round);
        if (testing::Test::HasFatalFailure()) return;
    }
}

} // namespace

TEST(CastDifferential, DefaultStepMatchesThePlainMarch)
{
    compareRandomCasts(600, 400, false, 1);
    compareRandomCasts(37, 23, false, 2);
}

TEST(CastDifferential, OtherStepsMatchThePlainMarch)
{
    compareRandomCasts(120, 80, true, 3);
}

// Steps far below a cell, many of them halfway between two floats at some
// point of the ray (k / 2^n): the skipped points must be the plain march's.
TEST(CastDifferential, TinyStepsMatchThePlainMarch)
{
    std::mt19937 rng(4);
    auto integer = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto tiny = [&] {
        const float v = std::ldexp(float(integer(1, 7)), -integer(7, 15));
        return integer(0, 1) ? v : -v;
    };
    ShadowMap fast;
    fast.setSize(24, 20);
    PlainMap plain(24, 20);
    for (int round = 0; round < 40; ++round) {
        fast.swapAndClear();
        std::fill(plain.cells.begin(), plain.cells.end(), 0);
        const float dx = round % 4 == 0 ? 0.0f : tiny();
        const float dy = round % 4 == 1 ? 0.0f : round % 4 == 2 ? std::ldexp(float(integer(-3, 3)), -3) : tiny();
        fast.setRayStep(dx, dy);
        plain.dx = dx;
        plain.dy = dy;
        for (int n = 0; n < 8; ++n) {
            const int x = integer(0, 23), y = integer(0, 19);
            fast.castRay(x, y);
            plain.castRay(x, y);
        }
        SCOPED_TRACE(testing::Message() << "step (" << dx << ", " << dy << ")");
        expectSame(fast, plain, round);
        if (testing::Test::HasFatalFailure()) return;
    }
}

TEST(CastDifferential, TinyStepCrossesTheMapAlongItsCells)
{
    ShadowMap map;
    map.setSize(70, 70);
    map.setRayStep(4.2e-6f, 0.0f);   // about 2^24 points to the edge
    map.castSegment(0, 0, 0.0f, 60);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x) ASSERT_EQ(map.readFront(x, y), y < 60 ? 1 : 0) << x << ", " << y;
}

// Segments from up to millions of cells off the grid, where each float sum
// rounds a long way, aimed so that their points reach it: cast with exactly
// the steps the plain march needs to reach the grid and with one more, the
// far points are passed over without losing the first one on it.
TEST(CastDifferential, FarSegmentsReachTheGridWhereThePlainMarchDoes)
{
    std::mt19937 rng(5);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    const int w = 60, h = 40;
    auto onGrid = [&](float px, float py) { return px > -1.0f && px < w && py > -1.0f && py < h; };
    int reached = 0;
    for (int n = 0; n < 40; ++n) {
        // From the left or the right, across the rows.
        const bool left = n % 2 == 0;
        const int x = left ? -int(std::pow(10.0, uniform(1.0, 6.5))) : w + int(std::pow(10.0, uniform(1.0, 6.5)));
        const float heading = float(left ? uniform(0.4, 2.7) : -uniform(0.4, 2.7));
        const float sx = float(std::sin(double(heading))), sy = float(std::cos(double(heading)));
        int y = int(20.0 - (30.0 - x) * double(sy) / double(sx));
        int steps = 0;
        for (int aim = 0; aim < 8; ++aim) {
            float px = float(x), py = float(y);
            for (steps = 0; !(px > -1.0f && px < w); ++steps) {
                px += sx;
                py += sy;
            }
            if (onGrid(px, py)) break;
            y += int(std::lround(20.0 - py));
        }
        for (int count : {steps, steps + 1}) {
            ShadowMap fast;
            fast.setSize(w, h);
            PlainMap plain(w, h);
            fast.castSegment(x, y, heading, count);
            plain.castSegment(x, y, heading, count);
            SCOPED_TRACE(testing::Message() << "from (" << x << ", " << y << "), " << count << " steps");
            expectSame(fast, plain, n);
            if (testing::Test::HasFatalFailure()) return;
            reached += std::count(plain.cells.begin(), plain.cells.end(), 1) > 0;
        }
    }
    EXPECT_GE(reached, 30);
}
