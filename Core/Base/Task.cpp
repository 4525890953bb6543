#include "Core/Base/Task.h"

#include "Core/App/CriticalSection.h"

namespace base
{

namespace
{

// Holds a task's optional lock for one scope.
class ScopedLock
{
public:
    explicit ScopedLock(app::CriticalSection* lock) : mLock(lock)
    {
        if (mLock)
            mLock->Lock();
    }
    ~ScopedLock()
    {
        if (mLock)
            mLock->Unlock();
    }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    app::CriticalSection* mLock;
};

} // namespace

Task::Task(bool autoDelete, bool finishWhenChildrenDone, bool keepParentAlive, bool withLock)
    : mFinishWhenChildrenDone(finishWhenChildrenDone), mAutoDelete(autoDelete),
      mKeepParentAlive(keepParentAlive), mLock(withLock ? new app::CriticalSection : nullptr)
{
}

Task::~Task()
{
    delete mLock;
}

VNResultEnum Task::Update(float dt)
{
    if (IsDone())
        return VN_OK;

    if (!mStarted)
    {
        // Marked before the call: a failing start is not retried.
        mStarted = true;
        VNResultEnum result = OnStart();
        if (result != VN_OK)
            return result;
    }

    VNResultEnum result = UpdateChildren(dt);
    if (result != VN_OK)
        return result;

    result = OnUpdate(dt);
    if (result != VN_OK)
        return result;

    bool finish = false;
    {
        ScopedLock lock(mLock);
        finish = !mFinished && mPending.empty() && mFinishWhenChildrenDone && !HasKeepAliveChild();
    }
    // Finish runs outside the lock: OnFinish may add children, which takes the lock again.
    if (finish)
        Finish();
    return VN_OK;
}

VNResultEnum Task::UpdateChildren(float dt)
{
    for (Task* child : mChildren)
    {
        VNResultEnum result = child->Update(dt);
        if (result != VN_OK)
            return result;
    }

    {
        ScopedLock lock(mLock);
        if (!mPending.empty())
            mChildren.splice(mChildren.end(), mPending);
    }

    for (auto it = mChildren.begin(); it != mChildren.end();)
    {
        Task* child = *it;
        if (!child->IsDone())
        {
            ++it;
            continue;
        }
        it = mChildren.erase(it);
        if (child->mAutoDelete)
            delete child;
    }
    return VN_OK;
}

bool Task::AddChild(Task* child)
{
    // A null or self child would crash or loop in the next tick.
    if (child == nullptr || child == this)
        return false;
    ScopedLock lock(mLock);
    mPending.push_back(child);
    return true;
}

void Task::Finish()
{
    for (Task* child : mChildren)
        child->Finish();
    mFinished = true;
    OnFinish();
}

void Task::DeleteChildren()
{
    std::list<Task*> children;
    children.swap(mChildren);
    {
        // Children added since the last tick are owned as well: a parent that goes before its next tick
        // must not leak them.
        ScopedLock lock(mLock);
        children.splice(children.end(), mPending);
    }
    for (Task* child : children)
        delete child;
}

bool Task::HasKeepAliveChild() const
{
    for (const Task* child : mChildren)
    {
        if (child->mKeepParentAlive)
            return true;
    }
    return false;
}

bool Task::HasNoChildren() const
{
    return mChildren.empty();
}

VNResultEnum Task::OnStart()
{
    return VN_OK;
}

VNResultEnum Task::OnUpdate(float)
{
    return VN_OK;
}

void Task::OnFinish()
{
    mStop = true;
}

} // namespace base
