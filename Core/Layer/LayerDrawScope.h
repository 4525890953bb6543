#pragma once

#include "Core/Render/Color.h"

#include <cstdint>

namespace math
{
class Transform3D;
}
namespace render
{
class Graphics;
class ShaderTextured;
} // namespace render

namespace layer
{

class Layer;

// The drawing preamble of the layers that draw content (image, text, particles, and subclasses outside the
// library that draw an image their own way): for the scope's life the context carries the layer's world
// transform, colour with effective alpha, tint shader and blend mode; everything is put back when it ends.
class LayerDrawScope
{
public:
    // Particles keep normal blending: the library blends each particle itself.
    LayerDrawScope(render::Graphics* graphics, const Layer& layer, bool particles);
    ~LayerDrawScope();

    LayerDrawScope(const LayerDrawScope&) = delete;
    LayerDrawScope& operator=(const LayerDrawScope&) = delete;

private:
    render::Graphics* mGraphics;
    const math::Transform3D* mTransform;
    render::Color mColor;
    int32_t mKind;
    render::ShaderTextured* mShader;
    float mTint;
    bool mTinted;
};

} // namespace layer
