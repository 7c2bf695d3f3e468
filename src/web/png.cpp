// The page's image loading: IMG_Load in the program itself, on emscripten's
// stb_image built for PNG alone, the only kind of image the program reads.
// It takes the place of the browser SDL's own IMG_Load, which links every
// decoder stb_image has, and gives the same surface: the image as RGBA,
// every kind of PNG widened to 8-bit red, green, blue and alpha.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_LINEAR
#define STBI_NO_FAILURE_STRINGS
#include <stb_image.h>

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <cstring>

extern "C" SDL_Surface* IMG_Load(const char* file)
{
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgba = stbi_load(file, &w, &h, &channels, 4);
    if (!rgba) return nullptr;
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000ff, 0x0000ff00, 0x00ff0000, 0xff000000);
    if (image) {
        SDL_LockSurface(image);
        for (int y = 0; y < h; ++y)
            std::memcpy(static_cast<Uint8*>(image->pixels) + y * image->pitch, rgba + std::size_t(y) * w * 4, std::size_t(w) * 4);
        SDL_UnlockSurface(image);
    }
    stbi_image_free(rgba);
    return image;
}
