#pragma once

#include "Core/App/ThreadBase.h"
#include "Core/Base/Task.h"

namespace app
{

// A task that can run its own loop: ticked with the measured frame step until it is done.
// Every task of the engine runs on the main thread; no thread of its own is started.
class ThreadLinux : public ThreadBase, public base::Task
{
public:
    ThreadLinux(bool autoDelete, bool finishWhenChildrenDone, bool keepParentAlive, bool withLock);
    ~ThreadLinux() override = default;

    // Would start the task on a thread of its own; not used on this platform, so always false.
    virtual bool Start(int priority);
    // Ticks the task with the measured step until it is done. Returns VN_OK.
    virtual VNResultEnum Run();
    virtual void SetPriority(int priority);

    bool IsPaused() const { return mPaused; }
    void SetPaused(bool paused) { mPaused = paused; }

protected:
    // While set the loop does not tick the task.
    bool mPaused = false;
};

} // namespace app
