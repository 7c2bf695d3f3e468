#include "colours.h"

Palette mapPalette(const SDL_PixelFormat* format)
{
    Palette p;
    p.jointColour = SDL_MapRGBA(format, 102, 51, 0, 255);
    p.highlightColour = SDL_MapRGB(format, 255, 0, 0);
    p.leafShadedColour = SDL_MapRGB(format, 0, 255, 0);
    p.leafLitColour = SDL_MapRGB(format, 255, 255, 0);
    p.leafHalfShadedColour = SDL_MapRGB(format, 255, 128, 0);
    return p;
}

Sky nightSky(SDL_Surface* image, const SDL_PixelFormat* format)
{
    return Sky{image, SDL_MapRGB(format, 12, 14, 40)};
}

Sky daySky(SDL_Surface* image, const SDL_PixelFormat* format)
{
    return Sky{image, SDL_MapRGB(format, 135, 206, 235)};
}
