#pragma once

#include "Core/Render/Buffer.h"

#include <cstdint>
#include <vector>

namespace render
{

// Writes go to a CPU copy; Unlock sends only the written part to the GL buffer (orphaning it first when
// dynamic).
class BufferStorageGL
{
public:
    VNResultEnum Create(uint32_t bytes, bool dynamic);
    void Upload(uint32_t bytes);
    void Release();
    ~BufferStorageGL() { Release(); }

    unsigned GetName() const { return mName; }
    uint8_t* GetShadow() { return mShadow.data(); }
    uint64_t GetUploadedBytes() const { return mUploaded; }

private:
    unsigned mName = 0;
    bool mDynamic = true;
    std::vector<uint8_t> mShadow;
    uint64_t mUploaded = 0;
};

class VertexBufferImplGL : public VertexBufferImpl
{
public:
    using VertexBufferImpl::VertexBufferImpl;

    VNResultEnum Create(const VertexFormat& format, uint32_t count, bool dynamic) override;
    VNResultEnum Lock() override;
    VNResultEnum Unlock() override;
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum RequireLocked() override { return mStorage.GetName() && mLocked ? VN_OK : VN_FAIL; }

    unsigned GetName() const { return mStorage.GetName(); }
    // Frees the GL object while the context still exists.
    void ReleaseGL() { mStorage.Release(); }
    uint64_t GetUploadedBytes() const { return mStorage.GetUploadedBytes(); }

private:
    BufferStorageGL mStorage;
};

class IndexBufferImplGL : public IndexBufferImpl
{
public:
    using IndexBufferImpl::IndexBufferImpl;

    VNResultEnum Create(uint32_t indexSize, uint32_t count, bool dynamic) override;
    VNResultEnum Lock() override;
    VNResultEnum Unlock() override;
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum RequireLocked() override { return mStorage.GetName() && mLocked ? VN_OK : VN_FAIL; }

    unsigned GetName() const { return mStorage.GetName(); }
    void ReleaseGL() { mStorage.Release(); }

private:
    BufferStorageGL mStorage;
};

} // namespace render
