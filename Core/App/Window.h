#pragma once

#include "Core/App/Linux/WindowLinux.h"

namespace app
{

// The main window; the rest of the engine uses this neutral name.
class Window : public WindowLinux
{
public:
    using WindowLinux::WindowLinux;

    // Window size including its frame as last applied (the display size in full screen).
    int32_t GetWidth() const { return mWidth; }
    int32_t GetHeight() const { return mHeight; }
};

} // namespace app
