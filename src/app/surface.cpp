#include "surface.h"

#include <SDL/SDL_image.h>

#include <iostream>

SDL_Surface* loadImage(const char* path)
{
    SDL_Surface* loaded = IMG_Load(path);
    SDL_Surface* converted = loaded ? SDL_DisplayFormatAlpha(loaded) : nullptr;
    if (loaded) SDL_FreeSurface(loaded);
    if (!converted) std::cout << "error loading : " << path << std::endl;
    return converted;
}

// Rows are addressed through the pitch, which is w * 4 for every 32-bit
// surface the program makes, but may be more for a surface with padded rows.
Uint32 getPixel(const SDL_Surface* surface, int x, int y)
{
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const Uint32*>(row)[x];
}

void putPixel(SDL_Surface* surface, int x, int y, Uint32 value)
{
    auto* row = static_cast<Uint8*>(surface->pixels) + y * surface->pitch;
    reinterpret_cast<Uint32*>(row)[x] = value;
}
