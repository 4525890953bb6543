#pragma once

#include "Core/App/Linux/CriticalSectionLinux.h"

namespace app
{

// The engine's non-recursive lock (Lock/Unlock); the rest of the engine uses this neutral name.
class CriticalSection : public CriticalSectionLinux
{
};

} // namespace app
