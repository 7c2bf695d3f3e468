#pragma once

#include "app/colours.h"
#include "app/square_batch.h"
#include "shadow/shadow_map.h"
#include "turtle/plant.h"

#include <SDL/SDL.h>

// How a leaf's top edge lies in the shadow.
enum Light { leafLit, leafHalfShaded, leafShaded };

// A walk of the plant under way, which may go by in parts: the mouse it
// looks for, or the square chosen in its place, and the squares it has
// found, drawn once it ends; and what it saw, for those who cannot see it.
struct PlantPass {
    SquareBatch squares;
    int mouseX = 0;
    int mouseY = 0;
    int chosen = -1;          // the square selected in place of the mouse's, by position; -1 for none
    bool walking = false;
    int selected = -1;        // the position last selected, -1 for none
    int selectedLight = -1;   // its Light for a leaf, -1 for a joint
    int joints = 0;
    int leaves[3] = {};       // by Light
};

// Begins a pass over the plant, for window, with the mouse at (mouseX,
// mouseY), or with the square nearest position `chosen` selected in its
// place where chosen is 0 or more.
void beginPlantPass(PlantPass& pass, const SDL_Surface* window, Plant& arbre, int mouseX, int mouseY,
                    int chosen = -1);

// Walks the pass on by at most `symbols` symbols; once the plant's end is
// reached, draws its squares into window and returns true.
bool continuePlantPass(PlantPass& pass, SDL_Surface* window, Plant& arbre, ShadowMap& shadow,
                       const Palette& colours, int symbols);

// Walks the plant once: fills a square for every joint ('a', 8 x 8) and leaf
// ('o', 40 x 40, coloured by the back buffer's shadow on its top edge), casts
// every symbol's shadow into the front buffer, and selects and highlights
// the squares that strictly contain the mouse; the last one stays selected.
// A chosen square is the only one selected and highlighted.
void drawPlant(SDL_Surface* window, Plant& arbre, ShadowMap& shadow, const Palette& colours,
               int mouseX, int mouseY);

// Light of a leaf whose square's top-left corner is (left, top), from the
// back buffer's cells at (left, top) and (left + 40, top).
Light leafLight(const ShadowMap& shadow, int left, int top);

// Colour of a leaf in that light.
Uint32 leafColour(const ShadowMap& shadow, int left, int top, const Palette& colours);

// Grows the plant at a selected leaf, cuts it at a selected joint, and
// prints the derivation string in every case.
void clickAction(Plant& arbre);
