#include "Core/Base/MathUtil.h"
#include "Source/TD/Data/TDUtil.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(EffectHelpers, AngleAndClampTables)
{
    const float wraps[][2] = {{90, 0}, {0, 270}, {359, 269}, {-30, 240}, {180, 90}};
    for (const auto& w : wraps)
        EXPECT_EQ(wrapAngleMinus90(w[0]), w[1]) << w[0];
    EXPECT_EQ(clampNonNegative(-0.5f), 0.0f);
    EXPECT_EQ(clampNonNegative(2.5f), 2.5f);
    EXPECT_EQ(minOf(3.0f, 2.0f), 2.0f);
    EXPECT_EQ(minOf(2.0f, 3.0f), 2.0f);
}

TEST(EffectHelpers, RandomPointInRing)
{
    math::SetRandomCounter(77);
    for (int i = 0; i < 50; ++i)
    {
        const math::Point2 p = randomPointInRing(100, 200, 50, 25);
        const float d = std::hypot(p.x - 100.0f, p.y - 200.0f);
        EXPECT_GE(d, 25.0f - 1e-3f);
        EXPECT_LE(d, 50.0f + 1e-3f);
        const math::Point2 q = randomPointInRing(100, 200, 40, 40);
        EXPECT_NEAR(std::hypot(q.x - 100.0f, q.y - 200.0f), 40.0f, 1e-3f);
    }
    // Two draws per point: the angle first, then the radius.
    math::SetRandomCounter(10);
    const math::Point2 p = randomPointInRing(0, 0, 30, 10);
    const float angle = math::Random(11) * 360.0f * 3.1415927f / 180.0f;
    const float radius = math::Random(12) * 20.0f + 10.0f;
    EXPECT_FLOAT_EQ(p.x, std::cos(angle) * radius);
    EXPECT_FLOAT_EQ(p.y, std::sin(angle) * radius);
    EXPECT_EQ(math::GetRandomCounter(), 12u);
}
