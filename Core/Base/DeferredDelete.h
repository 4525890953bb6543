#pragma once

#include <cstddef>
#include <vector>

namespace base
{

// An object that may be queued on a DeferredDeleteManager and deleted after the current update.
class DeferredDeletable
{
public:
    virtual ~DeferredDeletable() = default;
};

// An owning queue of objects deleted together at a safe point of the frame.
class DeferredDeleteManager
{
public:
    DeferredDeleteManager() = default;
    // Deletes whatever is still queued.
    ~DeferredDeleteManager();

    DeferredDeleteManager(const DeferredDeleteManager&) = delete;
    DeferredDeleteManager& operator=(const DeferredDeleteManager&) = delete;

    // Takes ownership; an object already queued (or null) is ignored, so nothing is deleted twice.
    void QueueDelete(DeferredDeletable* object);

    // Deletes every queued object in queue order and empties the queue. Objects queued by those
    // destructors are deleted in the same call.
    void Flush();

    bool IsQueued(const DeferredDeletable* object) const;
    bool IsEmpty() const { return mFlushIndex >= mQueue.size(); }

private:
    std::vector<DeferredDeletable*> mQueue;
    std::size_t mFlushIndex = 0; // entries before it are deleted (during Flush)
};

} // namespace base
