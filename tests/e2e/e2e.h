#pragma once

#include "process.h"
#include "xdisplay.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The string the program prints at start-up: three generations.
extern const std::string startUpPlant;

// A sky image as 0xRRGGBB pixels; empty when the file does not load.
Screenshot loadPng(const std::string& path);

// Waits until the display's frame stops changing: the shadows of the plant
// as it is now have settled.
Screenshot settledFrame(VirtualDisplay& display, std::chrono::milliseconds patience = std::chrono::seconds(10));

// Moves the mouse to (x, y), again and again, until the pixel there turns
// the highlight colour or patience runs out; the last frame seen.
Screenshot hoverUntilRed(VirtualDisplay& display, int x, int y,
                         std::chrono::milliseconds patience = std::chrono::seconds(10));

// Every test gets its own X server; launch() starts the real program on it.
struct EndToEnd : testing::Test {
    std::unique_ptr<VirtualDisplay> display;
    std::unique_ptr<Process> plant;

    void SetUp() override;

    // Starts build/plant in cwd (the repository root by default), under
    // wrapper (a command and its arguments) if one is given, and waits for
    // its window.
    void launch(const std::string& cwd = PLANT_SOURCE_DIR, const std::vector<std::string>& wrapper = {});

    // Set for the program besides DISPLAY; an empty value removes a name.
    std::map<std::string, std::string> environment;

    // How long to wait for the window and for each frame to show.
    std::chrono::milliseconds patience = std::chrono::seconds(10);

    Screenshot settledFrame() { return ::settledFrame(*display, patience); }

    // Moves the mouse and waits until the pixel turns the highlight colour.
    void hover(int x, int y);

    // Presses the button and returns the line the program printed.
    std::string clickAndRead();
};
