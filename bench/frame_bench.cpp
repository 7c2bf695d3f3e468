// Times the program's frame as it runs (present, background, swap, plant
// pass) on a 600 x 400 x 32 window, for plants of several generations that
// stand still; then the present alone of a frame that changed (in a page,
// the upload of a whole frame onto its canvas: the page's floor) and the
// memory floor of one frame, a 960,000-byte copy and a 240,000-byte clear.
#include "app/colours.h"
#include "app/frame.h"
#include "app/platform.h"
#include "app/surface.h"
#include "shadow/shadow_map.h"
#include "turtle/plant.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A plant of n symbols that wanders: leaves, joints and turns at random,
// a tenth of them opening a branch and a tenth closing one.
std::string wanderingPlant(std::size_t n)
{
    std::mt19937 rng(3);
    std::string symbols;
    std::size_t depth = 0;
    while (symbols.size() + depth + 2 <= n) {
        const unsigned r = rng() % 10;
        if (r == 0) symbols += '[', ++depth;
        else if (r == 1 && depth > 0) symbols += ']', --depth;
        else symbols += "oa+-"[rng() % 4];
    }
    symbols.append(depth, ']');
    symbols.append(n - symbols.size(), 'a');
    return symbols;
}

// Runs `frame` in batches until at least `least` frames and one second have
// passed, after a warm-up; the median of the batches' per-frame times, in
// milliseconds.
double medianFrameMs(const std::function<void()>& frame, int least = 200)
{
    const int batch = least / 10;
    // Warm caches first, and a browser's compiler: it optimises hot code late.
    for (const auto warm = Clock::now(); Clock::now() - warm < std::chrono::milliseconds(300);) frame();
    std::vector<double> perFrame;
    const auto start = Clock::now();
    int frames = 0;
    while (frames < least || Clock::now() - start < std::chrono::seconds(1)) {
        const auto t0 = Clock::now();
        for (int i = 0; i < batch; ++i) frame();
        const std::chrono::duration<double, std::milli> took = Clock::now() - t0;
        perFrame.push_back(took.count() / batch);
        frames += batch;
    }
    std::nth_element(perFrame.begin(), perFrame.begin() + perFrame.size() / 2, perFrame.end());
    return perFrame[perFrame.size() / 2];
}

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Surface* window = SDL_SetVideoMode(600, 400, 32, 0);
    if (!window) {
        std::fprintf(stderr, "frame_bench: no software window: %s\n", SDL_GetError());
        return 1;
    }
    IMG_Init(IMG_INIT_PNG);
    SDL_Surface* nightImage = loadImage(PLANT_SOURCE_DIR "/art/KV_Night_Sky.png");
    SDL_Surface* dayImage = loadImage(PLANT_SOURCE_DIR "/art/KV_Day_Sky.png");
    // Drawn where the program draws: the window, or a canvas of its own.
    SDL_Surface* canvas = openCanvas(window, nightImage, dayImage);
    const Sky night = nightSky(nightImage, canvas->format);
    const Sky day = daySky(dayImage, canvas->format);
    const Palette colours = mapPalette(canvas->format);
    Input input;
    SDL_Event event;
    PlantPass pass;

    for (int generations : {3, 6, 8, 10}) {
        ShadowMap shadow;
        shadow.setSize(600, 400);
        Plant arbre("{o:a[+ao]-ao;}ao", 300, 300);
        for (int i = 0; i < generations; ++i) arbre.growAtSelection();
        Frame frame{window, canvas, shadow, night, day, colours, arbre, input, event, pass};
        const double ms = medianFrameMs([&] { runFrame(frame); });
        std::printf("generations=%d symbols=%d frame_ms=%.4f\n", generations, arbre.length(), ms);
    }

    // The largest plants a link holds: a stem of a million joints that
    // leaves the window upwards, and a million symbols that wander.
    const std::pair<const char*, std::string> large[] = {{"stem", std::string(1000000, 'a')},
                                                         {"wandering", wanderingPlant(1000000)}};
    for (const auto& [name, symbols] : large) {
        ShadowMap shadow;
        shadow.setSize(600, 400);
        Plant arbre("{o:a[+ao]-ao;}ao", 300, 300);
        arbre.setDerivation(symbols);
        Frame frame{window, canvas, shadow, night, day, colours, arbre, input, event, pass};
        const double ms = medianFrameMs([&] { runFrame(frame); }, 20);
        std::printf("plant=%s symbols=%d frame_ms=%.4f\n", name, arbre.length(), ms);
    }

    // Each frame differs from the last in its first and last pixels, so a
    // page puts all of it on its canvas.
    const int last = canvas->w - 1, bottom = canvas->h - 1;
    std::printf("upload_ms=%.4f\n", medianFrameMs([&] {
                    putPixel(canvas, 0, 0, ~getPixel(canvas, 0, 0));
                    putPixel(canvas, last, bottom, ~getPixel(canvas, last, bottom));
                    present(window, canvas);
                }));

    std::vector<unsigned char> from(960000, 1), to(960000), cells(240000, 1);
    const double floorMs = medianFrameMs([&] {
        std::memcpy(to.data(), from.data(), from.size());
        std::memset(cells.data(), 0, cells.size());
        // Keep the copies from being optimised away.
        asm volatile("" : : "r"(to.data()), "r"(cells.data()) : "memory");
    });
    std::printf("floor_ms=%.4f\n", floorMs);

    SDL_FreeSurface(dayImage);
    SDL_FreeSurface(nightImage);
    closeCanvas(window, canvas);
    IMG_Quit();
    SDL_Quit();
    return 0;
}
