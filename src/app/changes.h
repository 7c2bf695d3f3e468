#pragma once

#include <SDL/SDL.h>

// The smallest rectangle that holds every pixel where two w x h images,
// rows w pixels apart, differ; an empty one at (0, 0) where they are equal.
SDL_Rect changedArea(const Uint32* before, const Uint32* after, int w, int h);

// Copies the pixels of area from one w-pixel-wide image into another.
void copyArea(const Uint32* from, Uint32* to, int w, const SDL_Rect& area);
