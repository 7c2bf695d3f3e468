#pragma once

#include "turtle/plant.h"

#include <SDL/SDL.h>

// What the user has done so far: whether to stop, and where the mouse is.
struct Input {
    int quit = 0;
    int mouseX = 0;
    int mouseY = 0;
};

// A key press or a close request sets quit; a motion stores the mouse
// position; any button press runs the click action. Others are ignored.
void handleEvent(const SDL_Event& event, Input& input, Plant& arbre);

// Handles every pending event, in queue order.
void handleEvents(SDL_Event& event, Input& input, Plant& arbre);
