#include "Source/TD/HUD/Select/HUDEpisodeCarousel.h"

#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kCentreX = 512.0f;
constexpr float kCentreY = 384.0f;
constexpr float kSlideSpeed = 800.0f;
constexpr float kFlickTime = 0.3f;
constexpr float kFullScaleDistance = 120.0f;

void drawCentred(render::Graphics* graphics, const TDFrameEntry* picture, float x, float y, float scale)
{
    if (picture == nullptr || picture->mTexture == nullptr)
        return;
    auto draw = graphics->DrawImage(picture->mTexture);
    draw->mAlignH = 2;
    draw->mAlignV = 2;
    draw.Scale(scale).Translate(x, y);
}

void drawText(render::Graphics* graphics, const std::wstring& text, float wrap, float x, float y, float scale)
{
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main80);
    if (!font)
        return;
    graphics->mFont = font.Get();
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    auto draw = graphics->DrawText(text, wrap, 0.0f, 3, true);
    draw->mAlignH = 2;
    draw->mAlignV = 2;
    draw.Scale(scale).Translate(x, y);
}
} // namespace

HUDEpisodeCarousel::HUDEpisodeCarousel(int current) : mCurrent(current) {}

HUDEpisodeCarousel::~HUDEpisodeCarousel()
{
    for (HUDEpisodeCard& card : mCards)
        delete card.chapter;
}

void HUDEpisodeCarousel::addCard(const HUDEpisodeCard& card)
{
    mCards.push_back(card);
}

void HUDEpisodeCarousel::clampCurrent()
{
    mCurrent = std::clamp(mCurrent, 0, std::max(0, count() - 1));
}

void HUDEpisodeCarousel::changed()
{
    if (mOnEpisodeChanged)
        mOnEpisodeChanged(mCurrent);
}

void HUDEpisodeCarousel::started()
{
    if (mOnMoveStarted)
        mOnMoveStarted();
}

void HUDEpisodeCarousel::ended()
{
    if (mOnMoveEnded)
        mOnMoveEnded();
}

void HUDEpisodeCarousel::startDrag(float x, float y)
{
    mState = kDragging;
    mDragTime = 0.0f;
    mLastX = x;
    mLastY = y;
    started();
}

void HUDEpisodeCarousel::drag(float x, float y)
{
    if (mState != kDragging)
        return;
    mOffset += mLastX - x;
    mLastX = x;
    mLastY = y;
    const float span = static_cast<float>(count() - 1) * mSpacing;
    mOffset = std::min(std::max(mOffset, -span), span);
    if ((mOffset < 0.0f && mCurrent == 0) || (mOffset > 0.0f && mCurrent == count() - 1))
        mOffset = 0.0f;
}

void HUDEpisodeCarousel::release(float, float)
{
    if (mOffset == 0.0f)
    {
        mState = kRest;
        ended();
    }
    else
    {
        mState = mOffset > 0.0f ? kSlidingLeft : kSlidingRight;
    }
    const bool flick = mDragTime < kFlickTime && mOffset != 0.0f;
    if (mOffset > mSpacing * 0.25f || (flick && mOffset > 0.0f))
    {
        if (mCurrent + 1 > count() - 1)
            return;
        ++mCurrent;
        changed();
        mOffset -= mSpacing;
        mState = kSlidingRight;
    }
    else if (mOffset < mSpacing * -0.25f || (flick && mOffset < 0.0f))
    {
        if (mCurrent - 1 < 0)
            return;
        --mCurrent;
        changed();
        mOffset += mSpacing;
        mState = kSlidingLeft;
    }
}

void HUDEpisodeCarousel::stepLeft()
{
    if (mState != kRest || mCurrent <= 0)
        return;
    started();
    mOffset = mSpacing;
    --mCurrent;
    mState = kSlidingLeft;
    changed();
}

void HUDEpisodeCarousel::stepRight()
{
    if (mState != kRest || mCurrent >= count() - 1)
        return;
    started();
    mOffset = -mSpacing;
    ++mCurrent;
    mState = kSlidingRight;
    changed();
}

void HUDEpisodeCarousel::update(float dt)
{
    mDragTime += dt;
    if (mState == kSlidingLeft)
    {
        mOffset -= kSlideSpeed * dt;
        if (mOffset < 0.0f)
        {
            mOffset = 0.0f;
            mState = kRest;
            ended();
        }
    }
    else if (mState == kSlidingRight)
    {
        mOffset += kSlideSpeed * dt;
        if (mOffset > 0.0f)
        {
            mOffset = 0.0f;
            mState = kRest;
            ended();
        }
    }
}

void HUDEpisodeCarousel::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    for (int i = 0; i < count(); ++i)
    {
        const HUDEpisodeCard& card = mCards[static_cast<std::size_t>(i)];
        const float x = mSpacing * static_cast<float>(i - mCurrent) + kCentreX - mOffset;
        const float distance = std::fabs(kCentreX - x);
        const float f =
            distance < kFullScaleDistance ? 1.0f - (distance / kFullScaleDistance) * mFalloff : 1.0f - mFalloff;
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        drawCentred(graphics, card.chapter, x, kCentreY, f);
        drawCentred(graphics, card.overlay, x, kCentreY, f);
        if (!card.text.empty())
            drawText(graphics, card.text, 320.0f, x, kCentreY, 0.8f * f);
        if (card.newBadge != nullptr)
        {
            const float bx = x + mSpacing * 0.4f * f;
            const float by = kCentreY - 180.0f * f;
            graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
            drawCentred(graphics, card.newBadge, bx, by, f);
            drawText(graphics, LocalStrings::Instance()->get(L"episodeSelectNew"), 270.0f, bx, by, f);
        }
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
