#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Render/RenderTypes.h"

namespace render
{

class Texture;
class ShaderImpl;
class VertexBufferImpl;
class IndexBufferImpl;

// Everything a draw depends on besides its vertices; held by each Graphics and twice by the Render.
struct GraphicsState
{
    // Null draws to the back buffer.
    Texture* mRenderTarget = nullptr;
    // Logical-to-pixel mapping: pixel = (logical + offset) × scale.
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    ShaderImpl* mShader = nullptr;
    VertexBufferImpl* mVertexBuffer = nullptr;
    IndexBufferImpl* mIndexBuffer = nullptr;
    int32_t mBlendMode = BlendNone;
    bool mScissorOn = false;
    // In logical units.
    math::Rect mScissorRect;
    bool mDepthTest = false;
    bool mDepthWrite = true;
};

} // namespace render
