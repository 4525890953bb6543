#include "Core/App/Linux/InstanceLockLinux.h"

#include "Core/Base/Paths.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace app
{

namespace
{

// The holder's process id is in the lock file; a later instance sends it this signal.
constexpr int kShowSignal = SIGUSR1;

volatile std::sig_atomic_t gShowRequested = 0;

void OnShowSignal(int)
{
    gShowRequested = 1;
}

void InstallShowHandler()
{
    struct sigaction action
    {
    };
    action.sa_handler = OnShowSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(kShowSignal, &action, nullptr);
}

// The holder's pid from the lock file, 0 when it is not (yet) written or not plausible.
pid_t ReadHolder(int fd)
{
    char text[32] = {};
    const ssize_t n = pread(fd, text, sizeof(text) - 1, 0);
    if (n <= 0)
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    if (end == text || pid <= 1 || pid == getpid())
        return 0;
    return static_cast<pid_t>(pid);
}

} // namespace

InstanceLockLinux::~InstanceLockLinux()
{
    Release();
}

InstanceLockLinux::Result InstanceLockLinux::Acquire(const std::wstring& folder)
{
    Release();
    // The handler must be in place before our pid becomes visible to a later instance.
    InstallShowHandler();

    const std::string path = base::ToNativePath(folder) + kFileName;
    // Close-on-exec: a program we start (the browser of "play.url") must not inherit the lock.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Result::Unavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        const bool held = errno == EWOULDBLOCK;
        if (held)
        {
            // The holder writes its pid right after locking; give it a moment when we catch it between.
            pid_t holder = ReadHolder(fd);
            for (int i = 0; holder == 0 && i < 20; ++i)
            {
                const timespec pause{0, 10 * 1000 * 1000};
                nanosleep(&pause, nullptr);
                holder = ReadHolder(fd);
            }
            if (holder != 0)
                kill(holder, kShowSignal);
        }
        close(fd);
        return held ? Result::OtherRunning : Result::Unavailable;
    }
    const std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size()))
    {
        // Locked but unreadable for others: they still see the lock and stop, only without a raise.
    }
    mFd = fd;
    return Result::Acquired;
}

void InstanceLockLinux::Release()
{
    if (mFd >= 0)
    {
        flock(mFd, LOCK_UN);
        close(mFd);
        mFd = -1;
    }
}

bool InstanceLockLinux::TakeShowRequest()
{
    if (gShowRequested == 0)
        return false;
    gShowRequested = 0;
    return true;
}

} // namespace app
