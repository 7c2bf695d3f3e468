// The page's window and frame loop: the window is the page's canvas, the
// browser calls one frame per animation frame, and the page is told when
// the program ends.
#include "web/loop.h"

#include "app/platform.h"
#include "web/input.h"
#include "web/stdout.h"
#include "web/told.h"

#include <emscripten.h>

#include <cstdio>

namespace {

// Frames still to run before the page stops changing. The frame that takes
// an event draws over the shadows from before it, the next one draws the
// new shadows, and the one after puts that on the page. From then until the
// next event, each frame would draw and show the very same pixels: the loop
// pauses, and the page costs the browser nothing.
int framesToSettle = 3;
bool paused = false;

// The start-up runs in a task of its own; the first frame waits for the next
// animation frame, so that the browser can show the page between the two:
// for a large plant each takes a good part of a frame's time.
bool started = false;

// The frame loop's objects, once it runs; null once the program has ended.
Frame* running = nullptr;

// A frame of a large plant goes by in parts, one an animation frame, each
// ending once its animation frame has taken partMs: the browser stays
// responsive between them, and the page shows the frame when its last part
// is done. The clock is read every partSymbols symbols, a millisecond or
// less of the densest plant's walk, so that a part ends within about that
// of its bound.
constexpr double partMs = 50.0;
constexpr int partSymbols = 512;

// Runs the frame under way on until partMs after start; true once it is done.
bool runPart(Frame& frame, double start)
{
    while (!continueFrame(frame, partSymbols))
        if (emscripten_get_now() - start >= partMs) return false;
    return true;
}

void webFrame(void* arg)
{
    Frame& frame = *static_cast<Frame*>(arg);
    const double start = emscripten_get_now();
    if (!started) {
        started = true;
        return;
    }
    if (!frame.pass.walking) {
        admitEvents(frame.input);
        if (keptEvents() > 0) wakeFrames();
        if (framesToSettle > 0) {
            --framesToSettle;
            beforeEvents(frame);
            beginFrame(frame);
        }
    }
    if (frame.pass.walking && !runPart(frame, start)) return;
    afterFrame(frame);
    if (!frame.input.quit) {
        if (framesToSettle == 0) {
            emscripten_pause_main_loop();
            paused = true;
        }
        return;
    }
    emscripten_cancel_main_loop();
    running = nullptr;
    // The browser's IMG_Quit and SDL_Quit do nothing but say so on standard
    // output, which the page shows: they are left out.
    freeSurfaces(frame);
    EM_ASM({ if (Module.programEnded) Module.programEnded(); }, 0);
}

} // namespace

Frame* runningFrame() { return running; }

void wakeFrames()
{
    framesToSettle = 3;
    if (!paused || !running) return;
    paused = false;
    emscripten_resume_main_loop();
}

// Any event the page sees wakes the frames: one the program reads through
// the browser's SDL (a key) waits for the next frame.
extern "C" EMSCRIPTEN_KEEPALIVE void wake()
{
    if (running) wakeFrames();
}

SDL_Surface* openWindow()
{
    printWholeLines();
    SDL_Init(SDL_INIT_VIDEO);
    // The browser's SDL listens for the page's unload to post a quit that
    // no frame would ever read; an unload listener keeps the page out of
    // the browser's back/forward cache, so that going back reloads it.
    EM_ASM({ window.removeEventListener('unload', SDL.receiveEvent); }, 0);
    SDL_WM_SetCaption("plant", "plant");
    SDL_Surface* window = SDL_SetVideoMode(600, 400, 32, 0);
    if (!window) std::fprintf(stderr, "cannot open the 600 x 400 window: %s\n", SDL_GetError());
    return window;
}

void runLoop(Frame& frame)
{
    // The entry's objects stay alive: the loop leaves main without unwinding it.
    running = &frame;
    emscripten_set_main_loop_arg(webFrame, &frame, 0, 1);
}
