#pragma once

#include <SDL/SDL.h>

// The largest side of an image that loadImage accepts.
constexpr int maxImageSide = 8192;

// Loads an image and converts it to the display's format with alpha. On
// failure prints "error loading : <path>" on standard output and returns
// null; so it does for what is not a regular file, and for an image wider
// or higher than maxImageSide. A surface whose pixels SDL keeps elsewhere
// comes locked, so that they can be read. Needs the video mode to be set.
SDL_Surface* loadImage(const char* path);

// loadImage without the message.
SDL_Surface* loadImageQuietly(const char* path);

// Prints "error loading : <path>" and a line end on standard output, flushed.
void reportUnloaded(const char* path);

// The 32-bit pixel at (x, y); the caller keeps (x, y) inside the surface.
Uint32 getPixel(const SDL_Surface* surface, int x, int y);

// Stores a 32-bit pixel at (x, y); the caller keeps (x, y) inside the surface.
void putPixel(SDL_Surface* surface, int x, int y, Uint32 value);

// Fills the part of rect inside a 32-bit surface with value, in memory, as
// SDL 1.2's SDL_FillRect does on an unclipped surface: the rectangle is cut
// to the surface, and one left of or above it, or empty, fills nothing.
void fillSquare(SDL_Surface* surface, const SDL_Rect& rect, Uint32 value);

// Row y of a 32-bit surface, found through its pitch.
Uint32* pixelRow(SDL_Surface* surface, int y);
const Uint32* pixelRow(const SDL_Surface* surface, int y);
