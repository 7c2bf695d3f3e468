// The web build: the window is the page's canvas, the browser calls one
// frame per animation frame, and the page is told when the program ends.
#include "app/platform.h"

#include <emscripten.h>

#include <deque>
#include <iostream>

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

void webFrame(void* arg)
{
    Frame& frame = *static_cast<Frame*>(arg);
    admitEvents(frame.input);
    runFrame(frame);
    if (!frame.input.quit) return;
    emscripten_cancel_main_loop();
    // The browser's IMG_Quit and SDL_Quit do nothing but say so on standard
    // output, which the page shows: they are left out.
    freeSurfaces(frame);
    EM_ASM({ if (Module.programEnded) Module.programEnded(); }, 0);
}

} // namespace

SDL_Surface* openWindow()
{
    SDL_Init(SDL_INIT_VIDEO);
    SDL_WM_SetCaption("plant", "plant");
    SDL_Surface* window = SDL_SetVideoMode(600, 400, 32, 0);
    if (!window) std::cerr << "cannot open the 600 x 400 window: " << SDL_GetError() << std::endl;
    return window;
}

// The canvas shows every change as it is drawn.
bool windowShowsDrawing() { return true; }

void runLoop(Frame& frame)
{
    // The entry's objects stay alive: the loop leaves main without unwinding it.
    emscripten_set_main_loop_arg(webFrame, &frame, 0, 1);
}
