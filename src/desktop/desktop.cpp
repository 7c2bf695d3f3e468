// The desktop build: a window through X11 or another windowing driver, and
// a frame loop that runs as fast as it can.
#include "app/platform.h"

#include <SDL/SDL_image.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Descriptors 0 to 2 onto /dev/null where closed, so that no later open,
// such as the X connection, takes one of them and receives the derivation
// strings. A reader that has gone makes a write fail instead of killing the
// program; the standard stream then stays failed and prints nothing more.
void protectStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int opened = open("/dev/null", O_RDWR);
            if (opened >= 0 && opened != fd) {
                dup2(opened, fd);
                close(opened);
            }
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
}

bool startVideo()
{
    // Video alone: no sound card, joystick or CD-ROM is needed. Without the
    // parachute, signals such as SIGQUIT keep their default actions.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) == 0) {
        SDL_WM_SetCaption("plant", "plant");
        if (SDL_SetVideoMode(600, 400, 32, 0)) return true;
    }
    const std::string reason = SDL_GetError();
    SDL_Quit();
    SDL_SetError("%s", reason.c_str());
    return false;
}

// SDL opens a probe connection to the X server and closes it before it
// opens its own. A server that resets when its last client leaves, as a
// plain Xvfb does, would reset in between and refuse SDL's connection: a
// connection of ours held across SDL's start keeps it from resetting. A
// server still resetting after an earlier client refuses that one too, for
// a moment; trying it again starts no new reset.
bool startVideoOnX11()
{
    const char* name = std::getenv("DISPLAY");
    const int tries = name && *name ? 10 : 1;
    Display* held = nullptr;
    for (int i = 0; i < tries && !held; ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        held = XOpenDisplay(nullptr);
    }
    const bool started = startVideo();
    if (held) XCloseDisplay(held);
    return started;
}

bool startVideoWith(const std::string& driver)
{
    return driver == "x11" ? startVideoOnX11() : startVideo();
}

// Unless SDL_VIDEODRIVER names one, only the windowing drivers are tried:
// without a display SDL would otherwise fall back to drawing into the
// terminal, over the derivation strings on standard output.
bool startVideoWithWindowingDriver(std::string& reasons)
{
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) {
        if (startVideoWith(chosen)) return true;
        reasons = SDL_GetError();
        return false;
    }
    for (const char* driver : {"x11", "wayland"}) {
        setenv("SDL_VIDEODRIVER", driver, 1);
        if (startVideoWith(driver)) return true;
        reasons += (reasons.empty() ? "" : "; ") + std::string(driver) + ": " + SDL_GetError();
    }
    unsetenv("SDL_VIDEODRIVER");
    return false;
}

} // namespace

// The desktop program always starts from the three derivations.
void adoptStartingPlant(Plant&) {}

SDL_Surface* openWindow()
{
    protectStandardStreams();
    std::string reasons;
    if (!startVideoWithWindowingDriver(reasons)) {
        std::cerr << "cannot open the 600 x 400 window: " << reasons << std::endl;
        return nullptr;
    }
    // Presses and keys wait in the program's own queue however long the
    // loop is held up. The filter comes first: SDL_EventState empties SDL's
    // queue, and would drop a motion or press made as the window opened.
    SDL_SetEventFilter(keepEvent);
    // The queue then holds presses only, twice as many between two polls.
    SDL_EventState(SDL_MOUSEBUTTONUP, SDL_IGNORE);
    SDL_EventState(SDL_KEYUP, SDL_IGNORE);
    return SDL_GetVideoSurface();
}

SDL_Surface* openCanvas(SDL_Surface* window, SDL_Surface* night, SDL_Surface* day)
{
    return drawingSurface(window, night ? night : day);
}

bool canvasNeedsLock(const SDL_Surface* canvas) { return SDL_MUSTLOCK(canvas); }

void present(SDL_Surface* window, const SDL_Surface* canvas)
{
    copyToWindow(canvas, window);
    SDL_Flip(window);
}

void closeCanvas(SDL_Surface* window, SDL_Surface* canvas)
{
    if (canvas != window) SDL_FreeSurface(canvas);
}

void runLoop(Frame& frame)
{
    while (!frame.input.quit) runFrame(frame);
    freeSurfaces(frame);
    IMG_Quit();
    SDL_Quit();
}
