// The page's mouse, fingers and keys on the plant, and what else the
// browser's SDL reads (the other keys), handed to the frame's event step in
// order.
#include "web/input.h"

#include "web/loop.h"

#include <emscripten.h>

#include <deque>

namespace {

// Events read from the browser that wait for a later frame.
std::deque<SDL_Event> waiting;

SDL_Event mouseEvent(decltype(SDL_Event::type) type, int x, int y, int button = SDL_BUTTON_LEFT)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
    } else {
        event.button.button = static_cast<Uint8>(button);
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
    }
    return event;
}

SDL_Event squareEvent(decltype(SDL_Event::type) type, int move = 0)
{
    SDL_Event event{};
    event.type = type;
    event.user.code = move;
    return event;
}

} // namespace

// A finger, or a mouse that moved and pressed within one frame, presses
// away from where the last plant pass looked: such a press waits for the
// next frame behind a motion to its position, so that it finds the square
// under it selected, as a press after a hover does on the desktop. A key's
// press after a move of the highlight in the same frame waits for the next
// one too, which selects the square the move reached.
void admitEvents(const Input& input)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) waiting.push_back(event);
    bool moved = false;
    while (!waiting.empty()) {
        const SDL_Event& next = waiting.front();
        if (next.type == SDL_MOUSEBUTTONDOWN) {
            const int x = static_cast<Uint16>(next.button.x), y = static_cast<Uint16>(next.button.y);
            if (x != input.mouseX || y != input.mouseY || input.chosen >= 0) {
                SDL_Event motion = mouseEvent(SDL_MOUSEMOTION, x, y);
                keepEvent(&motion);
                return;
            }
        }
        if (next.type == squarePressEvent && moved) return;
        moved = moved || next.type == SDL_MOUSEMOTION || next.type == squareMoveEvent;
        keepEvent(&next);
        waiting.pop_front();
    }
}

// The mouse at window pixel (x, y), placed by the page at the moment of the
// browser's event: a motion there with button 0, else a press of that
// button (1 to 5) there.
extern "C" EMSCRIPTEN_KEEPALIVE void mouseAt(int x, int y, int button)
{
    waiting.push_back(button == 0 ? mouseEvent(SDL_MOUSEMOTION, x, y) : mouseEvent(SDL_MOUSEBUTTONDOWN, x, y, button));
    wakeFrames();
}

// A finger at window pixel (x, y), placed by the page from the touch's exact
// position: a motion there and, with press set, a press and a release of
// the first button there.
extern "C" EMSCRIPTEN_KEEPALIVE void fingerAt(int x, int y, int press)
{
    waiting.push_back(mouseEvent(SDL_MOUSEMOTION, x, y));
    if (press) {
        waiting.push_back(mouseEvent(SDL_MOUSEBUTTONDOWN, x, y));
        waiting.push_back(mouseEvent(SDL_MOUSEBUTTONUP, x, y));
    }
    wakeFrames();
}

// A key on the plant: the highlight moved, by a SquareMove.
extern "C" EMSCRIPTEN_KEEPALIVE void moveHighlight(int move)
{
    waiting.push_back(squareEvent(squareMoveEvent, move));
    wakeFrames();
}

// A key on the plant: a press on the highlighted square.
extern "C" EMSCRIPTEN_KEEPALIVE void pressHighlight()
{
    waiting.push_back(squareEvent(squarePressEvent));
    wakeFrames();
}
