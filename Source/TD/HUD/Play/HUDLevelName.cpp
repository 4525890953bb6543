#include "Source/TD/HUD/Play/HUDLevelName.h"

#include "Core/Base/TextStream.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

namespace
{
std::wstring decimal(int value)
{
    base::TextStream stream;
    stream.WriteInt(value);
    return stream.GetText();
}

void drawLine(render::Graphics* graphics, TDBoardFont fontRole, const std::wstring& text, float y)
{
    const CountedHandle<render::Font> font = boardFont(fontRole);
    if (!font)
        return;
    graphics->mFont = font.Get();
    auto draw = graphics->DrawText(text);
    draw->mAlignH = 2;
    draw->mAlignV = 2;
    draw.Translate(TDButtonFrame::kLayoutCentreX, y);
}
} // namespace

HUDLevelName::HUDLevelName(int mode, int episode, int level)
{
    LocalStrings* strings = LocalStrings::Instance();
    mLevelLine = strings->get(L"level_d") + L" " + decimal(level + 1);
    mTitle = strings->get((mode == kModeHardcore ? L"episodeHardcore" : L"episode") + decimal(episode));
}

void HUDLevelName::update(float dt)
{
    mTimer -= dt;
    if (mTimer >= 0.0f)
        return;
    if (mPhase == 0)
    {
        mPhase = 1;
        mTimer = 2.0f;
    }
    else if (mPhase == 1)
    {
        mPhase = 2;
        mTimer = 0.5f;
    }
    else
    {
        mActive = 0;
    }
}

float HUDLevelName::alpha() const
{
    switch (mPhase)
    {
    case 0:
        return 1.0f - 2.0f * mTimer;
    case 1:
        return 1.0f;
    case 2:
        return 2.0f * mTimer;
    default:
        return 0.0f;
    }
}

void HUDLevelName::draw(render::Graphics* graphics)
{
    if (graphics == nullptr || mTimer < 0.0f)
        return;
    graphics->SetColor(1.0f, 1.0f, 1.0f, alpha());
    drawLine(graphics, TDBoardFont::Main80, mTitle, TDButtonFrame::kLayoutCentreY - 25.0f);
    drawLine(graphics, TDBoardFont::Main42_3, mLevelLine, TDButtonFrame::kLayoutCentreY + 25.0f);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
