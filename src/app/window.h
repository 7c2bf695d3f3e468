#pragma once

#include <SDL/SDL.h>

// Starts SDL and opens the 600 x 400 x 32 window. Only a real windowing
// driver is used unless SDL_VIDEODRIVER names one. On failure writes
// "cannot open the 600 x 400 window: <reason>" to standard error, shuts SDL
// down and returns null.
SDL_Surface* openWindow();
