// The HUD's openers of the selection screens, the profiles screen and the small dialogs.
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDModalDialog.h"
#include "Source/TD/HUD/Menus/HUDModalInput.h"
#include "Source/TD/HUD/Menus/HUDUnlockMessage.h"
#include "Source/TD/HUD/Select/HUDEpisodeSelectIOS.h"
#include "Source/TD/HUD/Select/HUDLevelSelect.h"
#include "Source/TD/HUD/Select/HUDProfiles.h"
#include "Source/TD/Map/TDMap.h"

#include <memory>

namespace
{
void putInOverlaySlot(HUDWindow* dialog)
{
    Game* game = Game::Get();
    GameWindow* board = game != nullptr ? game->GetGameWindow() : nullptr;
    if (board == nullptr)
    {
        delete dialog;
        return;
    }
    delete board->mOverlayDialog;
    board->mOverlayDialog = dialog;
}
} // namespace

void HUD::openProfiles()
{
    mMap.mState = kStateProfiles;
    mMap.mCurrentScreen.clear();
    showWindow(new HUDProfiles);
}

void HUD::openEpisodeSelect()
{
    mMap.mState = kStateEpisodeSelect;
    showWindow(new HUDEpisodeSelectIOS);
}

void HUD::openLevelSelect()
{
    mMap.mState = kStateLevelSelect;
    showWindow(new HUDLevelSelect);
}

bool HUD::showUnlockMessage(const std::vector<int>& ids)
{
    auto message = std::make_unique<HUDUnlockMessage>(ids);
    // Nothing of the list has a picture: an empty message would stand the level still for nothing.
    if (message->mIds.empty())
        return false;
    mMap.mState = kStateUnlockMessage;
    mMap.mSpeed = 0.0f;
    showWindow(message.release());
    return true;
}

void HUD::showModalMessage(const std::wstring& caption, const std::wstring& message, int restoreState)
{
    mMap.mState = kStateModal;
    mMap.mRestoreState = restoreState;
    showWindow(new HUDModalMessage(caption, message, restoreState));
}

void HUD::showModalDialog(const std::wstring& caption, const std::wstring& message, int restoreState)
{
    mMap.mState = kStateModal;
    mMap.mRestoreState = restoreState;
    showWindow(new HUDModalDialog(caption, message));
}

void HUD::showModalInput()
{
    showWindow(new HUDModalInput);
}

void HUD::showProfileDeletionDialog()
{
    putInOverlaySlot(new HUDConfirmProfileDeletionDialog);
}

void HUD::showTutorialCancelDialog()
{
    putInOverlaySlot(new HUDConfirmTutorialCancelDialog);
}
