#pragma once

#include "Core/Base/Matrix4.h"
#include "Core/Render/Image.h"

namespace render
{

// The image of a render-target texture (which it owns), with the projection and mapping a Graphics uses to
// draw into it.
class RenderTarget : public Image
{
public:
    RenderTarget(Texture* texture, bool ownProjection);

    math::Matrix4 mProjection{true};
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
};

} // namespace render
