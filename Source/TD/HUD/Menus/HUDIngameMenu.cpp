#include "Source/TD/HUD/Menus/HUDIngameMenu.h"

#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

HUDIngameMenu::HUDIngameMenu()
{
    load(L"td/data/ingame");
    setFont(boardFont(TDBoardFont::Main80));
    setText(L"caption", LocalStrings::Instance()->get(L"ingame_caption"));
}

void HUDIngameMenu::load(const std::wstring& layoutName)
{
    HUDWindow::load(layoutName);
    setImageVisible(kIconName, false);
    buildChildButtons(true);
}

void HUDIngameMenu::update(float dt)
{
    HUDWindow::update(dt);
    updateChildButtons(dt);
}

void HUDIngameMenu::draw(render::Graphics* graphics)
{
    HUDMenuWindow::draw(graphics);
    if (graphics == nullptr)
        return;
    constexpr float cx = TDButtonFrame::kLayoutCentreX;
    constexpr float cy = TDButtonFrame::kLayoutCentreY;
    for (const TDFrameEntry* image : mImages)
    {
        if (image->mName != kIconName || image->mTexture == nullptr)
            continue;
        graphics->DrawImage(image->mTexture)
            .Translate(image->mRect.x + mOffsetX - cx, image->mRect.y + mOffsetY - cy)
            .Scale(mScale)
            .Translate(cx, cy);
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
