#include "Source/TD/HUD/Menus/HUDMenuWindow.h"

#include "Core/Base/Containers.h"
#include "Core/File/ImageContainer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

HUDMenuWindow::HUDMenuWindow() = default;

HUDMenuWindow::~HUDMenuWindow()
{
    base::DeleteAll(mChildButtons);
}

void HUDMenuWindow::buildChildButtons(bool allInCaptionFont)
{
    // The frame buttons HUDWindow::load makes of the group pictures are not this window's buttons.
    base::DeleteAll(mButtons);
    mButtons.clear();
    if (mLayout == nullptr)
        return;
    std::vector<std::wstring> groups;
    (void)mLayout->ListGroups(L"button", &groups, false);
    for (const std::wstring& group : groups)
    {
        auto* button = new HUDButtonOver(mLayout, group);
        button->mLabel = LocalStrings::Instance()->get(group);
        const bool caption = allInCaptionFont || group == L"b2_play";
        button->mFont = boardFont(caption ? TDBoardFont::Main80 : TDBoardFont::Main42_3);
        mChildButtons.push_back(button);
    }
}

void HUDMenuWindow::draw(render::Graphics* graphics)
{
    HUDWindow::draw(graphics);
    drawChildButtons(graphics);
}

void HUDMenuWindow::update(float dt)
{
    HUDWindow::update(dt);
    followPointer();
    updateChildButtons(dt);
}

void HUDMenuWindow::mouseMove(int x, int y)
{
    HUDWindow::mouseMove(x, y);
    moveChildButtons(x, y);
}

void HUDMenuWindow::mouseUp(int x, int y)
{
    for (HUDButtonOver* button : mChildButtons)
        button->mouseUp(x, y);
}

void HUDMenuWindow::mouseDown(int x, int y)
{
    for (HUDButtonOver* button : mChildButtons)
        button->mouseDown(x, y);
}

std::wstring HUDMenuWindow::click(int x, int y)
{
    for (HUDButtonOver* button : mChildButtons)
    {
        if (button->contains(x, y))
        {
            (void)w7::SoundTags::Instance()->Play(L"simple");
            return button->mName;
        }
    }
    return std::wstring();
}

void HUDMenuWindow::updateChildButtons(float dt)
{
    for (HUDButtonOver* button : mChildButtons)
        button->update(dt);
}

void HUDMenuWindow::moveChildButtons(int x, int y)
{
    for (HUDButtonOver* button : mChildButtons)
        button->mouseMove(x, y);
}

void HUDMenuWindow::drawChildButtons(render::Graphics* graphics)
{
    for (HUDButtonOver* button : mChildButtons)
        button->draw(graphics);
}
