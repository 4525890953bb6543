#include "Core/Render/BufferDoubleCache.h"

#include "Core/Render/RecordingRender.h"

#include <gtest/gtest.h>

using namespace render;

namespace
{

class Cache : public ::testing::Test
{
protected:
    RecordingRender r;
};

} // namespace

TEST_F(Cache, AllocationsContinueInTheFirstBufferThenSpillToAPair)
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
    ASSERT_EQ(cache.Allocate(1, &v, &range), VN_OK); // one more: a further pair of the grow size
    ASSERT_EQ(cache.GetExtra().size(), 1u);
    EXPECT_EQ(range.mBuffer, cache.GetExtra()[0]);
    EXPECT_EQ(range.mFirst, 0u);
    EXPECT_EQ(cache.GetExtra()[0]->GetImpl()->GetCapacity(), 8u);
    EXPECT_EQ(cache.EndFrame(), VN_OK);
    EXPECT_FALSE(cache.GetFirst()->GetImpl()->IsLocked());
    EXPECT_EQ(cache.EndFrame(), VN_FAIL); // not begun
}

TEST_F(Cache, RequestsLargerThanTheGrowSizeGetABufferOfTheirOwn)
{
    // 16-bit indices grow by 1024: a text or particle run of 200 quads (1200 indices) used to be dropped.
    IndexCache16 cache(&r);
    ASSERT_EQ(cache.Init(10240, 1024), VN_OK);
    ASSERT_EQ(cache.BeginFrame(), VN_OK);
    unsigned short* p = nullptr;
    IndexCache16::Range range;
    ASSERT_EQ(cache.Allocate(10000, &p, &range), VN_OK);
    ASSERT_EQ(cache.Allocate(1200, &p, &range), VN_OK);
    ASSERT_EQ(cache.GetExtra().size(), 1u);
    EXPECT_EQ(cache.GetExtra()[0]->GetImpl()->GetCapacity(), 1200u);
    p[1199] = 7;                                       // the whole range is writable
    ASSERT_EQ(cache.Allocate(500, &p, &range), VN_OK); // grows again by the normal step
    EXPECT_EQ(cache.GetExtra().size(), 2u);
    // Bounded: no single buffer beyond 65536 elements.
    EXPECT_EQ(cache.Allocate(kMaxCacheBufferElements + 1, &p, &range), VN_FAIL);
    EXPECT_EQ(cache.GetExtra().size(), 2u);
    EXPECT_EQ(cache.ReleaseExtraPairs(), VN_FAIL); // begun
    ASSERT_EQ(cache.EndFrame(), VN_OK);
    EXPECT_EQ(cache.ReleaseExtraPairs(), VN_OK);
    EXPECT_TRUE(cache.GetExtra().empty());
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
