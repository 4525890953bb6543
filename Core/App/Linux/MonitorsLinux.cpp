#include "Core/App/MonitorInfo.h"

#include "Core/App/Linux/VideoLinux.h"

#include <SDL.h>

namespace app
{

void EnumMonitors(std::vector<MonitorInfo>& out)
{
    out.clear();
    // Counted: leaves video running when the window already holds it.
    if (!StartVideo())
        return;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i)
    {
        SDL_Rect bounds;
        SDL_Rect usable;
        if (SDL_GetDisplayBounds(i, &bounds) != 0)
            break;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0)
            usable = bounds;
        MonitorInfo m;
        m.x = bounds.x;
        m.y = bounds.y;
        m.width = bounds.w;
        m.height = bounds.h;
        m.workX = usable.x;
        m.workY = usable.y;
        m.workWidth = usable.w;
        m.workHeight = usable.h;
        // SDL lists the primary display first.
        m.primary = (i == 0);
        out.push_back(m);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

const MonitorInfo* FindPrimaryMonitor(const std::vector<MonitorInfo>& monitors)
{
    for (const MonitorInfo& m : monitors)
        if (m.primary)
            return &m;
    return monitors.empty() ? nullptr : &monitors.front();
}

} // namespace app
