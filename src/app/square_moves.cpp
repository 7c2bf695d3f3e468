#include "square_moves.h"

#include <algorithm>

namespace {

int size(const std::string& symbols) { return static_cast<int>(symbols.size()); }

// The first square after p, or -1.
int nextSquare(const std::string& symbols, int p)
{
    for (int i = std::max(p + 1, 0); i < size(symbols); ++i)
        if (isSquare(symbols[i])) return i;
    return -1;
}

// The last square before p, or -1.
int previousSquare(const std::string& symbols, int p)
{
    for (int i = std::min(p, size(symbols)) - 1; i >= 0; --i)
        if (isSquare(symbols[i])) return i;
    return -1;
}

// The first square that hangs from the joint at p, or -1: the next square,
// unless the branch holding p closes before it.
int firstChild(const std::string& symbols, int p)
{
    if (symbols[p] != 'a') return -1;
    const int next = nextSquare(symbols, p);
    return next >= 0 && parentJoint(symbols, next) == p ? next : -1;
}

// The next square that hangs from the same joint as p, or -1. Everything
// hanging from p, however deep, follows p up to the "]" that closes the
// branch holding it; the square after that "]" is p's next sibling if it
// hangs from p's joint too.
int nextSibling(const std::string& symbols, int p)
{
    int i = p + 1;
    for (int open = 0; i < size(symbols); ++i) {
        if (symbols[i] == '[') ++open;
        if (symbols[i] == ']' && open-- == 0) break;
    }
    const int next = nextSquare(symbols, i);
    return next >= 0 && parentJoint(symbols, next) == parentJoint(symbols, p) ? next : -1;
}

// The previous square that hangs from the same joint as p, or -1: of the
// squares between that joint and p, the one on the way up from the square
// just before p.
int previousSibling(const std::string& symbols, int p)
{
    const int parent = parentJoint(symbols, p);
    int at = previousSquare(symbols, p);
    while (at > parent) {
        const int up = parentJoint(symbols, at);
        if (up == parent) return at;
        at = up;
    }
    return -1;
}

} // namespace

bool isSquare(char symbol) { return symbol == 'a' || symbol == 'o'; }

int nearestSquare(const std::string& symbols, int p)
{
    if (symbols.empty()) return -1;
    p = std::clamp(p, 0, size(symbols) - 1);
    if (isSquare(symbols[p])) return p;
    const int before = previousSquare(symbols, p);
    return before >= 0 ? before : nextSquare(symbols, p);
}

int moveSquare(const std::string& symbols, int from, SquareMove move)
{
    const int at = nearestSquare(symbols, from);
    if (at < 0) return -1;
    int to = -1;
    switch (move) {
    case SquareMove::Here: to = at; break;
    case SquareMove::Next: to = nextSquare(symbols, at); break;
    case SquareMove::Previous: to = previousSquare(symbols, at); break;
    case SquareMove::Parent: to = parentJoint(symbols, at); break;
    case SquareMove::FirstChild: to = firstChild(symbols, at); break;
    case SquareMove::NextSibling: to = nextSibling(symbols, at); break;
    case SquareMove::PreviousSibling: to = previousSibling(symbols, at); break;
    case SquareMove::First: to = nextSquare(symbols, -1); break;
    case SquareMove::Last: to = previousSquare(symbols, size(symbols)); break;
    }
    return to >= 0 ? to : at;
}

int parentJoint(const std::string& symbols, int p)
{
    // Back from p: whole branches on the way are passed over, and the "["
    // of the branch holding p leads out to the joint before it.
    int closed = 0;
    for (int i = std::min(p, size(symbols)) - 1; i >= 0; --i) {
        const char c = symbols[i];
        if (c == ']') ++closed;
        else if (c == '[' && closed > 0) --closed;
        else if (c == 'a' && closed == 0) return i;
    }
    return -1;
}

int branchDepth(const std::string& symbols, int p)
{
    int open = 0;
    for (int i = 0; i < std::min(p, size(symbols)); ++i) {
        if (symbols[i] == '[') ++open;
        if (symbols[i] == ']' && open > 0) --open;
    }
    return open;
}
