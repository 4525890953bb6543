#pragma once

#include "Core/Input/Linux/InputLinux.h"

namespace input
{

// The desktop input the application owns; the rest of the engine uses this neutral name.
class Input : public InputLinux
{
public:
    using InputLinux::InputLinux;
};

} // namespace input
