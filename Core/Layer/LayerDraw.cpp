// The drawing preamble shared by the image, text and particles layers.
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"

namespace layer
{

VNResultEnum ImageLayer::DrawSelf(render::Graphics*)
{
    return VN_OK;
}

VNResultEnum ParticlesLayer::DrawSelf(render::Graphics*)
{
    return VN_OK;
}

} // namespace layer
