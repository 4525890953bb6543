#include "Core/App/Linux/CriticalSectionLinux.h"

namespace app
{

CriticalSectionLinux::CriticalSectionLinux() = default;

CriticalSectionLinux::~CriticalSectionLinux() = default;

void CriticalSectionLinux::Lock()
{
    mMutex.lock();
}

void CriticalSectionLinux::Unlock()
{
    mMutex.unlock();
}

} // namespace app
