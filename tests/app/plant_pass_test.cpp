#include "app/events.h"
#include "app/plant_pass.h"
#include "app/square_moves.h"
#include "sdl_env.h"

#include <climits>
#include <string>

namespace {

const std::string startUp = "aa[+aa[+aa[+ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao";

struct PlantPasses : SdlWindow {
    ShadowMap shadow;
    Plant arbre{"{o:a[+ao]-ao;}ao", 300, 300};
    Palette colours{};

    void SetUp() override
    {
        shadow.setSize(600, 400);
        colours = mapPalette(window->format);
        for (int i = 0; i < 3; ++i) arbre.growAtSelection();
        SDL_FillRect(window, nullptr, 0);
    }

    // One frame's plant pass with the mouse at (x, y).
    void pass(int x, int y)
    {
        shadow.swapAndClear();
        drawPlant(window, arbre, shadow, colours, x, y);
    }

    Uint32 at(int x, int y) const { return static_cast<Uint32*>(window->pixels)[y * 600 + x]; }
};

} // namespace

TEST_F(PlantPasses, SquaresOfTheStartUpPlant)
{
    pass(0, 0);
    // Joints 8 x 8 with the top one pixel above centre.
    EXPECT_EQ(at(295, 275), colours.jointColour);
    EXPECT_EQ(at(302, 282), colours.jointColour);
    EXPECT_EQ(at(294, 275), 0u);
    EXPECT_EQ(at(295, 274), 0u);
    EXPECT_EQ(at(295, 255), colours.jointColour);
    // The leaf at position 13, turtle (227, 201): 40 x 40 from (207, 180),
    // lit since the back buffer is clear.
    EXPECT_EQ(at(207, 180), colours.leafLitColour);
    EXPECT_EQ(at(246, 219), colours.leafLitColour);
    EXPECT_EQ(arbre.selection, 0);
    // Every symbol cast its shadow: the root's column is dark from the first joint.
    EXPECT_EQ(shadow.readFront(299, 280), 1);
    EXPECT_EQ(shadow.readFront(299, 399), 1);
    EXPECT_EQ(shadow.readFront(10, 399), 0);
}

TEST_F(PlantPasses, HoverIsStrict)
{
    // The leaf at position 13 covers (207, 180) to (246, 219); only its
    // inside, (208, 181) to (246, 219), selects it.
    const struct { int x, y, selection; } cases[] = {
        {212, 212, 13}, {208, 181, 13}, {246, 219, 13},
        {207, 200, 0}, {210, 180, 0}, {247, 215, 0}, {220, 220, 0},
    };
    for (const auto& c : cases) {
        pass(c.x, c.y);
        EXPECT_EQ(arbre.selection, c.selection) << c.x << ", " << c.y;
    }
    pass(212, 212);
    EXPECT_EQ(at(212, 212), colours.highlightColour);
    EXPECT_EQ(at(207, 180), colours.highlightColour);
}

TEST_F(PlantPasses, LastSquareUnderTheMouseWins)
{
    // (290, 241) lies in the joint at position 4 and in no later square.
    pass(290, 241);
    EXPECT_EQ(arbre.selection, 4);
    EXPECT_EQ(at(290, 241), colours.highlightColour);
}

TEST_F(PlantPasses, LeavesAreColouredByThePreviousShadows)
{
    shadow.swapAndClear();
    shadow.setCell(207, 180, 1);
    shadow.swapAndClear();   // now in the back buffer
    EXPECT_EQ(leafColour(shadow, 207, 180, colours), colours.leafHalfShadedColour);
    EXPECT_EQ(leafColour(shadow, 167, 180, colours), colours.leafHalfShadedColour);
    EXPECT_EQ(leafColour(shadow, 100, 100, colours), colours.leafLitColour);
    // Cells outside the grid read as lit.
    EXPECT_EQ(leafColour(shadow, -20, -21, colours), colours.leafLitColour);
    EXPECT_EQ(leafColour(shadow, 580, 10, colours), colours.leafLitColour);

    shadow.swapAndClear();
    shadow.setCell(207, 180, 1);
    shadow.setCell(247, 180, 2);
    shadow.swapAndClear();
    EXPECT_EQ(leafColour(shadow, 207, 180, colours), colours.leafShadedColour);

    // Grown further, leaves hang under others and are shaded in the next pass.
    arbre.growAtSelection();
    arbre.growAtSelection();
    pass(0, 0);
    pass(0, 0);
    int lit = 0, notLit = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 600; ++x) {
            lit += at(x, y) == colours.leafLitColour;
            notLit += at(x, y) == colours.leafHalfShadedColour || at(x, y) == colours.leafShadedColour;
        }
    }
    EXPECT_GT(lit, 0);
    EXPECT_GT(notLit, 0);
}

TEST_F(PlantPasses, ClickGrowsCutsAndAlwaysPrints)
{
    testing::internal::CaptureStdout();
    pass(212, 212);
    clickAction(arbre);
    pass(5, 5);
    clickAction(arbre);
    pass(290, 241);
    clickAction(arbre);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao\n"
              "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao\n"
              "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao\n");
}

TEST_F(PlantPasses, Events)
{
    Input input;
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 212;
    e.motion.y = 212;
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.mouseX, 212);
    EXPECT_EQ(input.mouseY, 212);

    e.type = SDL_KEYUP;
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.quit, 0);

    testing::internal::CaptureStdout();
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_WHEELDOWN;
    handleEvent(e, input, arbre);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), startUp + "\n");

    e.type = SDL_KEYDOWN;
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.quit, 1);
    input.quit = 0;
    e.type = SDL_QUIT;
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.quit, 1);
}

TEST_F(PlantPasses, KeptEventsAreHandledInOrderBeforeSdlsOwn)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    EXPECT_EQ(keepEvent(&e), 1);   // left to SDL
    e.type = SDL_MOUSEMOTION;
    for (Uint16 x : {7, 8, 9}) {
        e.motion.x = x;
        EXPECT_EQ(keepEvent(&e), 0);
    }
    EXPECT_EQ(keptEvents(), 1u);   // one motion, the last
    e.type = SDL_MOUSEBUTTONDOWN;
    for (int i = 0; i < 300; ++i) keepEvent(&e);
    e.type = SDL_KEYDOWN;
    keepEvent(&e);
    EXPECT_EQ(keptEvents(), 302u);
    SDL_Event pushed{};
    pushed.type = SDL_MOUSEMOTION;
    pushed.motion.x = 5;
    ASSERT_EQ(SDL_PushEvent(&pushed), 0);

    Input input;
    testing::internal::CaptureStdout();
    handleEvents(e, input, arbre);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.size(), 300 * (startUp.size() + 1));
    EXPECT_EQ(input.quit, 1);
    EXPECT_EQ(input.mouseX, 5);
    EXPECT_EQ(keptEvents(), 0u);
}

TEST_F(PlantPasses, AChosenSquareIsTheOnlyOneSelectedAndEveryLeafIsCounted)
{
    // The joint at position 4 lies under the mouse at (290, 241); chosen, the
    // leaf at 13 under (212, 212) is not highlighted, whatever the mouse.
    PlantPass tmp;
    beginPlantPass(tmp, window, arbre, 212, 212, 4);
    continuePlantPass(tmp, window, arbre, shadow, colours, INT_MAX);
    EXPECT_EQ(arbre.selection, 4);
    EXPECT_EQ(tmp.selected, 4);
    EXPECT_EQ(tmp.selectedLight, -1);
    EXPECT_EQ(at(290, 241), colours.highlightColour);
    EXPECT_EQ(at(212, 212), colours.leafLitColour);
    // Chosen between squares: the last square before.
    beginPlantPass(tmp, window, arbre, 0, 0, 15);
    continuePlantPass(tmp, window, arbre, shadow, colours, INT_MAX);
    EXPECT_EQ(tmp.selected, 13);
    EXPECT_EQ(tmp.selectedLight, leafLit);
    EXPECT_EQ(tmp.joints, 22);
    EXPECT_EQ(tmp.leaves[leafLit] + tmp.leaves[leafHalfShaded] + tmp.leaves[leafShaded], 8);
    // The mouse on the sky selects nothing.
    beginPlantPass(tmp, window, arbre, 5, 5);
    continuePlantPass(tmp, window, arbre, shadow, colours, INT_MAX);
    EXPECT_EQ(tmp.selected, -1);
}

TEST_F(PlantPasses, KeysMoveFromTheMousesSquareAndPressIt)
{
    Input input;
    pass(290, 241);   // the joint at 4
    SDL_Event e{};
    e.type = squareMoveEvent;
    e.user.code = static_cast<int>(SquareMove::Next);
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.chosen, 5);
    e.user.code = static_cast<int>(SquareMove::Parent);
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.chosen, 4);
    e.type = squarePressEvent;
    testing::internal::CaptureStdout();
    handleEvent(e, input, arbre);   // the selection is still the mouse's joint: cut there
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao\n");
    EXPECT_EQ(input.presses, 1);
    e.type = SDL_MOUSEMOTION;
    handleEvent(e, input, arbre);
    EXPECT_EQ(input.chosen, -1);
}
