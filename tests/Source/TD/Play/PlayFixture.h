#pragma once

// Level 1-1 of the demo data played through the harness, with the places a test presses on.
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Play/HUDSpellButton.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/HUD/Play/TDContextMenuItem.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTower.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tdtest
{
// Spots of level 1-1 (centres): owned ones, and the one bought for 40 money.
constexpr float kOwnedSpotX = 432.0f, kOwnedSpotY = 468.0f;
constexpr float kOtherSpotX = 673.0f, kOtherSpotY = 341.0f;
constexpr float kBoughtSpotX = 708.0f, kBoughtSpotY = 529.0f;

class PlayFixture : public ::testing::Test
{
protected:
    explicit PlayFixture(GameHarness::Backend backend = GameHarness::Backend::Recording) : mHarness(backend) {}

    // Starts the game on level 1-1 (or another mode's first level) and lets it run a frame.
    bool startLevel(int mode = kModeEasy)
    {
        if (!mHarness.map() && !mHarness.start())
            return false;
        mMap = mHarness.map();
        if (mode != mMap->mMode || mMap->mState != kStatePlaying)
            mHarness.loadLevel(mode, 0, 0);
        mHarness.step();
        return mMap->mState == kStatePlaying;
    }

    HUD& hud() const { return *mMap->mHud; }
    TDButtonFrame& button(const wchar_t* name) const
    {
        TDButtonFrame* found = hud().findButton(name);
        EXPECT_NE(found, nullptr) << "no HUD button";
        return *found;
    }
    void clickButton(const wchar_t* name)
    {
        const math::Rect& r = button(name).mRect;
        mHarness.click(r.x + r.width * 0.5f, r.y + r.height * 0.5f);
        mHarness.step();
    }
    HUDSpellButton& spell(std::size_t index) const { return *hud().getSpellButtons().at(index); }
    void clickSpell(std::size_t index)
    {
        mHarness.click(spell(index).mCenterX, spell(index).mCenterY);
        mHarness.step();
    }
    // Clicks and lets the menu open fully.
    void openMenuAt(float x, float y)
    {
        mHarness.click(x, y);
        mHarness.step(15);
    }
    TDContextMenu* menu() const { return mMap->mContextMenu; }
    // The screen point of the menu item with the key, as the open menu places it.
    bool itemPoint(int key, float& x, float& y) const
    {
        const TDContextMenu* open = menu();
        if (!open)
            return false;
        for (const TDContextMenuItem* item : open->mItems)
            if (item->mKey == key)
            {
                open->iconPoint(*item, x, y);
                return true;
            }
        return false;
    }
    // Presses the item and lets the choice play out.
    bool chooseItem(int key)
    {
        float x = 0.0f;
        float y = 0.0f;
        if (!itemPoint(key, x, y))
            return false;
        mHarness.click(x, y);
        mHarness.step();
        return true;
    }
    TDFrameEntry* spotFrameAt(float x, float y) const
    {
        return mMap->mLevelArt->spotAt(static_cast<int>(x), static_cast<int>(y));
    }
    std::size_t count(const wchar_t* tag)
    {
        const auto& tags = mHarness.sounds().tags;
        return static_cast<std::size_t>(std::count(tags.begin(), tags.end(), std::wstring(tag)));
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
};
} // namespace tdtest
