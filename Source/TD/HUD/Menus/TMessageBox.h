#pragma once

#include "Core/Widget/Button.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"

#include <string>

class TamselButton;

// The game's modal message over the layout "td/data/mm": a localised text and either one button that only
// closes it (no command) or OK and cancel, where OK closes it and runs the command on the map
// (TDMap::executeConfirmedCommand). A detail (text that is not localised, such as a system's reason) may
// follow the localised text on a line of its own.
class TMessageBox : public TamselDialog, public widget::ButtonListener
{
public:
    TMessageBox(const std::wstring& textKey, const std::wstring& command, const std::wstring& detail = {});

    VNResultEnum Init() override;
    VNResultEnum OnButtonClick(widget::Button* button) override;

    std::wstring mTextKey;
    std::wstring mCommand;
    std::wstring mDetail;
    // The only button of a plain message, the cancel button of a confirmation.
    TamselButton* mFirstButton = nullptr;
    // OK of a confirmation; null for a plain message.
    TamselButton* mSecondButton = nullptr;

private:
    VNResultEnum addButton(TamselButton*& button, float x, const std::wstring& captionRect,
                           const std::wstring& captionKey);
};
