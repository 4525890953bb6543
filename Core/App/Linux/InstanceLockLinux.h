#pragma once

#include <string>

namespace app
{

// One running game per user-data folder: the first process holds a lock file there; a later one
// finds it held, asks the holder to show its window, and stops.
class InstanceLockLinux
{
public:
    enum class Result
    {
        Acquired,     // this process is the only instance
        OtherRunning, // another process holds the lock; it was asked to show its window
        Unavailable,  // the lock file cannot be used (read-only folder...); run without it
    };

    // The lock file inside the user-data folder.
    static constexpr const char* kFileName = "instance.lock";

    InstanceLockLinux() = default;
    // Releases the lock.
    ~InstanceLockLinux();
    InstanceLockLinux(const InstanceLockLinux&) = delete;
    InstanceLockLinux& operator=(const InstanceLockLinux&) = delete;

    // folder: '/'-terminated user-data folder, which must exist.
    Result Acquire(const std::wstring& folder);
    void Release();
    bool IsHeld() const { return mFd >= 0; }

    // True once for each request of a later instance to show the window; polled by the window task.
    static bool TakeShowRequest();

private:
    int mFd = -1;
};

} // namespace app
