#include "app/art.h"
#include "app/colours.h"
#include "app/events.h"
#include "app/frame.h"
#include "app/platform.h"
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
    SDL_Surface* nightImage = loadArt("KV_Night_Sky.png");
    SDL_Surface* dayImage = loadArt("KV_Day_Sky.png");
    SDL_Surface* canvas = openCanvas(window, nightImage, dayImage);
    if (!canvas) canvas = window;
    const Sky night = nightSky(nightImage, canvas->format);
    const Sky day = daySky(dayImage, canvas->format);

    Input input;
    SDL_Event event;
    const Palette colours = mapPalette(canvas->format);

    Plant arbre(line, 300, 300);
    for (int i = 0; i < 3; ++i) arbre.growAtSelection();
    adoptStartingPlant(arbre);
    arbre.print();

    PlantPass pass;
    Frame frame{window, canvas, shadow, night, day, colours, arbre, input, event, pass};
    runLoop(frame);
    return 0;
}
