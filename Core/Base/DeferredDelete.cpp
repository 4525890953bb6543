#include "Core/Base/DeferredDelete.h"

#include <algorithm>

namespace base
{

DeferredDeleteManager::~DeferredDeleteManager()
{
    Flush();
}

void DeferredDeleteManager::QueueDelete(DeferredDeletable* object)
{
    if (object == nullptr || IsQueued(object))
        return;
    mQueue.push_back(object);
}

bool DeferredDeleteManager::IsQueued(const DeferredDeletable* object) const
{
    // Entries before mFlushIndex are already deleted; their addresses may be reused.
    return std::find(mQueue.begin() + static_cast<std::ptrdiff_t>(mFlushIndex), mQueue.end(), object) !=
           mQueue.end();
}

void DeferredDeleteManager::Flush()
{
    // Walked by index: a destructor may queue more objects (a widget queueing its children), which
    // are deleted in this same call.
    while (mFlushIndex < mQueue.size())
    {
        DeferredDeletable* object = mQueue[mFlushIndex];
        ++mFlushIndex;
        delete object;
    }
    mQueue.clear();
    mFlushIndex = 0;
}

} // namespace base
