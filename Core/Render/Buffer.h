#pragma once

#include "Core/Base/Result.h"

#include <cstddef>
#include <cstdint>

namespace render
{

class Render;
struct VertexFormat;

// A device buffer of vertices or indices, registered with its Render for the life of the object.
class Buffer
{
public:
    explicit Buffer(Render* render);
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    virtual ~Buffer();

    // Hands out the whole buffer for writing; refused when locked already or without storage.
    virtual VNResultEnum Lock() = 0;
    // Ends writing; refused when not locked.
    virtual VNResultEnum Unlock() = 0;
    virtual VNResultEnum OnResetDevice() = 0;
    virtual VNResultEnum OnLostDevice() = 0;
    // 0 when the buffer exists and is locked.
    virtual VNResultEnum RequireLocked() = 0;

    // Takes the next count elements of the locked buffer: *out points at the first, *obtained says how many
    // fit. Inline: every draw takes its vertices and indices through it.
    VNResultEnum Reserve(uint32_t count, void** out, uint32_t* obtained)
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

    // Reserve for a caller that knows the buffer is locked and has room for count more elements.
    uint8_t* TakeUnchecked(uint32_t count)
    {
        uint8_t* p = mLockedPointer + static_cast<size_t>(mUsed) * mStride;
        mUsed += count;
        return p;
    }

    Render* GetRender() const { return mRender; }
    // The Render is going away: this object must no longer reach it.
    void DetachRender() { mRender = nullptr; }
    uint32_t GetStride() const { return mStride; }
    uint32_t GetCapacity() const { return mCapacity; }
    uint32_t GetUsed() const { return mUsed; }
    bool IsLocked() const { return mLocked; }

protected:
    Render* mRender;
    uint32_t mStride = 0;
    uint32_t mCapacity = 0;
    bool mLocked = false;
    uint8_t* mLockedPointer = nullptr;
    uint32_t mUsed = 0;
};

class VertexBufferImpl : public Buffer
{
public:
    using Buffer::Buffer;
    virtual VNResultEnum Create(const VertexFormat& format, uint32_t count, bool dynamic) = 0;
    int32_t GetFormatId() const { return mFormatId; }

protected:
    int32_t mFormatId = -1;
};

class IndexBufferImpl : public Buffer
{
public:
    using Buffer::Buffer;
    // Index size 2 or 4 bytes.
    virtual VNResultEnum Create(uint32_t indexSize, uint32_t count, bool dynamic) = 0;
    uint32_t GetIndexSize() const { return mStride; }
};

// Typed owner of a vertex buffer implementation.
template <typename T>
class VertexBuffer
{
public:
    using Element = T;
    using Impl = VertexBufferImpl;

    explicit VertexBuffer(VertexBufferImpl* impl) : mImpl(impl) {}
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    virtual ~VertexBuffer() { delete mImpl; }

    VertexBufferImpl* GetImpl() const { return mImpl; }

private:
    VertexBufferImpl* mImpl;
};

// Typed owner of an index buffer implementation (unsigned short or unsigned int).
template <typename T>
class IndexBuffer
{
public:
    using Element = T;
    using Impl = IndexBufferImpl;

    explicit IndexBuffer(IndexBufferImpl* impl) : mImpl(impl) {}
    IndexBuffer(const IndexBuffer&) = delete;
    IndexBuffer& operator=(const IndexBuffer&) = delete;
    virtual ~IndexBuffer() { delete mImpl; }

    IndexBufferImpl* GetImpl() const { return mImpl; }

private:
    IndexBufferImpl* mImpl;
};

} // namespace render
