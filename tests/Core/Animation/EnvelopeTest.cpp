#include "Core/Animation/Lightwave/Envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using lightwave::Envelope;
using lightwave::Key;

namespace
{

Key MakeKey(float time, float value, uint32_t shape = lightwave::ShapeLinear, float p0 = 0, float p1 = 0,
            float p2 = 0, float p3 = 0)
{
    Key k;
    k.time = time;
    k.value = value;
    k.shape = shape;
    k.p0 = p0;
    k.p1 = p1;
    k.p2 = p2;
    k.p3 = p3;
    return k;
}

Envelope Make(std::vector<Key> keys, uint32_t pre = lightwave::BehaviourConstant,
              uint32_t post = lightwave::BehaviourConstant)
{
    Envelope e;
    e.keys = std::move(keys);
    e.pre = pre;
    e.post = post;
    return e;
}

struct Case
{
    const char* what;
    Envelope envelope;
    float t;
    float expected;
};

void RunCases(const std::vector<Case>& cases, float tolerance = 1e-4f)
{
    for (const Case& c : cases)
        EXPECT_NEAR(c.envelope.Evaluate(c.t), c.expected, tolerance) << c.what << " at t=" << c.t;
}

// Linear keys (1 s, 10) and (3 s, 20).
Envelope Ramp(uint32_t pre, uint32_t post)
{
    return Make({MakeKey(1, 10), MakeKey(3, 20)}, pre, post);
}

} // namespace

TEST(Envelope, EmptyAndSingleKey)
{
    EXPECT_EQ(Make({}).Evaluate(3.0f), 0.0f);
    const Envelope one = Make({MakeKey(2, 7)}, lightwave::BehaviourReset, lightwave::BehaviourLinear);
    for (float t : {-100.0f, 0.0f, 2.0f, 2.5f, 1e6f})
        EXPECT_EQ(one.Evaluate(t), 7.0f) << t;
}

TEST(Envelope, BehavioursBeforeAndAfterTheKeys)
{
    using namespace lightwave;
    RunCases({
        {"pre reset", Ramp(BehaviourReset, BehaviourConstant), 0.5f, 0.0f},
        {"pre constant", Ramp(BehaviourConstant, BehaviourConstant), 0.5f, 10.0f},
        {"pre repeat", Ramp(BehaviourRepeat, BehaviourConstant), 0.0f, 15.0f},             // like t = 2
        {"pre repeat", Ramp(BehaviourRepeat, BehaviourConstant), -0.5f, 12.5f},            // like t = 1.5
        {"pre offset repeat", Ramp(BehaviourOffsetRepeat, BehaviourConstant), 0.0f, 5.0f}, // 15 - 10
        {"pre offset repeat, two ranges", Ramp(BehaviourOffsetRepeat, BehaviourConstant), -2.0f, -5.0f},
        // Before the first key the curve runs backwards: 0.5 mirrors to 1.5.
        {"pre oscillate, one range back (mirrored)", Ramp(BehaviourOscillate, BehaviourConstant), 0.5f,
         12.5f},
        {"pre oscillate, one range back (mirrored)", Ramp(BehaviourOscillate, BehaviourConstant), -0.5f,
         17.5f},
        {"pre oscillate, two ranges back", Ramp(BehaviourOscillate, BehaviourConstant), -2.5f, 12.5f},
        {"pre linear", Ramp(BehaviourLinear, BehaviourConstant), 0.0f, 5.0f},
        {"pre unknown keeps t", Ramp(77, BehaviourConstant), 0.0f, 5.0f},
        {"post reset", Ramp(BehaviourConstant, BehaviourReset), 4.0f, 0.0f},
        {"post constant", Ramp(BehaviourConstant, BehaviourConstant), 4.0f, 20.0f},
        {"post repeat", Ramp(BehaviourConstant, BehaviourRepeat), 4.0f, 15.0f},
        {"post offset repeat", Ramp(BehaviourConstant, BehaviourOffsetRepeat), 4.0f, 25.0f},
        {"post offset repeat, two ranges", Ramp(BehaviourConstant, BehaviourOffsetRepeat), 6.5f, 37.5f},
        // Beyond the last key the curve runs backwards: 3.5 mirrors to 2.5, 4.5 to 1.5.
        {"post oscillate", Ramp(BehaviourConstant, BehaviourOscillate), 3.5f, 17.5f},
        {"post oscillate", Ramp(BehaviourConstant, BehaviourOscillate), 4.5f, 12.5f},
        {"post oscillate, forwards again", Ramp(BehaviourConstant, BehaviourOscillate), 5.5f, 12.5f},
        {"post linear", Ramp(BehaviourConstant, BehaviourLinear), 5.0f, 30.0f},
        {"post unknown keeps t", Ramp(BehaviourConstant, 99), 4.0f, 25.0f},
    });
}

TEST(Envelope, OscillationIsContinuousAtTheTurns)
{
    const Envelope e = Ramp(lightwave::BehaviourOscillate, lightwave::BehaviourOscillate);
    // At every turn the curve meets itself: values just before and after a range boundary agree.
    for (float turn : {-3.0f, -1.0f, 1.0f, 3.0f, 5.0f, 7.0f})
        EXPECT_NEAR(e.Evaluate(turn - 0.001f), e.Evaluate(turn + 0.001f), 0.02f) << turn;
    for (float t = -6.0f; t <= 9.0f; t += 0.25f)
    {
        const float v = e.Evaluate(t);
        EXPECT_GE(v, 10.0f - 1e-3f) << t;
        EXPECT_LE(v, 20.0f + 1e-3f) << t;
    }
}

TEST(Envelope, ShapesAtAndBetweenKeys)
{
    using namespace lightwave;
    const Envelope linear = Make({MakeKey(0, 0), MakeKey(2, 10)});
    const Envelope stepped = Make({MakeKey(0, 0), MakeKey(2, 10, ShapeStepped)});
    // TCB with all parameters 0 and no neighbours: the tangents are the value difference, so the blend is a
    // straight line.
    const Envelope tcb = Make({MakeKey(0, 0, ShapeTCB), MakeKey(2, 10, ShapeTCB)});
    // Hermite with flat tangents: a smooth step, 3u^2 - 2u^3.
    const Envelope hermiteFlat = Make({MakeKey(0, 0, ShapeHermite), MakeKey(1, 1, ShapeHermite)});
    // Hermite with outgoing tangent 1 at k0 and incoming 0 at k1: h3 = u^3 - 2u^2 + u adds 0.125 at u = 0.5.
    const Envelope hermiteOut = Make({MakeKey(0, 0, ShapeHermite, 0, 1), MakeKey(1, 1, ShapeHermite)});
    const Envelope bezier = Make({MakeKey(0, 0, ShapeBezier, 0, 1), MakeKey(1, 1, ShapeBezier, 1, 0)});
    // 2D Bezier with control points on the straight line: a straight ramp.
    const Envelope bezier2d = Make({MakeKey(0, 0, ShapeBezier2D, 0, 0, 1.0f / 3, 10.0f / 3),
                                    MakeKey(1, 10, ShapeBezier2D, -1.0f / 3, -10.0f / 3)});
    // TCB with tension 1 everywhere: zero tangents, a smooth step again.
    const Envelope tense = Make({MakeKey(0, 0, ShapeTCB, 1), MakeKey(1, 1, ShapeTCB, 1)});
    const Envelope unknown = Make({MakeKey(0, 0), MakeKey(1, 1, 42)});
    RunCases(
        {
            {"linear at key 0", linear, 0.0f, 0.0f},
            {"linear between", linear, 0.5f, 2.5f},
            {"linear at key 1", linear, 2.0f, 10.0f},
            {"stepped between", stepped, 1.999f, 0.0f},
            {"stepped at key 1", stepped, 2.0f, 10.0f},
            {"tcb between", tcb, 0.5f, 2.5f},
            {"tcb middle", tcb, 1.0f, 5.0f},
            {"hermite flat quarter", hermiteFlat, 0.25f, 0.15625f},
            {"hermite flat half", hermiteFlat, 0.5f, 0.5f},
            {"hermite out tangent", hermiteOut, 0.5f, 0.625f},
            {"bezier tangents", bezier, 0.5f, 0.5f},
            {"bezier tangents quarter", bezier, 0.25f, 0.25f},
            {"tcb tension 1", tense, 0.25f, 0.15625f},
            {"2d bezier straight", bezier2d, 0.5f, 5.0f},
            {"2d bezier straight quarter", bezier2d, 0.25f, 2.5f},
            {"2d bezier at key", bezier2d, 1.0f, 10.0f},
            {"unknown shape answers the offset", unknown, 0.5f, 0.0f},
        },
        2e-3f);
}

TEST(Envelope, NeighbourKeysShapeTheTangents)
{
    using namespace lightwave;
    // Linear keys 0, 10, 20 at times 0, 1, 2 with Hermite blending in the middle span: tangents built from
    // the neighbours keep the ramp straight.
    const Envelope e = Make({MakeKey(0, 0, ShapeTCB), MakeKey(1, 10, ShapeTCB), MakeKey(2, 20, ShapeTCB),
                             MakeKey(3, 30, ShapeTCB)});
    EXPECT_NEAR(e.Evaluate(1.5f), 15.0f, 1e-4f);
    EXPECT_NEAR(e.Evaluate(1.25f), 12.5f, 1e-4f);
}

TEST(Envelope, TimeJustAfterAnInnerKeyStaysInTheEarlierInterval)
{
    // Keys 0 -> 0, 1 -> 10 (linear), 2 -> 10 (stepped). Just after 1 s, the interval ending at 1 s
    // extrapolates its line a little past 10; the stepped interval after it would answer exactly 10.
    const Envelope e = Make({MakeKey(0, 0), MakeKey(1, 10), MakeKey(2, 10, lightwave::ShapeStepped)});
    EXPECT_NEAR(e.Evaluate(1.0001f), 10.001f, 1e-4f);
    EXPECT_EQ(e.Evaluate(1.001f), 10.0f);
}

TEST(Envelope, KeysAtEqualTimesDoNotDivideByZero)
{
    using namespace lightwave;
    // Two keys at 1 s make a jump from 0 to 10; three at 1 s too (the neighbour tangents' spans are zero).
    const Envelope jump = Make({MakeKey(0, 0), MakeKey(1, 0), MakeKey(1, 10), MakeKey(2, 10)});
    const Envelope triple =
        Make({MakeKey(1, 0, ShapeTCB), MakeKey(1, 5, ShapeTCB), MakeKey(1, 10, ShapeTCB)});
    const Envelope allSame = Make({MakeKey(1, 3), MakeKey(1, 7)}, BehaviourLinear, BehaviourLinear);
    const Envelope repeatSame = Make({MakeKey(1, 3), MakeKey(1, 7)}, BehaviourRepeat, BehaviourOscillate);
    for (const Envelope* e : {&jump, &triple, &allSame, &repeatSame})
    {
        for (float t : {-1.0f, 0.5f, 0.9999f, 1.0f, 1.0001f, 1.5f, 3.0f})
            EXPECT_TRUE(std::isfinite(e->Evaluate(t))) << t;
    }
    EXPECT_EQ(jump.Evaluate(1.0001f), 0.0f); // still the interval that ends at 1 s
    EXPECT_EQ(jump.Evaluate(1.5f), 10.0f);
    // Past the last key with an unknown behaviour, the last pair (both at 1 s) is used as it is.
    const Envelope lastPairSame = Make({MakeKey(0, 0), MakeKey(1, 0), MakeKey(1, 10)}, BehaviourConstant, 99);
    EXPECT_EQ(lastPairSame.Evaluate(2.0f), 10.0f);
    EXPECT_EQ(allSame.Evaluate(0.0f), 3.0f);
    EXPECT_EQ(allSame.Evaluate(2.0f), 7.0f);
}

TEST(Envelope, BezierSearchEndsOutsideItsTimeSpan)
{
    using namespace lightwave;
    // The outgoing time handle reaches back before the first key, so no curve parameter meets a t just after
    // the key at 1 s (inside the interval tolerance) or one reached by oscillating; the search must still
    // end.
    const Envelope e =
        Make({MakeKey(0, 0, ShapeBezier2D, 0, 0, 5.0f, 1.0f), MakeKey(1, 10, ShapeBezier2D, 3.0f, 1.0f)},
             BehaviourOscillate, BehaviourOscillate);
    for (float t : {0.00005f, 0.5f, 1.00015f, 1.5f, -0.7f, 1e7f})
        EXPECT_TRUE(std::isfinite(e.Evaluate(t))) << t;
}

TEST(Envelope, FarTimesStayFinite)
{
    using namespace lightwave;
    for (uint32_t b : {BehaviourRepeat, BehaviourOscillate, BehaviourOffsetRepeat})
    {
        const Envelope e = Ramp(b, b);
        for (float t : {1e9f, -1e9f, 3e38f, -3e38f})
        {
            // An offset repeat may overflow honestly at the far end of the float range.
            if (b == BehaviourOffsetRepeat && std::fabs(t) > 1e30f)
                continue;
            EXPECT_FALSE(std::isinf(e.Evaluate(t))) << b << " " << t;
        }
    }
}
