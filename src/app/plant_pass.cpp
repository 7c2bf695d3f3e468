#include "plant_pass.h"

#include "app/square_moves.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

// Turtle coordinates are kept in the square's 16-bit fields as they are:
// anything beyond 16 bits wraps.
Sint16 wrap16(int v) { return static_cast<Sint16>(static_cast<Uint16>(v)); }

Uint32 colourIn(Light light, const Palette& colours)
{
    return light == leafLit ? colours.leafLitColour
           : light == leafHalfShaded ? colours.leafHalfShadedColour : colours.leafShadedColour;
}

int rayCount(int stepLength) { return stepLength < INT_MAX ? stepLength + 1 : INT_MAX; }

// Walks the next symbols, at most `count` of them.
void walkStretch(PlantPass& pass, Plant& arbre, ShadowMap& shadow, const Palette& colours, int count)
{
    const int mouseX = pass.mouseX, mouseY = pass.mouseY;
    for (; count > 0 && !arbre.walkFinished(); --count, arbre.advance()) {
        arbre.step();
        const TurtleState state = arbre.currentState();
        const int x = state.getX();
        const int y = state.getY();

        Uint32 colour = 0;
        int light = -1;
        SDL_Rect tmp{wrap16(x), wrap16(wrap16(y) - 1), 0, 0};
        const char symbol = arbre.symbolAtCursor();
        if (symbol == 'o') {
            tmp.x = wrap16(tmp.x - 20);
            tmp.y = wrap16(tmp.y - 20);
            tmp.w = tmp.h = 40;
            const Light leaf = leafLight(shadow, tmp.x, tmp.y);
            colour = colourIn(leaf, colours);
            ++pass.leaves[leaf];
            light = leaf;
        } else if (symbol == 'a') {
            tmp.x = wrap16(tmp.x - 4);
            tmp.y = wrap16(tmp.y - 4);
            tmp.w = tmp.h = 8;
            colour = colours.jointColour;
            ++pass.joints;
        }

        shadow.castSegment(x, y, state.getHeading(), rayCount(state.getStepLength()));

        if (colour != 0) {
            if (pass.chosen >= 0 ? arbre.cursor == pass.chosen
                                 : tmp.x < mouseX && mouseX < tmp.x + tmp.w && tmp.y < mouseY && mouseY < tmp.y + tmp.h) {
                arbre.select();
                pass.selected = arbre.cursor;
                pass.selectedLight = light;
                colour = colours.highlightColour;
            }
            pass.squares.add(tmp, colour);
        }
    }
}

// A long walk goes by in many calls, each of a stretch of symbols: a browser
// makes a function's faster code while it runs and takes it from the next
// call on, so the first frame of a large plant runs mostly on that code.
// The call goes through a pointer that no compiler folds away, since a
// WebAssembly optimiser would put a function with one caller back into it.
void (*volatile const walkStretchAt)(PlantPass&, Plant&, ShadowMap&, const Palette&, int) = walkStretch;
constexpr int stretchSymbols = 4096;

} // namespace

Light leafLight(const ShadowMap& shadow, int left, int top)
{
    const bool a = shadow.readBack(left, top) != 0;
    const bool b = shadow.readBack(left + 40, top) != 0;
    if (a && b) return leafShaded;
    if (a != b) return leafHalfShaded;
    return leafLit;
}

Uint32 leafColour(const ShadowMap& shadow, int left, int top, const Palette& colours)
{
    return colourIn(leafLight(shadow, left, top), colours);
}

void beginPlantPass(PlantPass& pass, const SDL_Surface* window, Plant& arbre, int mouseX, int mouseY, int chosen)
{
    pass.squares.clear();
    pass.squares.fitTo(window->w, window->h);
    pass.mouseX = mouseX;
    pass.mouseY = mouseY;
    // The plant may have changed since the square was chosen.
    pass.chosen = chosen >= 0 ? nearestSquare(arbre.derivation, chosen) : -1;
    pass.walking = true;
    pass.selected = pass.selectedLight = -1;
    pass.joints = 0;
    std::fill(std::begin(pass.leaves), std::end(pass.leaves), 0);
    arbre.beginWalk();
}

bool continuePlantPass(PlantPass& pass, SDL_Surface* window, Plant& arbre, ShadowMap& shadow,
                       const Palette& colours, int symbols)
{
    for (; symbols > 0 && !arbre.walkFinished(); symbols -= stretchSymbols)
        walkStretchAt(pass, arbre, shadow, colours, std::min(symbols, stretchSymbols));
    if (!arbre.walkFinished()) return false;
    pass.squares.draw(window);
    pass.walking = false;
    return true;
}

void drawPlant(SDL_Surface* window, Plant& arbre, ShadowMap& shadow, const Palette& colours,
               int mouseX, int mouseY)
{
    // Kept from one walk to the next, with its room.
    static PlantPass pass;
    beginPlantPass(pass, window, arbre, mouseX, mouseY);
    continuePlantPass(pass, window, arbre, shadow, colours, INT_MAX);
}

void clickAction(Plant& arbre)
{
    const char symbol = arbre.symbolAtSelection();
    if (symbol == 'o') arbre.growAtSelection();
    else if (symbol == 'a') arbre.cutAtSelection();
    arbre.print();
}
