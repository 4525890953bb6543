// The pointer on the map. A press calls the next wave early, selects a unit or chooses in the open context
// menu; a release in play casts the aimed spell, acts on the HUD's buttons, arms a spell, or opens the
// context menu of a build spot or a tower. The release rows of the other states live with their screens.
#include "Source/TD/Map/TDMap.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Play/HUDSpellButton.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"

namespace
{
bool isTowerMenu(int kind)
{
    return kind == kMenuTower || kind == kMenuTowerTier;
}

void chooseInContextMenu(TDMap& map, int key)
{
    TDContextMenu& menu = *map.mContextMenu;
    if (isTowerMenu(menu.mKind) && menu.mTower)
    {
        if (key > 0)
        {
            TDTower& tower = *menu.mTower;
            if (tower.tierUpdatesLeft() > 0)
                (void)tower.tierUpdate();
            else
            {
                tower.mTierCount = 0;
                (void)tower.upgrade(key, menu.getItemValue(key));
            }
        }
        else if (key == 0)
        {
            // The spot is free again before the tower goes.
            if (menu.mTower->mSpotFrame)
                menu.mTower->mSpotFrame->mVisible = true;
            map.sellTower(menu.mTower);
        }
    }
    else if (menu.mKind == kMenuBuild && key > 0)
    {
        TDUnitProto* proto = map.mProtoTable->find(key);
        TDTower* tower = proto ? map.buildTower(proto, menu.mSpot) : nullptr;
        // Too little money: the menu stays open for another choice.
        if (!tower)
            return;
        tower->mTimer = 0.0f;
        TDTutorial::Instance()->onEvent(L"tower_built");
    }
    else if (menu.mKind == kMenuBuySpot && key > 0 && menu.mSpot && menu.mSpot->mLink)
    {
        (void)map.buySpot(menu.mSpot);
    }
    menu.close();
}

// Places the button's spell at the point (the map plays "spell<id>" and casts it), then the button recharges.
void castArmedSpell(TDMap& map, HUDSpellButton& button, float x, float y)
{
    (void)map.castSpell(button.getSpellId(), x, y);
    button.startCooldown();
    map.mArmedSpell = nullptr;
}
} // namespace

void TDMap::onClick(int x, int y)
{
    mHud->mouseMove(x, y);
    TDTutorial::Instance()->onPress(x, y);
    if (mState == kStatePlaying)
    {
        const int mx = truncToInt((static_cast<float>(x) - mViewOffsetX) / mViewScale);
        const int my = truncToInt((static_cast<float>(y) - mViewOffsetY) / mViewScale);
        if (mWaveCallMarkers->hitTest(mx, my))
        {
            // The tutorial may hold the waves back: then the press does nothing more at all.
            if (mHud->mBlockUI != 0 && mHud->mBlockUI != 3)
                return;
            (void)callWaveEarly(x, y);
        }
        if (TDUnit* unit = mWaves->unitAt(mx, my))
            setSelectedUnit(unit);
        if (mContextMenu && mContextMenu->mAlive)
        {
            chooseInContextMenu(*this, mContextMenu->hitTest(mx, my));
            return;
        }
    }
    else if (mState == kStateSplash && mHud->click(x, y) == L"done")
    {
        mHud->closeTopWindow();
        mHud->openMainMenu();
    }
    mHud->mouseDown(x, y);
}




void TDMap::onMouseUp(int x, int y)
{
    TDTutorial::Instance()->onRelease(x, y);
    const float mapX = (static_cast<float>(x) - mViewOffsetX) / mViewScale;
    const float mapY = (static_cast<float>(y) - mViewOffsetY) / mViewScale;
    bool skipTail = false;
    switch (mState)
    {
    case kStatePlaying:
        skipTail = releaseInPlay(x, y, mapX, mapY);
        break;
    case kStateWon:
    case kStateLost:
    case kStateIngameMenu:
    case kStateMainMenu:
    case kStateModal:
        skipTail = releaseInMenus(mHud->click(x, y), x, y);
        break;
    case kStateEpisodeSelect:
    case kStateLevelSelect:
    case kStateUnlockMessage:
    case kStateProfiles:
    case kStateNewProfileName:
    case kStateRenameProfile:
        skipTail = releaseInSelectScreens(mHud->click(x, y), x, y);
        break;
    case kStateShop:
    case kStateGemShop:
        skipTail = releaseInShops(mHud->click(x, y), x, y);
        break;
    case kStateRefillOffer:
        skipTail = releaseInRefill(mHud->click(x, y), x, y);
        break;
    default: // constructed, starting, splash and the wait for a purchase only run the tail
        break;
    }
    if (skipTail)
        return;
    mHud->mouseUp(x, y);
    mHud->mouseMove(-1, -1);
}

bool TDMap::releaseInPlay(int x, int y, float mapX, float mapY)
{
    if (mArmedSpell && mHud->hitTest(x, y) == -1)
    {
        castArmedSpell(*this, *mArmedSpell, mapX, mapY);
        return true;
    }
    const std::wstring c = mHud->click(x, y);
    if (c == L"ok")
    {
        mHud->closeTopWindow();
        return true;
    }
    if (c == L"options_btn")
    {
        openIngameMenu();
        return true;
    }
    if (c == L"pause_btn_ac" || c == L"play_btn_ac" || c == L"options_btn_ac" || c == L"speed_btn_ac")
        return true;
    if (c == L"pause_btn")
    {
        mSpeed = 0.0f;
        updateSpeedButtons();
        return true;
    }
    if (c == L"play_btn")
    {
        if (mHud->mBlockUI <= 1)
        {
            mSpeed = 1.0f;
            updateSpeedButtons();
            TDTutorial::Instance()->onEvent(L"game_play");
        }
        return true;
    }
    if (c == L"speed_btn")
    {
        if (mHud->mBlockUI == 0)
        {
            mSpeed = 2.0f;
            updateSpeedButtons();
        }
        return true;
    }

    const std::vector<HUDSpellButton*>& spells = mHud->getSpellButtons();
    const int h = mHud->hitTest(x, y);
    if (mArmedSpell && h >= 0 && static_cast<std::size_t>(h) < spells.size() && spells[h] == mArmedSpell)
    {
        mArmedSpell = nullptr;
        return true;
    }
    if (h != -1)
    {
        // Only a usable spell button arms: not while the tutorial holds the spells, not a button that cannot
        // be used now, and not a point on one of the HUD's own buttons.
        if (mHud->mBlockUI != 0 || h < 0 || static_cast<std::size_t>(h) >= spells.size())
            return true;
        HUDSpellButton& button = *spells[h];
        mArmedSpell = &button;
        (void)w7::SoundTags::Instance()->Play(L"simple");
        if (mActiveMarker)
            mActiveMarker->SetPosition(math::Point2(button.mCenterX, button.mCenterY), 1);
        // The warcry needs no target: it acts the moment its button is released.
        if (button.getSpellId() == HUDSpellButton::kTowerSpellId)
            castArmedSpell(*this, button, static_cast<float>(x), static_cast<float>(y));
    }

    const int mx = truncToInt(mapX);
    const int my = truncToInt(mapY);
    if (TDFrameEntry* spot = findSpotAt(mx, my))
    {
        if (mContextMenu)
        {
            if (mContextMenu->mSpot == spot && !mContextMenu->mTower)
                mContextMenu->close();
            else
            {
                delete mContextMenu;
                mContextMenu = nullptr;
            }
            return true;
        }
        if (mTutorialSpot != -1 && spot->mName != L"#" + std::to_wstring(mTutorialSpot))
            return true;
        mContextMenu = new TDContextMenu(*this);
        if (spot->mLink && spot->mLink->mOwned)
            mContextMenu->openBuildMenu(spot);
        else
            mContextMenu->openBuySpotMenu(spot);
        mContextMenu->mCenterX = spot->mRect.x + spot->mRect.width * 0.5f;
        mContextMenu->mCenterY = spot->mRect.y + spot->mRect.height * 0.5f;
        return true;
    }
    if (TDTower* tower = findTowerAt(mx, my))
    {
        if (mContextMenu)
        {
            if (mContextMenu->mTower == tower)
                mContextMenu->close();
            else
            {
                delete mContextMenu;
                mContextMenu = nullptr;
            }
            return true;
        }
        mContextMenu = new TDContextMenu(*this);
        mContextMenu->openTowerMenu(tower);
        if (const TDFrameEntry* under = tower->mSpotFrame)
            if (truncToInt(under->mRect.x + under->mRect.width * 0.5f) == 896 &&
                truncToInt(under->mRect.y + under->mRect.height * 0.5f) == 563)
                TDTutorial::Instance()->onEvent(L"tower_select_3");
        mContextMenu->mCenterX = tower->mX;
        mContextMenu->mCenterY = tower->mY;
    }
    return false;
}


void TDMap::onMouseMove(int x, int y)
{
    if (mContextMenu)
    {
        const int mx = truncToInt((static_cast<float>(x) - mViewOffsetX) / mViewScale);
        const int my = truncToInt((static_cast<float>(y) - mViewOffsetY) / mViewScale);
        mContextMenu->mHoveredKey = mContextMenu->hitTest(mx, my);
    }
    mHud->mouseMove(x, y);
    TDTutorial::Instance()->mouseMove(x, y);
}

void TDMap::onMouseWheel(int wheel)
{
    mHud->mouseWheel(wheel);
}
