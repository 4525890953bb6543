// The release table's rows for the result window, the in-game menu, the main menu and modal messages, and
// the commands a confirmation runs.
#include "Framework/GameApplication.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/OptionsDialog.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"

namespace
{
widget::FrameManager* frameManager()
{
    framework::GameApplication* app = framework::GetGameApplication();
    return app ? app->GetFrameManager() : nullptr;
}

void openDialog(TamselDialog* dialog)
{
    (void)TamselDialog::openModal(dialog, frameManager());
}
} // namespace

// A screen that is not part of the game yet queues nothing when opened: the player then goes to the main
// menu instead of a screen without a window.
void TDMap::leaveTopWindowFor(void (HUD::*opener)())
{
    mHud->closeTopWindow();
    (mHud.get()->*opener)();
    if (!mHud->hasQueuedWindow())
        mHud->openMainMenu();
}

bool TDMap::releaseInMenus(const std::wstring& c, int, int)
{
    switch (mState)
    {
    case kStateWon:
    case kStateLost:
        if (c == L"done" || c == L"close")
        {
            mHud->closeTopWindow();
            mHud->openShop(1);
            shopReturnScreen() = L"game";
            if (!mHud->hasQueuedWindow())
                mHud->openMainMenu();
        }
        else if (c == L"restart")
        {
            startLevel();
            mHud->mFadeState = 0;
        }
        else if (c == L"menu")
        {
            leaveTopWindowFor(&HUD::openLevelSelect);
        }
        return false;
    case kStateIngameMenu:
        if (c == L"resume" || c == L"close")
        {
            TDTutorial::Instance()->resume();
            mHud->closeTopWindow();
            mHud->mFadeState = 0;
            mState = kStatePlaying;
            return true;
        }
        if (c == L"restart" || c == L"mmenu" || c == L"levels")
            openDialog(new TMessageBox(L"progress_confirm_text", c));
        else if (c == L"options")
            openDialog(new OptionsDialog);
        return false;
    case kStateMainMenu:
        if (c == L"play" || c == L"shop")
        {
            // A player without a name gives one first; the name input then goes on where play or shop led.
            if (mProfile && mProfile->getCurrentName().empty())
            {
                mCurrentScreen = c == L"play" ? L"mmenu" : L"shop";
                mState = kStateNewProfileName;
                mHud->showModalInput();
            }
            else if (c == L"play")
            {
                mHud->closeTopWindow();
                mHud->openEpisodeSelect();
            }
            else
            {
                mHud->closeTopWindow();
                mHud->openShop(0);
                shopReturnScreen() = L"mmenu";
            }
        }
        else if (c == L"cloze")
        {
            if (framework::GameApplication* app = framework::GetGameApplication())
                app->Finish();
        }
        else if (c == L"options")
        {
            openDialog(new OptionsDialog);
        }
        else if (c == L"profile")
        {
            mHud->openProfiles();
            if (mHud->hasQueuedWindow())
                mHud->closeTopWindow();
            else
                mState = kStateMainMenu;
        }
        return false;
    case kStateModal:
        if (c == L"ok")
        {
            mHud->closeTopWindow();
            mState = mRestoreState;
        }
        return false;
    default:
        return false;
    }
}

void TDMap::executeConfirmedCommand(const std::wstring& command)
{
    if (command == L"restart")
    {
        mHud->closeTopWindow();
        startLevel();
    }
    else if (command == L"mmenu")
    {
        TDTutorial::Instance()->endLevel();
        mHud->closeTopWindow();
        mHud->openMainMenu();
    }
    else if (command == L"levels")
    {
        TDTutorial::Instance()->endLevel();
        leaveTopWindowFor(&HUD::openLevelSelect);
    }
}
