#pragma once

#include "Core/Base/Result.h"
#include "Core/Render/Buffer.h"
#include "Core/Render/Render.h"
#include "Core/Render/VertexFormat.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace render
{

// A per-frame cache of dynamic buffers that draws take ranges from.
class BufferDoubleCacheBase
{
public:
    virtual ~BufferDoubleCacheBase() = default;
    // Refused (1) when already begun.
    virtual VNResultEnum BeginFrame() = 0;
    // Unlocks every locked buffer; 1 when the cache was not begun or an unlock failed.
    virtual VNResultEnum EndFrame() = 0;
};

// Largest buffer a cache adds for one request larger than its grow size (elements); 16-bit indices cannot
// address more vertices than this in one buffer anyway.
inline constexpr uint32_t kMaxCacheBufferElements = 65536;

namespace detail
{
template <typename B>
VNResultEnum CreateTypedBuffer(Render* render, uint32_t count, B** out)
{
    using T = typename B::Element;
    if constexpr (std::is_same_v<typename B::Impl, IndexBufferImpl>)
    {
        IndexBufferImpl* impl = nullptr;
        if (const VNResultEnum r = render->CreateIndexBuffer(sizeof(T), count, true, &impl); r != VN_OK)
            return r;
        *out = new B(impl);
    }
    else
    {
        VertexBufferImpl* impl = nullptr;
        if (const VNResultEnum r = render->CreateVertexBuffer(T::Format(), count, true, &impl); r != VN_OK)
            return r;
        *out = new B(impl);
    }
    return VN_OK;
}
} // namespace detail

// Frames fill the first buffer and then further buffers added as needed; all of them are kept across frames.
// Only one member of each pair is made: no frame ever fills the second.
template <typename B>
class BufferDoubleCache : public BufferDoubleCacheBase
{
public:
    using Element = typename B::Element;

    // A range handed out by Allocate: first element and count in the chosen buffer.
    struct Range
    {
        uint32_t mFirst = 0;
        uint32_t mCount = 0;
        B* mBuffer = nullptr;
    };

    explicit BufferDoubleCache(Render* render) : mRender(render) {}
    BufferDoubleCache(const BufferDoubleCache&) = delete;
    BufferDoubleCache& operator=(const BufferDoubleCache&) = delete;

    ~BufferDoubleCache() override
    {
        delete mFirst;
        mBegun = false;
        ReleaseExtraPairs();
    }

    // size 0 and grow 0 take the vertex format's cache size and grow size.
    VNResultEnum Init(uint32_t size, uint32_t grow)
    {
        if constexpr (!std::is_same_v<typename B::Impl, IndexBufferImpl>)
        {
            if (size == 0)
                size = Element::Format().mCacheSize;
            if (grow == 0)
                grow = Element::Format().mCacheGrow;
        }
        if (mFirst)
            return VN_FAIL;
        if (const VNResultEnum r = detail::CreateTypedBuffer(mRender, size, &mFirst); r != VN_OK)
            return r;
        mGrow = grow;
        return VN_OK;
    }

    VNResultEnum BeginFrame() override
    {
        if (mBegun)
            return VN_FAIL;
        mBegun = true;
        return VN_OK;
    }

    VNResultEnum EndFrame() override
    {
        bool failed = false;
        auto unlock = [&failed](B* b)
        {
            if (b && b->GetImpl()->IsLocked() && b->GetImpl()->Unlock() != VN_OK)
                failed = true;
        };
        unlock(mFirst);
        for (B* b : mExtra)
            unlock(b);
        if (!mBegun)
            return VN_FAIL;
        mBegun = false;
        return failed ? VN_FAIL : VN_OK;
    }

    // Takes count elements: *out points where to write them, *range says where they are.
    // A request that fits no buffer adds one of the grow size, or of the request itself when that is larger
    // (up to kMaxCacheBufferElements), so long text runs and particle bursts are not dropped.
    VNResultEnum Allocate(uint32_t count, Element** out, Range* range)
    {
        if (!mBegun || !mFirst)
            return VN_FAIL;
        B* chosen = nullptr;
        if (HasRoom(mFirst, count))
            chosen = mFirst;
        for (size_t i = 0; !chosen && i < mExtra.size(); ++i)
            if (HasRoom(mExtra[i], count))
                chosen = mExtra[i];
        if (!chosen)
        {
            const uint32_t size = std::max(mGrow, count);
            if (count > std::max(mGrow, kMaxCacheBufferElements))
                return VN_FAIL;
            B* added = nullptr;
            if (const VNResultEnum r = detail::CreateTypedBuffer(mRender, size, &added); r != VN_OK)
                return r;
            mExtra.push_back(added);
            chosen = added;
        }
        auto* impl = chosen->GetImpl();
        if (!impl->IsLocked())
            if (const VNResultEnum r = impl->Lock(); r != VN_OK)
                return r;
        range->mFirst = impl->GetUsed();
        range->mCount = count;
        range->mBuffer = chosen;
        void* p = nullptr;
        uint32_t obtained = 0;
        if (const VNResultEnum r = impl->Reserve(count, &p, &obtained); r != VN_OK)
            return r;
        *out = static_cast<Element*>(p);
        return obtained < count ? VN_FAIL : VN_OK;
    }

    // Frees every buffer added after the first; refused while a frame is open.
    VNResultEnum ReleaseExtraPairs()
    {
        if (mBegun)
            return VN_FAIL;
        for (B* b : mExtra)
            delete b;
        mExtra.clear();
        return VN_OK;
    }

    bool IsBegun() const { return mBegun; }
    uint32_t GetGrow() const { return mGrow; }
    B* GetFirst() const { return mFirst; }
    const std::vector<B*>& GetExtra() const { return mExtra; }

private:
    static bool HasRoom(B* b, uint32_t count)
    {
        const auto* impl = b->GetImpl();
        // A buffer not locked yet this frame counts as empty: locking resets its use.
        const uint32_t used = impl->IsLocked() ? impl->GetUsed() : 0;
        return impl->GetCapacity() - used >= count;
    }

    Render* mRender;
    bool mBegun = false;
    B* mFirst = nullptr;
    uint32_t mGrow = 0;
    std::vector<B*> mExtra;
};

using VertexCache2D = BufferDoubleCache<VertexBuffer<SVertex2D>>;
using VertexCacheGeom = BufferDoubleCache<VertexBuffer<SVertexGeom>>;
using IndexCache16 = BufferDoubleCache<IndexBuffer<unsigned short>>;
using IndexCache32 = BufferDoubleCache<IndexBuffer<unsigned int>>;

// Makes the cache of one vertex format.
class BufferDoubleCacheCreator
{
public:
    virtual ~BufferDoubleCacheCreator() = default;
    virtual VNResultEnum Create(Render* render, uint32_t size, uint32_t grow,
                                BufferDoubleCacheBase** out) const = 0;
};

template <typename T>
class BufferDoubleCacheCreatorConcrete : public BufferDoubleCacheCreator
{
public:
    VNResultEnum Create(Render* render, uint32_t size, uint32_t grow,
                        BufferDoubleCacheBase** out) const override
    {
        auto* cache = new BufferDoubleCache<VertexBuffer<T>>(render);
        if (const VNResultEnum r = cache->Init(size, grow); r != VN_OK)
        {
            delete cache;
            return r;
        }
        *out = cache;
        return VN_OK;
    }
};

// The cache creator of each vertex format, indexed by format id.
const std::vector<const BufferDoubleCacheCreator*>& GetCacheCreators();

} // namespace render
