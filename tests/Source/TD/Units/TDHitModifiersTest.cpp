// The portal tower's hold and teleport, frame by frame on the road of 1-1: the unit is held for 3 s (a
// walker stands, a straight flier flies on), sent back to the start of its route on the next update with
// its sound and burst, its tower let go, and the modifier ends half a second later; a tower sold meanwhile
// is not touched.
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Effects/TDBeamParticle.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Units/TDHitModifiers.h"
#include "Source/TD/Units/UnitFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
using tdtest::UnitFixture;

// The playing effects of the map's list that stand near the point.
int effectsAt(const TDMap& map, float x, float y)
{
    int count = 0;
    for (const TDEmitter* effect : map.mEmitters)
        if (effect->isPlaying())
        {
            const math::Point2 at = effect->mEmitter->GetPosition();
            count += std::fabs(at.x - x) < 3.0f && std::fabs(at.y - y) < 3.0f ? 1 : 0;
        }
    return count;
}

using HoldAndTeleportTimeline = UnitFixture;

TEST_F(HoldAndTeleportTimeline, HeldThreeSecondsThenSentBackToTheRouteStartAndEndedHalfASecondLater)
{
    const struct
    {
        const char* name;
        int unitId;
        bool straight;
        bool sellDuringHold;
    } cases[] = {
        {"an orc walking the road", 4, false, false},
        {"a harpy flying straight to the goal", 23, true, false},
        {"an orc whose tower is sold during the hold", 4, false, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        mMap->mWaves->clearUnits();
        for (TDTower* tower : std::vector<TDTower*>(mMap->mTowers))
            mMap->sellTower(tower);
        mHarness.sounds().clear();

        TDUnit* unit = spawn(c.unitId, 1);
        ASSERT_EQ(proto(c.unitId)->straight, c.straight);
        mHarness.step(2 * kFramesPerSecond); // off the start of its route
        const TDPoint* start = mMap->findPoint(unit->mRoute.front());
        ASSERT_GT(pointDistance(unit->mX, unit->mY, start->x, start->y), 60.0f);
        TDTower* tower = buildNear(40000, unit->mX, unit->mY);
        ASSERT_TRUE(tower->upgrade(3, 0.0f));
        ASSERT_TRUE(tower->getProto()->teleportEnemy) << "the portal branch";
        ASSERT_LT(pointDistance(tower->mX, tower->mY, unit->mX, unit->mY), tower->getRange());
        // The shot at the end of its firing animation: the beam holds the unit and the hit leaves the hold.
        tower->mTarget = unit;
        tower->shoot();
        tower->mState = kTowerHolding;
        ASSERT_EQ(countOf<HoldAndTeleport>(unit->mModifiers), 1);
        const auto* hold = static_cast<const HoldAndTeleport*>(unit->mModifiers.back());
        EXPECT_EQ(hold->mOwner, tower);
        EXPECT_EQ(unit->mState, kUnitCaught);
        const float heldX = unit->mX;
        const float heldY = unit->mY;
        const float linkLength = unit->mLinkLength;

        const auto teleported = [this]
        {
            const auto& tags = mHarness.sounds().tags;
            return std::count(tags.begin(), tags.end(), L"teleportEnemy");
        };
        int frame = 0;
        for (; frame < 4 * kFramesPerSecond && teleported() == 0; ++frame)
        {
            if (c.sellDuringHold && frame == kFramesPerSecond)
            {
                ASSERT_EQ(tower->mBeam.get(), nullptr) << "the beam let go after 0.2 s; the hold stays";
                mMap->sellTower(tower);
                tower = nullptr;
                EXPECT_EQ(hold->mOwner, nullptr) << "the hold forgets the sold tower";
                EXPECT_EQ(unit->mState, kUnitCaught);
            }
            if (frame == 170)
            {
                EXPECT_EQ(unit->mState, kUnitCaught);
                EXPECT_EQ(hold->mKind, 0) << "holding";
                if (c.straight)
                    EXPECT_GT(pointDistance(unit->mX, unit->mY, heldX, heldY), 150.0f)
                        << "a straight flier flies on: no hold slows it";
                else
                    EXPECT_TRUE(unit->mX == heldX && unit->mY == heldY) << "a walker stands";
            }
            mHarness.step();
        }
        // The hold ends on the first update past 3 s (the 180th or the 181st, by the float sum of the steps);
        // the teleport is the update after it.
        EXPECT_GE(frame, 181);
        EXPECT_LE(frame, 182);
        ASSERT_EQ(teleported(), 1);
        EXPECT_EQ(unit->mLinkIndex, 0);
        EXPECT_LT(pointDistance(unit->mX, unit->mY, start->x, start->y), 2.0f)
            << "at the start of its route, one step on";
        EXPECT_EQ(effectsAt(*mMap, start->x, start->y), 2) << "the start's portal and the teleport's burst";
        if (c.straight)
        {
            // It never walked a link, so no link is measured for it, and it is not put back on the lanes.
            EXPECT_EQ(unit->mLinkLength, linkLength);
            EXPECT_EQ(unit->mState, kUnitCaught);
        }
        else
        {
            EXPECT_FLOAT_EQ(unit->mLinkLength,
                            mMap->getLinkLength(mMap->findLink(start, mMap->findPoint(unit->mRoute.at(1)))));
            EXPECT_EQ(unit->mState, kUnitWalking);
            EXPECT_LT(unit->mLaneT, 0.05f);
        }
        if (tower)
        {
            EXPECT_EQ(tower->mTarget.get(), nullptr) << "the tower lets go";
            EXPECT_EQ(tower->mState, kTowerIdle);
        }
        ASSERT_EQ(countOf<HoldAndTeleport>(unit->mModifiers), 1);
        EXPECT_EQ(hold->mKind, 2);
        EXPECT_EQ(hold->mElapsed, 0.0f);
        EXPECT_EQ(hold->mDuration, 0.5f);
        mHarness.step(28);
        EXPECT_EQ(countOf<HoldAndTeleport>(unit->mModifiers), 1);
        mHarness.step(4);
        EXPECT_EQ(countOf<HoldAndTeleport>(unit->mModifiers), 0) << "ended half a second after the teleport";
        EXPECT_GT(pointDistance(unit->mX, unit->mY, start->x, start->y), 15.0f) << "and on its way again";
    }
}
} // namespace
