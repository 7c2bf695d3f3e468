#include "app/square_moves.h"

#include <gtest/gtest.h>

#include <string>

TEST(SquareMoves, AlongTheStringAndUpAndDownTheTree)
{
    // a0 [1 +2 a3 o4 ]5 -6 a7 o8: a3 and a7 hang from a0, o4 from a3, o8 from a7.
    const std::string s = "a[+ao]-ao";
    const struct { int from; SquareMove move; int to; } cases[] = {
        {0, SquareMove::Next, 3},       {4, SquareMove::Next, 7},         {8, SquareMove::Next, 8},
        {7, SquareMove::Previous, 4},   {0, SquareMove::Previous, 0},     {4, SquareMove::Parent, 3},
        {3, SquareMove::Parent, 0},     {7, SquareMove::Parent, 0},       {0, SquareMove::Parent, 0},
        {0, SquareMove::FirstChild, 3}, {3, SquareMove::FirstChild, 4},   {4, SquareMove::FirstChild, 4},
        {3, SquareMove::NextSibling, 7}, {7, SquareMove::NextSibling, 7}, {7, SquareMove::PreviousSibling, 3},
        {3, SquareMove::PreviousSibling, 3}, {4, SquareMove::First, 0},   {0, SquareMove::Last, 8},
        // From a position between squares: from the last square before it.
        {5, SquareMove::Here, 4},       {6, SquareMove::Next, 7},         {-3, SquareMove::Here, 0},
        {99, SquareMove::Here, 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(moveSquare(s, c.from, c.move), c.to) << c.from << " by " << static_cast<int>(c.move);
}

TEST(SquareMoves, SiblingsPassOverWholeBranches)
{
    // a0 [1 +2 a3 [4 +5 a6 o7 ]8 ]9 -10 a11 o12
    const std::string nested = "a[+a[+ao]]-ao";
    EXPECT_EQ(moveSquare(nested, 3, SquareMove::NextSibling), 11);
    EXPECT_EQ(moveSquare(nested, 11, SquareMove::PreviousSibling), 3);
    EXPECT_EQ(moveSquare(nested, 6, SquareMove::NextSibling), 6);
    EXPECT_EQ(parentJoint(nested, 7), 6);
    EXPECT_EQ(branchDepth(nested, 7), 2);
    EXPECT_EQ(branchDepth(nested, 11), 0);
    // Three branches from one joint, the last one without brackets.
    const std::string three = "a[a][a]a";
    EXPECT_EQ(moveSquare(three, 2, SquareMove::NextSibling), 5);
    EXPECT_EQ(moveSquare(three, 5, SquareMove::NextSibling), 7);
    EXPECT_EQ(moveSquare(three, 7, SquareMove::PreviousSibling), 5);
    EXPECT_EQ(moveSquare(three, 5, SquareMove::PreviousSibling), 2);
    // A joint whose branch holds no square has no child.
    EXPECT_EQ(moveSquare("a[+]-ao", 0, SquareMove::FirstChild), 5);
    EXPECT_EQ(moveSquare("[a]a", 1, SquareMove::FirstChild), 1);
}

TEST(SquareMoves, StringsWithoutSquares)
{
    EXPECT_EQ(nearestSquare("", 0), -1);
    EXPECT_EQ(nearestSquare("[+]", 1), -1);
    EXPECT_EQ(moveSquare("[+]", 0, SquareMove::Last), -1);
    EXPECT_EQ(nearestSquare("[[a", 0), 2);
}
