#include "Source/TD/Effects/HUDPopupTexts.h"

#include "Core/Render/Graphics.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"

void HUDPopupNotice::update(float dt)
{
    mElapsed += dt;
    mX += mVelocityX * kSpeed * dt;
    mY += mVelocityY * kSpeed * dt;
    mAlive = mElapsed < mLife;
}

void HUDPopupNotice::draw(render::Graphics* graphics) const
{
    render::Transform2D at;
    at.Translate(mX, mY);
    if (mElapsed > mLife - kFadeTime)
        graphics->SetColor(1.0f, 1.0f, 1.0f, (mLife - mElapsed) * 4.0f);
    if (mIcon != nullptr)
    {
        auto icon = graphics->DrawImage(mIcon).Transform(at);
        icon->mAlignH = 2;
        icon->mAlignV = 2;
    }
    if (!mText.empty() && graphics->mFont != nullptr)
    {
        auto text = graphics->DrawText(mText).Scale(kTextScale * mScale);
        text.Translate(mX + kTextOffsetX, mY);
        text->mAlignH = 0;
        text->mAlignV = 2;
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

HUDPopupTexts::HUDPopupTexts()
{
    mIcons[kKindImmune] = TDResources::Instance()->findUiImage(L"ui/immune");
    mIcons[kKindMoney] = TDResources::Instance()->findUiImage(L"ui/money");
}

HUDPopupTexts::~HUDPopupTexts()
{
    clear();
}

HUDPopupNotice* HUDPopupTexts::add(float x, float y, int kind)
{
    auto* notice = new HUDPopupNotice;
    notice->mX = x;
    notice->mY = y;
    notice->mKind = kind;
    if (kind >= 0 && kind < static_cast<int>(mIcons.size()))
        notice->mIcon = mIcons[static_cast<std::size_t>(kind)];
    mNotices.push_back(notice);
    return notice;
}

void HUDPopupTexts::update(float dt)
{
    for (HUDPopupNotice* notice : mNotices)
        if (notice->mAlive)
            notice->update(dt);
    for (std::size_t i = 0; i < mNotices.size();)
    {
        if (mNotices[i]->mAlive)
        {
            ++i;
            continue;
        }
        delete mNotices[i];
        mNotices.erase(mNotices.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void HUDPopupTexts::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    if (mFont != nullptr)
        graphics->mFont = mFont;
    for (const HUDPopupNotice* notice : mNotices)
        notice->draw(graphics);
}

void HUDPopupTexts::clear()
{
    for (HUDPopupNotice* notice : mNotices)
        delete notice;
    mNotices.clear();
}
