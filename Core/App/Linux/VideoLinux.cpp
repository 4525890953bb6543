#include "Core/App/Linux/VideoLinux.h"

#include <SDL.h>

namespace app
{

bool StartVideo()
{
    // Default priority: the environment variable still wins (the tests' dummy or off-screen runs).
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland", SDL_HINT_DEFAULT);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

} // namespace app
