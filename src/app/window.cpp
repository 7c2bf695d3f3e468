#include "window.h"

#include <cstdlib>
#include <iostream>

SDL_Surface* openWindow()
{
#if defined(__unix__) && !defined(__APPLE__)
    // Without a display SDL would fall back to drawing into the terminal,
    // over the derivation strings on standard output, and wait there for a
    // key no script sends.
    setenv("SDL_VIDEODRIVER", "x11", 0);
#endif
    // Audio, joystick or CD-ROM may be missing; only video is needed.
    SDL_Init(0xFFFF);
    SDL_Surface* window = nullptr;
    if (SDL_WasInit(SDL_INIT_VIDEO)) window = SDL_SetVideoMode(600, 400, 32, 0);
    if (!window) {
        std::cerr << "cannot open the 600 x 400 window: " << SDL_GetError() << std::endl;
        SDL_Quit();
    }
    return window;
}
