#include "XWindows.h"

#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

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

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

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
    Window found = 0;
    WaitUntil([&] { return (found = FindTitled(display, DefaultRootWindow(display), title, 0)) != 0; }, timeout);
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

std::string StartXvfb(const std::string& screen, int& server)
{
    int fds[2];
    server = -1;
    if (pipe(fds) != 0)
        return "";
    server = fork();
    if (server == 0)
    {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (server < 0)
    {
        close(fds[0]);
        return "";
    }
    // The server writes its number once it accepts connections.
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty() || !WaitForDisplay(":" + number, std::chrono::seconds(30)))
        return "";
    return ":" + number;
}

bool WaitForDisplay(const std::string& name, std::chrono::milliseconds timeout)
{
    return WaitUntil(
        [&]
        {
            Display* display = XOpenDisplay(name.c_str());
            if (display != nullptr)
                XCloseDisplay(display);
            return display != nullptr;
        },
        timeout);
}
} // namespace xtest
