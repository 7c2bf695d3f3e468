#pragma once

#include <SDL/SDL.h>

#include <cstdint>
#include <vector>

// The squares one walk of the plant fills, drawn together once it ends. A
// square filled again later covers its earlier fills wholly, so of each
// place only the last fill shows, and only that one is drawn: leaves that
// lie on one another cost one fill a place, not one a leaf.
struct SquareBatch {
    // Makes the batch, while it keeps nothing, one for a surface of
    // width x height.
    void fitTo(int width, int height);

    // Keeps a fill of rect, 8 or 40 pixels square; a square wholly outside
    // the surface is left out.
    void add(const SDL_Rect& rect, Uint32 colour);

    // Forgets the kept squares, drawing none.
    void clear();

    // Fills the kept squares on surface (of the size they were kept for),
    // in the order they came, each place's last one only; keeps none after.
    void draw(SDL_Surface* surface);

private:
    struct Fill {
        SDL_Rect rect;
        Uint32 colour;
        std::size_t place;
    };
    std::vector<Fill> fills;
    std::vector<std::uint32_t> lastFill;   // by place: 1 + its last fill's index, or 0
    int width = -1, height = -1;
};
