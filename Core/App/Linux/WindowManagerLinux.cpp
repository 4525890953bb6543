#include "Core/App/Linux/WindowManagerLinux.h"

#include <SDL.h>
#include <SDL_syswm.h>

// Last: Xlib's macros (None, Bool, Status) would clash with the engine's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace app
{

namespace
{

bool gRequestFailed = false;

int NoteError(Display*, XErrorEvent*)
{
    gRequestFailed = true;
    return 0;
}

// The window named by the property on owner, or 0 when the property is missing or malformed.
::Window CheckWindowOf(Display* display, ::Window owner, Atom check)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    ::Window named = 0;
    if (XGetWindowProperty(display, owner, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data != nullptr)
        named = *reinterpret_cast<::Window*>(data);
    if (data != nullptr)
        XFree(data);
    return named;
}

} // namespace

bool HasWindowManager(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return true;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0)
        return false;
    // A manager that died leaves the root's property behind, naming a window that is gone: reading from it
    // is an error that must not reach the default handler, which ends the process.
    XSync(display, False);
    gRequestFailed = false;
    const auto previous = XSetErrorHandler(&NoteError);
    const ::Window named = CheckWindowOf(display, DefaultRootWindow(display), check);
    const bool answers = named != 0 && CheckWindowOf(display, named, check) == named;
    XSync(display, False);
    XSetErrorHandler(previous);
    return answers && !gRequestFailed;
}

} // namespace app
