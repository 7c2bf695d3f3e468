#pragma once

#include <SDL/SDL.h>

// The colours of the plant, mapped once with the window's pixel format.
// Every entry is non-zero: 0 stands for "no square".
struct Palette {
    Uint32 jointColour;            // (102, 51, 0), alpha 255
    Uint32 highlightColour;        // (255, 0, 0)
    Uint32 leafShadedColour;       // (0, 255, 0)
    Uint32 leafLitColour;          // (255, 255, 0)
    Uint32 leafHalfShadedColour;   // (255, 128, 0)
};

// One sky image with the colour shown where it has no pixel: it failed to
// load, or is smaller than the window.
struct Sky {
    SDL_Surface* image;
    Uint32 fallback;
};

// Maps the plant's colours in the order joint, highlight, shaded, lit, half.
Palette mapPalette(const SDL_PixelFormat* format);

// The night sky and its fallback, RGB (12, 14, 40).
Sky nightSky(SDL_Surface* image, const SDL_PixelFormat* format);

// The day sky and its fallback, RGB (135, 206, 235).
Sky daySky(SDL_Surface* image, const SDL_PixelFormat* format);
