#include "events.h"

#include "app/plant_pass.h"
#include "app/square_moves.h"

#include <deque>

namespace {

// The events keepEvent took from SDL, oldest first.
std::deque<SDL_Event> kept;

// The next event to handle: the oldest kept one, else SDL's next. Polling
// also reads new events from the display, through keepEvent.
bool nextEvent(SDL_Event& event)
{
    if (kept.empty() && SDL_PollEvent(&event)) return true;
    if (kept.empty()) return false;
    event = kept.front();
    kept.pop_front();
    return true;
}

} // namespace

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
        input.chosen = -1;
        break;
    case squareMoveEvent:
        // From the keys' square, else from the mouse's.
        input.chosen = moveSquare(arbre.derivation, input.chosen >= 0 ? input.chosen : arbre.selection,
                                  static_cast<SquareMove>(event.user.code));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case squarePressEvent:
        ++input.presses;
        clickAction(arbre);
        break;
    default:
        break;
    }
}

void handleEvents(SDL_Event& event, Input& input, Plant& arbre)
{
    while (nextEvent(event)) handleEvent(event, input, arbre);
}

int keepEvent(const SDL_Event* event)
{
    switch (event->type) {
    case SDL_MOUSEMOTION:
        // Only the last of several motions in a row reaches a press.
        if (!kept.empty() && kept.back().type == SDL_MOUSEMOTION) {
            kept.back() = *event;
            return 0;
        }
        [[fallthrough]];
    case SDL_KEYDOWN:
    case SDL_QUIT:
    case SDL_MOUSEBUTTONDOWN:
    case squareMoveEvent:
    case squarePressEvent:
        kept.push_back(*event);
        return 0;
    default:
        return 1;
    }
}

std::size_t keptEvents() { return kept.size(); }
