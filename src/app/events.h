#pragma once

#include "turtle/plant.h"

#include <SDL/SDL.h>

#include <cstddef>

// What the user has done so far: whether to stop, where the mouse is, which
// square a page's keys chose, and how many presses there were.
struct Input {
    int quit = 0;
    int mouseX = 0;
    int mouseY = 0;
    int chosen = -1;   // the keys' square, by position in the derivation; -1 while the mouse chooses
    int presses = 0;
};

// The events a page makes of the keys on its plant: a move of the highlight,
// with its SquareMove in user.code, and a press on the highlighted square.
constexpr decltype(SDL_Event::type) squareMoveEvent = SDL_USEREVENT;
constexpr decltype(SDL_Event::type) squarePressEvent = SDL_USEREVENT + 1;

// A key press or a close request sets quit; a motion stores the mouse
// position, which chooses again; a square move chooses the square it
// reaches from the highlighted one; any button or square press runs the
// click action. Others are ignored.
void handleEvent(const SDL_Event& event, Input& input, Plant& arbre);

// Handles every pending event, in queue order: first those kept by
// keepEvent, then SDL's own.
void handleEvents(SDL_Event& event, Input& input, Plant& arbre);

// SDL's event filter, called as SDL reads each event: moves key presses,
// close requests, button presses, motions and square events into the program's own queue,
// which has no limit, so that none is lost where SDL's queue of 127 would
// overflow. A motion right after a motion replaces it. Returns 0 for the
// events it keeps (SDL then drops its copy), 1 for the others.
int keepEvent(const SDL_Event* event);

// How many events keepEvent holds now.
std::size_t keptEvents();
