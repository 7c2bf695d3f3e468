#pragma once

#include "app/colours.h"
#include "app/square_batch.h"
#include "shadow/shadow_map.h"
#include "turtle/plant.h"

#include <SDL/SDL.h>

// A walk of the plant under way, which may go by in parts: the mouse it
// looks for and the squares it has found, drawn once it ends.
struct PlantPass {
    SquareBatch squares;
    int mouseX = 0;
    int mouseY = 0;
    bool walking = false;
};

// Begins a pass over the plant, for window, with the mouse at (mouseX, mouseY).
void beginPlantPass(PlantPass& pass, const SDL_Surface* window, Plant& arbre, int mouseX, int mouseY);

// Walks the pass on by at most `symbols` symbols; once the plant's end is
// reached, draws its squares into window and returns true.
bool continuePlantPass(PlantPass& pass, SDL_Surface* window, Plant& arbre, ShadowMap& shadow,
                       const Palette& colours, int symbols);

// Walks the plant once: fills a square for every joint ('a', 8 x 8) and leaf
// ('o', 40 x 40, coloured by the back buffer's shadow on its top edge), casts
// every symbol's shadow into the front buffer, and selects and highlights
// the squares that strictly contain the mouse; the last one stays selected.
void drawPlant(SDL_Surface* window, Plant& arbre, ShadowMap& shadow, const Palette& colours,
               int mouseX, int mouseY);

// Colour of a leaf whose square's top-left corner is (left, top), from the
// back buffer's cells at (left, top) and (left + 40, top).
Uint32 leafColour(const ShadowMap& shadow, int left, int top, const Palette& colours);

// Grows the plant at a selected leaf, cuts it at a selected joint, and
// prints the derivation string in every case.
void clickAction(Plant& arbre);
