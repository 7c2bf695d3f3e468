// Whole frames of the program's passes against a straightforward rendering:
// the pixel-by-pixel background, the plain point-by-point shadow march and
// the walk drawn square by square.
#include "app/background.h"
#include "app/frame.h"
#include "app/surface.h"
#include "sdl_env.h"
#include "shadow/plain_map.h"

#include <SDL/SDL_image.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

struct Reference {
    std::vector<Uint32> pixels = std::vector<Uint32>(600 * 400);
    PlainMap front{600, 400};
    PlainMap back{600, 400};

    static Uint32 skyPixel(const Sky& sky, int x, int y)
    {
        const SDL_Surface* s = sky.image;
        return s && x < s->w && y < s->h ? getPixel(s, x, y) : sky.fallback;
    }

    void fill(const SDL_Rect& r, Uint32 colour)
    {
        for (int y = std::max<int>(r.y, 0); y < std::min(r.y + r.h, 400); ++y)
            for (int x = std::max<int>(r.x, 0); x < std::min(r.x + r.w, 600); ++x) pixels[y * 600 + x] = colour;
    }

    void frame(Plant& arbre, const Sky& night, const Sky& day, const Palette& c, int mx, int my)
    {
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x) pixels[y * 600 + x] = skyPixel(front.get(x, y) ? night : day, x, y);
        std::swap(front, back);
        std::fill(front.cells.begin(), front.cells.end(), 0);

        for (arbre.beginWalk(); !arbre.walkFinished(); arbre.advance()) {
            arbre.step();
            const TurtleState s = arbre.currentState();
            const char symbol = arbre.symbolAtCursor();
            SDL_Rect r{Sint16(s.getX() - 20), Sint16(s.getY() - 21), 40, 40};
            Uint32 colour = 0;
            if (symbol == 'o') {
                const bool a = back.get(r.x, r.y), b = back.get(r.x + 40, r.y);
                colour = a && b ? c.leafShadedColour : a || b ? c.leafHalfShadedColour : c.leafLitColour;
            } else if (symbol == 'a') {
                r = SDL_Rect{Sint16(s.getX() - 4), Sint16(s.getY() - 5), 8, 8};
                colour = c.jointColour;
            }
            front.castSegment(s.getX(), s.getY(), s.getHeading(), s.getStepLength() + 1);
            if (colour) {
                if (r.x < mx && mx < r.x + r.w && r.y < my && my < r.y + r.h) {
                    arbre.select();
                    colour = c.highlightColour;
                }
                fill(r, colour);
            }
        }
    }
};

struct Frames : SdlWindow {
    Palette colours{};
    SDL_Surface* nightImage = nullptr;
    SDL_Surface* dayImage = nullptr;

    void SetUp() override
    {
        colours = mapPalette(window->format);
        nightImage = loadImage(ART_DIR "/KV_Night_Sky.png");
        dayImage = loadImage(ART_DIR "/KV_Day_Sky.png");
        ASSERT_NE(nightImage, nullptr);
        ASSERT_NE(dayImage, nullptr);
    }

    void TearDown() override
    {
        SDL_FreeSurface(nightImage);
        SDL_FreeSurface(dayImage);
    }

    // Runs the same frames both ways and compares every pixel and cell. With
    // a part size, the program's frames go by in parts of that many symbols,
    // and the plant changes after the first part of the third frame.
    void compare(int generations, const Sky& night, const Sky& day, int part = INT_MAX)
    {
        Plant fast("{o:a[+ao]-ao;}ao", 300, 300), plain("{o:a[+ao]-ao;}ao", 300, 300);
        for (int i = 0; i < generations; ++i) {
            fast.growAtSelection();
            plain.growAtSelection();
        }
        ShadowMap shadow;
        shadow.setSize(600, 400);
        Reference reference;
        Input input;
        SDL_Event event;
        PlantPass pass;
        Frame frame{window, window, shadow, night, day, colours, fast, input, event, pass};
        const int mouse[][2] = {{0, 0}, {212, 212}, {290, 241}, {300, 150}, {1, 399}};
        int n = 0;
        for (const auto& m : mouse) {
            SCOPED_TRACE(testing::Message() << "frame " << n << ", mouse " << m[0] << ", " << m[1]);
            input.mouseX = m[0];
            input.mouseY = m[1];
            beginFrame(frame);
            bool done = continueFrame(frame, part);
            if (n++ == 2 && part < INT_MAX) {
                ASSERT_FALSE(done);
                ASSERT_TRUE(fast.setDerivation("-" + fast.derivation));
                plain.setDerivation(fast.derivation);
                restartPlantPass(frame);
            }
            while (!done) done = continueFrame(frame, part);
            reference.frame(plain, night, day, colours, m[0], m[1]);

            EXPECT_EQ(fast.selection, plain.selection);
            int wrong = 0;
            for (int y = 0; y < 400; ++y) {
                for (int x = 0; x < 600; ++x) {
                    wrong += getPixel(window, x, y) != reference.pixels[y * 600 + x];
                    wrong += shadow.readFront(x, y) != reference.front.get(x, y);
                    wrong += shadow.readBack(x, y) != reference.back.get(x, y);
                }
            }
            ASSERT_EQ(wrong, 0);
        }
    }
};

} // namespace

TEST_F(Frames, GrownPlantsMatchTheStraightforwardRendering)
{
    const Sky night = nightSky(nightImage, window->format);
    const Sky day = daySky(dayImage, window->format);
    for (int generations : {3, 7}) {
        SCOPED_TRACE(generations);
        compare(generations, night, day);
    }
}

TEST_F(Frames, FramesInPartsAndRestartedPassesMatchWholeOnes)
{
    const Sky night = nightSky(nightImage, window->format);
    const Sky day = daySky(dayImage, window->format);
    for (int part : {1, 7, 100}) {
        SCOPED_TRACE(part);
        compare(5, night, day, part);
    }
}

TEST_F(Frames, MissingAndSmallSkiesShowTheirFallback)
{
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 450, 250, 32, window->format->Rmask,
                                              window->format->Gmask, window->format->Bmask, 0);
    ASSERT_NE(small, nullptr);
    SDL_FillRect(small, nullptr, SDL_MapRGB(small->format, 1, 2, 3));
    compare(6, nightSky(nullptr, window->format), daySky(small, window->format));
    compare(6, nightSky(small, window->format), daySky(nullptr, window->format));
    SDL_FreeSurface(small);
}
