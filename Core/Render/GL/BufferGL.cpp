#include "Core/Render/GL/BufferGL.h"

#include "Core/Render/GL/GLCheck.h"
#include "Core/Render/VertexFormat.h"

namespace render
{

uint32_t BufferRingGL::Acquire()
{
    if (mOpen)
        return mRegion;
    mOpen = true;
    ++mFrame;
    mRegion = (mRegion + 1) % kRegions;
    if (GLsync& fence = mFences[mRegion])
    {
        // Three frames back: normally long done, so this returns at once.
        GLenum state = GL_TIMEOUT_EXPIRED;
        while (state == GL_TIMEOUT_EXPIRED)
            state = glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 100000000ull);
        glDeleteSync(fence);
        fence = nullptr;
    }
    return mRegion;
}

void BufferRingGL::Close()
{
    if (!mOpen)
        return;
    mOpen = false;
    mFences[mRegion] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

void BufferRingGL::Release()
{
    for (GLsync& fence : mFences)
    {
        if (fence)
            glDeleteSync(fence);
        fence = nullptr;
    }
    mOpen = false;
}

VNResultEnum BufferStorageGL::Create(uint32_t bytes, bool dynamic, BufferRingGL* ring)
{
    if (mName)
        return VN_FAIL;
    glCreateBuffers(1, &mName);
    if (!mName)
        return VN_FAIL;
    mBytes = bytes;
    mDynamic = dynamic;
    if (dynamic && ring && bytes > 0)
    {
        // Written in place by the CPU, flushed range by range, never read back.
        const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_FLUSH_EXPLICIT_BIT;
        const GLsizeiptr total = static_cast<GLsizeiptr>(bytes) * BufferRingGL::kRegions;
        glNamedBufferStorage(mName, total, nullptr, GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT);
        if (glGetError() == GL_NO_ERROR)
            mMapped = static_cast<uint8_t*>(glMapNamedBufferRange(mName, 0, total, flags));
        if (mMapped)
        {
            mRing = ring;
            return VN_OK;
        }
        // No mapping: a fresh name, since storage given once cannot be given again.
        glDeleteBuffers(1, &mName);
        mName = 0;
        glCreateBuffers(1, &mName);
        if (!mName)
            return VN_FAIL;
    }
    GL_CHECK(glNamedBufferData(mName, bytes, nullptr, dynamic ? GL_STREAM_DRAW : GL_STATIC_DRAW));
    mShadow.assign(bytes, 0);
    return VN_OK;
}

uint8_t* BufferStorageGL::Lock()
{
    if (!mMapped)
        return mShadow.data();
    // A buffer locks once a frame; a second lock in the same frame means the frame before never reached the
    // end of its draws (a failed playback): its region is fenced now, before anything writes again.
    if (mRing->IsOpen() && mLockedFrame == mRing->GetFrame())
        mRing->Close();
    mRegionOffset = mRing->Acquire() * mBytes;
    mLockedFrame = mRing->GetFrame();
    return mMapped + mRegionOffset;
}

void BufferStorageGL::Unlock(uint32_t bytes)
{
    if (!mName || bytes == 0)
        return;
    if (mMapped)
    {
        glFlushMappedNamedBufferRange(mName, mRegionOffset, bytes);
        return;
    }
    // Without a mapping a dynamic buffer is replaced whole, so draws still queued keep the old contents.
    if (mDynamic)
        GL_CHECK(glNamedBufferData(mName, bytes, mShadow.data(), GL_STREAM_DRAW));
    else
        GL_CHECK(glNamedBufferSubData(mName, 0, bytes, mShadow.data()));
}

void BufferStorageGL::Release()
{
    if (mName)
    {
        if (mMapped)
            glUnmapNamedBuffer(mName);
        glDeleteBuffers(1, &mName);
    }
    mName = 0;
    mMapped = nullptr;
    mRing = nullptr;
}

VNResultEnum VertexBufferImplGL::Create(const VertexFormat& format, uint32_t count, bool dynamic)
{
    if (mStorage.GetName())
        return VN_FAIL;
    mCapacity = count;
    mStride = format.mStride;
    mFormatId = format.mId;
    return mStorage.Create(count * format.mStride, dynamic, mRing);
}

VNResultEnum VertexBufferImplGL::Lock()
{
    if (!mStorage.GetName() || mLocked)
        return VN_FAIL;
    mLockedPointer = mStorage.Lock();
    mLocked = true;
    mUsed = 0;
    return VN_OK;
}

VNResultEnum VertexBufferImplGL::Unlock()
{
    if (!mStorage.GetName() || !mLocked)
        return VN_FAIL;
    mStorage.Unlock(mUsed * mStride);
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
    return mStorage.Create(count * indexSize, dynamic, mRing);
}

VNResultEnum IndexBufferImplGL::Lock()
{
    if (!mStorage.GetName() || mLocked)
        return VN_FAIL;
    mLockedPointer = mStorage.Lock();
    mLocked = true;
    mUsed = 0;
    return VN_OK;
}

VNResultEnum IndexBufferImplGL::Unlock()
{
    if (!mStorage.GetName() || !mLocked)
        return VN_FAIL;
    mStorage.Unlock(mUsed * mStride);
    mLocked = false;
    mUsed = 0;
    mLockedPointer = nullptr;
    return VN_OK;
}

} // namespace render
