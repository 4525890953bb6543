#include "Core/App/Linux/SignalsLinux.h"

#include <csignal>

namespace app
{

namespace
{

volatile std::sig_atomic_t gCloseRequested = 0;

void OnCloseSignal(int)
{
    gCloseRequested = 1;
}

} // namespace

void InstallCloseSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    // One polite request; the default action comes back for a game that no longer answers.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void IgnoreFileSizeLimitSignal()
{
    // With the signal ignored a write past RLIMIT_FSIZE fails with EFBIG like a full disk, and the
    // atomic save keeps the previous file instead of the process dying half-way.
    struct sigaction action
    {
    };
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGXFSZ, &action, nullptr);
}

bool TakeCloseSignal()
{
    if (gCloseRequested == 0)
        return false;
    gCloseRequested = 0;
    return true;
}

} // namespace app
