// The release table's rows for the episode and level select, the unlock message, the profiles and the name entry.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Map/TDMap.h"

namespace
{
std::wstring text(const wchar_t* key)
{
    return LocalStrings::Instance()->get(key);
}
} // namespace

bool TDMap::releaseInSelectScreens(const std::wstring& c, int x, int y)
{
    HUD& hud = *mHud;
    switch (mState)
    {
    case kStateEpisodeSelect:
        if (c == L"back")
        {
            hud.closeTopWindow();
            hud.openMainMenu();
            return true;
        }
        if (c == L"shop")
        {
            hud.closeTopWindow();
            hud.openShop(0);
            shopReturnScreen() = L"episodes";
            return true;
        }
        if (const int h = hud.hitTest(x, y); h != -1 && isEpisodeUnlocked(h))
        {
            mEpisode = h;
            hud.closeTopWindow();
            hud.openLevelSelect();
        }
        return false;
    case kStateLevelSelect:
        if (c == L"back")
        {
            hud.closeTopWindow();
            if (mMode == kModeHardcore)
            {
                mMode = mProfile->getMode();
                hud.openLevelSelect();
            }
            else
            {
                hud.openEpisodeSelect();
            }
            return false;
        }
        if (c == L"upgrade")
        {
            hud.closeTopWindow();
            hud.openShop(0);
            shopReturnScreen() = L"levels";
            return true;
        }
        if (c == L"unlocked_d")
        {
            hud.closeTopWindow();
            mMode = kModeHardcore;
            hud.openLevelSelect();
            return true;
        }
        if (c == L"locked_d")
        {
            hud.showModalMessage(text(L"HardcoreTitle"), text(L"HardcoreUnlockMessage"), kStateLevelSelect);
            mProfile->setEpisodeVisited(mEpisode, kModeHardcore, getHardcoreLevelCount(mEpisode));
            return true;
        }
        if (c.empty())
        {
            if (const int h = hud.hitTest(x, y); h != -1 && mProfile->isLevelUnlocked(mEpisode, h, mMode))
            {
                mLevel = h;
                hud.closeTopWindow();
                loadLevel();
                return true;
            }
        }
        return false;
    case kStateUnlockMessage:
        if (c == L"ok")
        {
            hud.closeTopWindow();
            hud.mFadeState = 0;
            mState = kStatePlaying;
            hud.showLevelName();
            mSpeed = 1.0f;
            onLevelNoticeDone();
        }
        return false;
    case kStateProfiles:
        if (c == L"create")
        {
            // Five rows: the sixth profile has no place on the screen.
            if (mProfile->getUserProfileNames().size() < 5)
            {
                mState = kStateNewProfileName;
                hud.showModalInput();
            }
            else
            {
                hud.showModalMessage(text(L"profiles_error"), text(L"profiles_maxcount"), kStateProfiles);
            }
        }
        else if (c == L"back" || c == L"confirm")
        {
            hud.closeTopWindow();
            hud.openMainMenu();
        }
        else if (c == L"rename" && !mProfile->getCurrentName().empty())
        {
            mState = kStateRenameProfile;
            hud.showModalInput();
        }
        return false;
    case kStateNewProfileName:
        if (c == L"cancel")
        {
            hud.closeTopWindow();
            mTypedName.clear();
            mState = mCurrentScreen == L"mmenu" || mCurrentScreen == L"shop" ? kStateMainMenu : kStateProfiles;
        }
        return false;
    default: // the rename entry handles its own answers
        return false;
    }
}
