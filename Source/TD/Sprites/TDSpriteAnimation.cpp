#include "Source/TD/Sprites/TDSpriteAnimation.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"

#include <algorithm>
#include <cmath>

TDSpriteAnimation::TDSpriteAnimation(const std::wstring& sheetPath, const std::wstring& group)
    : mSheet(TDResources::Instance()->getSheet(sheetPath)),
      mGroup(base::ToNarrow(group, base::kEncodingUtf8)), mSheetPath(sheetPath)
{
    const std::vector<TDFrameEntry*>& marker = mSheet->getGroup("s_point");
    if (!marker.empty())
    {
        mAnchorX = marker.front()->mRect.x;
        mAnchorY = marker.front()->mRect.y;
    }
}

bool TDSpriteAnimation::isPlayedThrough(float time, std::size_t frames, float fps)
{
    if (frames == 0 || !(fps > 0.0f) || !std::isfinite(fps))
        return true;
    return time >= (1.0f / fps) * static_cast<float>(frames);
}

std::size_t TDSpriteAnimation::getFrameCount() const
{
    return mSheet->getGroup(std::string()).size();
}

void TDSpriteAnimation::advance(float dt)
{
    mTime += dt;
    if (isPlayedThrough(mTime, getFrameCount(), mFps))
        mTime = 0.0f;
}

TDFrameEntry* TDSpriteAnimation::getFrame(float x, float y, float angle)
{
    // An empty played group, the root group included, shows nothing (there is no frame to take a count of).
    const std::vector<TDFrameEntry*>& frames = mSheet->getGroup(mGroup);
    if (frames.empty())
        return nullptr;

    const double step = std::floor(static_cast<double>(mFps) * static_cast<double>(mTime));
    const double cycle = static_cast<double>(frames.size());
    const std::size_t index =
        step >= 0.0 && step < 1e15 ? static_cast<std::size_t>(std::fmod(step, cycle)) : 0;
    TDFrameEntry* frame = frames[index];

    float extentW = 0.0f;
    float extentH = 0.0f;
    for (const TDFrameEntry* entry : frames)
    {
        extentW = std::max(extentW, entry->mRect.x + entry->mRect.width);
        extentH = std::max(extentH, entry->mRect.y + entry->mRect.height);
    }

    render::Transform2D& transform = frame->mTransform;
    transform.Reset();
    transform.RotateDegrees(angle);
    transform.Translate(frame->mRect.width * 0.5f, frame->mRect.height * 0.5f);
    transform.Translate(frame->mRect.x, frame->mRect.y);
    transform.Translate(-extentW * 0.5f, -extentH * 0.5f);
    transform.Translate(extentW * 0.5f - mAnchorX + x, extentH * 0.5f - mAnchorY + y);
    return frame;
}

void TDSpriteAnimation::draw(render::Graphics* graphics, float x, float y, float angle)
{
    TDFrameEntry* frame = getFrame(x, y, angle);
    if (graphics == nullptr || frame == nullptr || frame->mTexture == nullptr)
        return;
    auto image = graphics->DrawImage(frame->mTexture).Transform(frame->mTransform);
    image->mAlignH = 2;
    image->mAlignV = 2;
}
