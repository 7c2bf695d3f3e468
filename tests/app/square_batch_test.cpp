#include "app/square_batch.h"
#include "app/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

// Squares on one another, across the edges and wholly outside, in several
// colours: the batch leaves the pixels of filling each in turn. Walks on
// surfaces of other sizes start from nothing kept.
TEST(SquareBatch, DrawsWhatFillingEachInTurnDraws)
{
    std::mt19937 rng(7);
    auto integer = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    SquareBatch batch;
    for (const auto& [w, h] : {std::pair{600, 400}, std::pair{37, 23}, std::pair{600, 400}}) {
        SDL_Surface* direct = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0);
        SDL_Surface* batched = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0);
        for (int walk = 0; walk < 3; ++walk) {
            batch.fitTo(w, h);
            SDL_Rect places[40];
            for (SDL_Rect& r : places) {
                const Uint16 side = integer(0, 1) ? 40 : 8;
                r = {Sint16(integer(-50, w + 10)), Sint16(integer(-50, h + 10)), side, side};
            }
            for (int n = 0; n < 2000; ++n) {
                const SDL_Rect& r = places[integer(0, 39)];
                const Uint32 colour = Uint32(integer(1, 4)) * 0x3f3f3f;
                fillSquare(direct, r, colour);
                batch.add(r, colour);
            }
            batch.draw(batched);
            const Uint32* d = pixelRow(direct, 0);
            ASSERT_TRUE(std::equal(d, d + w * h, pixelRow(batched, 0))) << w << " x " << h << ", walk " << walk;
        }
        SDL_FreeSurface(direct);
        SDL_FreeSurface(batched);
    }
}
