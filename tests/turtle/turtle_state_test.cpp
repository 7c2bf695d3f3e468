#include "turtle/turtle_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

uint32_t bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

TurtleState at(float x, float y, float heading, float stepLength)
{
    TurtleState s;
    s.x = x;
    s.y = y;
    s.heading = heading;
    s.stepLength = stepLength;
    return s;
}

} // namespace

TEST(TurtleState, ResetAndForward)
{
    TurtleState t;
    t.reset(300, 300);
    EXPECT_EQ(t.getX(), 300);
    EXPECT_EQ(t.getY(), 300);
    EXPECT_EQ(t.getStepLength(), 20);
    EXPECT_EQ(bits(t.getHeading()), 0x40490FF9u);

    t.forward();
    EXPECT_EQ(t.x, 299.99985f);
    EXPECT_EQ(t.y, 280.0f);
    EXPECT_EQ(t.getX(), 299);
    EXPECT_EQ(t.getY(), 280);

    t.forward();
    EXPECT_EQ(t.x, 299.9997f);
    EXPECT_EQ(t.y, 260.0f);
}

TEST(TurtleState, TruncationTowardZero)
{
    EXPECT_EQ(at(299.9998f, 242.45f, 0, -0.7f).getX(), 299);
    EXPECT_EQ(at(299.9998f, 242.45f, 0, -0.7f).getY(), 242);
    EXPECT_EQ(at(299.9998f, 242.45f, 0, -0.7f).getStepLength(), 0);
    EXPECT_EQ(at(-2.5f, 0, 0, 0).getX(), -2);

    // Values no int holds saturate instead of being undefined.
    EXPECT_EQ(at(3e9f, -3e9f, 0, NAN).getX(), 2147483647);
    EXPECT_EQ(at(3e9f, -3e9f, 0, NAN).getY(), -2147483647 - 1);
    EXPECT_EQ(at(3e9f, -3e9f, 0, NAN).getStepLength(), 0);
}

TEST(TurtleState, CopyFromTakesWholePixels)
{
    const float h = 3.1416f;
    TurtleState t;
    t.copyFrom(at(299.9997f, 260.0f, h, 20.0f));
    EXPECT_EQ(t.x, 299.0f);
    EXPECT_EQ(t.y, 260.0f);
    EXPECT_EQ(t.heading, h);
    EXPECT_EQ(t.stepLength, 20.0f);

    t.copyFrom(at(-0.7f, 10.9f, 0.25f, 20.0f));
    EXPECT_EQ(t.x, 0.0f);
    EXPECT_EQ(t.y, 10.0f);
    EXPECT_EQ(t.heading, 0.25f);

    // The ordinary copy is exact.
    const TurtleState copy = at(299.9997f, 260.0f, h, 20.0f);
    EXPECT_EQ(TurtleState(copy).x, 299.9997f);
}

TEST(TurtleState, TurnsAndStepLengths)
{
    TurtleState t;
    t.reset(300, 300);
    t.turn(0.5f);
    EXPECT_EQ(t.heading, 3.1416f + 0.5f);
    t.forward();
    EXPECT_NEAR(t.x - 300.0f, -9.589f, 1e-3);
    EXPECT_NEAR(t.y - 300.0f, -17.552f, 1e-3);

    TurtleState back;
    back.reset(300, 300);
    for (int i = 0; i < 5; ++i) back.changeStepLength(-5.0f);
    EXPECT_EQ(back.stepLength, -5.0f);
    EXPECT_EQ(back.getStepLength(), -5);
    back.forward();
    EXPECT_EQ(back.y, 305.0f);

    TurtleState still;
    still.reset(300, 300);
    still.changeStepLength(-20.0f);
    still.forward();
    EXPECT_EQ(still.x, 300.0f);
    EXPECT_EQ(still.y, 300.0f);

    // The heading is never reduced to one turn.
    TurtleState spun;
    spun.reset(0, 0);
    for (int i = 0; i < 20; ++i) spun.turn(0.5f);
    EXPECT_NEAR(spun.heading, 13.1416f, 1e-5);
}
