// Straight fliers on the road of 1-1: a unit with "straight" leaves the road's links and lanes and flies the
// line from its spawn point to the goal at its own speed, whatever holds, stuns or hastes it, and escapes as
// soon as it is within 50 of the goal.
#include "Core/Base/Containers.h"
#include "Source/TD/Units/TDHitModifiers.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/UnitFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace
{
using tdtest::UnitFixture;

using StraightFlight = UnitFixture;

TEST_F(StraightFlight, AFlierFliesTheLineToTheGoalAtItsOwnSpeedWhateverActsOnIt)
{
    const TDPoint* from = roadPoint(0);
    const TDPoint* goal = mMap->getGoalPoint();
    const float lineX = goal->x - from->x;
    const float lineY = goal->y - from->y;
    const float length = std::hypot(lineX, lineY);
    const TDUnitProto* harpy = proto(23);
    ASSERT_TRUE(harpy->straight);
    ASSERT_FLOAT_EQ(harpy->speed, 60.0f); // one unit a frame
    // Each update first asks whether it is within 50 of the goal, then flies one unit on.
    const int expectedFrames = static_cast<int>(std::floor(length - 50.0f)) + 2;

    const struct
    {
        const char* name;
        std::function<void(TDMap&, TDUnit&)> act;
    } cases[] = {
        {"nothing acts on it", [](TDMap&, TDUnit&) {}},
        {"a hold spell over its spawn point", [](TDMap& map, TDUnit& u)
         { map.mModifiers.push_back(new MapImpassableArea(60.0f, u.mX, u.mY, 400.0f)); }},
        {"a tower's hold and stun",
         [](TDMap&, TDUnit& u)
         {
             TDUnitProto shooter;
             shooter.hold = true;
             u.damage(TDShot{nullptr, &shooter, 0.0f, u.mX, u.mY}, true);
             u.mModifiers.push_back(new StunModifier("speed", 0.5f, 30.0f, nullptr));
         }},
        {"a drummer's haste",
         [this](TDMap&, TDUnit&)
         {
             proto(9)->cooldown = 0.11f;
             spawn(9);
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        mMap->mWaves->clearUnits();
        base::DeleteAll(mMap->mModifiers);
        TDUnit* flier = spawn(23);
        EXPECT_EQ(flier->mRoute, (std::vector<int>{from->id, goal->id}))
            << "the spawn point and the goal only";
        EXPECT_TRUE(flier->mX == from->x && flier->mY == from->y);
        c.act(*mMap, *flier);
        TDWaveEntry* entry = flier->mEntry;
        const float lives = mMap->mLives;
        const TDWatch<TDUnit> watch(flier);
        int frames = 0;
        while (watch.get() && frames < 30 * kFramesPerSecond)
        {
            mHarness.step();
            ++frames;
            if (!watch.get())
                break;
            const float off =
                std::fabs((flier->mX - from->x) * lineY - (flier->mY - from->y) * lineX) / length;
            ASSERT_LT(off, 0.5f) << "frame " << frames << ": off the line";
            EXPECT_FALSE(flier->mFacingLeft);
            EXPECT_TRUE(flier->mTargetX == flier->mX && flier->mTargetY == flier->mY);
        }
        EXPECT_NEAR(frames, expectedFrames, 1);
        EXPECT_FLOAT_EQ(mMap->mLives, lives - proto(23)->strength);
        EXPECT_EQ(entry->mState, kEntryEscaped);
    }
}
} // namespace
