#include "XWindows.h"

#include <cstring>
#include <thread>

// Last: Xlib's macros clash with other headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace xtest
{
namespace
{
// Other programs' windows come and go while we walk the tree: a query on one that just vanished is
// expected, not a reason for Xlib's default handler to end the test process.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

Window FindTitled(Display* display, Window window, const std::string& title, int depth)
{
    // The title's bytes, whatever its encoding property (SDL writes UTF8_STRING, which XFetchName refuses).
    XTextProperty name;
    if (XGetWMName(display, window, &name) != 0 && name.value != nullptr)
    {
        const bool same = title == std::string(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
        if (same)
            return window;
    }
    if (depth > 3)
        return 0;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i)
        found = FindTitled(display, children[i], title, depth + 1);
    if (children != nullptr)
        XFree(children);
    return found;
}
} // namespace

unsigned long FindWindowTitled(Display* display, const std::string& title)
{
    return FindTitled(display, DefaultRootWindow(display), title, 0);
}

bool CloseWindowTitled(const std::string& title, std::chrono::milliseconds timeout)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XErrorHandler previous = XSetErrorHandler(IgnoreError);
    const auto end = std::chrono::steady_clock::now() + timeout;
    Window found = 0;
    while (found == 0 && std::chrono::steady_clock::now() < end)
    {
        found = FindTitled(display, DefaultRootWindow(display), title, 0);
        if (found == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (found != 0)
    {
        XEvent e;
        std::memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = found;
        e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, found, False, NoEventMask, &e);
        XFlush(display);
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return found != 0;
}
bool WaitForDisplay(const std::string& name, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        if (Display* display = XOpenDisplay(name.c_str()))
        {
            XCloseDisplay(display);
            return true;
        }
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}
} // namespace xtest
