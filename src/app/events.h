#pragma once

#include "turtle/plant.h"

#include <SDL/SDL.h>

#include <cstddef>

// What the user has done so far: whether to stop, and where the mouse is.
struct Input {
    int quit = 0;
    int mouseX = 0;
    int mouseY = 0;
};

// A key press or a close request sets quit; a motion stores the mouse
// position; any button press runs the click action. Others are ignored.
void handleEvent(const SDL_Event& event, Input& input, Plant& arbre);

// Handles every pending event, in queue order: first those kept by
// keepEvent, then SDL's own.
void handleEvents(SDL_Event& event, Input& input, Plant& arbre);

// SDL's event filter, called as SDL reads each event: moves key presses,
// close requests, button presses and motions into the program's own queue,
// which has no limit, so that none is lost where SDL's queue of 127 would
// overflow. A motion right after a motion replaces it. Returns 0 for the
// events it keeps (SDL then drops its copy), 1 for the others.
int keepEvent(const SDL_Event* event);

// How many events keepEvent holds now.
std::size_t keptEvents();
