// The HUD's openers of the two shops.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDBuyGemScreen.h"
#include "Source/TD/HUD/HUDShopWindow.h"
#include "Source/TD/TDMap.h"

void HUD::openShop(int fromGame)
{
    mMap.mState = kStateShop;
    showWindow(new HUDShopWindow(fromGame));
}

void HUD::openGemShop(const std::wstring& returnScreen)
{
    mMap.mState = kStateGemShop;
    gemShopReturnScreen() = returnScreen;
    showWindow(new HUDBuyGemScreen);
}

void HUD::refreshTopWindow()
{
    if (!mWindows.empty())
        mWindows.back()->refresh();
}
