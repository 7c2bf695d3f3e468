#include "surface.h"

#include <SDL/SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

uint32_t bigEndian(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// A regular file whose sides, where its header tells them (PNG), are within
// the limit. A FIFO or a device would block or never end; a huge image would
// take gigabytes before it could be refused.
bool worthLoading(const char* path)
{
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    unsigned char head[24];
    const bool whole = std::fread(head, 1, sizeof head, file) == sizeof head;
    std::fclose(file);
    if (!whole || std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return true;
    return bigEndian(head + 16) <= maxImageSide && bigEndian(head + 20) <= maxImageSide;
}

} // namespace

void reportUnloaded(const char* path)
{
    std::printf("error loading : %s\n", path);
    std::fflush(stdout);
}

SDL_Surface* loadImage(const char* path)
{
    SDL_Surface* image = loadImageQuietly(path);
    if (!image) reportUnloaded(path);
    return image;
}

SDL_Surface* loadImageQuietly(const char* path)
{
    SDL_Surface* loaded = worthLoading(path) ? IMG_Load(path) : nullptr;
    if (loaded && (loaded->w > maxImageSide || loaded->h > maxImageSide)) {
        SDL_FreeSurface(loaded);
        loaded = nullptr;
    }
    SDL_Surface* converted = loaded ? SDL_DisplayFormatAlpha(loaded) : nullptr;
    if (loaded) SDL_FreeSurface(loaded);
    if (converted && SDL_MUSTLOCK(converted)) SDL_LockSurface(converted);
    return converted;
}

// Rows are addressed through the pitch, which is w * 4 for every 32-bit
// surface the program makes, but may be more for a surface with padded rows.
Uint32* pixelRow(SDL_Surface* surface, int y)
{
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
}

const Uint32* pixelRow(const SDL_Surface* surface, int y)
{
    return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
}

namespace {

// Fills [from, to) with value, two pixels to a store where it can: a
// WebAssembly build without vector instructions otherwise stores one at a
// time.
void fillPixels(Uint32* from, Uint32* to, Uint32 value)
{
    const uint64_t pair = uint64_t(value) << 32 | value;
    const std::ptrdiff_t pairs = (to - from) / 2;
    for (std::ptrdiff_t i = 0; i < pairs; ++i) std::memcpy(from + 2 * i, &pair, sizeof pair);
    if ((to - from) % 2) to[-1] = value;
}

} // namespace

void fillSquare(SDL_Surface* surface, const SDL_Rect& rect, Uint32 value)
{
    const int x0 = std::max<int>(rect.x, 0), x1 = std::min<int>(rect.x + rect.w, surface->w);
    const int y0 = std::max<int>(rect.y, 0), y1 = std::min<int>(rect.y + rect.h, surface->h);
    if (x1 <= x0) return;
    for (int y = y0; y < y1; ++y) {
        Uint32* row = pixelRow(surface, y);
        fillPixels(row + x0, row + x1, value);
    }
}

Uint32 getPixel(const SDL_Surface* surface, int x, int y) { return pixelRow(surface, y)[x]; }

void putPixel(SDL_Surface* surface, int x, int y, Uint32 value) { pixelRow(surface, y)[x] = value; }
