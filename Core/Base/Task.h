#pragma once

#include "Core/Base/Result.h"

#include <list>

namespace app
{
class CriticalSection;
}

namespace base
{

// A node of the update tree: started on its first tick, updated with its children every tick,
// finished on request and removed by its parent once it is stopped and has no children left.
class Task
{
public:
    // autoDelete: the parent deletes this task when it removes it as done.
    // finishWhenChildrenDone: finishes by itself once no child keeps it alive.
    // keepParentAlive: while a child, holds back a parent that finishes when its children are done.
    // withLock: AddChild may be called from another thread than the one ticking this task.
    Task(bool autoDelete, bool finishWhenChildrenDone, bool keepParentAlive, bool withLock);
    virtual ~Task();

    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // One tick of the subtree; the first non-zero result stops the tick and is returned.
    VNResultEnum Update(float dt);

    // Queues the child; it joins the children at this task's next tick. Not owned unless autoDelete.
    // False (nothing queued) for a null child or the task itself.
    bool AddChild(Task* child);

    // Finishes the children depth first, then marks this task finished and calls OnFinish.
    void Finish();

    // Deletes every current child through its virtual destructor and empties the list.
    void DeleteChildren();

    bool HasKeepAliveChild() const;
    bool HasNoChildren() const;

    // Stopped and without children: the parent removes it at its next tick.
    bool IsDone() const { return mStop && mChildren.empty(); }
    bool IsFinished() const { return mFinished; }
    bool IsStarted() const { return mStarted; }
    bool IsStopped() const { return mStop; }
    bool IsAutoDelete() const { return mAutoDelete; }
    bool KeepsParentAlive() const { return mKeepParentAlive; }

protected:
    virtual VNResultEnum OnStart();
    virtual VNResultEnum OnUpdate(float dt);
    // Default: sets mStop. A task that overrides it without stopping stays alive after Finish.
    virtual void OnFinish();

    // Updates the children, merges the pending ones and removes the done ones.
    VNResultEnum UpdateChildren(float dt);

    bool mFinished = false;
    bool mStop = false;
    std::list<Task*> mChildren;
    std::list<Task*> mPending;
    bool mFinishWhenChildrenDone;
    bool mAutoDelete;
    bool mKeepParentAlive;
    bool mStarted = false;
    app::CriticalSection* mLock = nullptr; // owned; guards mPending only
};

} // namespace base
