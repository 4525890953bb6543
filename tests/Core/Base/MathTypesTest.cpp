#include "Core/Base/MathTypes.h"
#include "Core/Base/AABB.h"
#include "Core/Base/ImageInfo.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <set>
#include <tuple>

namespace
{

TEST(Point3, EqualityHasATolerance)
{
    EXPECT_TRUE(math::Point3(0, 0, 0) == math::Point3(0.0002f, -0.0002f, 0));
    EXPECT_FALSE(math::Point3(0, 0, 0) != math::Point3(0.0002f, -0.0002f, 0));
    EXPECT_TRUE(math::Point3(0, 0, 0) != math::Point3(0.0003f, 0, 0));
    EXPECT_TRUE(math::Point3(1, 2, 3) != math::Point3(1, 2, 3.001f));
    math::Point3 p(1, 2, 3);
    p += math::Point3(1, 1, 1);
    EXPECT_TRUE(p - math::Point3(2, 3, 4) == math::Point3());
}

TEST(RectI, UnionHoldsBoth)
{
    struct Case
    {
        math::RectI a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, {0, 0, 15, 15}},
        {{5, 5, 2, 2}, {0, 0, 1, 1}, {0, 0, 7, 7}},
        {{-4, 2, 3, 3}, {0, -1, 2, 10}, {-4, -1, 6, 10}},
        {{0, 0, 10, 10}, {2, 2, 2, 2}, {0, 0, 10, 10}},
    };
    for (const Case& c : cases)
    {
        math::RectI r = c.a;
        r.Union(c.b);
        EXPECT_EQ(r, c.expected);
    }
}

TEST(AABB, EmptyBoxTakesTheFirstPointAndMergeKeepsBoxes)
{
    math::AABB box;
    EXPECT_TRUE(box.IsEmpty());
    EXPECT_EQ(box.mMin.x, FLT_MAX);
    EXPECT_EQ(box.mMax.z, -FLT_MAX);
    box.Extend(math::Point3(1, 2, 3));
    EXPECT_FALSE(box.IsEmpty());
    EXPECT_TRUE(box.mMin == math::Point3(1, 2, 3));
    EXPECT_TRUE(box.mMax == math::Point3(1, 2, 3));

    math::AABB other(math::Point3(-1, 0, 0), math::Point3(0, 5, 1));
    other.Merge(math::AABB());
    EXPECT_TRUE(other.mMin == math::Point3(-1, 0, 0));
    EXPECT_TRUE(other.mMax == math::Point3(0, 5, 1));
    other.Merge(box);
    EXPECT_TRUE(other.mMin == math::Point3(-1, 0, 0));
    EXPECT_TRUE(other.mMax == math::Point3(1, 5, 3));
}

TEST(AABB, CornersWalkTheLowThenTheHighFace)
{
    const math::AABB box(math::Point3(0, 0, 0), math::Point3(1, 2, 3));
    std::set<std::tuple<float, float, float>> corners;
    for (int i = 0; i < 8; ++i)
    {
        const math::Point3 p = box.GetCorner(i);
        EXPECT_EQ(p.y, i < 4 ? 0.0f : 2.0f) << i;
        corners.insert({p.x, p.y, p.z});
    }
    EXPECT_EQ(corners.size(), 8u);
    EXPECT_TRUE(box.GetCorner(2) == math::Point3(1, 0, 3));
    EXPECT_TRUE(box.GetCorner(7) == math::Point3(1, 2, 0));
    EXPECT_TRUE(box.GetCorner(8) == math::Point3(0, 0, 0));
    EXPECT_TRUE(box.GetCorner(-1) == math::Point3(0, 0, 0));
}

TEST(ImageInfo, DefaultsAndScaledRectangle)
{
    const base::ImageInfo blank;
    EXPECT_EQ(blank.mOpacity, 255);
    EXPECT_EQ(blank.mIndex, 0);
    EXPECT_TRUE(blank.mVisible);
    EXPECT_FALSE(blank.mRaw);
    EXPECT_FALSE(blank.mInAtlas);
    EXPECT_EQ(blank.mAtlasRect[2], 1.0f);
    EXPECT_EQ(blank.mScale, 1.0f);

    const base::ImageInfo info(L"button", 1, 2, 3, 4, 128, 5, false, true, 0.5f);
    EXPECT_EQ(info.mName, L"button");
    EXPECT_EQ(info.mRect[0], 0.5f);
    EXPECT_EQ(info.mRect[1], 1.0f);
    EXPECT_EQ(info.mRect[2], 1.5f);
    EXPECT_EQ(info.mRect[3], 2.0f);
    EXPECT_EQ(info.mOpacity, 128);
    EXPECT_EQ(info.mIndex, 5);
    EXPECT_FALSE(info.mVisible);
    EXPECT_TRUE(info.mRaw);
    EXPECT_EQ(info.mScale, 0.5f);
    EXPECT_FALSE(info.mInAtlas);
    EXPECT_EQ(info.mAtlasRect[0], 0.0f);
    EXPECT_EQ(info.mAtlasRect[3], 1.0f);

    base::ImageInfo copy;
    copy = info;
    EXPECT_EQ(copy.mName, L"button");
    EXPECT_EQ(copy.mRect[3], 2.0f);
}

} // namespace
