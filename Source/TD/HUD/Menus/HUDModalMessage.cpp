#include "Source/TD/HUD/Menus/HUDModalMessage.h"

#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

namespace
{
// A message shows its one button in the middle, where the two buttons of a dialog leave a gap.
constexpr float kSingleButtonShift = 120.0f;
// Past every side of the 1024 x 768 logical screen, so the side bars of a wide window are shaded too.
constexpr float kShadeReach = 1024.0f;
const render::Color kShade(0.0f, 0.0f, 0.0f, 0.55f);
} // namespace

HUDModalMessage::HUDModalMessage(NoMessage)
{
    mDrawLayer = 1;
    load(L"td/data/mm");
    buildChildButtons();
}

HUDModalMessage::HUDModalMessage(const std::wstring& caption, const std::wstring& message, int restoreState)
    : HUDModalMessage(NoMessage{})
{
    mRestoreState = restoreState;
    setImageVisible(L"input", false);
    setText(L"caption", caption);
    setText(L"message", message);
    // A layout with fewer than two groups still shows what it has: the last group is the OK button.
    if (HUDButtonOver* ok = child(1))
        ok->mXOffset = kSingleButtonShift;
    if (HUDButtonOver* cancel = child(0); cancel && mChildButtons.size() > 1)
        cancel->mVisible = 0;
}

HUDModalMessage::~HUDModalMessage()
{
    if (mRestoreState != -1)
        if (TDMap* map = Game::GetMap())
            map->mState = mRestoreState;
}

HUDButtonOver* HUDModalMessage::child(std::size_t index) const
{
    return index < mChildButtons.size() ? mChildButtons[index] : nullptr;
}

void HUDModalMessage::draw(render::Graphics* graphics)
{
    // The screen below is shaded: nothing on it takes the pointer or keys while the window is up, and it
    // must not look as if it did (the main menu's buttons show around the name input).
    if (graphics != nullptr)
    {
        graphics->SetColor(kShade);
        graphics->FillRect(-kShadeReach, -kShadeReach, 1024.0f + 2.0f * kShadeReach,
                           768.0f + 2.0f * kShadeReach);
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    HUDMenuWindow::draw(graphics);
}
