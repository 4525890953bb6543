#pragma once

#include "Core/App/Linux/InstanceLockLinux.h"

namespace app
{

// The single-instance lock; the rest of the engine uses this neutral name.
class InstanceLock : public InstanceLockLinux
{
};

} // namespace app
