#include "Source/TD/HUD/Controls/HUDLayerButton.h"

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{

constexpr float kLabelBoxWidth = 400.0f;

// A picture layer centred on the button's origin by its frame's size; it never owns the image.
layer::ImageLayer* makePicture(const TDFrameEntry* frame, render::Image** image)
{
    *image = frame != nullptr ? frame->mTexture : nullptr;
    auto* picture = new layer::ImageLayer(*image, false);
    if (frame != nullptr)
        picture->SetPosition(math::Point3(-frame->mRect.width * 0.5f, -frame->mRect.height * 0.5f, 0.0f));
    return picture;
}

} // namespace

HUDLayerButton::HUDLayerButton(const TDFrameEntry* normal, const TDFrameEntry* pressed,
                               const std::wstring& label)
{
    mNormalLayer = makePicture(normal, &mNormalImage);
    mPressedLayer = makePicture(pressed, &mPressedImage);
    mLabelLayer =
        new layer::TextLayer(boardFont(TDBoardFont::Main42_3), label, kLabelBoxWidth, 0.0f, 2, false);
    mLabelLayer->SetAlignment(2, 2);
    AddChild(mNormalLayer);
    AddChild(mPressedLayer);
    AddChild(mLabelLayer);
}

HUDLayerButton::~HUDLayerButton()
{
    for (layer::Layer* child :
         {static_cast<layer::Layer*>(mNormalLayer), static_cast<layer::Layer*>(mPressedLayer),
          static_cast<layer::Layer*>(mLabelLayer)})
    {
        removeFromParent(child);
        delete child;
    }
}

void HUDLayerButton::onClick(int, int) {}

bool HUDLayerButton::hitTest(int x, int y) const
{
    if (!IsVisible() || mNormalImage == nullptr)
        return false;
    const float left = GetPosition().x + mNormalLayer->GetPosition().x;
    const float top = GetPosition().y + mNormalLayer->GetPosition().y;
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px > left && px < left + static_cast<float>(mNormalImage->GetWidth()) && py > top &&
           py < top + static_cast<float>(mNormalImage->GetHeight());
}

void HUDLayerButton::updateHover(int x, int y)
{
    mHovered = hitTest(x, y) ? 1 : 0;
}

void HUDLayerButton::update(float dt)
{
    if (mHovered != 0)
        mScale = std::min(mScale + dt, 1.1f);
    else
        mScale = std::max(mScale - dt * 0.5f, 1.0f);
    // The setter stores (and marks the transform) only when a component differs beyond its tolerance.
    SetScale(math::Point3(mScale, mScale, mScale));
}
