#include "Core/Gui/GameControl.h"

#include "Core/Layer/ImageLayer.h"

#include <cmath>

namespace gui
{

GameControl::GameControl(layer::ImageLayer** stateImages, int32_t stateImageCount)
    : mStateImages(stateImages), mStateImageCount(stateImages ? stateImageCount : 0)
{
}

GameControl::~GameControl()
{
    for (int32_t i = 0; i < mStateImageCount; ++i)
    {
        layer::ImageLayer* image = mStateImages[i];
        if (!image)
            continue;
        if (layer::Layer* parent = image->GetParent())
            parent->RemoveChild(image);
        delete image;
        mStateImages[i] = nullptr;
    }
}

layer::ImageLayer* GameControl::GetStateImage(int32_t index) const
{
    return index >= 0 && index < mStateImageCount ? mStateImages[index] : nullptr;
}

VNResultEnum GameControl::LoadStateImage(int32_t index, const std::wstring& name, layer::ImageLayer** out)
{
    if (name.empty())
        return VN_OK;
    // A slot outside the array the subclass gave would write past it.
    if (index < 0 || index >= mStateImageCount)
        return VN_FAIL;
    math::RectI rect;
    layer::ImageLayer* image = nullptr;
    if (const VNResultEnum result = LoadImageLayer(name, &rect, &image); result != VN_OK)
        return result;
    // A slot loaded again gives up its old image rather than leaking it.
    if (layer::ImageLayer* old = mStateImages[index])
    {
        if (layer::Layer* parent = old->GetParent())
            parent->RemoveChild(old);
        delete old;
    }
    mStateImages[index] = image;
    if (mBoundsSet)
        mBounds.Union(rect);
    else
        mBounds = rect;
    mBoundsSet = true;
    if (out)
        *out = image;
    return VN_OK;
}

VNResultEnum GameControl::CenterOnStateImages()
{
    const math::Point3 centre(
        std::floor(static_cast<float>(mBounds.x) + static_cast<float>(mBounds.width) * 0.5f),
        std::floor(static_cast<float>(mBounds.y) + static_cast<float>(mBounds.height) * 0.5f), 0.0f);
    SetPosition(centre);
    const math::Point3& at = GetPosition();
    for (int32_t i = 0; i < mStateImageCount; ++i)
    {
        layer::ImageLayer* image = mStateImages[i];
        if (!image || image->GetParent() == this)
            continue;
        const math::Point3& own = image->GetPosition();
        image->SetPosition(math::Point3(own.x - at.x, own.y - at.y, own.z - at.z));
        AddChild(image);
    }
    return VN_OK;
}

} // namespace gui
