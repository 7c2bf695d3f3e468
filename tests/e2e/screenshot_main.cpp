// Takes the README's screenshot: the real program in Xvfb with the mouse
// on a leaf. Usage: e2e_screenshot OUT.ppm
#include "e2e.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: e2e_screenshot OUT.ppm\n";
        return 2;
    }
    VirtualDisplay display;
    Process plant(PLANT_BINARY, {}, PLANT_SOURCE_DIR, {{"DISPLAY", display.name()}, {"SDL_VIDEODRIVER", ""}});
    if (!display.findWindow()) {
        std::cerr << "no window: " << plant.errors();
        return 1;
    }
    hoverUntilRed(display, 212, 212).savePpm(argv[1]);
    return 0;
}
