// The web build: the window is the page's canvas, the browser calls one
// frame per animation frame, and the page is told when the program ends.
#include "app/changes.h"
#include "app/platform.h"
#include "app/surface.h"

#include <emscripten.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace {

// Events read from the browser that wait for a later frame.
std::deque<SDL_Event> waiting;

// Hands the browser's events to the frame's event step, in order, with one
// exception. A finger, or a mouse that moved and pressed within one frame,
// presses away from where the last plant pass looked: such a press waits
// for the next frame behind a motion to its position, so that it finds the
// square under it selected, as a press after a hover does on the desktop.
void admitEvents(const Input& input)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) waiting.push_back(event);
    while (!waiting.empty()) {
        const SDL_Event& next = waiting.front();
        if (next.type == SDL_MOUSEBUTTONDOWN) {
            const int x = static_cast<Uint16>(next.button.x), y = static_cast<Uint16>(next.button.y);
            if (x != input.mouseX || y != input.mouseY) {
                SDL_Event motion{};
                motion.type = SDL_MOUSEMOTION;
                motion.motion.x = next.button.x;
                motion.motion.y = next.button.y;
                keepEvent(&motion);
                return;
            }
        }
        keepEvent(&next);
        waiting.pop_front();
    }
}

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
    if (!Module.frameContext) {
        Module.frameContext = Module.canvas.getContext('2d');
        Module.canvas.addEventListener('contextrestored', function() { Module.canvasCleared = true; });
    }
    if (!Module.frameImage || Module.frameImage.data.buffer !== HEAPU8.buffer)
        Module.frameImage = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4), w, h);
    if (Module.canvasCleared) {
        Module.canvasCleared = false;
        Module.frameContext.putImageData(Module.frameImage, 0, 0);
    } else if (aw > 0 && ah > 0) {
        Module.frameContext.putImageData(Module.frameImage, 0, 0, x, y, aw, ah);
    }
});

// Puts the canvas on the page again only where the browser has cleared it.
void showAgainIfCleared(const SDL_Surface* canvas)
{
    uploadArea(canvas->pixels, canvas->w, canvas->h, 0, 0, 0, 0);
}

// Frames still to run before the page stops changing. The frame that takes
// an event draws over the shadows from before it, the next one draws the
// new shadows, and the one after puts that on the page. From then until the
// next event, each frame would draw and show the very same pixels: none is
// run, and the page costs the browser nothing.
int framesToSettle = 3;

// The frame loop's objects, once it runs; null once the program has ended.
Frame* running = nullptr;

// The plant of the three derivations: the page's plant where its address
// holds none, or none it can take.
std::string usualPlant;

// The plant the page read from its address, as bytes: Module.addressPlant,
// or null where the address holds none.
EM_JS(int, addressPlantSize, (), { return Module.addressPlant ? Module.addressPlant.length : -1; });
EM_JS(void, copyAddressPlant, (char* to), { HEAPU8.set(Module.addressPlant, to); });

// Tells the page what became of its address's plant at start-up.
EM_JS(void, addressRead, (int taken), { if (Module.addressRead) Module.addressRead(taken); });

// Sets the address's plant, or the usual one where there is none or the
// plant refuses it. 1 where the address's plant was set, 0 where it was
// refused, -1 where there was none.
int takeAddressPlant(Plant& plant)
{
    int taken = -1;
    const int size = addressPlantSize();
    if (size >= 0) {
        std::string symbols(static_cast<std::size_t>(size), '\0');
        copyAddressPlant(symbols.data());
        taken = plant.setDerivation(symbols) ? 1 : 0;
    }
    if (taken != 1) plant.setDerivation(usualPlant);
    return taken;
}

void webFrame(void* arg)
{
    Frame& frame = *static_cast<Frame*>(arg);
    admitEvents(frame.input);
    if (keptEvents() > 0) framesToSettle = 3;
    if (framesToSettle == 0) {
        showAgainIfCleared(frame.canvas);
        return;
    }
    --framesToSettle;
    runFrame(frame);
    if (!frame.input.quit) return;
    emscripten_cancel_main_loop();
    running = nullptr;
    // The browser's IMG_Quit and SDL_Quit do nothing but say so on standard
    // output, which the page shows: they are left out.
    freeSurfaces(frame);
    EM_ASM({ if (Module.programEnded) Module.programEnded(); }, 0);
}

} // namespace

// A finger at window pixel (x, y), placed by the page from the touch's exact
// position: a motion there and, with press set, a press and a release of
// the first button there, queued with the events read from the browser.
extern "C" EMSCRIPTEN_KEEPALIVE void fingerAt(int x, int y, int press)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    waiting.push_back(event);
    if (!press) return;
    for (const decltype(event.type) type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        event = SDL_Event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
        waiting.push_back(event);
    }
}

// Shows the plant that the page's address now holds, after Back, Forward,
// an edited address or Start over, and prints it. Returns as
// takeAddressPlant does; -2, with nothing done, once the program has ended.
extern "C" EMSCRIPTEN_KEEPALIVE int showAddressPlant()
{
    if (!running) return -2;
    const int taken = takeAddressPlant(running->arbre);
    running->arbre.print();
    framesToSettle = 3;
    return taken;
}

void adoptStartingPlant(Plant& plant)
{
    usualPlant = plant.derivation;
    addressRead(takeAddressPlant(plant));
}

SDL_Surface* openWindow()
{
    SDL_Init(SDL_INIT_VIDEO);
    SDL_WM_SetCaption("plant", "plant");
    SDL_Surface* window = SDL_SetVideoMode(600, 400, 32, 0);
    if (!window) std::fprintf(stderr, "cannot open the 600 x 400 window: %s\n", SDL_GetError());
    return window;
}

SDL_Surface* openCanvas(SDL_Surface* window, SDL_Surface* night, SDL_Surface* day)
{
    makeOpaque(night);
    makeOpaque(day);
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

void runLoop(Frame& frame)
{
    // The entry's objects stay alive: the loop leaves main without unwinding it.
    running = &frame;
    emscripten_set_main_loop_arg(webFrame, &frame, 0, 1);
}
