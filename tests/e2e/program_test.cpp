// The real program in a real X server: start-up, drawing, hover, clicks
// and the ways it ends.
#include "e2e.h"

#include <cstdlib>
#include <thread>
#include <unistd.h>
#include <filesystem>

namespace {

const uint32_t joint = rgb(102, 51, 0);
const uint32_t highlight = rgb(255, 0, 0);
const uint32_t leafLit = rgb(255, 255, 0);
const uint32_t leafColours[] = {leafLit, rgb(255, 128, 0), rgb(0, 255, 0)};

bool isSquare(uint32_t p)
{
    return p == joint || p == highlight || p == leafColours[0] || p == leafColours[1] || p == leafColours[2];
}

} // namespace

TEST_F(EndToEnd, StartUpDrawsThePlantOverBothSkies)
{
    const Screenshot day = loadPng(PLANT_SOURCE_DIR "/art/KV_Day_Sky.png");
    const Screenshot night = loadPng(PLANT_SOURCE_DIR "/art/KV_Night_Sky.png");
    ASSERT_EQ(day.width, 600);
    ASSERT_EQ(night.width, 600);

    launch();
    EXPECT_EQ(plant->readLine(), startUpPlant);

    // Below the root the plant's shadow shows the night sky.
    const Screenshot shot = display->waitFor([&](const Screenshot& s) { return s.at(299, 399) == night.at(299, 399); });
    EXPECT_EQ(plant->pendingOutput(), "") << "start-up prints one line";

    for (int y = 300; y < 400; ++y) EXPECT_EQ(shot.at(299, y), night.at(299, y)) << "row " << y;
    EXPECT_EQ(shot.at(10, 10), day.at(10, 10));
    EXPECT_EQ(shot.at(298, 278), joint);
    EXPECT_EQ(shot.at(210, 190), leafLit);   // the leaf at position 13

    // Every pixel is the day sky, the night sky or a square. Night shows only
    // in shadow, which falls straight down: below a night pixel there is
    // night again or a square.
    int nightPixels = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 600; ++x) {
            const uint32_t p = shot.at(x, y);
            const bool isNight = p == night.at(x, y) && p != day.at(x, y);
            ASSERT_TRUE(p == day.at(x, y) || p == night.at(x, y) || isSquare(p)) << "pixel " << x << ", " << y;
            ASSERT_NE(p, highlight);
            if (isNight && y + 1 < 400) {
                const uint32_t below = shot.at(x, y + 1);
                ASSERT_TRUE(below == night.at(x, y + 1) || isSquare(below)) << "pixel " << x << ", " << y;
            }
            nightPixels += isNight;
        }
    }
    EXPECT_GT(nightPixels, 1000);
}

TEST_F(EndToEnd, PressOnAHoveredLeafGrowsIt)
{
    launch();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    hover(212, 212);
    // Only the hovered leaf is highlighted, all of it.
    const Screenshot shot = display->screenshot();
    EXPECT_EQ(shot.at(207, 180), highlight);
    EXPECT_EQ(shot.at(246, 219), highlight);
    EXPECT_NE(shot.at(300, 280), highlight);

    EXPECT_EQ(clickAndRead(), "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao");
}

TEST_F(EndToEnd, PressOnAHoveredJointCutsIt)
{
    launch();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    hover(290, 241);
    EXPECT_EQ(clickAndRead(), "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao");

    // Nothing under the mouse: the press acts on position 0 and only prints.
    display->moveTo(5, 5);
    display->waitFor([](const Screenshot& s) { return s.at(290, 241) != highlight; });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(clickAndRead(), "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao");
    // The wheel is a button too.
    display->click(4);
    EXPECT_EQ(plant->readLine(), "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao");
}

TEST_F(EndToEnd, KeyPressEndsTheProgram)
{
    launch();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    display->moveTo(100, 100);
    display->pressKey("Shift_L");
    EXPECT_EQ(plant->wait(), 0);
}

TEST_F(EndToEnd, CloseRequestEndsTheProgram)
{
    launch();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    display->requestClose();
    EXPECT_EQ(plant->wait(), 0);
}

TEST_F(EndToEnd, NoDisplayIsAnError)
{
    Process noDisplay(PLANT_BINARY, {}, PLANT_SOURCE_DIR, {{"DISPLAY", ""}, {"SDL_VIDEODRIVER", ""}});
    EXPECT_EQ(noDisplay.wait(), 1);
    EXPECT_NE(noDisplay.errors().find("cannot open the 600 x 400 window: "), std::string::npos)
        << noDisplay.errors();
    EXPECT_EQ(noDisplay.pendingOutput(), "");
}
