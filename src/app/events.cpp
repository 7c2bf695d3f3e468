#include "events.h"

#include "app/plant_pass.h"

void handleEvent(const SDL_Event& event, Input& input, Plant& arbre)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_QUIT:
        input.quit = 1;
        break;
    case SDL_MOUSEMOTION:
        // 16 bits as SDL 1.2 reports them, also where SDL's own fields are wider.
        input.mouseX = static_cast<Uint16>(event.motion.x);
        input.mouseY = static_cast<Uint16>(event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        clickAction(arbre);
        break;
    default:
        break;
    }
}

void handleEvents(SDL_Event& event, Input& input, Plant& arbre)
{
    while (SDL_PollEvent(&event)) handleEvent(event, input, arbre);
}
