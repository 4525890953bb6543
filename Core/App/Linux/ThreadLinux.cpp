#include "Core/App/Linux/ThreadLinux.h"

#include "Core/App/TimerLocal.h"

namespace app
{

ThreadLinux::ThreadLinux(bool autoDelete, bool finishWhenChildrenDone, bool keepParentAlive, bool withLock)
    : base::Task(autoDelete, finishWhenChildrenDone, keepParentAlive, withLock)
{
}

bool ThreadLinux::Start(int)
{
    return false;
}

void ThreadLinux::SetPriority(int) {}

VNResultEnum ThreadLinux::Run()
{
    TimerLocal timer;
    timer.Start();
    while (!IsDone())
    {
        const float dt = timer.Tick();
        // A failing tick is not fatal: the next tick starts afresh.
        if (!mPaused)
            (void)Update(dt);
    }
    return VN_OK;
}

} // namespace app
