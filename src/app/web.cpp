// The web build: the window is the page's canvas, the browser calls one
// frame per animation frame, and the page is told when the program ends.
#include "app/platform.h"

#include <emscripten.h>

#include <iostream>

namespace {

void webFrame(void* arg)
{
    Frame& frame = *static_cast<Frame*>(arg);
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
