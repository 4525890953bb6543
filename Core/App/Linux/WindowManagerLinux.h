#pragma once

struct SDL_Window;

namespace app
{

// Whether a window manager runs on the window's X display (one that announces itself through
// _NET_SUPPORTING_WM_CHECK). Without one, nobody acts on a request to make a mapped window full screen:
// the window keeps its size and place. True on other video drivers, whose compositor always answers.
bool HasWindowManager(SDL_Window* window);

} // namespace app
