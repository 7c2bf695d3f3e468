// What the page is told of each frame (Module.plantShown), which puts it
// into words: the highlighted square, what it is and where, the plant's
// squares and the light on its leaves, and what the frame's presses did.
#include "web/told.h"

#include "app/square_moves.h"

#include <emscripten.h>

#include <tuple>

namespace {

struct Shown {
    int selected = -1;
    int symbol = 0;
    int light = -1;
    int length = 0;
    int joints = 0;
    int lit = 0, halfShaded = 0, shaded = 0;
    int presses = 0;

    bool operator==(const Shown& o) const
    {
        return std::tie(selected, symbol, light, length, joints, lit, halfShaded, shaded, presses) ==
               std::tie(o.selected, o.symbol, o.light, o.length, o.joints, o.lit, o.halfShaded, o.shaded, o.presses);
    }
};

Shown told;
// The square a press acts on, as the frame's events begin: its position
// (-1 for none) and its symbol.
int pressedAt = -1;
int pressedSymbol = 0;

EM_JS(void, tellPage, (int selected, int symbol, int light, int depth, int length, int joints, int lit,
                       int halfShaded, int shaded, int pressed, int pressedAt, int pressedSymbol), {
    if (Module.plantShown)
        Module.plantShown({selected: selected, symbol: String.fromCharCode(symbol), light: light, depth: depth,
                           length: length, joints: joints, leaves: [lit, halfShaded, shaded],
                           pressed: pressed ? {at: pressedAt, symbol: String.fromCharCode(pressedSymbol)} : null});
});

} // namespace

void beforeEvents(const Frame& frame)
{
    pressedAt = frame.pass.selected;
    pressedSymbol = static_cast<unsigned char>(frame.arbre.symbolAt(pressedAt));
}

void afterFrame(const Frame& frame)
{
    const PlantPass& pass = frame.pass;
    Shown now;
    now.selected = pass.selected;
    now.symbol = static_cast<unsigned char>(frame.arbre.symbolAt(pass.selected));
    now.light = pass.selectedLight;
    now.length = frame.arbre.length();
    now.joints = pass.joints;
    now.lit = pass.leaves[leafLit];
    now.halfShaded = pass.leaves[leafHalfShaded];
    now.shaded = pass.leaves[leafShaded];
    now.presses = frame.input.presses;
    if (now == told) return;
    const bool pressed = now.presses != told.presses;
    told = now;
    const int depth = now.selected >= 0 ? branchDepth(frame.arbre.derivation, now.selected) : 0;
    tellPage(now.selected, now.symbol, now.light, depth, now.length, now.joints, now.lit, now.halfShaded, now.shaded,
             pressed, pressedAt, pressedSymbol);
}
