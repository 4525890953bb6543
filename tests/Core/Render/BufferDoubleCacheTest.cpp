#include "Core/Render/BufferDoubleCache.h"

#include "Core/Render/RecordingRender.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace render;

namespace
{

class Cache : public ::testing::Test
{
protected:
    RecordingRender r;
};

} // namespace

TEST_F(Cache, AllocationsContinueInTheFirstBufferThenSpillToAFurtherOne)
{
    VertexCache2D cache(&r);
    ASSERT_EQ(cache.Init(16, 8), VN_OK);
    SVertex2D* v = nullptr;
    VertexCache2D::Range range;
    EXPECT_EQ(cache.Allocate(4, &v, &range), VN_FAIL); // not begun
    ASSERT_EQ(cache.BeginFrame(), VN_OK);
    ASSERT_EQ(cache.Allocate(4, &v, &range), VN_OK);
    EXPECT_EQ(range.mFirst, 0u);
    EXPECT_EQ(range.mBuffer, cache.GetFirst());
    ASSERT_EQ(cache.Allocate(4, &v, &range), VN_OK);
    EXPECT_EQ(range.mFirst, 4u);
    ASSERT_EQ(cache.Allocate(8, &v, &range), VN_OK); // exactly the room left
    EXPECT_EQ(range.mFirst, 8u);
    EXPECT_TRUE(cache.GetExtra().empty());
    ASSERT_EQ(cache.Allocate(1, &v, &range), VN_OK); // one more: a further buffer as large as all so far
    ASSERT_EQ(cache.GetExtra().size(), 1u);
    EXPECT_EQ(range.mBuffer, cache.GetExtra()[0]);
    EXPECT_EQ(range.mFirst, 0u);
    EXPECT_EQ(cache.GetExtra()[0]->GetImpl()->GetCapacity(), 16u);
    EXPECT_EQ(cache.EndFrame(), VN_OK);
    EXPECT_FALSE(cache.GetFirst()->GetImpl()->IsLocked());
    EXPECT_FALSE(cache.GetExtra()[0]->GetImpl()->IsLocked());
    EXPECT_EQ(cache.EndFrame(), VN_FAIL); // not begun
}

// Ranges follow each other so the draws using them can merge: once a request went on to a further buffer, a
// later small one does not go back to fill the room left in an earlier buffer. A new frame starts at the
// first buffer again.
TEST_F(Cache, AllocationsNeverGoBackToAnEarlierBufferWithinAFrame)
{
    IndexCache16 cache(&r);
    ASSERT_EQ(cache.Init(16, 16), VN_OK);
    unsigned short* p = nullptr;
    IndexCache16::Range range;
    for (int frame = 0; frame < 2; ++frame)
    {
        ASSERT_EQ(cache.BeginFrame(), VN_OK);
        ASSERT_EQ(cache.Allocate(10, &p, &range), VN_OK);
        EXPECT_EQ(range.mBuffer, cache.GetFirst());
        ASSERT_EQ(cache.Allocate(10, &p, &range), VN_OK); // 6 left in the first: on to a further buffer
        ASSERT_EQ(cache.GetExtra().size(), 1u);
        EXPECT_EQ(range.mBuffer, cache.GetExtra()[0]);
        ASSERT_EQ(cache.Allocate(4, &p, &range), VN_OK); // would fit the first, continues the further one
        EXPECT_EQ(range.mBuffer, cache.GetExtra()[0]);
        EXPECT_EQ(range.mFirst, 10u);
        ASSERT_EQ(cache.EndFrame(), VN_OK);
    }
}

// A frame of 50,000 quads: the caches grow in few steps, each further buffer as large as all the cache holds
// so far but no larger than its kind allows (65536 vertices, the reach of 16-bit indices), and a request
// larger than the grow size gets a buffer it fits in.
TEST_F(Cache, FurtherBuffersGrowGeometricallyUpToTheirKindsLimit)
{
    auto capacities = [](const auto& cache)
    {
        std::vector<uint32_t> sizes;
        for (const auto* b : cache.GetExtra())
            sizes.push_back(b->GetImpl()->GetCapacity());
        return sizes;
    };
    {
        VertexCache2D vertices(&r);
        ASSERT_EQ(vertices.Init(0, 0), VN_OK); // 40960, grow 10240
        ASSERT_EQ(vertices.BeginFrame(), VN_OK);
        SVertex2D* v = nullptr;
        VertexCache2D::Range range;
        for (int q = 0; q < 50000; ++q)
            ASSERT_EQ(vertices.Allocate(4, &v, &range), VN_OK);
        EXPECT_EQ(capacities(vertices), (std::vector<uint32_t>{40960, 65536, 65536}));
        ASSERT_EQ(vertices.EndFrame(), VN_OK);
    }
    {
        IndexCache16 indices(&r);
        ASSERT_EQ(indices.Init(10240, 1024), VN_OK);
        ASSERT_EQ(indices.BeginFrame(), VN_OK);
        unsigned short* p = nullptr;
        IndexCache16::Range range;
        for (int q = 0; q < 50000; ++q)
            ASSERT_EQ(indices.Allocate(6, &p, &range), VN_OK);
        EXPECT_EQ(capacities(indices), (std::vector<uint32_t>{10240, 20480, 40960, 81920, 163840}));
        ASSERT_EQ(indices.EndFrame(), VN_OK);
    }
    {
        // A text or particle run of 12,000 quads in a cache that grows by 1024.
        IndexCache16 indices(&r);
        ASSERT_EQ(indices.Init(1024, 1024), VN_OK);
        ASSERT_EQ(indices.BeginFrame(), VN_OK);
        unsigned short* p = nullptr;
        IndexCache16::Range range;
        ASSERT_EQ(indices.Allocate(1000, &p, &range), VN_OK);
        ASSERT_EQ(indices.Allocate(12000, &p, &range), VN_OK);
        EXPECT_EQ(capacities(indices), (std::vector<uint32_t>{12000}));
        p[11999] = 7; // the whole range is writable
        // Bounded: no single request beyond 65536 elements.
        EXPECT_EQ(indices.Allocate(kMaxCacheBufferElements + 1, &p, &range), VN_FAIL);
        EXPECT_EQ(indices.GetExtra().size(), 1u);
        EXPECT_EQ(indices.ReleaseExtraPairs(), VN_FAIL); // begun
        ASSERT_EQ(indices.EndFrame(), VN_OK);
        EXPECT_EQ(indices.ReleaseExtraPairs(), VN_OK);
        EXPECT_TRUE(indices.GetExtra().empty());
    }
}

// After a frame spread over many further buffers, the cache replaces them with as few as hold that frame's
// demand, so the next frame of the same size takes two buffers: the first and one further.
TEST_F(Cache, FitToLastFrameLeavesFewBuffersForTheSameFrame)
{
    IndexCache16 cache(&r);
    ASSERT_EQ(cache.Init(10240, 1024), VN_OK);
    auto frame = [&cache](int quads)
    {
        std::set<const void*> used;
        unsigned short* p = nullptr;
        IndexCache16::Range range;
        EXPECT_EQ(cache.BeginFrame(), VN_OK);
        EXPECT_EQ(cache.FitToLastFrame(), VN_FAIL); // refused while a frame is open
        for (int q = 0; q < quads; ++q)
        {
            EXPECT_EQ(cache.Allocate(6, &p, &range), VN_OK);
            used.insert(range.mBuffer);
        }
        EXPECT_EQ(cache.EndFrame(), VN_OK);
        return used.size();
    };
    EXPECT_EQ(frame(50000), 6u);
    EXPECT_EQ(cache.FitToLastFrame(), VN_OK);
    ASSERT_EQ(cache.GetExtra().size(), 1u);
    EXPECT_GE(cache.GetExtra()[0]->GetImpl()->GetCapacity(), 50000u * 6 - 10236);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(frame(50000), 2u);
        EXPECT_EQ(cache.FitToLastFrame(), VN_OK);
        EXPECT_EQ(cache.GetExtra().size(), 1u); // nothing to change: steady frames make no buffers
    }
    // A small frame leaves the further buffer for the next large one.
    EXPECT_EQ(frame(100), 1u);
    EXPECT_EQ(cache.FitToLastFrame(), VN_OK);
    EXPECT_EQ(cache.GetExtra().size(), 1u);
}

TEST_F(Cache, BuffersRegisterWithTheirRenderAndLeaveIt)
{
    const size_t before = r.GetBuffers().size();
    {
        VertexCacheGeom cache(&r);
        ASSERT_EQ(cache.Init(0, 0), VN_OK); // the format's own sizes
        EXPECT_EQ(cache.GetFirst()->GetImpl()->GetCapacity(), 5120u);
        EXPECT_EQ(cache.GetGrow(), 1024u);
        EXPECT_EQ(r.GetBuffers().size(), before + 1);
    }
    EXPECT_EQ(r.GetBuffers().size(), before);
}
