#pragma once

#include "Core/App/Linux/TimerLocalLinux.h"

namespace app
{

// The frame timer; the rest of the engine uses this neutral name.
class TimerLocal : public TimerLocalLinux
{
};

} // namespace app
