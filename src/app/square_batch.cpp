#include "square_batch.h"

#include "app/surface.h"

void SquareBatch::fitTo(int w, int h)
{
    if (!fills.empty() || (w == width && h == height)) return;
    width = w;
    height = h;
    // A place for each corner from which an 8 or a 40 square reaches into
    // the surface.
    lastFill.assign(std::size_t(w + 7) * (h + 7) + std::size_t(w + 39) * (h + 39), 0);
}

void SquareBatch::add(const SDL_Rect& rect, Uint32 colour)
{
    const int side = rect.w == 40 ? 40 : 8;
    if (rect.x <= -side || rect.x >= width || rect.y <= -side || rect.y >= height) return;
    std::size_t place = std::size_t(rect.y + side - 1) * (width + side - 1) + std::size_t(rect.x + side - 1);
    if (side == 40) place += std::size_t(width + 7) * (height + 7);
    fills.push_back({rect, colour, place});
    lastFill[place] = static_cast<std::uint32_t>(fills.size());
}

void SquareBatch::clear()
{
    for (const Fill& fill : fills) lastFill[fill.place] = 0;
    fills.clear();
}

void SquareBatch::draw(SDL_Surface* surface)
{
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const Fill& fill = fills[i];
        // No fill after a place's last refers to it: it is cleared for the next walk.
        if (lastFill[fill.place] != i + 1) continue;
        lastFill[fill.place] = 0;
        fillSquare(surface, fill.rect, fill.colour);
    }
    fills.clear();
}
