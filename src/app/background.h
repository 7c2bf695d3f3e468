#pragma once

#include "app/colours.h"
#include "shadow/shadow_map.h"

#include <SDL/SDL.h>

// Paints every window pixel from the night sky where the shadow map's front
// buffer is shadowed and from the day sky where it is lit, copying raw
// pixel values; a sky's fallback colour stands where the image has no pixel.
void drawBackground(SDL_Surface* window, const ShadowMap& shadow, const Sky& night, const Sky& day);
