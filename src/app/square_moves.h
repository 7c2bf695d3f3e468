#pragma once

#include <string>

// The keyboard's way over a plant's squares: every joint ('a') and leaf
// ('o') of its derivation, by position in the string. A square hangs from
// the joint before it on its own branch or, first on a branch, from the
// joint the branch starts at: the plant as a tree, its root first.

// Where a key sends the highlight.
enum class SquareMove {
    Here,              // the square itself, or the nearest one
    Next,              // the next square in the string
    Previous,          // the previous square in the string
    Parent,            // the joint the square hangs from
    FirstChild,        // the first square that hangs from this joint
    NextSibling,       // the next square that hangs from the same joint
    PreviousSibling,   // the previous square that hangs from the same joint
    First,             // the first square in the string
    Last,              // the last square in the string
};

// True for the symbols drawn as squares: 'a' and 'o'.
bool isSquare(char symbol);

// The square nearest position p: p itself, else the last one before it,
// else the first one after it; -1 where the string holds none.
int nearestSquare(const std::string& symbols, int p);

// The square that move reaches from the square nearest `from`; that square
// itself where the move leads nowhere; -1 where the string holds none.
int moveSquare(const std::string& symbols, int from, SquareMove move);

// The joint that the square at p hangs from; -1 where it hangs from none.
int parentJoint(const std::string& symbols, int p);

// How many branches hold position p: the "[" before it still open there.
int branchDepth(const std::string& symbols, int p);
