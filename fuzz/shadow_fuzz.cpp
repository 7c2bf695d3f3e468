// Fuzzes the shadow map: sizes, ray steps, casts, reads and writes at any
// coordinates. Where a cast is small enough, it is checked cell for cell
// against the plain point-by-point march.
#include "shadow/plain_map.h"
#include "shadow/shadow_map.h"

#include "check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <memory>

namespace {

// The plain march takes every point: small steps would make a run crawl.
// Ray steps and headings as the system meets them: fractions of a cell and
// angles of a few turns, with the values where casting changes its ways.
float special(FuzzedDataProvider& in, float range)
{
    const float values[] = {0.0f, 0.5f, -0.5f, 1.0f, NAN, INFINITY, -INFINITY, 3.1416f};
    if (in.ConsumeBool()) return values[in.ConsumeIntegralInRange<std::size_t>(0, 7)];
    return in.ConsumeFloatingPointInRange(-range, range);
}

bool comparable(float dx, float dy)
{
    return std::isfinite(dx) && std::isfinite(dy) && std::max(std::fabs(dx), std::fabs(dy)) >= 0.05f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ShadowMap map;
    std::unique_ptr<PlainMap> plain;   // the reference, while the casts stay comparable
    int w = 0, h = 0;
    float dx = 0.0f, dy = 1.0f;

    while (in.remaining_bytes() > 0) {
        const int x = in.ConsumeIntegral<int>();
        const int y = in.ConsumeIntegral<int>();
        const int sizeX = in.ConsumeIntegralInRange(-3, 70);
        const int sizeY = in.ConsumeIntegralInRange(-3, 70);
        switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
            map.setSize(sizeX, sizeY);
            w = map.getWidth();
            h = map.getHeight();
            check(w == (sizeX >= 0 && sizeY >= 0 ? sizeX : 0));
            plain.reset();
            if (w > 0 && h > 0 && comparable(dx, dy)) {
                plain = std::make_unique<PlainMap>(w, h);
                plain->dx = dx;
                plain->dy = dy;
            }
            break;
        case 1:
            dx = special(in, 2.0f);
            dy = special(in, 2.0f);
            map.setRayStep(dx, dy);
            if (plain && comparable(dx, dy)) {
                plain->dx = dx;
                plain->dy = dy;
            } else {
                plain.reset();
            }
            break;
        case 2: {
            const int starts[2][2] = {{x, y}, {x % 100, y % 100}};
            for (const auto& s : starts) {
                map.castRay(s[0], s[1]);
                if (plain) plain->castRay(s[0], s[1]);
            }
            break;
        }
        case 3: {
            const float heading = special(in, 7.0f);
            // Other steps march every ray point by point: fewer rays keep a run short.
            const bool down = dx == 0.0f && dy == 1.0f;
            const int count = in.ConsumeIntegralInRange(-5, down ? 3000 : 60);
            if (!std::isfinite(heading)) plain.reset();
            if (plain) {
                // Small starts keep the plain march's truncations defined.
                map.castSegment(x % 200, y % 200, heading, count);
                plain->castSegment(x % 200, y % 200, heading, count);
            } else {
                map.castSegment(x, y, heading, count);
            }
            break;
        }
        case 4: {
            const uint8_t v = in.ConsumeIntegral<uint8_t>();
            map.setCell(x % 80, y % 80, v);
            if (plain) plain->set(x % 80, y % 80, v);
            break;
        }
        case 5:
            map.swapAndClear();
            if (plain) std::fill(plain->cells.begin(), plain->cells.end(), 0);
            break;
        case 6:
            (void)map.readBack(x, y);
            (void)map.readFront(x, y);
            break;
        case 7: {
            int visited = 0;
            for (map.begin(); !map.atEnd(); map.next(), ++visited)
                check(map.currentValue() == map.readFront(map.currentX(), map.currentY()));
            check(visited == w * h);
            break;
        }
        }
        if (plain) {
            for (int cy = 0; cy < h; ++cy)
                for (int cx = 0; cx < w; ++cx) check(map.readFront(cx, cy) == plain->get(cx, cy));
        }
    }
    return 0;
}
