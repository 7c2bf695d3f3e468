#include "app/background.h"
#include "app/colours.h"
#include "app/events.h"
#include "app/plant_pass.h"
#include "app/surface.h"
#include "app/window.h"
#include "shadow/shadow_map.h"
#include "turtle/plant.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <string>

int main(int, char**)
{
    std::string line = "{o:a[+ao]-ao;}ao";
    ShadowMap shadow;
    shadow.setSize(600, 400);

    SDL_Surface* window = openWindow();
    if (!window) return 1;
    IMG_Init(IMG_INIT_PNG);
    const Sky night = nightSky(loadImage("./art/KV_Night_Sky.png"), window->format);
    const Sky day = daySky(loadImage("./art/KV_Day_Sky.png"), window->format);

    Input input;
    SDL_Event event;
    const Palette colours = mapPalette(window->format);

    Plant arbre(line, 300, 300);
    for (int i = 0; i < 3; ++i) arbre.growAtSelection();
    arbre.print();

    while (!input.quit) {
        SDL_Flip(window);
        drawBackground(window, shadow, night, day);
        shadow.swapAndClear();
        handleEvents(event, input, arbre);
        drawPlant(window, arbre, shadow, colours, input.mouseX, input.mouseY);
    }

    SDL_FreeSurface(day.image);
    SDL_FreeSurface(night.image);
    IMG_Quit();
    SDL_Quit();
    return 0;
}
