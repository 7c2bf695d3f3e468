#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Process;
struct _XDisplay;   // Xlib's Display, kept out of headers: its macros clash with gtest

// A screenshot of the program's 600 x 400 window, one 0xRRGGBB value a pixel.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Writes a binary PPM image.
    void savePpm(const std::string& path) const;
};

// RGB packed as 0xRRGGBB.
constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// An Xvfb server of our own on a free display, with a client connection
// that finds the program's window, moves the pointer, presses buttons and
// keys through the XTEST extension, and takes screenshots.
class VirtualDisplay {
public:
    // A screen of the given depth (24, or 30 for 10 bits a channel).
    explicit VirtualDisplay(int depth = 24);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":N", for the program's DISPLAY.
    const std::string& name() const { return displayName; }

    // Waits for a mapped 600 x 400 top-level window; false if none appears.
    bool findWindow(std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Moves the pointer to (x, y) in window coordinates.
    void moveTo(int x, int y);
    // Presses and releases a mouse button.
    void click(unsigned button = 1);
    // Presses and releases button 1 n times, all sent at once.
    void clickBurst(int n);
    // Presses and releases a key.
    void pressKey(const char* keysym = "q");
    // Asks the window to close, as a window manager does.
    void requestClose();

    // The window's title.
    std::string title();

    // The window's pixels, each channel cut to its top 8 bits.
    Screenshot screenshot();

    // Takes screenshots until one satisfies the test; the last one taken is
    // returned either way.
    Screenshot waitFor(const std::function<bool(const Screenshot&)>& test,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    std::unique_ptr<Process> server;
    std::string displayName;
    _XDisplay* dpy = nullptr;
    unsigned long window = 0;   // an X Window id
    int originX = 0;
    int originY = 0;
};
