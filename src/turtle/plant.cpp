#include "plant.h"

#include <array>
#include <utility>

namespace {

// Whether every "]" closes an earlier "[" and every "[" is closed.
bool nests(const std::string& symbols)
{
    std::size_t open = 0;
    for (const char c : symbols) {
        if (c == '[') ++open;
        if (c == ']' && open-- == 0) return false;
    }
    return open == 0;
}

} // namespace

Plant::Plant(std::string grammar, int x, int y)
{
    parse(std::move(grammar));
    initialState.reset(x, y);
    turtle.copyFrom(initialState);
}

void Plant::beginWalk()
{
    turtle.copyFrom(initialState);
    cursor = 0;
    branchStack.clear();
    selection = 0;
}

bool Plant::walkFinished() const
{
    return cursor >= length();
}

void Plant::step()
{
    if (walkFinished()) return;
    switch (symbolAt(cursor)) {
    case '+': turtle.turn(0.5f); break;
    case '-': turtle.turn(-0.5f); break;
    case '[': branchStack.push_back(turtle); break;
    case ']':
        // A "]" without its "[" has nothing to restore: the turtle stays.
        if (!branchStack.empty()) {
            turtle.copyFrom(branchStack.back());
            branchStack.pop_back();
        }
        break;
    case '_': turtle.changeStepLength(-5.0f); break;
    case 'a': turtle.forward(); break;
    case '|': turtle.changeStepLength(5.0f); break;
    default: break;
    }
}

TurtleState Plant::currentState() const
{
    return walkFinished() ? initialState : turtle;
}

char Plant::symbolAtCursor() const
{
    return walkFinished() ? '\0' : symbolAt(cursor);
}

void Plant::advance() { ++cursor; }
void Plant::select() { selection = cursor; }
char Plant::symbolAtSelection() const { return symbolAt(selection); }
void Plant::growAtSelection() { rewrite(selection, 0); }

void Plant::cutAtSelection()
{
    if (selection != 0) eraseBranch(selection);
}

bool Plant::setDerivation(const std::string& symbols)
{
    if (symbols.empty() || symbols.size() > maxSetSymbols || !nests(symbols)) return false;
    // The symbols a derivation can hold: the axiom's and the successors'.
    LSystem tmpGrammar;
    tmpGrammar.parse(grammarText);
    std::array<bool, 256> known{};
    for (const unsigned char c : tmpGrammar.derivation) known[c] = true;
    for (const RuleTable& table : tmpGrammar.ruleSets)
        for (const auto& rule : table)
            for (const unsigned char c : rule.second) known[c] = true;
    for (const unsigned char c : symbols)
        if (!known[c]) return false;
    derivation = symbols;
    selection = 0;
    return true;
}
