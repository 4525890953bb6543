#pragma once

#include "Source/TD/HUD/Menus/HUDModalMessage.h"

// The two-button window: cancel and confirm side by side, each running its hook (both close the window).
// It never changes the map's state by itself.
class HUDModalDialog : public HUDModalMessage
{
public:
    HUDModalDialog(const std::wstring& caption, const std::wstring& message);

    // The first child under the point decides: child 0 cancels, child 1 confirms; anything else nothing.
    void mouseUp(int x, int y) override;

    virtual void onConfirm();
    virtual void onCancel();
};

// Asked from the profiles screen: its confirm deletes the current profile and refreshes the screen below.
class HUDConfirmProfileDeletionDialog : public HUDModalDialog
{
public:
    HUDConfirmProfileDeletionDialog();
    void onConfirm() override;
};

// Asked by the tutorial's skip button: confirm turns the tutorial off, cancel lets it go on.
class HUDConfirmTutorialCancelDialog : public HUDModalDialog
{
public:
    HUDConfirmTutorialCancelDialog();
    void onConfirm() override;
    void onCancel() override;
};
