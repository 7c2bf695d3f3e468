#include "app/changes.h"
#include "app/surface.h"
#include "sdl_env.h"

#include <SDL/SDL_image.h>

#include <cstring>
#include <string>
#include <vector>

using Surface = SdlWindow;

TEST_F(Surface, MissingFileSaysSo)
{
    testing::internal::CaptureStdout();
    SDL_Surface* s = loadImage("./no/such/file.png");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "error loading : ./no/such/file.png\n");
    EXPECT_EQ(s, nullptr);
}

TEST_F(Surface, LoadsInTheDisplayFormat)
{
    testing::internal::CaptureStdout();
    SDL_Surface* s = loadImage(ART_DIR "/KV_Day_Sky.png");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 600);
    EXPECT_EQ(s->h, 400);
    EXPECT_EQ(s->format->BytesPerPixel, 4);
    SDL_FreeSurface(s);
}

TEST_F(Surface, PixelsAreAddressedByRow)
{
    putPixel(window, 17, 23, 0x12345678u);
    EXPECT_EQ(getPixel(window, 17, 23), 0x12345678u);

    // A surface with padded rows: row 1 starts at the pitch, not at w.
    Uint32 memory[2 * 5] = {};
    SDL_Surface* s = SDL_CreateRGBSurfaceFrom(memory, 3, 2, 32, 5 * 4, 0xff0000, 0xff00, 0xff, 0);
    ASSERT_NE(s, nullptr);
    memory[5] = 0xabcdef;
    memory[2] = 0x42;
    EXPECT_EQ(getPixel(s, 0, 1), 0xabcdefu);
    EXPECT_EQ(getPixel(s, 2, 0), 0x42u);
    putPixel(s, 2, 1, 7);
    EXPECT_EQ(memory[7], 7u);
    SDL_FreeSurface(s);
}

TEST_F(Surface, SquaresFillAsSdlFillRectDoes)
{
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 600, 400, 32, 0xff0000, 0xff00, 0xff, 0);
    ASSERT_NE(expected, nullptr);
    const Sint16 places[] = {-32768, -41, -40, -39, -1, 0, 1, 360, 398, 399, 400, 559, 599, 600, 32767};
    const Uint16 sides[] = {0, 1, 8, 40, 65535};
    int compared = 0;
    for (Sint16 x : places)
        for (Sint16 y : places)
            for (Uint16 w : sides) {
                SDL_FillRect(expected, nullptr, 0);
                SDL_FillRect(window, nullptr, 0);
                SDL_Rect r{x, y, w, static_cast<Uint16>(w == 65535 ? 40 : w)};
                SDL_Rect copy = r;
                SDL_FillRect(expected, &copy, 0xabcdef);
                fillSquare(window, r, 0xabcdef);
                for (int row = 0; row < 400; ++row)
                    ASSERT_EQ(std::memcmp(pixelRow(expected, row), pixelRow(window, row), 600 * 4), 0)
                        << "rect " << x << ", " << y << ", " << w << " at row " << row;
                ++compared;
            }
    EXPECT_EQ(compared, 15 * 15 * 5);
    SDL_FreeSurface(expected);
}

TEST(Changes, AreaHoldsEveryDifferingPixelAndCopiesAcross)
{
    // 13 pixels a row: one block of eight, then single pixels.
    const int w = 13, h = 5;
    std::vector<Uint32> before(w * h, 7), after = before;
    SDL_Rect area = changedArea(before.data(), after.data(), w, h);
    EXPECT_EQ(area.w * area.h, 0);

    const auto expectArea = [&](int x, int y, int aw, int ah) {
        area = changedArea(before.data(), after.data(), w, h);
        EXPECT_EQ((std::vector<int>{area.x, area.y, area.w, area.h}), (std::vector<int>{x, y, aw, ah}));
    };
    after[1 * w + 7] = 8;   // last of the block
    expectArea(7, 1, 1, 1);
    after[3 * w + 12] = 8;  // last of its row
    after[3 * w + 2] = 8;
    expectArea(2, 1, 11, 3);
    after[0] = 8;
    expectArea(0, 0, 13, 4);

    copyArea(after.data(), before.data(), w, area);
    EXPECT_EQ(before, after);
}
