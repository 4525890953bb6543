#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Color.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/GraphicsState.h"

#include <cstdint>
#include <string>

namespace math
{
class Matrix4;
class Transform3D;
} // namespace math

namespace render
{

class Font;
class Image;
class ParticleEmitter;
class Render;
class RenderTarget;
class Shader;
class ShaderTextured;

// A destination rectangle in logical units.
struct DestRect : math::Rect
{
    using math::Rect::Rect;
};

// A drawing context bound to the Render and one destination (the back buffer or a render target). Draw calls
// return a parameter wrapper; the draw is recorded when the last wrapper holding it ends.
class Graphics
{
public:
    // Back-buffer context with the Render's logical-to-pixel mapping.
    explicit Graphics(Render* render);
    // Render-target context; opens the Render's frame itself when none is open.
    explicit Graphics(RenderTarget* target);
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    // Ends and plays back the frame this context opened.
    ~Graphics();

    VNResultEnum Clear(uint32_t flags, const Color& color, float z, uint32_t stencil);

    DrawUntransformedParam<DrawImageParam> DrawImage(Image* image);
    DrawUntransformedParam<DrawImageParam> DrawImage(Image* image, const math::Rect& src);
    DrawTransform2DParam<DrawImageParam> DrawImage(Image* image, const math::Rect& src,
                                                   const math::Rect& dst);
    // The whole image stretched into a destination rectangle (a DestRect tells it from the source-rectangle
    // form).
    DrawTransform2DParam<DrawImageParam> DrawImage(Image* image, const DestRect& dst);

    DrawUntransformedParam<DrawTextParam> DrawText(const std::wstring& text);
    DrawUntransformedParam<DrawTextParam> DrawText(const std::wstring& text, float width, float indent,
                                                   int32_t align, bool justifyLetters);

    DrawUntransformedParam<DrawCustomParam> DrawLine(const math::Point2& a, const math::Point2& b);
    DrawUntransformedParam<DrawCustomParam> FillRect(const math::Rect& rect);
    DrawUntransformedParam<DrawCustomParam> FillRect(float x, float y, float w, float h)
    {
        return FillRect(math::Rect(x, y, w, h));
    }
    DrawUntransformedParam<DrawParticlesParam> DrawParticles(ParticleEmitter* emitter);
    DrawUntransformedParam<DrawCustomParam> DrawCustom(int32_t type, SVertexGeom* vertices,
                                                       const VertexCacheGeom::Range& range, Shader* shader);
    DrawUntransformedParam<DrawCustomParam> DrawCustomIndexed(int32_t type, SVertexGeom* vertices,
                                                              const VertexCacheGeom::Range& range,
                                                              const IndexCache16::Range& indices,
                                                              Shader* shader);

    void SetColor(const Color& color) { mColor = color; }
    void SetColor(float r, float g, float b, float a) { mColor = Color(r, g, b, a); }
    VNResultEnum SetBlendMode(int32_t mode);
    // 1 textured-multiply, 2 textured-tint; other kinds and the current kind change nothing.
    VNResultEnum SetDefaultShader(int32_t kind);
    // A caller's shader for textured draws; null restores the textured-multiply shader.
    void SetShader(ShaderTextured* shader);
    // Logical units.
    void SetClipRect(const math::Rect& rect);
    void SetClipRect(float x, float y, float w, float h) { SetClipRect(math::Rect(x, y, w, h)); }
    void ResetClipRect();
    // Plays back what a context that opened the frame has recorded so far.
    VNResultEnum Flush();
    const math::Matrix4& GetProjection() const;

    Render* mRender = nullptr;
    RenderTarget* mRenderTarget = nullptr;
    Shader* mGeomShader = nullptr;
    ShaderTextured* mShader = nullptr;
    GraphicsState mState;
    bool mStateChanged = true;
    Font* mFont = nullptr;
    int32_t mDefaultShader = 1;
    Color mColor{1.0f, 1.0f, 1.0f, 1.0f};
    float mTint = 0.0f;
    const math::Transform3D* mTransform = nullptr;
    bool mOwnsFrame = false;

private:
    DrawUntransformedParam<DrawCustomParam> Custom(int32_t type, uint32_t vertexCount, uint32_t indexCount,
                                                   SVertexGeom** vertices, uint16_t** indices);
};

// The specular value of textured vertices carrying a tint amount: (t << 8) | (255 − t), t = low byte of
// truncated tint × 255.
uint32_t TintSpecular(float tint);

} // namespace render
