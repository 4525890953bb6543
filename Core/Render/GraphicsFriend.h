#pragma once

#include "Core/Base/Result.h"

#include <cstdint>

namespace render
{

class Graphics;
class Render;
class Shader;
class ShaderImpl;
class VertexBufferImpl;
class IndexBufferImpl;
struct GraphicsState;
struct VertexFormat;

// How draw parameters, fonts and particle passes reach the state of the Graphics they draw with. All pointers
// are null for a parameter made without a Graphics (text measuring).
class GraphicsFriend
{
public:
    void Bind(Graphics* graphics);
    // Hands the Graphics' state to the Render (forced when it changed); the changed flag clears on success.
    VNResultEnum CommitState();
    void SetVertexBuffer(VertexBufferImpl* buffer);
    void SetIndexBuffer(IndexBufferImpl* buffer);
    void SetShader(ShaderImpl* shader);
    // The Graphics' world transform, when set, on the positions of count vertices.
    VNResultEnum ApplyWorldTransform(void* vertices, const VertexFormat& format, uint32_t count);
    // x −= 0.5, y −= 0.5, z = 0: the last step before a draw is recorded.
    VNResultEnum ApplyPixelOffset(void* vertices, const VertexFormat& format, uint32_t count);
    // The shader's projection becomes the Graphics' projection.
    void BindProjection(Shader* shader);

    Graphics* mGraphics = nullptr;
    Render* mRender = nullptr;
    GraphicsState* mState = nullptr;
};

// Adds (dx, dy) to the positions of count vertices (position of 3 or 4 floats; others untouched).
void OffsetPositions(void* vertices, const VertexFormat& format, uint32_t count, float dx, float dy);

} // namespace render
