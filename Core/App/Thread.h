#pragma once

#include "Core/App/Linux/ThreadLinux.h"

namespace app
{

// A task with a run loop; the rest of the engine uses this neutral name.
class Thread : public ThreadLinux
{
public:
    using ThreadLinux::ThreadLinux;
};

} // namespace app
