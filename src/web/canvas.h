#pragma once

#include <SDL/SDL.h>

// The page's canvas: the program draws into its own memory, and the present
// puts what changed on the page.

// Puts the canvas on the page again, whole, where the browser has cleared it
// since the last present; nothing otherwise.
void showAgainIfCleared(const SDL_Surface* canvas);
