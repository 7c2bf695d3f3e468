#include "frame.h"

#include "app/background.h"
#include "app/platform.h"
#include "app/plant_pass.h"
#include "app/surface.h"

#include <algorithm>
#include <climits>

namespace {

bool sameLayout(const SDL_PixelFormat* a, const SDL_PixelFormat* b)
{
    return a->BitsPerPixel == b->BitsPerPixel && a->Rmask == b->Rmask && a->Gmask == b->Gmask &&
           a->Bmask == b->Bmask;
}

// The 8-bit value v widened or narrowed to a channel of the mask's width,
// its bits repeated (255 stays all ones), at the mask's place.
Uint32 channel(Uint32 v, Uint32 mask)
{
    int shift = 0, width = 0;
    while (mask && !(mask >> shift & 1)) ++shift;
    while (shift + width < 32 && mask >> (shift + width) & 1) ++width;
    Uint64 repeated = 0;
    int bits = 0;
    for (; bits < width; bits += 8) repeated = repeated << 8 | v;
    return static_cast<Uint32>(repeated >> (bits - width)) << shift;
}

// Each 8-bit value placed in a window's three channels, kept from one
// present to the next while the window's layout stays.
struct ChannelTables {
    Uint32 masks[3] = {};
    Uint32 values[3][256] = {};

    void fitTo(const SDL_PixelFormat* to)
    {
        const Uint32 now[3] = {to->Rmask, to->Gmask, to->Bmask};
        if (std::equal(now, now + 3, masks)) return;
        for (int c = 0; c < 3; ++c) {
            masks[c] = now[c];
            for (Uint32 v = 0; v < 256; ++v) values[c][v] = channel(v, now[c]);
        }
    }
};

// Copies the canvas, 8 bits a channel, into a 32-bit window of any channel
// widths. SDL 1.2's own blit cannot widen a channel past 8 bits.
void convertInto(const SDL_Surface* canvas, SDL_Surface* window)
{
    static ChannelTables tables;
    tables.fitTo(window->format);
    const SDL_PixelFormat* from = canvas->format;
    for (int y = 0; y < window->h && y < canvas->h; ++y) {
        const Uint32* in = pixelRow(canvas, y);
        Uint32* out = pixelRow(window, y);
        for (int x = 0; x < window->w && x < canvas->w; ++x) {
            const Uint32 p = in[x];
            out[x] = tables.values[0][p >> from->Rshift & 0xff] | tables.values[1][p >> from->Gshift & 0xff] |
                     tables.values[2][p >> from->Bshift & 0xff];
        }
    }
}

} // namespace

void copyToWindow(const SDL_Surface* canvas, SDL_Surface* window)
{
    if (canvas == window) {
        // Drawn in place.
    } else if (sameLayout(canvas->format, window->format)) {
        SDL_BlitSurface(const_cast<SDL_Surface*>(canvas), nullptr, window, nullptr);
    } else {
        const bool lock = SDL_MUSTLOCK(window);
        if (lock) SDL_LockSurface(window);
        convertInto(canvas, window);
        if (lock) SDL_UnlockSurface(window);
    }
}

void runFrame(Frame& frame)
{
    beginFrame(frame);
    continueFrame(frame, INT_MAX);
}

void beginFrame(Frame& frame)
{
    present(frame.window, frame.canvas);
    // Where SDL keeps a surface's pixels elsewhere, they are in memory only
    // while it is locked; the present needs it unlocked.
    if (canvasNeedsLock(frame.canvas)) SDL_LockSurface(frame.canvas);
    drawBackground(frame.canvas, frame.shadow, frame.night, frame.day);
    frame.shadow.swapAndClear();
    handleEvents(frame.event, frame.input, frame.arbre);
    beginPlantPass(frame.pass, frame.canvas, frame.arbre, frame.input.mouseX, frame.input.mouseY, frame.input.chosen);
}

bool continueFrame(Frame& frame, int symbols)
{
    if (!continuePlantPass(frame.pass, frame.canvas, frame.arbre, frame.shadow, frame.colours, symbols))
        return false;
    if (canvasNeedsLock(frame.canvas)) SDL_UnlockSurface(frame.canvas);
    return true;
}

void restartPlantPass(Frame& frame)
{
    if (!frame.pass.walking) return;
    // The sky is drawn and the squares wait for the walk's end: only the
    // shadows cast so far are undone.
    frame.shadow.clearFront();
    beginPlantPass(frame.pass, frame.canvas, frame.arbre, frame.pass.mouseX, frame.pass.mouseY, frame.pass.chosen);
}

SDL_Surface* drawingSurface(SDL_Surface* window, const SDL_Surface* sky)
{
    const SDL_PixelFormat* layout = sky ? sky->format : window->format;
    if (sameLayout(layout, window->format)) return window;
    // No alpha channel: the copy to the window must not blend.
    return SDL_CreateRGBSurface(SDL_SWSURFACE, window->w, window->h, 32, layout->Rmask, layout->Gmask,
                                layout->Bmask, 0);
}

void freeSurfaces(Frame& frame)
{
    SDL_FreeSurface(frame.day.image);
    SDL_FreeSurface(frame.night.image);
    closeCanvas(frame.window, frame.canvas);
}
