// The HUD's openers of the two shops.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Shops/HUDBuyGemScreen.h"
#include "Source/TD/HUD/Shops/HUDShopWindow.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"

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
