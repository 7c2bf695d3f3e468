#pragma once

#include "app/colours.h"
#include "app/events.h"
#include "app/plant_pass.h"
#include "shadow/shadow_map.h"
#include "turtle/plant.h"

#include <SDL/SDL.h>

// Everything one iteration of the frame loop reads and changes; the objects
// themselves belong to the program's entry.
struct Frame {
    SDL_Surface* window;   // what the present shows
    SDL_Surface* canvas;   // what the passes draw into: the window, or a copy of its size
    ShadowMap& shadow;
    const Sky& night;
    const Sky& day;
    const Palette& colours;
    Plant& arbre;
    Input& input;
    SDL_Event& event;
    PlantPass& pass;
};

// One iteration: present the previous drawing, paint the sky by the shadow
// map, swap the map, handle the pending events and run the plant pass.
void runFrame(Frame& frame);

// The same iteration in parts: begins it, up to the start of the plant pass.
void beginFrame(Frame& frame);

// Runs the iteration's plant pass on by at most `symbols` symbols; true once
// the iteration is done.
bool continueFrame(Frame& frame, int symbols);

// Begins the plant pass under way again from its start, for a plant that
// changed since it began; nothing between iterations.
void restartPlantPass(Frame& frame);

// A surface to draw into for a window that shows nothing before the present:
// the window itself where its pixel layout is the sky's (any layout without
// a sky); otherwise a new 600 x 400 surface in the sky's layout, for
// copyToWindow. Null if that surface cannot be made.
SDL_Surface* drawingSurface(SDL_Surface* window, const SDL_Surface* sky);

// Copies what drawingSurface gave into the window, converting the pixels
// where the layouts differ; nothing where it is the window itself.
void copyToWindow(const SDL_Surface* canvas, SDL_Surface* window);

// Frees the skies and the canvas.
void freeSurfaces(Frame& frame);
