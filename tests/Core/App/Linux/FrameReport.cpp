#include "FrameReport.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace apptest
{
bool ReportFrame(void* sdlWindow, long left, long right, long top, long bottom)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(static_cast<SDL_Window*>(sdlWindow), &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* display = info.info.x11.display;
    const long extents[4] = {left, right, top, bottom};
    XChangeProperty(display, info.info.x11.window, XInternAtom(display, "_NET_FRAME_EXTENTS", False), XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(extents), 4);
    XFlush(display);
    return true;
}
} // namespace apptest
