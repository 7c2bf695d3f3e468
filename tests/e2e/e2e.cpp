#include "e2e.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <algorithm>
#include <thread>

const std::string startUpPlant = "aa[+aa[+aa[+ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao";

Screenshot loadPng(const std::string& path)
{
    Screenshot image;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return image;
    SDL_PixelFormat format{};
    format.BitsPerPixel = 32;
    format.BytesPerPixel = 4;
    format.Rmask = 0xff0000;
    format.Gmask = 0xff00;
    format.Bmask = 0xff;
    format.Rshift = 16;
    format.Gshift = 8;
    format.alpha = 255;
    SDL_Surface* s = SDL_ConvertSurface(loaded, &format, SDL_SWSURFACE);
    SDL_FreeSurface(loaded);
    if (!s) return image;
    image.width = s->w;
    image.height = s->h;
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) image.pixels.push_back(row[x] & 0xffffff);
    }
    SDL_FreeSurface(s);
    return image;
}

void EndToEnd::SetUp()
{
    display = std::make_unique<VirtualDisplay>();
}

void EndToEnd::launch(const std::string& cwd, const std::vector<std::string>& wrapper)
{
    std::vector<std::string> args(wrapper.begin() + (wrapper.empty() ? 0 : 1), wrapper.end());
    if (!wrapper.empty()) args.push_back(PLANT_BINARY);
    const std::string program = wrapper.empty() ? PLANT_BINARY : wrapper.front();
    std::map<std::string, std::string> env{{"DISPLAY", display->name()}, {"SDL_VIDEODRIVER", ""}};
    for (const auto& [name, value] : environment) env[name] = value;
    plant = std::make_unique<Process>(program, args, cwd, env);
    ASSERT_TRUE(display->findWindow(patience)) << "no window; stderr: " << plant->errors();
}

Screenshot settledFrame(VirtualDisplay& display, std::chrono::milliseconds patience)
{
    // A frame of the program is never one colour: until the first one
    // shows, the window is.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    Screenshot last = display.waitFor(
        [](const Screenshot& s) {
            return !s.pixels.empty() &&
                   std::any_of(s.pixels.begin(), s.pixels.end(), [&](uint32_t p) { return p != s.pixels[0]; });
        },
        patience);
    // Unchanged for a quarter of a second: dozens of frames even on a
    // loaded machine, where the shadows settle in two.
    int same = 0;
    while (same < 8 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        Screenshot next = display.screenshot();
        same = next.pixels == last.pixels ? same + 1 : 0;
        last = std::move(next);
    }
    return last;
}

Screenshot hoverUntilRed(VirtualDisplay& display, int x, int y, std::chrono::milliseconds patience)
{
    // The window can show before SDL takes input (SDL 2 under sdl12-compat
    // sets up after mapping it): the pointer comes again from a pixel aside
    // until the square under it turns red.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const auto red = [&](const Screenshot& s) { return s.at(x, y) == rgb(255, 0, 0); };
    Screenshot shot;
    do {
        display.moveTo(x + 1, y);
        display.moveTo(x, y);
        shot = display.waitFor(red, std::chrono::milliseconds(500));
    } while (!red(shot) && std::chrono::steady_clock::now() < deadline);
    return shot;
}

void EndToEnd::hover(int x, int y)
{
    const Screenshot shot = hoverUntilRed(*display, x, y, patience);
    ASSERT_EQ(shot.at(x, y), rgb(255, 0, 0)) << "(" << x << ", " << y << ") never highlighted";
}

std::string EndToEnd::clickAndRead()
{
    display->click();
    return plant->readLine(patience).value_or("<no line>");
}
