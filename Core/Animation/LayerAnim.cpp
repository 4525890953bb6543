#include "Core/Animation/LayerAnim.h"

#include "Core/Animation/AnimData.h"
#include "Core/Layer/Drawable.h"

#include <algorithm>

namespace animation
{

namespace
{

float Clamp01(float v)
{
    // NaN ends up at 0 rather than leaking into the colour.
    return v > 0.0f ? std::min(v, 1.0f) : 0.0f;
}

} // namespace

VNResultEnum LayerAnim::Apply(float time)
{
    if (!mTarget || !mRecord)
        return VN_FAIL;
    const auto& ch = mRecord->channels;
    // The per-component setters store only a changed value and then mark the transform.
    mTarget->SetX(ch[ChannelPositionX].Evaluate(time));
    mTarget->SetY(ch[ChannelPositionY].Evaluate(time));
    mTarget->SetZ(ch[ChannelPositionZ].Evaluate(time));
    mTarget->SetRotationX(ch[ChannelRotationX].Evaluate(time));
    mTarget->SetRotationY(ch[ChannelRotationY].Evaluate(time));
    mTarget->SetRotationZ(ch[ChannelRotationZ].Evaluate(time));
    mTarget->SetScaleX(ch[ChannelScaleX].Evaluate(time));
    mTarget->SetScaleY(ch[ChannelScaleY].Evaluate(time));
    mTarget->SetScaleZ(ch[ChannelScaleZ].Evaluate(time));
    mTarget->SetAlpha(1.0f - Clamp01(ch[ChannelDissolve].Evaluate(time)));
    if (mRecord->hasColor)
    {
        const auto& color = mRecord->color;
        mTarget->SetColor(Clamp01(color[ColorRed].Evaluate(time)), Clamp01(color[ColorGreen].Evaluate(time)),
                          Clamp01(color[ColorBlue].Evaluate(time)), mTarget->GetColor()[3]);
        mTarget->SetTintAmount(Clamp01(color[ColorTint].Evaluate(time)));
    }
    return VN_OK;
}

} // namespace animation
