// The canvas in the program's memory, and its upload onto the page's
// canvas: only what changed since the last present, in one putImageData.
#include "app/changes.h"
#include "app/platform.h"
#include "app/surface.h"

#include <emscripten.h>

#include <vector>

namespace {

// A 32-bit surface whose pixels are plain memory, which the browser's SDL
// knows nothing of: the passes write it directly, with no canvas behind it
// to read back or write through, and the present puts on the page what
// changed since the last, in one upload.
struct MemorySurface {
    SDL_Surface surface{};
    SDL_PixelFormat format{};
    std::vector<Uint32> pixels;
    std::vector<Uint32> shown;   // what the page's canvas shows, once onPage
    bool onPage = false;
};

// Alpha at its full value in every pixel of an image: the page's canvas
// shows alpha, which the desktop's window ignores.
void makeOpaque(SDL_Surface* image)
{
    if (!image || image->format->BytesPerPixel != 4) return;
    const Uint32 alpha = image->format->Amask;
    for (int y = 0; y < image->h; ++y) {
        Uint32* row = pixelRow(image, y);
        for (int x = 0; x < image->w; ++x) row[x] |= alpha;
    }
}

// Puts the area (x, y, aw, ah) of a w x h image in the program's memory on
// the page's canvas; the whole image where the browser has cleared the
// canvas since. The image over that memory is made anew only when the
// memory has grown and moved.
EM_JS(void, uploadArea, (const void* pixels, int w, int h, int x, int y, int aw, int ah), {
    if (!Module.frameContext) Module.frameContext = Module.canvas.getContext('2d');
    if (!Module.frameImage || Module.frameImage.data.buffer !== HEAPU8.buffer)
        Module.frameImage = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4), w, h);
    if (Module.canvasCleared) {
        Module.canvasCleared = false;
        Module.frameContext.putImageData(Module.frameImage, 0, 0);
    } else if (aw > 0 && ah > 0) {
        Module.frameContext.putImageData(Module.frameImage, 0, 0, x, y, aw, ah);
    }
});

// The browser clears a canvas when it restores a lost context, when its
// size is set (also to the same size) and may when the tab is hidden: each
// time, the whole canvas goes on the page again at the next frame.
EM_JS(void, watchCanvas, (), {
    function cleared() {
        Module.canvasCleared = true;
        if (Module._wake) Module._wake();
    }
    Module.canvas.addEventListener('contextrestored', cleared);
    document.addEventListener('visibilitychange', function() { if (!document.hidden) cleared(); });
    new MutationObserver(cleared).observe(Module.canvas, {attributes: true, attributeFilter: ['width', 'height']});
});

} // namespace

SDL_Surface* openCanvas(SDL_Surface* window, SDL_Surface* night, SDL_Surface* day)
{
    makeOpaque(night);
    makeOpaque(day);
    watchCanvas();
    auto* memory = new MemorySurface;
    memory->format = *window->format;
    memory->format.palette = nullptr;
    memory->pixels.assign(static_cast<std::size_t>(window->w) * window->h, 0);
    memory->shown = memory->pixels;
    SDL_Surface& s = memory->surface;
    s.format = &memory->format;
    s.w = window->w;
    s.h = window->h;
    s.pitch = window->w * 4;
    s.pixels = memory->pixels.data();
    s.clip_rect = SDL_Rect{0, 0, window->w, window->h};
    s.refcount = 1;
    s.userdata = memory;
    return &s;
}

// The canvas is the program's own memory.
bool canvasNeedsLock(const SDL_Surface*) { return false; }

// Only what changed goes to the page.
void present(SDL_Surface*, const SDL_Surface* canvas)
{
    auto& memory = *static_cast<MemorySurface*>(canvas->userdata);
    const int w = canvas->w, h = canvas->h;
    SDL_Rect area{0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    if (memory.onPage) area = changedArea(memory.shown.data(), memory.pixels.data(), w, h);
    copyArea(memory.pixels.data(), memory.shown.data(), w, area);
    memory.onPage = true;
    uploadArea(memory.pixels.data(), w, h, area.x, area.y, area.w, area.h);
}

void closeCanvas(SDL_Surface* window, SDL_Surface* canvas)
{
    if (canvas != window) delete static_cast<MemorySurface*>(canvas->userdata);
}
