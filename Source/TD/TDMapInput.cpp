// The pointer on the map. A press and a release reach the HUD and the tutorial in their order; the map's own
// commands (calling a wave, choosing in the context menu, the buttons' actions by state) come with the map's
// input.
#include "Source/TD/TDMap.h"

#include "Source/TD/HUD/HUD.h"
#include "Source/TD/TDTutorial.h"
#include "Source/TD/TDUtil.h"
#include "Source/TD/TDWaves.h"

void TDMap::onClick(int x, int y)
{
    mHud->mouseMove(x, y);
    TDTutorial::Instance()->onPress(x, y);
    if (mState == kStatePlaying)
    {
        const int mx = truncToInt((static_cast<float>(x) - mViewOffsetX) / mViewScale);
        const int my = truncToInt((static_cast<float>(y) - mViewOffsetY) / mViewScale);
        if (TDUnit* unit = mWaves->unitAt(mx, my))
            setSelectedUnit(unit);
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

bool TDMap::releaseInPlay(int, int, float, float)
{
    return false;
}

void TDMap::onMouseMove(int x, int y)
{
    mHud->mouseMove(x, y);
    TDTutorial::Instance()->mouseMove(x, y);
}

void TDMap::onMouseWheel(int wheel)
{
    mHud->mouseWheel(wheel);
}
