#pragma once

#include "lsystem/lsystem.h"
#include "turtle/turtle_state.h"

#include <deque>
#include <string>

// The most symbols a derivation set from outside may hold.
constexpr std::size_t maxSetSymbols = 1000000;

// An L-system walked by a turtle, one symbol at a time:
//   '+' / '-' turn by +0.5 / -0.5 rad, '[' / ']' save / restore the turtle,
//   '_' / '|' shorten / lengthen the step by 5, 'a' moves forward;
//   every other symbol leaves the turtle as it is.
// The selection (0 = none) is where the plant grows or is cut.
class Plant : public LSystem {
public:
    TurtleState initialState;
    TurtleState turtle;
    int cursor = 0;
    int selection = 0;
    std::deque<TurtleState> branchStack;

    // Parses the grammar text; the root stands at (x, y).
    Plant(std::string grammar, int x, int y);

    // Turtle back to the root, cursor to 0, stack emptied, selection to 0.
    void beginWalk();

    // True once the cursor has passed the last symbol.
    bool walkFinished() const;

    // Interprets the symbol at the cursor; does not move the cursor.
    void step();

    // A copy of the turtle; of the initial state once the walk is finished.
    TurtleState currentState() const;

    // The symbol at the cursor; NUL once the walk is finished.
    char symbolAtCursor() const;

    // Moves the cursor to the next symbol.
    void advance();

    // Selects the symbol at the cursor.
    void select();

    // The selected symbol; NUL when the selection lies past the end.
    char symbolAtSelection() const;

    // Rewrites with rule set 0 from the selection to the end of its branch.
    void growAtSelection();

    // Removes the branch from the selection on; nothing while it is 0.
    void cutAtSelection();

    // Makes symbols the derivation, with the selection at 0, if they are a
    // plant this grammar could grow: 1 to maxSetSymbols symbols, each one
    // that the axiom or a successor holds, every "]" closing an earlier
    // "[" and every "[" closed. Returns whether it did; otherwise nothing
    // changes.
    bool setDerivation(const std::string& symbols);
};
