#include "shadow/shadow_map.h"

#include <gtest/gtest.h>

namespace {

// Front buffer cells that hold a non-zero value.
int marked(const ShadowMap& m)
{
    int n = 0;
    for (int y = 0; y < m.getHeight(); ++y)
        for (int x = 0; x < m.getWidth(); ++x) n += m.readFront(x, y) != 0;
    return n;
}

// True when column x of the front buffer is marked exactly from row `from`
// to the bottom.
bool columnFrom(const ShadowMap& m, int x, int from)
{
    for (int y = 0; y < m.getHeight(); ++y)
        if ((m.readFront(x, y) != 0) != (y >= from)) return false;
    return true;
}

struct Sized : testing::Test {
    ShadowMap map;
    void SetUp() override { map.setSize(600, 400); }
};

} // namespace

TEST(ShadowMap, NewMapHasNoCells)
{
    ShadowMap m;
    EXPECT_EQ(m.readBack(0, 0), 0);
    EXPECT_EQ(m.readFront(0, 0), 0);
    m.begin();
    EXPECT_TRUE(m.atEnd());
    EXPECT_EQ(m.currentValue(), 0);
    EXPECT_EQ(m.currentX(), 0);
    m.castRay(0, 0);
    m.castSegment(0, 0, 0.0f, 5);
    m.setCell(0, 0, 1);
    EXPECT_EQ(m.readFront(0, 0), 0);
}

TEST(ShadowMap, SizesThatCannotBeHeld)
{
    ShadowMap m;
    const int sizes[][2] = {{-1, 5}, {5, -1}, {(1 << 24) + 1, 1}, {1 << 16, 1 << 16}};
    for (const auto& s : sizes) {
        m.setSize(s[0], s[1]);
        EXPECT_EQ(m.getWidth(), 0);
        EXPECT_EQ(m.getHeight(), 0);
        m.begin();
        EXPECT_TRUE(m.atEnd());
        m.castSegment(0, 0, 0.0f, 3);
        EXPECT_EQ(m.readFront(0, 0), 0);
    }
}

TEST_F(Sized, IterationVisitsEveryCellRowByRow)
{
    int visited = 0;
    for (map.begin(); !map.atEnd(); map.next(), ++visited) {
        ASSERT_EQ(map.currentX(), visited % 600);
        ASSERT_EQ(map.currentY(), visited / 600);
        ASSERT_EQ(map.currentValue(), 0);
    }
    EXPECT_EQ(visited, 240000);

    map.setCell(0, 1, 7);
    map.begin();
    for (int i = 0; i < 600; ++i) map.next();
    EXPECT_EQ(map.currentX(), 0);
    EXPECT_EQ(map.currentY(), 1);
    EXPECT_EQ(map.currentValue(), 7);
}

TEST_F(Sized, RayFallsToTheBottomAndSwapsToTheBack)
{
    map.swapAndClear();
    map.castRay(10, 395);
    EXPECT_EQ(marked(map), 5);
    EXPECT_TRUE(columnFrom(map, 10, 395));
    EXPECT_EQ(map.readBack(10, 397), 0);

    map.swapAndClear();
    EXPECT_EQ(map.readBack(10, 397), 1);
    EXPECT_EQ(map.readFront(10, 397), 0);

    map.swapAndClear();
    EXPECT_EQ(map.readBack(10, 397), 0);
    EXPECT_EQ(marked(map), 0);
}

TEST_F(Sized, RaysStartingOffTheGridMarkNothing)
{
    const int starts[][2] = {{-1, 5}, {600, 5}, {5, 400}, {5, -1}};
    for (const auto& s : starts) map.castRay(s[0], s[1]);
    EXPECT_EQ(marked(map), 0);

    map.castSegment(300, 300, 0.0f, 0);
    map.castSegment(300, 300, 0.0f, -4);
    EXPECT_EQ(marked(map), 0);
}

TEST_F(Sized, ReadsAndWritesOutsideTheGrid)
{
    map.setCell(-1, 0, 1);
    map.setCell(600, 0, 1);
    map.setCell(0, 400, 1);
    EXPECT_EQ(marked(map), 0);
    map.castRay(0, 0);
    EXPECT_EQ(map.readFront(-1, 0), 0);
    EXPECT_EQ(map.readFront(600, 399), 0);
    map.swapAndClear();
    EXPECT_EQ(map.readBack(0, -1), 0);
    EXPECT_EQ(map.readBack(0, 400), 0);
}

TEST_F(Sized, Segments)
{
    SCOPED_TRACE("straight down");
    map.castSegment(300, 300, 0.0f, 3);
    EXPECT_TRUE(columnFrom(map, 300, 300));
    EXPECT_EQ(marked(map), 100);

    SCOPED_TRACE("the plant's heading drifts below column 100 after one step");
    map.swapAndClear();
    map.castSegment(100, 100, 3.1416f, 21);
    EXPECT_TRUE(columnFrom(map, 100, 100));
    EXPECT_TRUE(columnFrom(map, 99, 80));
    EXPECT_EQ(marked(map), 300 + 320);

    SCOPED_TRACE("x between -1 and 0 casts from column 0");
    map.swapAndClear();
    map.castSegment(0, 10, -1.5707964f, 3);   // points at x 0, -1, -2
    EXPECT_TRUE(columnFrom(map, 0, 10));
    EXPECT_EQ(marked(map), 390);

    map.swapAndClear();
    map.castSegment(-1, 10, 0.0f, 3);
    EXPECT_EQ(marked(map), 0);
}

TEST_F(Sized, RayStepsEndAlways)
{
    map.setRayStep(0.0f, 0.0f);
    map.castRay(5, 5);
    EXPECT_EQ(marked(map), 1);

    map.setRayStep(1e-30f, 0.0f);   // too small to move a float
    map.castRay(7, 7);
    EXPECT_EQ(marked(map), 2);

    map.setRayStep(1.0f, 0.0f);
    map.castRay(590, 9);
    EXPECT_EQ(marked(map), 12);
}

TEST_F(Sized, MovesTakeTheBuffers)
{
    map.castRay(10, 395);
    ShadowMap moved(std::move(map));
    EXPECT_EQ(moved.getWidth(), 600);
    EXPECT_EQ(moved.readFront(10, 397), 1);
    // The map moved from is unsized and safe to use.
    EXPECT_EQ(map.getWidth(), 0);
    map.setRayStep(0.5f, 0.5f);
    map.castSegment(0, 0, 1.0f, 5);
    map.begin();
    EXPECT_TRUE(map.atEnd());

    map = std::move(moved);
    EXPECT_EQ(map.readFront(10, 399), 1);
    EXPECT_EQ(moved.readFront(10, 399), 0);
}

TEST_F(Sized, ASegmentCastAgainMarksWhatWasClearedSince)
{
    map.castSegment(300, 300, 0.0f, 3);
    map.setCell(300, 399, 0);
    map.castSegment(300, 300, 0.0f, 3);
    EXPECT_EQ(map.readFront(300, 399), 1);

    map.swapAndClear();
    map.castSegment(300, 300, 0.0f, 3);
    EXPECT_EQ(map.readFront(300, 399), 1);
}
