#include "Core/Render/VertexFormat.h"

#include <gtest/gtest.h>

using namespace render;

TEST(VertexFormat, RegisteredFormatsMatchTheirTable)
{
    struct Case
    {
        const VertexFormat& format;
        int32_t id;
        uint32_t stride, fvf, cacheSize, cacheGrow;
        size_t elements, texSets;
    };
    const Case cases[] = {
        {SVertex2D::Format(), 0, 32, 0x41C2, 40960, 10240, 4, 1},
        {SVertexGeom::Format(), 1, 16, 0x42, 5120, 1024, 2, 0},
        {SVertexRT::Format(), 2, 24, 0x4102, 0, 0, 2, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.format.mId, c.id);
        EXPECT_EQ(c.format.mStride, c.stride);
        EXPECT_EQ(c.format.mFVF, c.fvf);
        EXPECT_EQ(c.format.mCacheSize, c.cacheSize);
        EXPECT_EQ(c.format.mCacheGrow, c.cacheGrow);
        EXPECT_EQ(c.format.mElements.size(), c.elements);
        EXPECT_EQ(c.format.mTexCoordSets.size(), c.texSets);
        EXPECT_EQ(c.format.mPosition.mName, "pos");
        EXPECT_EQ(FindVertexFormat(c.id), &c.format);
    }
    EXPECT_EQ(SVertex2D::Format().mTexCoordSets[0].mOffset, 24u);
    EXPECT_EQ(FindVertexFormat(3), nullptr);
    EXPECT_EQ(FindVertexFormat(-1), nullptr);
}
