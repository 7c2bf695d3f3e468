#include "background.h"

#include "app/surface.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr uint64_t ones = 0x0101010101010101ull;
constexpr uint64_t highs = 0x8080808080808080ull;

bool anyZeroByte(uint64_t v) { return ((v - ones) & ~v & highs) != 0; }

// End of the run of cells from x that are all lit (dark false) or all
// shadowed (dark true), eight cells at a time where it can.
int runEnd(const uint8_t* cells, int x, int w, bool dark)
{
    for (; x + 8 <= w; x += 8) {
        uint64_t v;
        std::memcpy(&v, cells + x, 8);
        if (dark ? anyZeroByte(v) : v != 0) break;
    }
    while (x < w && (cells[x] != 0) == dark) ++x;
    return x;
}

// Copies pixels x0 .. x1 - 1 of row y from the sky, or its fallback colour
// where the image has none.
void copySky(const Sky& sky, int y, int x0, int x1, Uint32* out)
{
    SDL_Surface* image = sky.image;
    int have = x0;
    if (image && image->format->BytesPerPixel == 4 && y < image->h && x0 < image->w) {
        have = std::min(image->w, x1);
        std::memcpy(out + x0, pixelRow(image, y) + x0, sizeof(Uint32) * (have - x0));
    }
    std::fill(out + have, out + x1, sky.fallback);
}

} // namespace

void drawBackground(SDL_Surface* window, const ShadowMap& shadow, const Sky& night, const Sky& day)
{
    const int w = std::min(shadow.getWidth(), window->w);
    const int h = std::min(shadow.getHeight(), window->h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* cells = shadow.frontRow(y);
        Uint32* out = pixelRow(window, y);
        for (int x = 0; x < w;) {
            const bool dark = cells[x] != 0;
            const int end = runEnd(cells, x, w, dark);
            copySky(dark ? night : day, y, x, end, out);
            x = end;
        }
    }
}
