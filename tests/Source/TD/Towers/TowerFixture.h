#pragma once

// The game on level 1-1 with helpers to place towers and units by hand.
#include "Source/TD/Harness/TDGameHarness.h"
#include "Core/Base/Containers.h"
#include "Source/TD/Data/TDAttributes.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <string>

namespace tdtest
{
// These sessions play by script: the tutorial, which pauses the game at its steps, is skipped.
inline void skipTutorial(TDMap& map)
{
    TDTutorial::Instance()->skip();
    map.mSpeed = 1.0f;
    map.updateSpeedButtons();
}

class TowerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
        ASSERT_EQ(mMap->mState, kStatePlaying);
        skipTutorial(*mMap);
        // No wave runs by itself in these tests: units are placed by hand.
        mMap->mWaves->mActive.clear();
        mMap->mWaves->clearUnits();
    }

    TDUnitProto* proto(int id) const { return mMap->mProtoTable->find(id); }

    // The n-th spot frame that is owned and free.
    TDFrameEntry* freeSpot(int n = 0) const
    {
        for (TDFrameEntry* frame : mMap->mLevelArt->mSpotFrames)
            if (frame->mVisible && frame->mLink && frame->mLink->mOwned && n-- == 0)
                return frame;
        return nullptr;
    }

    void setMoney(int money)
    {
        mMap->mEconomy->mMoney = money;
        mMap->mEconomy->mShownMoney = money;
    }

    // A tower of the prototype on the n-th free spot, paid for by the test.
    TDTower* build(int protoId, int spot = 0)
    {
        TDFrameEntry* frame = freeSpot(spot);
        EXPECT_NE(frame, nullptr);
        const int money = mMap->mEconomy->mMoney;
        setMoney(100000);
        TDTower* tower = mMap->buildTower(proto(protoId), frame);
        setMoney(money);
        EXPECT_NE(tower, nullptr);
        return tower;
    }

    // Sets a spot attribute as a level file would.
    static void setAttribute(TDFrameEntry* spot, const char* name, float value)
    {
        tinyxml2::XMLDocument doc;
        tinyxml2::XMLElement* entry = doc.NewElement("a");
        entry->SetAttribute("name", name);
        entry->SetAttribute("value", value);
        spot->mLink->mAttributes->loadEntry(entry);
    }

    // A walking unit of the prototype at the point, in the live list.
    TDUnit* addUnit(int protoId, float x, float y)
    {
        auto* unit = new TDUnit(nullptr, proto(protoId), x, y);
        mMap->mWaves->addUnit(unit);
        return unit;
    }

    bool played(const std::wstring& tag)
    {
        const auto& tags = mHarness.sounds().tags;
        return std::find(tags.begin(), tags.end(), tag) != tags.end();
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
};
} // namespace tdtest
