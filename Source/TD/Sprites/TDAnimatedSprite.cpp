#include "Source/TD/Sprites/TDAnimatedSprite.h"

#include "Core/Render/Graphics.h"

#include <cmath>

TDAnimatedSprite::TDAnimatedSprite(const std::wstring& sheetPath) : mAnimation(sheetPath, std::wstring())
{
    mAnimation.mFps = kFrameRate;
}

void TDAnimatedSprite::follow(TDTargetPoint* target)
{
    if (target != nullptr)
        mFollowed = TDWatch<TDTargetPoint>(target);
}

float TDAnimatedSprite::getDuration() const
{
    const float fps = mAnimation.mFps;
    if (!(fps > 0.0f) || !std::isfinite(fps))
        return 0.0f;
    return static_cast<float>(mAnimation.getFrameCount()) / fps;
}

math::Point2 TDAnimatedSprite::getDrawPosition() const
{
    if (const TDTargetPoint* target = mFollowed.get())
        return target->getPosition();
    return math::Point2(mX, mY);
}

void TDAnimatedSprite::update(float dt)
{
    // Keep the followed position, so a sprite whose unit goes away stays where it was last drawn.
    const math::Point2 at = getDrawPosition();
    mX = at.x;
    mY = at.y;

    mAge += dt;
    mDelay -= dt;
    const std::size_t frames = mAnimation.getFrameCount();
    const float fps = mAnimation.mFps;
    if (!(fps > 0.0f) || !std::isfinite(fps))
    {
        // Without a frame rate there is nothing to play: a play-once sprite has finished, a looping one
        // waits at its first frame for its owner to remove it.
        if (mLoop == 0)
            mAlive = false;
        else
        {
            mAge = 0.0f;
            mDelay = 0.0f;
        }
    }
    else if (fps * mAge > static_cast<float>(frames) - 1.0f)
    {
        if (mLoop == 0)
            mAlive = false;
        else
        {
            mAge -= static_cast<float>(frames) / fps;
            mDelay = 0.0f;
        }
    }
    if (mDelay <= 0.0f)
        mAnimation.advance(dt);
}

void TDAnimatedSprite::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    const float left = getDuration() - mAge;
    if (left < kFadeTime)
        graphics->SetColor(1.0f, 1.0f, 1.0f, left / kFadeTime);
    if (mDelay < 0.0f)
    {
        const math::Point2 at = getDrawPosition();
        mAnimation.draw(graphics, at.x, at.y, 0.0f);
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
