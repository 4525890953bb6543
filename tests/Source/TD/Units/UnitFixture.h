#pragma once

// A level with the road of the demo's 1-1 whose only wave waits for an hour, so every unit on it is one the
// test made: made as a wave makes it (TDMap::spawnUnit: its abilities, its route to the goal) at any point
// of the road, with towers on the level's spots.

#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Units/TDWaves.h"
#include "Source/TD/Units/UnitLevels.h"

#include <gtest/gtest.h>

#include <vector>

namespace tdtest
{
class UnitFixture : public ::testing::Test
{
protected:
    static constexpr int kFramesPerSecond = 60;

    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
        playLevel(mHarness, kModeNormal, 0,
                  "<waves><wave timeout=\"3600\" spawn=\"1\"><e id=\"1\" x=\"0\"/></wave></waves>");
        ASSERT_EQ(mMap->mState, kStatePlaying);
        mMap->mLives = 1000.0f;
        mMap->mMaxLives = 1000.0f;
        mHarness.step(); // the wave starts and waits
        mWave = mMap->mWaves->getWaves().at(0);
        mRoad = mMap->findRoute(mMap->getFirstSpawnPoint(), mMap->getGoalPoint());
        ASSERT_EQ(mRoad.size(), 5u) << "1-1's road: the spawn point, three bends and the goal";
    }

    // The road's n-th point (0: the spawn point, 4: the goal).
    TDPoint* roadPoint(int n) const { return mMap->findPoint(mRoad.at(static_cast<std::size_t>(n))); }

    TDUnitProto* proto(int id) const { return mMap->mProtoTable->find(id); }

    // A unit of the id at the road's n-th point, made as a wave makes it, on the middle lane.
    TDUnit* spawn(int id, int at = 0)
    {
        auto* entry = new TDWaveEntry(mWave);
        entry->mUnitId = id;
        entry->mUpgrade = 1;
        entry->mX = -1.0f;
        entry->mY = -65.0f;
        entry->mSpawned = 1;
        mWave->mEntries.push_back(entry);
        return mMap->spawnUnit(entry, roadPoint(at));
    }

    static float distance(const TDUnit& a, const TDUnit& b) { return pointDistance(a.mX, a.mY, b.mX, b.mY); }

    template <class T>
    static int countOf(const std::vector<TDModifier*>& list)
    {
        int n = 0;
        for (const TDModifier* modifier : list)
            n += dynamic_cast<const T*>(modifier) ? 1 : 0;
        return n;
    }

    // The map's effect sprites of the sheet, in list order.
    std::vector<const TDAnimatedSprite*> spritesOf(const std::wstring& sheet) const
    {
        std::vector<const TDAnimatedSprite*> out;
        for (const TDSprite* sprite : mMap->mSprites)
            if (const auto* animated = dynamic_cast<const TDAnimatedSprite*>(sprite);
                animated && animated->mAnimation.mSheetPath == sheet)
                out.push_back(animated);
        return out;
    }

    // A tower of the prototype on the free spot nearest to the point, paid for by the test.
    TDTower* buildNear(int protoId, float x, float y)
    {
        TDFrameEntry* best = nullptr;
        float bestDistance = 1e9f;
        for (TDFrameEntry* frame : mMap->mLevelArt->mSpotFrames)
        {
            const float d = pointDistance(frame->mRect.x + frame->mRect.width * 0.5f,
                                          frame->mRect.y + frame->mRect.height * 0.5f, x, y);
            if (frame->mVisible && frame->mLink && d < bestDistance)
            {
                best = frame;
                bestDistance = d;
            }
        }
        EXPECT_NE(best, nullptr);
        const int money = mMap->mEconomy->mMoney;
        mMap->mEconomy->mMoney = 100000;
        TDTower* tower = best ? mMap->buildTower(proto(protoId), best) : nullptr;
        mMap->mEconomy->mMoney = money;
        EXPECT_NE(tower, nullptr);
        return tower;
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
    TDWaveProto* mWave = nullptr;
    std::vector<int> mRoad;
};
} // namespace tdtest
