#pragma once

#include "Core/Base/Result.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/TextLayout.h"
#include "Core/Render/Transform2D.h"
#include "Core/Render/VertexFormat.h"

#include <cstdint>
#include <string>
#include <utility>

namespace math
{
class AABB;
}

namespace render
{

class Font;
class Image;
class ParticleEmitter;
class Shader;
class VertexBufferImpl;
class IndexBufferImpl;

// Base of every draw wrapper: a pending draw is recorded when the wrapper holding it ends.
class DrawParam
{
public:
    // Moves the positions of count vertices in place (the wrapper's own translation or transform).
    virtual VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, uint32_t count) = 0;
    virtual ~DrawParam() = default;

    bool mPending = false;
};

struct TagUntransformed
{
};
struct TagTranslate2D
{
};
struct TagTransform2D
{
};

// Arrow access from a wrapper to its inner parameter's fields.
template <typename Tag, typename P>
class DrawParamInterface
{
public:
    P* operator->() { return mInner; }
    const P* operator->() const { return mInner; }

protected:
    P* mInner = nullptr;
};

// An image quad: anchors, mirror and source rectangle in texture pixels.
struct DrawImageParam : GraphicsFriend
{
    VNResultEnum Draw(DrawParam* outer);

    Image* mImage = nullptr;
    // 0: starts (top) at 0, 1: ends (bottom) at 0, 2: centred on 0.
    int32_t mAlignH = 0;
    int32_t mAlignV = 0;
    bool mFlipX = false;
    bool mFlipY = false;
    float mSrcRect[4] = {0, 0, 0, 0};
};

// A text laid out with a font; the caller's string must outlive the draw.
struct DrawTextParam : GraphicsFriend
{
    DrawTextParam() = default;
    // Copies text, font, layout, anchors and out pointers; the measured size and the running wrapper are not
    // copied.
    DrawTextParam(const DrawTextParam& o);
    DrawTextParam& operator=(const DrawTextParam&) = delete;

    VNResultEnum Draw(DrawParam* outer);
    // Text anchors, then the running wrapper's transform, then the world transform (with a Graphics).
    VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, uint32_t count);

    const std::wstring* mText = nullptr;
    Font* mFont = nullptr;
    TextLayout mLayout;
    // 0 left, 1 right, 2 centre.
    int32_t mAlignH = 0;
    // 0 top, 1 bottom, 2 centre, 3 base line.
    int32_t mAlignV = 0;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
    DrawParam* mOuter = nullptr;
    float* mOutWidth = nullptr;
    float* mOutHeight = nullptr;
    math::AABB* mOutBounds = nullptr;
};

// The quads of a particle emitter.
struct DrawParticlesParam : GraphicsFriend
{
    VNResultEnum Draw(DrawParam* outer);

    ParticleEmitter* mEmitter = nullptr;
    int* mOutCount = nullptr;
    // Box of the quads before and after the wrapper's transform.
    math::AABB* mOutBounds = nullptr;
    math::AABB* mOutBoundsTransformed = nullptr;
};

// The particle library's render pass, registered by it (it sits above the renderer): writes the emitter's
// quads through the parameter and reports the number of particles drawn.
using ParticleRenderPass = VNResultEnum (*)(DrawParticlesParam& param, DrawParam* outer, int* outCount);
void SetParticleRenderPass(ParticleRenderPass pass);

// Caller geometry already written into a vertex cache.
struct DrawCustomParam : GraphicsFriend
{
    VNResultEnum Draw(DrawParam* outer);

    int32_t mPrimitiveType = 0;
    void* mVertices = nullptr;
    VertexFormat mFormat;
    uint32_t mFirstVertex = 0;
    uint32_t mVertexCount = 0;
    VertexBufferImpl* mVertexBuffer = nullptr;
    uint32_t mFirstIndex = 0;
    uint32_t mIndexCount = 0;
    // Null: not indexed.
    IndexBufferImpl* mIndexBuffer = nullptr;
    Shader* mShader = nullptr;
    // 0: derived from the counts at draw time.
    uint32_t mPrimitiveCount = 0;
};

template <typename P>
class DrawUntransformedParam;
template <typename P>
class DrawTranslate2DParam;
template <typename P>
class DrawTransform2DParam;

// What the three wrappers share: the inner parameter, the pending flag and moving the draw.
template <typename Tag, typename P>
class DrawWrapper : public DrawParam, public DrawParamInterface<Tag, P>, public P
{
public:
    explicit DrawWrapper(const P& inner, bool pending = true) : P(inner)
    {
        this->mInner = this;
        mPending = pending;
    }
    // The draw moves with the wrapper: the source records nothing.
    DrawWrapper(DrawWrapper&& o) noexcept : DrawParam(), P(static_cast<const P&>(o))
    {
        this->mInner = this;
        mPending = std::exchange(o.mPending, false);
    }
    DrawWrapper(const DrawWrapper&) = delete;
    DrawWrapper& operator=(const DrawWrapper&) = delete;
    DrawWrapper& operator=(DrawWrapper&&) = delete;

    // The inner parameter, for callers that take it by reference.
    P& Inner() { return *this; }

protected:
    // Each concrete wrapper runs this from its own destructor, while its TransformVertices is still its own.
    void Finish()
    {
        if (!mPending)
            return;
        mPending = false;
        P::Draw(this);
    }

    // A new wrapper takes the draw over; a source whose draw already moved away hands over nothing.
    template <typename W, typename... A>
    W Hand(A&&... args)
    {
        W next(static_cast<const P&>(*this), mPending, std::forward<A>(args)...);
        mPending = false;
        return next;
    }
};

// A draw recorded with its vertices as the draw made them.
template <typename P>
class DrawUntransformedParam final : public DrawWrapper<TagUntransformed, P>
{
public:
    explicit DrawUntransformedParam(const P& inner, bool pending = true)
        : DrawWrapper<TagUntransformed, P>(inner, pending)
    {
    }
    DrawUntransformedParam(DrawUntransformedParam&&) noexcept = default;
    ~DrawUntransformedParam() override { this->Finish(); }

    VNResultEnum TransformVertices(void*, const VertexFormat&, uint32_t) override { return VN_OK; }

    DrawTranslate2DParam<P> Translate(float x, float y)
    {
        return this->template Hand<DrawTranslate2DParam<P>>(x, y);
    }
    DrawTransform2DParam<P> Scale(float sx, float sy)
    {
        Transform2D t;
        t.Scale(sx, sy);
        return this->template Hand<DrawTransform2DParam<P>>(t);
    }
    DrawTransform2DParam<P> Scale(float s) { return Scale(s, s); }
    DrawTransform2DParam<P> Transform(const Transform2D& t)
    {
        return this->template Hand<DrawTransform2DParam<P>>(t);
    }
};

// A draw moved by (x, y).
template <typename P>
class DrawTranslate2DParam final : public DrawWrapper<TagTranslate2D, P>
{
public:
    DrawTranslate2DParam(const P& inner, bool pending, float x, float y)
        : DrawWrapper<TagTranslate2D, P>(inner, pending), mX(x), mY(y)
    {
    }
    DrawTranslate2DParam(DrawTranslate2DParam&&) noexcept = default;
    ~DrawTranslate2DParam() override { this->Finish(); }

    VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, uint32_t count) override
    {
        OffsetPositions(vertices, format, count, mX, mY);
        return VN_OK;
    }

    // Moves further.
    DrawTranslate2DParam& Translate(float x, float y)
    {
        mX += x;
        mY += y;
        return *this;
    }

    // The offset first, then the scale: the offset is scaled too.
    DrawTransform2DParam<P> Scale(float s)
    {
        Transform2D t;
        t.Translate(mX, mY);
        t.Scale(s, s);
        return this->template Hand<DrawTransform2DParam<P>>(t);
    }

    float mX = 0.0f;
    float mY = 0.0f;
};

// A draw through a render::Transform2D; further steps go on mTransform before the wrapper ends.
template <typename P>
class DrawTransform2DParam final : public DrawWrapper<TagTransform2D, P>
{
public:
    DrawTransform2DParam(const P& inner, bool pending, const Transform2D& transform)
        : DrawWrapper<TagTransform2D, P>(inner, pending), mTransform(transform)
    {
    }
    DrawTransform2DParam(DrawTransform2DParam&&) noexcept = default;
    ~DrawTransform2DParam() override { this->Finish(); }

    VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, uint32_t count) override
    {
        if (count > 0)
            mTransform.Apply(
                reinterpret_cast<float*>(static_cast<uint8_t*>(vertices) + format.mPosition.mOffset),
                format.mStride, count);
        return VN_OK;
    }

    // Further steps in call order, on the transform (the same as calling them on mTransform).
    DrawTransform2DParam& Translate(float x, float y)
    {
        mTransform.Translate(x, y);
        return *this;
    }
    DrawTransform2DParam& Scale(float sx, float sy)
    {
        mTransform.Scale(sx, sy);
        return *this;
    }
    DrawTransform2DParam& Scale(float s) { return Scale(s, s); }
    DrawTransform2DParam& Rotate(float radians)
    {
        mTransform.Rotate(radians);
        return *this;
    }
    DrawTransform2DParam& RotateDegrees(float degrees)
    {
        mTransform.RotateDegrees(degrees);
        return *this;
    }

    Transform2D mTransform;
};

} // namespace render
