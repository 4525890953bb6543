#include "Core/Render/Buffer.h"

#include "Core/Render/Render.h"

namespace render
{

Buffer::Buffer(Render* render) : mRender(render)
{
    if (mRender)
        mRender->RegisterBuffer(this);
}

Buffer::~Buffer()
{
    if (mRender)
        mRender->UnregisterBuffer(this);
}

VNResultEnum Buffer::Reserve(uint32_t count, void** out, uint32_t* obtained)
{
    if (const VNResultEnum r = RequireLocked(); r != VN_OK)
        return r;
    if (mUsed < mCapacity)
    {
        *out = mLockedPointer + static_cast<size_t>(mUsed) * mStride;
        const uint64_t end = static_cast<uint64_t>(mUsed) + count;
        if (end >= mCapacity)
        {
            *obtained = mCapacity - mUsed;
            mUsed = mCapacity;
        }
        else
        {
            *obtained = count;
            mUsed = static_cast<uint32_t>(end);
        }
    }
    else
    {
        *out = nullptr;
        *obtained = 0;
    }
    return VN_OK;
}

} // namespace render
