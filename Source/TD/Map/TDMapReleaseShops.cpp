// The release table's rows for the upgrade shop and the gem shop.
#include "Source/TD/Map/TDMap.h"

#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Tutorial/TDTutorial.h"

namespace
{

// A return name no row knows (or none at all) would leave the player on an empty screen: the main menu is
// always a way on.
void openMenuScreen(HUD& hud, const std::wstring& name)
{
    if (name == L"levels")
        hud.openLevelSelect();
    else if (name == L"episodes")
        hud.openEpisodeSelect();
    else
        hud.openMainMenu();
}

} // namespace

bool TDMap::releaseInShops(const std::wstring& c, int, int)
{
    if (mState == kStateShop)
    {
        if (c == L"back_ac")
        {
            TDTutorial::Instance()->onEvent(L"shop_state_changed");
            mHud->closeTopWindow();
            openMenuScreen(*mHud, shopReturnScreen());
            return true;
        }
        if (c == L"gem_shop0" || c == L"gem_shop1")
        {
            mHud->closeTopWindow();
            mHud->openGemShop(c == L"gem_shop0" ? L"shop0" : L"shop1");
            return false;
        }
        if (c == L"return_ac")
        {
            TDTutorial::Instance()->onEvent(L"shop_state_changed");
            mHud->closeTopWindow();
            if (mResultAction == 1)
                startLevel();
            else if (mResultAction == 2)
                mHud->nextLevel();
            else // nothing pending: no way back into a level, so not an empty screen either
                mHud->openMainMenu();
            mResultAction = -1;
        }
        return false;
    }

    if (c.empty())
        return false;
    if (c != L"back_in")
    {
        // A pack's product id; the service ignores one it does not know, or one asked while another runs.
        (void)mPurchaseService->purchase(c);
        return false;
    }
    const std::wstring& back = gemShopReturnScreen();
    mHud->closeTopWindow();
    if (back == L"game")
    {
        mHud->mFadeState = 0;
        mState = kStatePlaying;
    }
    else if (back == L"shop0" || back == L"shop1")
    {
        mHud->openShop(back == L"shop1" ? 1 : 0);
    }
    else
    {
        openMenuScreen(*mHud, back);
    }
    return false;
}
