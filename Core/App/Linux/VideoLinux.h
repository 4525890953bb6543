#pragma once

namespace app
{

// Starts (or counts one more user of) SDL's video on a desktop display: X11, else Wayland, unless
// SDL_VIDEODRIVER names another. Without the list SDL would fall back to its off-screen driver when the
// display cannot be reached, and the game would run on with no window anyone can see. False when no
// display could be opened.
bool StartVideo();

} // namespace app
