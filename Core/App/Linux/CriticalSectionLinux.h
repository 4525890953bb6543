#pragma once

#include <mutex>

namespace app
{

// Platform half of the engine's lock: a plain non-recursive mutex.
class CriticalSectionLinux
{
public:
    CriticalSectionLinux();
    virtual ~CriticalSectionLinux();

    CriticalSectionLinux(const CriticalSectionLinux&) = delete;
    CriticalSectionLinux& operator=(const CriticalSectionLinux&) = delete;

    // Blocks until the lock is taken; taking a lock the caller already holds deadlocks.
    virtual void Lock();
    virtual void Unlock();

private:
    std::mutex mMutex;
};

} // namespace app
