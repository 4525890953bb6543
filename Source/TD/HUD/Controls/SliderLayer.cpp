#include "Source/TD/HUD/Controls/SliderLayer.h"

#include "Core/Layer/LayerDrawScope.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

#include <algorithm>

VNResultEnum SliderLayer::DrawSelf(render::Graphics* graphics)
{
    render::Image* image = GetImage();
    if (image == nullptr || graphics == nullptr)
        return VN_OK;
    // A fill beyond the picture would stretch it; none shows nothing.
    const float width = std::clamp(mSourceRect[2], 0.0f, static_cast<float>(image->GetWidth()));
    if (width <= 0.0f)
        return VN_OK;
    layer::LayerDrawScope scope(graphics, *this, false);
    {
        auto draw = graphics->DrawImage(image, math::Rect(0.0f, 0.0f, width, mSourceRect[3]));
        draw->mAlignH = GetAnchorH();
        draw->mAlignV = GetAnchorV();
    }
    return VN_OK;
}
