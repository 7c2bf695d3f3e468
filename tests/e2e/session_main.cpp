// Runs the real program in Xvfb through a script of user actions, one a
// line on standard input, so that another front end (the web page) can be
// held to the same session:
//   move X Y     moves the mouse to (X, Y) and waits for the frame to settle
//   press B      presses button B and prints "line <what the program printed>"
//   wheel up|down  turns the wheel one step, the same
//   frame PATH   saves the settled frame as a PPM image
//   key          presses a key and prints "exit <status>"
// The start-up line comes first, as "line <text>".
// Usage: e2e_session < SCRIPT
#include "e2e.h"

#include <iostream>
#include <sstream>

int main()
{
    VirtualDisplay display;
    Process plant(PLANT_BINARY, {}, PLANT_SOURCE_DIR, {{"DISPLAY", display.name()}, {"SDL_VIDEODRIVER", ""}});
    if (!display.findWindow()) {
        std::cerr << "no window: " << plant.errors();
        return 1;
    }
    auto printLine = [&] { std::cout << "line " << plant.readLine().value_or("<none>") << std::endl; };
    printLine();
    // Once the program takes input (a leaf of the start-up plant lights up),
    // the mouse goes to (0, 0), where the program's mouse starts.
    if (hoverUntilRed(display, 212, 212).at(212, 212) != rgb(255, 0, 0)) {
        std::cerr << "the program took no input\n";
        return 1;
    }
    display.moveTo(0, 0);
    settledFrame(display);

    std::string command;
    while (std::getline(std::cin, command)) {
        std::istringstream words(command);
        std::string verb, argument;
        words >> verb;
        if (verb == "move") {
            int x = 0, y = 0;
            words >> x >> y;
            display.moveTo(x, y);
            settledFrame(display);
        } else if (verb == "press") {
            unsigned button = 1;
            words >> button;
            display.click(button);
            printLine();
        } else if (verb == "wheel") {
            words >> argument;
            display.click(argument == "up" ? 4 : 5);
            printLine();
        } else if (verb == "frame") {
            words >> argument;
            settledFrame(display).savePpm(argument);
        } else if (verb == "key") {
            display.pressKey();
            std::cout << "exit " << plant.wait().value_or(-1) << std::endl;
        } else if (!verb.empty()) {
            std::cerr << "unknown command: " << command << "\n";
            return 2;
        }
    }
    return 0;
}
