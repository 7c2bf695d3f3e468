#include "xdisplay.h"

#include "process.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fstream>
#include <stdexcept>
#include <thread>

using Clock = std::chrono::steady_clock;

void Screenshot::savePpm(const std::string& path) const
{
    std::ofstream f(path, std::ios::binary);
    f << "P6\n" << width << ' ' << height << "\n255\n";
    for (uint32_t p : pixels) {
        const char c[3] = {char(p >> 16), char(p >> 8), char(p)};
        f.write(c, 3);
    }
}

VirtualDisplay::VirtualDisplay()
{
    // Xvfb picks a free display itself and writes its number to -displayfd,
    // here its standard output.
    server = std::make_unique<Process>("/usr/bin/Xvfb",
                                       std::vector<std::string>{"-displayfd", "1", "-screen", "0", "800x600x24",
                                                                "-nolisten", "tcp"},
                                       "/", std::map<std::string, std::string>{});
    const auto number = server->readLine(std::chrono::seconds(20));
    if (!number) throw std::runtime_error("Xvfb did not start: " + server->errors());
    displayName = ":" + *number;
    dpy = XOpenDisplay(displayName.c_str());
    if (!dpy) throw std::runtime_error("cannot connect to Xvfb on " + displayName);
}

VirtualDisplay::~VirtualDisplay()
{
    if (dpy) XCloseDisplay(dpy);
}

bool VirtualDisplay::findWindow(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        Window root = DefaultRootWindow(dpy), parent, *children = nullptr;
        unsigned n = 0;
        XQueryTree(dpy, root, &root, &parent, &children, &n);
        for (unsigned i = 0; i < n && !window; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable && a.width == 600 &&
                a.height == 400) {
                window = children[i];
                Window ignored;
                XTranslateCoordinates(dpy, window, root, 0, 0, &originX, &originY, &ignored);
            }
        }
        if (children) XFree(children);
        if (window) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void VirtualDisplay::moveTo(int x, int y)
{
    XTestFakeMotionEvent(dpy, -1, originX + x, originY + y, CurrentTime);
    XSync(dpy, False);
}

void VirtualDisplay::click(unsigned button)
{
    XTestFakeButtonEvent(dpy, button, True, CurrentTime);
    XTestFakeButtonEvent(dpy, button, False, CurrentTime);
    XSync(dpy, False);
}

void VirtualDisplay::pressKey(const char* keysym)
{
    const KeyCode code = XKeysymToKeycode(dpy, XStringToKeysym(keysym));
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XSync(dpy, False);
}

void VirtualDisplay::requestClose()
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, window, False, NoEventMask, &e);
    XSync(dpy, False);
}

Screenshot VirtualDisplay::screenshot()
{
    Screenshot shot;
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), originX, originY, 600, 400, AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.width = 600;
    shot.height = 400;
    shot.pixels.resize(600 * 400);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) shot.pixels[y * 600 + x] = XGetPixel(image, x, y) & 0xffffff;
    XDestroyImage(image);
    return shot;
}

Screenshot VirtualDisplay::waitFor(const std::function<bool(const Screenshot&)>& test,
                                   std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    Screenshot shot = screenshot();
    while (!test(shot) && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        shot = screenshot();
    }
    return shot;
}
