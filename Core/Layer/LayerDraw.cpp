// The drawing preamble shared by the image, text and particles layers (LayerDrawScope) and their draws.
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/LayerDrawScope.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"

namespace layer
{

LayerDrawScope::LayerDrawScope(render::Graphics* g, const Layer& layer, bool particles)
    : mGraphics(g), mTransform(g->mTransform), mColor(g->mColor), mKind(g->mDefaultShader),
      mShader(g->mShader), mTint(g->mTint), mTinted(layer.IsTinted())
{
    const float* c = layer.GetColor();
    g->mTransform = &layer.GetTransform();
    if (mTinted)
    {
        (void)g->SetDefaultShader(2);
        g->mTint = layer.GetTintAmount();
    }
    else
    {
        (void)g->SetDefaultShader(1);
    }
    g->SetColor(c[0], c[1], c[2], layer.GetEffectiveAlpha());
    (void)g->SetBlendMode(!particles && layer.IsAdditive() ? 2 : 1);
}

LayerDrawScope::~LayerDrawScope()
{
    if (mKind == 0)
        mGraphics->SetShader(mShader);
    else
        (void)mGraphics->SetDefaultShader(mKind);
    if (mTinted)
        mGraphics->mTint = mTint;
    mGraphics->mColor = mColor;
    mGraphics->mTransform = mTransform;
}

VNResultEnum ImageLayer::DrawSelf(render::Graphics* graphics)
{
    if (!mImage || !graphics)
        return VN_OK;
    LayerDrawScope scope(graphics, *this, false);
    {
        auto draw = graphics->DrawImage(mImage);
        draw->mAlignH = mAnchorH;
        draw->mAlignV = mAnchorV;
    }
    return VN_OK;
}

VNResultEnum TextLayer::DrawSelf(render::Graphics* graphics)
{
    if (!mFont || mText.empty() || !graphics)
        return VN_OK;
    LayerDrawScope scope(graphics, *this, false);
    render::Font* saved = graphics->mFont;
    graphics->mFont = mFont.Get();
    {
        auto draw = graphics->DrawText(mText);
        draw->mFont = mFont.Get();
        draw->mLayout = EffectiveLayout();
        draw->mAlignH = mAlignH;
        draw->mAlignV = mAlignV;
    }
    graphics->mFont = saved;
    return VN_OK;
}

VNResultEnum ParticlesLayer::DrawSelf(render::Graphics* graphics)
{
    if (!mEmitter || !graphics)
        return VN_OK;
    LayerDrawScope scope(graphics, *this, true);
    {
        auto draw = graphics->DrawParticles(mEmitter);
    }
    return VN_OK;
}

} // namespace layer
