#include "Source/TD/Routes/TDBezier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
const TDCurve kStraight{0.0f, 0.0f, 50.0f, 0.0f, 100.0f, 0.0f};
// A bend whose chord is 200 long and whose curve is much longer.
const TDCurve kBend{0.0f, 0.0f, 100.0f, 150.0f, 200.0f, 0.0f};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TDLaneSamples sample(const TDCurve& c, float offset, int n = 20)
{
    TDLaneSamples out;
    sampleLane(c.sx, c.sy, c.cx, c.cy, c.ex, c.ey, offset, n, out);
    return out;
}

float distance(const TDLaneSample& a, const TDLaneSample& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

TDLaneSamples line(std::initializer_list<std::pair<float, float>> points)
{
    TDLaneSamples out;
    for (const auto& [x, y] : points)
    {
        TDLaneSample s;
        s.x = x;
        s.y = y;
        out.push_back(s);
    }
    return out;
}
} // namespace

TEST(TDBezier, CurveEndsAreExactAndNormalsKeepToOneSide)
{
    const math::Point2 start = bezierPoint(kBend, 0.0f);
    const math::Point2 end = bezierPoint(kBend, 1.0f);
    EXPECT_EQ(start.x, 0.0f);
    EXPECT_EQ(start.y, 0.0f);
    EXPECT_EQ(end.x, 200.0f);
    EXPECT_EQ(end.y, 0.0f);

    // Travelling +x on a y-down screen, the positive side is +y; near the end the direction is taken
    // backwards and the normal must still point the same way.
    for (float t : {0.0f, 0.5f, 0.985f, 0.995f, 1.0f, 1.5f})
    {
        const math::Point2 n = bezierNormal(kStraight, t);
        EXPECT_NEAR(n.x, 0.0f, 1e-6f) << t;
        EXPECT_NEAR(n.y, 1.0f, 1e-6f) << t;
    }
    // On the bend the tangent at the end runs along (200, -300); turned, the normal is (300, 200) / 360.6
    // (taken over the last fiftieth, so only nearly).
    const math::Point2 n = bezierNormal(kBend, 1.0f);
    EXPECT_NEAR(n.x, 0.832f, 0.01f);
    EXPECT_NEAR(n.y, 0.555f, 0.01f);
}

TEST(TDBezier, StraightLaneIsCutIntoTwentyEqualPieces)
{
    EXPECT_NEAR(laneLength(kStraight, 10.0f), 100.0f, 0.05f);
    const TDLaneSamples s = sample(kStraight, 10.0f);
    ASSERT_TRUE(s.size() == 21 || s.size() == 20) << s.size();
    for (std::size_t i = 0; i < s.size(); ++i)
    {
        // Every advance stops on the first step of 0.0001 that reaches its distance: a little drift.
        EXPECT_NEAR(s[i].x, 5.0f * static_cast<float>(i), 0.1f) << i;
        EXPECT_NEAR(s[i].y, 10.0f, 1e-4f) << i;
        EXPECT_NEAR(s[i].nx, 0.0f, 1e-6f);
        EXPECT_NEAR(s[i].ny, 1.0f, 1e-6f);
    }
    EXPECT_EQ(s[0].x, 0.0f);
}

TEST(TDBezier, CurvedLanesAreEquallySpacedOnBothSides)
{
    for (float offset : {-20.0f, 0.0f, 20.0f})
    {
        const float length = laneLength(kBend, offset);
        const TDLaneSamples s = sample(kBend, offset);
        ASSERT_GE(s.size(), 20u) << offset;
        ASSERT_LE(s.size(), 21u) << offset;
        for (std::size_t i = 1; i < s.size(); ++i)
            EXPECT_NEAR(distance(s[i - 1], s[i]), length / 20.0f, length * 0.002f) << offset << " " << i;
        // The lane lies offset away from the curve, on the normal's side.
        const math::Point2 p = bezierPoint(kBend, 0.0f);
        EXPECT_NEAR(s[0].x - p.x, s[0].nx * offset, 1e-3f);
        EXPECT_NEAR(s[0].y - p.y, s[0].ny * offset, 1e-3f);
    }
    // The bend turns about a centre on its negative side: the positive lane is the outer, longer one.
    EXPECT_GT(laneLength(kBend, 20.0f), laneLength(kBend, 0.0f) + 20.0f);
    EXPECT_LT(laneLength(kBend, -20.0f), laneLength(kBend, 0.0f) - 20.0f);
}

TEST(TDBezier, LanesThatCannotBeWalkedEndInsteadOfLooping)
{
    struct Case
    {
        const char* name;
        TDCurve curve;
        float offset;
        int n;
        std::size_t samples;
    };
    const Case cases[] = {
        {"three equal points", {40, 40, 40, 40, 40, 40}, 10.0f, 20, 2},
        {"no pieces", {0, 0, 50, 0, 100, 0}, 0.0f, 0, 2},
        {"negative pieces", {0, 0, 50, 0, 100, 0}, 0.0f, -3, 2},
        {"start not a number", {kNaN, 0, 50, 0, 100, 0}, 0.0f, 20, 0},
        {"anchor infinite", {0, 0, kInf, 0, 100, 0}, 0.0f, 20, 0},
        {"offset not a number", {0, 0, 50, 0, 100, 0}, kNaN, 20, 0},
        {"coordinates whose squares overflow", {0, 0, 1e30f, 0, 3e38f, 0}, 0.0f, 20, 0},
    };
    for (const Case& c : cases)
    {
        TDLaneSamples out(1); // samples already in the list stay
        sampleLane(c.curve.sx, c.curve.sy, c.curve.cx, c.curve.cy, c.curve.ex, c.curve.ey, c.offset, c.n,
                   out);
        EXPECT_EQ(out.size(), 1 + c.samples) << c.name;
    }
    // The ends of a link without length, with no sideways direction to offset along.
    const TDLaneSamples still = sample({40, 40, 40, 40, 40, 40}, 10.0f);
    for (const TDLaneSample& s : still)
    {
        EXPECT_EQ(s.x, 40.0f);
        EXPECT_EQ(s.y, 40.0f);
        EXPECT_EQ(s.nx, 0.0f);
        EXPECT_EQ(s.ny, 0.0f);
    }

    // Walks along a lane that stands still, or by a distance that is not a number, come back.
    EXPECT_EQ(laneAdvance(kStraight, 0.25f, kNaN, 0.0f), 0.25f);
    EXPECT_EQ(laneAdvance(kStraight, 0.25f, 0.0f, 0.0f), 0.25f);
    EXPECT_GT(laneAdvance({5, 5, 5, 5, 5, 5}, 0.0f, 10.0f, 0.0f), 1.0f);
    EXPECT_NEAR(laneAdvance(kStraight, 0.0f, 50.0f, 0.0f), 0.5f, 0.001f);
    // Past the end the lane continues as the same parabola.
    EXPECT_NEAR(laneAdvance(kStraight, 0.9f, 20.0f, 0.0f), 1.1f, 0.001f);
}

TEST(TDBezier, LinkLengthAndStepsAlongTheLink)
{
    // The 0.1 steps summed in single precision pass 1 at the tenth: nine chords, so a straight 100-unit link
    // measures 90 and a bend about nine tenths of its lane.
    EXPECT_NEAR(curveArcLength(kStraight), 90.0f, 1e-3f);
    const float bend = laneLength(kBend, 0.0f);
    EXPECT_LT(curveArcLength(kBend), bend * 0.95f);
    EXPECT_GT(curveArcLength(kBend), bend * 0.8f);
    EXPECT_NEAR(curveArcLength({7, 7, 7, 7, 7, 7}), 0.0f, 1e-4f);
    EXPECT_FALSE(curveHasLength({7, 7, 7, 7, 7, 7}));
    EXPECT_TRUE(curveHasLength({7, 7, 7, 7.05f, 7, 7}));

    EXPECT_NEAR(advanceOnCurve(kStraight, 0.0f, 25.0f, 0.0f), 0.25f, 0.0015f);
    EXPECT_NEAR(advanceOnCurve(kStraight, 0.5f, 25.0f, 10.0f), 0.75f, 0.0015f);
    EXPECT_EQ(advanceOnCurve(kStraight, 0.9f, 25.0f, 0.0f), 1.0f);
    EXPECT_EQ(advanceOnCurve(kStraight, 0.3f, 0.0f, 0.0f), 0.3f);
    EXPECT_EQ(advanceOnCurve(kStraight, 0.3f, kNaN, 0.0f), 1.0f);
    EXPECT_EQ(advanceOnCurve(kStraight, -1e30f, 1e9f, 0.0f), 1.0f);
    EXPECT_EQ(advanceOnCurve({3, 3, 3, 3, 3, 3}, 0.0f, 25.0f, 0.0f), 1.0f);
}

TEST(TDBezier, LanePointInterpolatesBetweenSamples)
{
    TDLaneSamples s;
    for (int i = 0; i <= 20; ++i)
        s.push_back(line({{10.0f * static_cast<float>(i), -static_cast<float>(i)}})[0]);
    struct Case
    {
        float t;
        float x;
        float y;
    };
    const Case cases[] = {
        {0.0f, 0.0f, 0.0f},  {1.0f, 200.0f, -20.0f},  {0.5f, 100.0f, -10.0f}, {0.525f, 105.0f, -10.5f},
        {-0.3f, 0.0f, 0.0f}, {1.05f, 200.0f, -20.0f}, {kNaN, 0.0f, 0.0f},     {1e30f, 200.0f, -20.0f},
    };
    for (const Case& c : cases)
    {
        const math::Point2 p = getLanePosition(s, c.t);
        EXPECT_NEAR(p.x, c.x, 1e-3f) << c.t;
        EXPECT_NEAR(p.y, c.y, 1e-3f) << c.t;
    }
    const math::Point2 single = getLanePosition(line({{4.0f, 5.0f}}), 0.7f);
    EXPECT_EQ(single.x, 4.0f);
    EXPECT_EQ(single.y, 5.0f);
    const math::Point2 none = getLanePosition(TDLaneSamples(), 0.5f);
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
}

TEST(TDBezier, AdvanceOnLaneUsesTheFirstPieceAndNeverDividesByZero)
{
    // 21 samples 5 apart: walking 5 units moves one twentieth.
    TDLaneSamples s;
    for (int i = 0; i <= 20; ++i)
        s.push_back(line({{5.0f * static_cast<float>(i), 0.0f}})[0]);
    EXPECT_NEAR(advanceOnLane(s, 0.25f, 5.0f), 0.3f, 1e-6f);
    EXPECT_NEAR(advanceOnLane(s, 0.25f, -5.0f), 0.2f, 1e-6f);
    EXPECT_EQ(advanceOnLane(s, 0.25f, 0.0f), 0.25f);

    // Lanes that cannot be walked send the walker on to its next link.
    EXPECT_EQ(advanceOnLane(TDLaneSamples(), 0.2f, 5.0f), 1.0f);
    EXPECT_EQ(advanceOnLane(line({{3.0f, 3.0f}}), 0.2f, 5.0f), 1.0f);
    EXPECT_EQ(advanceOnLane(line({{3.0f, 3.0f}, {3.0f, 3.0f}, {9.0f, 3.0f}}), 0.2f, 5.0f), 1.0f);
    EXPECT_EQ(advanceOnLane(line({{3.0f, 3.0f}, {kInf, 3.0f}}), 0.2f, 5.0f), 1.0f);
}
