#pragma once

namespace apptest
{
// What a window manager does when it frames a window: sets _NET_FRAME_EXTENTS (left, right, top, bottom)
// on the X window of an SDL_Window. False when the window is not an X11 one.
bool ReportFrame(void* sdlWindow, long left, long right, long top, long bottom);
} // namespace apptest
