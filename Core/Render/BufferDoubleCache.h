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
    // Between frames, after playback: reshapes the buffers to what the last frame needed.
    virtual VNResultEnum FitToLastFrame() = 0;
};

// Largest request a cache serves and largest vertex buffer it makes (elements): 16-bit indices cannot address
// more vertices than this in one buffer.
inline constexpr uint32_t kMaxCacheBufferElements = 65536;
// Largest index buffer a cache makes (elements): the indices of several full vertex buffers of quads, so that
// a frame's indices need few buffers.
inline constexpr uint32_t kMaxIndexCacheBufferElements = 1u << 19;

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
//
// A frame's draws merge only while they stay in one buffer, so the cache keeps the buffers few: a further
// buffer is as large as all the cache holds so far (up to the largest buffer of its kind), and after a frame
// that needed more further buffers than its demand calls for, FitToLastFrame replaces them with as few as
// hold that demand.
template <typename B>
class BufferDoubleCache : public BufferDoubleCacheBase
{
public:
    using Element = typename B::Element;
    static constexpr uint32_t kMaxBuffer = std::is_same_v<typename B::Impl, IndexBufferImpl>
                                               ? kMaxIndexCacheBufferElements
                                               : kMaxCacheBufferElements;

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
        mCursor = 0;
        mExtraDemand = 0;
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
        mLastExtrasUsed = 0;
        for (B* b : mExtra)
        {
            if (b->GetImpl()->IsLocked())
                ++mLastExtrasUsed;
            unlock(b);
        }
        mLastExtraDemand = mExtraDemand;
        mCursor = 0;
        if (!mBegun)
            return VN_FAIL;
        mBegun = false;
        return failed ? VN_FAIL : VN_OK;
    }

    // Takes count elements: *out points where to write them, *range says where they are.
    // The search starts at the buffer that last had room and only moves on, so a frame fills its buffers in
    // order and consecutive ranges continue each other. A request that fits no buffer adds one (see the class
    // comment), at least as large as the request, which may not exceed the grow size or
    // kMaxCacheBufferElements, whichever is larger.
    VNResultEnum Allocate(uint32_t count, Element** out, Range* range)
    {
        if (!mBegun || !mFirst)
            return VN_FAIL;
        // Nearly every request fits the locked buffer that served the last one.
        B* current = At(mCursor);
        if (auto* impl = current->GetImpl();
            impl->IsLocked() && impl->GetCapacity() - impl->GetUsed() >= count)
        {
            range->mFirst = impl->GetUsed();
            range->mCount = count;
            range->mBuffer = current;
            *out = reinterpret_cast<Element*>(impl->TakeUnchecked(count));
            if (mCursor > 0)
                mExtraDemand += count;
            return VN_OK;
        }
        const size_t buffers = 1 + mExtra.size();
        size_t index = mCursor;
        while (index < buffers && !HasRoom(At(index), count))
            ++index;
        if (index == buffers)
        {
            if (count > std::max(mGrow, kMaxCacheBufferElements))
                return VN_FAIL;
            const uint64_t held = Capacity();
            const auto step =
                static_cast<uint32_t>(std::min<uint64_t>(std::max<uint64_t>(mGrow, held), kMaxBuffer));
            B* added = nullptr;
            if (const VNResultEnum r = detail::CreateTypedBuffer(mRender, std::max(step, count), &added);
                r != VN_OK)
                return r;
            mExtra.push_back(added);
        }
        mCursor = index;
        B* chosen = At(index);
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
        if (index > 0)
            mExtraDemand += obtained;
        *out = static_cast<Element*>(p);
        return obtained < count ? VN_FAIL : VN_OK;
    }

    // After a frame that used more further buffers than its demand on them calls for, replaces them with as
    // few as hold that demand and a quarter more; refused while a frame is open. Whatever a frame recorded
    // must have been played back: the buffers it drew from may go.
    VNResultEnum FitToLastFrame() override
    {
        if (mBegun)
            return VN_FAIL;
        const uint64_t demand = mLastExtraDemand + mLastExtraDemand / 4;
        const uint64_t needed = (demand + kMaxBuffer - 1) / kMaxBuffer;
        if (mLastExtrasUsed <= needed)
            return VN_OK;
        ReleaseExtraPairs();
        for (uint64_t left = demand; left > 0;)
        {
            const auto size =
                static_cast<uint32_t>(std::max<uint64_t>(std::min<uint64_t>(left, kMaxBuffer), mGrow));
            B* added = nullptr;
            // On failure the cache simply grows again when a frame needs it.
            if (const VNResultEnum r = detail::CreateTypedBuffer(mRender, size, &added); r != VN_OK)
                return r;
            mExtra.push_back(added);
            left -= std::min<uint64_t>(left, size);
        }
        mLastExtrasUsed = 0;
        return VN_OK;
    }

    // Frees every buffer added after the first; refused while a frame is open.
    VNResultEnum ReleaseExtraPairs()
    {
        if (mBegun)
            return VN_FAIL;
        for (B* b : mExtra)
            delete b;
        mExtra.clear();
        mCursor = 0;
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

    B* At(size_t index) const { return index == 0 ? mFirst : mExtra[index - 1]; }

    uint64_t Capacity() const
    {
        uint64_t total = mFirst->GetImpl()->GetCapacity();
        for (B* b : mExtra)
            total += b->GetImpl()->GetCapacity();
        return total;
    }

    Render* mRender;
    bool mBegun = false;
    B* mFirst = nullptr;
    uint32_t mGrow = 0;
    std::vector<B*> mExtra;
    // The buffer that last had room (0 the first, i + 1 further buffer i).
    size_t mCursor = 0;
    // Elements this frame took from further buffers; the same and the further buffers used, of the last
    // frame.
    uint64_t mExtraDemand = 0;
    uint64_t mLastExtraDemand = 0;
    uint64_t mLastExtrasUsed = 0;
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
