#pragma once

#include "app/frame.h"

#include <SDL/SDL.h>

// What differs between the desktop and the web page: how the window opens,
// how the frames are driven and how the program ends. Each build links one
// implementation, desktop.cpp or web.cpp.

// Starts SDL's video and opens the 600 x 400 x 32 window titled "plant",
// ignoring button and key releases. On failure writes "cannot open the
// 600 x 400 window: <reason>" to standard error and returns null.
SDL_Surface* openWindow();

// True where what is drawn into the window shows at once, before a present.
bool windowShowsDrawing();

// Runs frames until the user quits, then frees the surfaces and shuts SDL
// down. Returns on the desktop; in a web page the browser calls the frames
// and this does not return.
void runLoop(Frame& frame);
