#include "Core/Render/GL/BufferGL.h"

#include "Core/Render/GL/GLCheck.h"
#include "Core/Render/VertexFormat.h"

namespace render
{

VNResultEnum BufferStorageGL::Create(uint32_t bytes, bool dynamic)
{
    if (mName)
        return VN_FAIL;
    mDynamic = dynamic;
    glCreateBuffers(1, &mName);
    if (!mName)
        return VN_FAIL;
    GL_CHECK(glNamedBufferData(mName, bytes, nullptr, dynamic ? GL_STREAM_DRAW : GL_STATIC_DRAW));
    mShadow.assign(bytes, 0);
    return VN_OK;
}

void BufferStorageGL::Upload(uint32_t bytes)
{
    if (!mName || bytes == 0)
        return;
    // A dynamic buffer is filled anew each frame: its contents are replaced by just the written part in one
    // call, which leaves draws already made with the old contents to GL and copies nothing the frame did not
    // write. (Replacing measured faster on Mesa than mapping.)
    if (mDynamic)
        GL_CHECK(glNamedBufferData(mName, bytes, mShadow.data(), GL_STREAM_DRAW));
    else
        GL_CHECK(glNamedBufferSubData(mName, 0, bytes, mShadow.data()));
    mUploaded += bytes;
}

void BufferStorageGL::Release()
{
    if (mName)
        glDeleteBuffers(1, &mName);
    mName = 0;
}

VNResultEnum VertexBufferImplGL::Create(const VertexFormat& format, uint32_t count, bool dynamic)
{
    if (mStorage.GetName())
        return VN_FAIL;
    mCapacity = count;
    mStride = format.mStride;
    mFormatId = format.mId;
    return mStorage.Create(count * format.mStride, dynamic);
}

VNResultEnum VertexBufferImplGL::Lock()
{
    if (!mStorage.GetName() || mLocked)
        return VN_FAIL;
    mLockedPointer = mStorage.GetShadow();
    mLocked = true;
    mUsed = 0;
    return VN_OK;
}

VNResultEnum VertexBufferImplGL::Unlock()
{
    if (!mStorage.GetName() || !mLocked)
        return VN_FAIL;
    mStorage.Upload(mUsed * mStride);
    mLocked = false;
    mUsed = 0;
    mLockedPointer = nullptr;
    return VN_OK;
}

VNResultEnum IndexBufferImplGL::Create(uint32_t indexSize, uint32_t count, bool dynamic)
{
    if (mStorage.GetName() || (indexSize != 2 && indexSize != 4))
        return VN_FAIL;
    mCapacity = count;
    mStride = indexSize;
    return mStorage.Create(count * indexSize, dynamic);
}

VNResultEnum IndexBufferImplGL::Lock()
{
    if (!mStorage.GetName() || mLocked)
        return VN_FAIL;
    mLockedPointer = mStorage.GetShadow();
    mLocked = true;
    mUsed = 0;
    return VN_OK;
}

VNResultEnum IndexBufferImplGL::Unlock()
{
    if (!mStorage.GetName() || !mLocked)
        return VN_FAIL;
    mStorage.Upload(mUsed * mStride);
    mLocked = false;
    mUsed = 0;
    mLockedPointer = nullptr;
    return VN_OK;
}

} // namespace render
