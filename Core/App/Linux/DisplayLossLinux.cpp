#include "Core/App/Linux/DisplayLossLinux.h"

#include "Core/Base/Log.h"
#include "Core/File/Profiles.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <chrono>
#include <cstring>

#include <unistd.h>

// Last: Xlib's macros (None, Bool, Status) would clash with the engine's headers.
#include <X11/Xlib.h>

namespace app
{

namespace
{

int OnDisplayLost(Display*)
{
    static bool handling = false;
    if (!handling)
    {
        handling = true;
        base::LogMessage(*base::MainLog::Instance(),
                         L"The connection to the display was lost: the profiles are saved and the game ends\n");
        // The store saves as it goes (unless a second instance owns the file); then the log gets its foot.
        if (file::Profiles::Exists())
            delete file::Profiles::Instance();
        if (base::MainLog::Exists())
            delete base::MainLog::Instance();
    }
    // Xlib ends the process itself when this returns; exit handlers would reach the display again.
    _exit(kDisplayLostExitCode);
}

} // namespace

namespace
{
Display* gWatched = nullptr;
} // namespace

void WatchDisplayLoss()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0)
        XSetIOErrorHandler(&OnDisplayLost);
}

void WatchDisplayOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11)
        gWatched = info.info.x11.display;
}

void ProbeDisplay()
{
    if (gWatched == nullptr)
        return;
    using Clock = std::chrono::steady_clock;
    static Clock::time_point next;
    const Clock::time_point now = Clock::now();
    if (now < next)
        return;
    next = now + std::chrono::milliseconds(500);
    XNoOp(gWatched);
    XFlush(gWatched);
}

} // namespace app
