#pragma once

#include <SDL/SDL.h>

// Loads an image and converts it to the display's format with alpha. On
// failure prints "error loading : <path>" on standard output and returns
// null. Needs the video mode to be set.
SDL_Surface* loadImage(const char* path);

// The 32-bit pixel at (x, y); the caller keeps (x, y) inside the surface.
Uint32 getPixel(const SDL_Surface* surface, int x, int y);

// Stores a 32-bit pixel at (x, y); the caller keeps (x, y) inside the surface.
void putPixel(SDL_Surface* surface, int x, int y, Uint32 value);
