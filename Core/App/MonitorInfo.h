#pragma once

#include <cstdint>
#include <vector>

namespace app
{

// One display: its rectangle and its work area (without panels), in desktop pixels.
struct MonitorInfo
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t workX = 0;
    int32_t workY = 0;
    int32_t workWidth = 0;
    int32_t workHeight = 0;
    bool primary = false;
};

// What the window system's frame adds around the client area of a captioned, non-resizable window.
struct FrameExtents
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The frame the window manager reports around the game window; a typical one (title bar and thin borders)
// before the window exists or while the window manager reports none.
FrameExtents GetWindowFrameExtents();

// Empties the list, then appends one entry per display in the system's order, stopping at the first
// display that cannot be read.
void EnumMonitors(std::vector<MonitorInfo>& out);

// The primary display of the list, else its first entry; null for an empty list.
const MonitorInfo* FindPrimaryMonitor(const std::vector<MonitorInfo>& monitors);

} // namespace app
