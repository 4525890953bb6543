#pragma once

#include "Core/Render/Buffer.h"

#include <cstdint>
#include <vector>

typedef struct __GLsync* GLsync;

namespace render
{

// Dynamic buffers are written in turns in kRegions regions of their storage, one region per recorded frame,
// so a frame never writes memory that a draw of an earlier frame may still read and nothing waits for the
// device while it catches up. The ring says which region the frame being recorded writes and fences each
// region once the frame's draws are issued.
class BufferRingGL
{
public:
    static constexpr uint32_t kRegions = 3;

    // The region of the frame being recorded. The first call of a frame moves on to the next region and
    // waits until the draws of the frame that last wrote it are done.
    uint32_t Acquire();
    // The frame's draws are issued: its region is fenced. Nothing when no buffer was written.
    void Close();
    // Counts the frames that wrote buffers; a buffer locked twice in one count missed a Close.
    uint64_t GetFrame() const { return mFrame; }
    bool IsOpen() const { return mOpen; }
    // Frees the fences; the context must be current.
    void Release();

private:
    uint32_t mRegion = 0;
    uint64_t mFrame = 0;
    bool mOpen = false;
    GLsync mFences[kRegions] = {};
};

// The storage of one buffer. A dynamic buffer is mapped once for good, with a region per frame of the ring,
// and written in place: Unlock only flushes the written range. A static buffer (or one the driver would not
// map) keeps a CPU copy that Unlock sends, written part only.
class BufferStorageGL
{
public:
    VNResultEnum Create(uint32_t bytes, bool dynamic, BufferRingGL* ring);
    // Where a lock writes: the frame's region of the mapping, or the CPU copy.
    uint8_t* Lock();
    void Unlock(uint32_t bytes);
    void Release();
    ~BufferStorageGL() { Release(); }

    unsigned GetName() const { return mName; }
    // Elements before the region the last lock wrote (0 without a ring): draws add it to their offsets.
    uint32_t GetRegionStart(uint32_t elementSize) const { return mRegionOffset / elementSize; }

private:
    unsigned mName = 0;
    uint32_t mBytes = 0;
    bool mDynamic = false;
    BufferRingGL* mRing = nullptr;
    uint8_t* mMapped = nullptr;
    uint32_t mRegionOffset = 0;
    uint64_t mLockedFrame = UINT64_MAX;
    std::vector<uint8_t> mShadow;
};

class VertexBufferImplGL : public VertexBufferImpl
{
public:
    VertexBufferImplGL(Render* render, BufferRingGL* ring) : VertexBufferImpl(render), mRing(ring) {}

    VNResultEnum Create(const VertexFormat& format, uint32_t count, bool dynamic) override;
    VNResultEnum Lock() override;
    VNResultEnum Unlock() override;
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum RequireLocked() override { return mStorage.GetName() && mLocked ? VN_OK : VN_FAIL; }

    unsigned GetName() const { return mStorage.GetName(); }
    // The first vertex of the region the last lock wrote.
    uint32_t GetRegionStart() const { return mStorage.GetRegionStart(mStride); }
    // Frees the GL object while the context still exists.
    void ReleaseGL() { mStorage.Release(); }

private:
    BufferRingGL* mRing;
    BufferStorageGL mStorage;
};

class IndexBufferImplGL : public IndexBufferImpl
{
public:
    IndexBufferImplGL(Render* render, BufferRingGL* ring) : IndexBufferImpl(render), mRing(ring) {}

    VNResultEnum Create(uint32_t indexSize, uint32_t count, bool dynamic) override;
    VNResultEnum Lock() override;
    VNResultEnum Unlock() override;
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum RequireLocked() override { return mStorage.GetName() && mLocked ? VN_OK : VN_FAIL; }

    unsigned GetName() const { return mStorage.GetName(); }
    // The first index of the region the last lock wrote.
    uint32_t GetRegionStart() const { return mStorage.GetRegionStart(mStride); }
    void ReleaseGL() { mStorage.Release(); }

private:
    BufferRingGL* mRing;
    BufferStorageGL mStorage;
};

} // namespace render
