// The HUD's openers of the two shops.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDBuyGemScreen.h"
#include "Source/TD/HUD/HUDShopWindow.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDTutorial.h"

void HUD::openShop(int fromGame)
{
    // A hint belongs to the level: none lies over a shop.
    if (base::Singletone<TDTutorial>::Exists())
        TDTutorial::Instance()->hide();
    mMap.mState = kStateShop;
    showWindow(new HUDShopWindow(fromGame));
}

void HUD::openGemShop(const std::wstring& returnScreen)
{
    if (base::Singletone<TDTutorial>::Exists())
        TDTutorial::Instance()->hide();
    mMap.mState = kStateGemShop;
    gemShopReturnScreen() = returnScreen;
    showWindow(new HUDBuyGemScreen);
}

void HUD::refreshTopWindow()
{
    if (!mWindows.empty())
        mWindows.back()->refresh();
}
