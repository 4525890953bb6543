#include "Source/TD/HUD/Menus/HUDModalDialog.h"

#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"

HUDModalDialog::HUDModalDialog(const std::wstring& caption, const std::wstring& message)
    : HUDModalMessage(caption, message, -1)
{
    if (HUDButtonOver* ok = child(1))
        ok->mXOffset = 0.0f;
    if (HUDButtonOver* cancel = child(0))
        cancel->mVisible = 1;
}

void HUDModalDialog::mouseUp(int x, int y)
{
    for (std::size_t i = 0; i < mChildButtons.size(); ++i)
    {
        if (!mChildButtons[i]->contains(x, y))
            continue;
        if (i == 0)
            onCancel();
        else if (i == 1)
            onConfirm();
        return;
    }
}

void HUDModalDialog::onConfirm()
{
    mActive = 0;
}

void HUDModalDialog::onCancel()
{
    mActive = 0;
}

HUDConfirmProfileDeletionDialog::HUDConfirmProfileDeletionDialog()
    : HUDModalDialog(LocalStrings::Instance()->get(L"profile_delete_caption"),
                     LocalStrings::Instance()->get(L"profile_delete_message"))
{
}

void HUDConfirmProfileDeletionDialog::onConfirm()
{
    mActive = 0;
    TDMap* map = Game::GetMap();
    if (map == nullptr)
        return;
    if (map->mProfile)
        map->mProfile->deleteCurrentProfile();
    map->mHud->refreshTopWindow();
}

HUDConfirmTutorialCancelDialog::HUDConfirmTutorialCancelDialog()
    : HUDModalDialog(LocalStrings::Instance()->get(L"tutorial_skip_caption"),
                     LocalStrings::Instance()->get(L"tutorial_skip_message"))
{
}

void HUDConfirmTutorialCancelDialog::onConfirm()
{
    mActive = 0;
    TDTutorial::Instance()->confirmSkip();
}

void HUDConfirmTutorialCancelDialog::onCancel()
{
    mActive = 0;
    TDTutorial::Instance()->cancelSkip();
}
