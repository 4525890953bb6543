#include "Core/App/Linux/VideoLinux.h"

#include <SDL.h>

namespace app
{

bool StartVideo()
{
    // Default priority: the environment variable still wins (the tests' dummy or off-screen runs).
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland", SDL_HINT_DEFAULT);
    // A busy X server refuses connections for a moment when its queue of new clients is full (the
    // connection is reset or would block): try again for a few seconds before giving up.
    constexpr int kAttempts = 20;
    for (int attempt = 1;; ++attempt)
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            return true;
        if (attempt == kAttempts)
            return false;
        SDL_Delay(250);
    }
}

} // namespace app
