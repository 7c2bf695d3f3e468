#include "turtle/plant.h"

#include <gtest/gtest.h>

namespace {

const char* grammar = "{o:a[+ao]-ao;}ao";

struct Row {
    char symbol;
    float x, y;
    int getX, getY;
    float heading;
    std::size_t depth;
};

} // namespace

TEST(Plant, NewPlantWalk)
{
    Plant p(grammar, 300, 300);
    EXPECT_EQ(p.derivation, "ao");
    EXPECT_EQ(p.selection, 0);

    p.beginWalk();
    p.step();
    EXPECT_EQ(p.symbolAtCursor(), 'a');
    EXPECT_EQ(p.currentState().x, 299.99985f);
    EXPECT_EQ(p.currentState().y, 280.0f);
    p.advance();
    p.step();
    EXPECT_EQ(p.symbolAtCursor(), 'o');
    EXPECT_EQ(p.currentState().x, 299.99985f);
    EXPECT_FALSE(p.walkFinished());
    p.advance();
    EXPECT_TRUE(p.walkFinished());
    EXPECT_EQ(p.symbolAtCursor(), '\0');

    const TurtleState s = p.currentState();
    EXPECT_EQ(s.x, 300.0f);
    EXPECT_EQ(s.y, 300.0f);
    EXPECT_EQ(s.heading, 3.1416f);
    EXPECT_EQ(s.stepLength, 20.0f);
}

TEST(Plant, WorkedWalkIsExact)
{
    Plant p(grammar, 300, 300);
    p.growAtSelection();
    ASSERT_EQ(p.derivation, "aa[+ao]-ao");

    const float up = 3.1416f, left = up + 0.5f, right = up - 0.5f;
    const Row table[] = {
        {'a', 299.99985f, 280.0f, 299, 280, up, 0},
        {'a', 299.9997f, 260.0f, 299, 260, up, 0},
        {'[', 299.9997f, 260.0f, 299, 260, up, 1},
        {'+', 299.9997f, 260.0f, 299, 260, left, 1},
        {'a', 290.41107f, 242.44843f, 290, 242, left, 1},
        {'o', 290.41107f, 242.44843f, 290, 242, left, 1},
        {']', 299.0f, 260.0f, 299, 260, up, 0},
        {'-', 299.0f, 260.0f, 299, 260, right, 0},
        {'a', 308.58838f, 242.44827f, 308, 242, right, 0},
        {'o', 308.58838f, 242.44827f, 308, 242, right, 0},
    };
    int pos = 0;
    for (p.beginWalk(); !p.walkFinished(); p.advance(), ++pos) {
        SCOPED_TRACE(pos);
        ASSERT_LT(pos, 10);
        p.step();
        const TurtleState s = p.currentState();
        EXPECT_EQ(p.symbolAtCursor(), table[pos].symbol);
        EXPECT_EQ(s.x, table[pos].x);
        EXPECT_EQ(s.y, table[pos].y);
        EXPECT_EQ(s.getX(), table[pos].getX);
        EXPECT_EQ(s.getY(), table[pos].getY);
        EXPECT_EQ(s.getHeading(), table[pos].heading);
        EXPECT_EQ(s.stepLength, 20.0f);
        EXPECT_EQ(p.branchStack.size(), table[pos].depth);
    }
    EXPECT_EQ(pos, 10);
}

TEST(Plant, StepLengthSymbolsAndUnknownSymbols)
{
    Plant p("{}_a|a[_]a b\xC3o", 0, 0);
    const float expectedY[] = {0, -15, -15, -35, -35, -35, -35, -55, -55, -55, -55, -55};
    int pos = 0;
    for (p.beginWalk(); !p.walkFinished(); p.advance(), ++pos) {
        p.step();
        EXPECT_EQ(p.currentState().y, expectedY[pos]) << "at " << pos;
    }
    EXPECT_EQ(pos, 12);   // unknown symbols are still positions of the walk
}

TEST(Plant, UnclosedAndUnopenedBranches)
{
    Plant open("{}[a", 10, 10);
    open.beginWalk();
    while (!open.walkFinished()) {
        open.step();
        open.advance();
    }
    EXPECT_EQ(open.branchStack.size(), 1u);
    open.beginWalk();
    EXPECT_TRUE(open.branchStack.empty());
    EXPECT_EQ(open.turtle.x, 10.0f);

    // A "]" with nothing saved leaves the turtle where it is.
    Plant stray("{}a]a", 0, 0);
    stray.beginWalk();
    stray.step();
    stray.advance();
    stray.step();
    EXPECT_EQ(stray.currentState().y, -20.0f);
}

TEST(Plant, Selection)
{
    Plant p(grammar, 300, 300);
    p.growAtSelection();
    p.beginWalk();
    for (int i = 0; i < 3; ++i) p.advance();
    p.select();
    p.advance();
    p.advance();
    p.select();
    EXPECT_EQ(p.selection, 5);
    EXPECT_EQ(p.symbolAtSelection(), 'o');
    p.beginWalk();
    EXPECT_EQ(p.selection, 0);
}

TEST(Plant, GrowAndCut)
{
    Plant p(grammar, 300, 300);
    const int lengths[] = {10, 26, 58};
    for (int n : lengths) {
        p.growAtSelection();
        EXPECT_EQ(p.length(), n);
    }

    const std::string grown = p.derivation;
    p.cutAtSelection();
    EXPECT_EQ(p.derivation, grown);

    p.selection = 4;   // the 'a' inside the first branch
    p.cutAtSelection();
    EXPECT_EQ(p.derivation, "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao");
    EXPECT_EQ(p.selection, 4);

    p.selection = 40;
    EXPECT_EQ(p.symbolAtSelection(), '\0');
    p.cutAtSelection();
    EXPECT_EQ(p.derivation, "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao");
}

TEST(Plant, SetDerivationTakesOnlyWhatTheGrammarCouldGrow)
{
    Plant p(grammar, 300, 300);
    p.selection = 1;
    const std::string grown = "aa[+aa[+ao]-ao]-aa[+ao]-ao";
    ASSERT_TRUE(p.setDerivation(grown));
    EXPECT_EQ(p.derivation, grown);
    EXPECT_EQ(p.selection, 0);
    EXPECT_TRUE(p.setDerivation("o"));

    const std::string atTheBound(maxSetSymbols, 'a');
    EXPECT_TRUE(p.setDerivation(atTheBound));
    ASSERT_TRUE(p.setDerivation(grown));
    p.selection = 3;
    for (const std::string& refused : {std::string(), std::string("aob"), std::string("a\0o", 3),
                                       std::string("aa;o"), std::string("a]o["), std::string("a[+ao"),
                                       std::string("ao]"), atTheBound + "o"}) {
        EXPECT_FALSE(p.setDerivation(refused)) << refused.size() << " symbols";
        EXPECT_EQ(p.derivation, grown);
        EXPECT_EQ(p.selection, 3);
    }
}
