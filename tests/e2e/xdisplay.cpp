#include "xdisplay.h"

#include "process.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fstream>
#include <stdexcept>
#include <thread>

using Clock = std::chrono::steady_clock;

namespace {

XErrorHandler defaultHandler = nullptr;

// A window may go between listing the screen's windows and asking after
// one (SDL on SDL 2 opens and closes one while it starts): that window is
// simply not the program's, whether asked after as a window or, for its
// geometry, as a drawable. Any other error is fatal as usual.
int skipVanishedWindows(Display* dpy, XErrorEvent* error)
{
    const bool vanished = error->error_code == BadWindow || error->error_code == BadDrawable;
    return vanished ? 0 : defaultHandler(dpy, error);
}

} // namespace

void Screenshot::savePpm(const std::string& path) const
{
    std::ofstream f(path, std::ios::binary);
    f << "P6\n" << width << ' ' << height << "\n255\n";
    for (uint32_t p : pixels) {
        const char c[3] = {char(p >> 16), char(p >> 8), char(p)};
        f.write(c, 3);
    }
}

VirtualDisplay::VirtualDisplay(int depth)
{
    // Xvfb picks a free display itself and writes its number to -displayfd,
    // here its standard output.
    server = std::make_unique<Process>("/usr/bin/Xvfb",
                                       std::vector<std::string>{"-displayfd", "1", "-screen", "0", "800x600x" + std::to_string(depth),
                                                                "-nolisten", "tcp"},
                                       "/", std::map<std::string, std::string>{});
    const auto number = server->readLine(std::chrono::seconds(20));
    if (!number) throw std::runtime_error("Xvfb did not start: " + server->errors());
    displayName = ":" + *number;
    dpy = XOpenDisplay(displayName.c_str());
    if (!dpy) throw std::runtime_error("cannot connect to Xvfb on " + displayName);
    if (!defaultHandler) defaultHandler = XSetErrorHandler(skipVanishedWindows);
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
            Window ignored;
            if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable && a.width == 600 &&
                a.height == 400 && XTranslateCoordinates(dpy, children[i], root, 0, 0, &originX, &originY, &ignored)) {
                window = children[i];
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

void VirtualDisplay::clickBurst(int n)
{
    for (int i = 0; i < n; ++i) {
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    }
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

std::string VirtualDisplay::title()
{
    char* name = nullptr;
    std::string text;
    if (XFetchName(dpy, window, &name) && name) text = name;
    if (name) XFree(name);
    return text;
}

Screenshot VirtualDisplay::screenshot()
{
    Screenshot shot;
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), originX, originY, 600, 400, AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.width = 600;
    shot.height = 400;
    shot.pixels.resize(600 * 400);
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 600; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            uint32_t rgb = 0;
            for (unsigned long mask : masks) {
                // The channel's bits, shifted so that its top bit is bit 7.
                const int high = 63 - __builtin_clzl(mask);
                const unsigned long v = p & mask;
                rgb = rgb << 8 | uint32_t((high >= 7 ? v >> (high - 7) : v << (7 - high)) & 0xff);
            }
            shot.pixels[y * 600 + x] = rgb;
        }
    }
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
