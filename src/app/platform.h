#pragma once

#include "app/frame.h"

#include <SDL/SDL.h>

// What differs between the desktop and the web page: how the window opens,
// how the frames are driven and how the program ends. Each build links one
// implementation: src/desktop, or the page's glue in src/web.

// Starts SDL's video and opens the 600 x 400 x 32 window titled "plant",
// ignoring button and key releases. On failure writes "cannot open the
// 600 x 400 window: <reason>" to standard error and returns null.
SDL_Surface* openWindow();

// The surface the passes draw into, given the window and the skies (either
// may be null); null if it cannot be made. On the desktop the window itself,
// or a surface in the skies' pixel layout converted at each present; in a
// page a surface in the program's memory, put on the page's canvas at each
// present.
SDL_Surface* openCanvas(SDL_Surface* window, SDL_Surface* night, SDL_Surface* day);

// True where the canvas's pixels are in memory only while it is locked.
bool canvasNeedsLock(const SDL_Surface* canvas);

// Shows what the passes drew into the canvas.
void present(SDL_Surface* window, const SDL_Surface* canvas);

// Frees the canvas, unless it is the window.
void closeCanvas(SDL_Surface* window, SDL_Surface* canvas);

// Sets the plant over its start-up derivation where the platform holds one
// of its own: in a page, the plant its address names. The desktop has none.
void adoptStartingPlant(Plant& plant);

// Runs frames until the user quits, then frees the surfaces and shuts SDL
// down. Returns on the desktop; in a web page the browser calls the frames
// and this does not return.
void runLoop(Frame& frame);
