#include "changes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The first of n pixels where a and b differ, or n; eight pixels to a test
// where it can.
int firstDifference(const Uint32* a, const Uint32* b, int n)
{
    int x = 0;
    for (; x + 8 <= n; x += 8) {
        uint64_t u[4], v[4];
        std::memcpy(u, a + x, sizeof u);
        std::memcpy(v, b + x, sizeof v);
        if (((u[0] ^ v[0]) | (u[1] ^ v[1]) | (u[2] ^ v[2]) | (u[3] ^ v[3])) != 0) break;
    }
    while (x < n && a[x] == b[x]) ++x;
    return x;
}

// One past the last of n pixels where a and b differ, or 0.
int lastDifferenceEnd(const Uint32* a, const Uint32* b, int n)
{
    while (n > 0 && a[n - 1] == b[n - 1]) --n;
    return n;
}

} // namespace

SDL_Rect changedArea(const Uint32* before, const Uint32* after, int w, int h)
{
    int left = w, right = 0, top = h, bottom = 0;
    for (int y = 0; y < h; ++y) {
        const Uint32* a = before + static_cast<std::size_t>(y) * w;
        const Uint32* b = after + static_cast<std::size_t>(y) * w;
        const int first = firstDifference(a, b, w);
        if (first == w) continue;
        left = std::min(left, first);
        right = std::max(right, lastDifferenceEnd(a, b, w));
        top = std::min(top, y);
        bottom = y + 1;
    }
    if (bottom == 0) return SDL_Rect{0, 0, 0, 0};
    return SDL_Rect{static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left),
                    static_cast<Uint16>(bottom - top)};
}

void copyArea(const Uint32* from, Uint32* to, int w, const SDL_Rect& area)
{
    for (int y = area.y; y < area.y + area.h; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * w + area.x;
        std::memcpy(to + start, from + start, sizeof(Uint32) * area.w);
    }
}
