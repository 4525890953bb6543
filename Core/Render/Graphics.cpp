#include "Core/Render/Graphics.h"

#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Texture.h"

namespace render
{

namespace
{
// An image draw's own fields: the Graphics it draws with, the image and the part of it to draw.
void SetUpImageDraw(DrawImageParam& param, Graphics* graphics, Image* image, const math::Rect& src)
{
    param.Bind(graphics);
    param.mImage = image;
    param.mSrcRect[0] = src.x;
    param.mSrcRect[1] = src.y;
    param.mSrcRect[2] = src.width;
    param.mSrcRect[3] = src.height;
}
} // namespace

uint32_t TintSpecular(float tint)
{
    const uint32_t t = static_cast<uint32_t>(static_cast<int64_t>(tint * 255.0f)) & 0xFFu;
    return t << 8 | (255u - t);
}

Graphics::Graphics(Render* render) : mRender(render)
{
    mState.mBlendMode = BlendAlpha;
    if (!mRender)
        return;
    mState.mScaleX = mRender->GetScaleX();
    mState.mScaleY = mRender->GetScaleY();
    mState.mOffsetX = mRender->GetOffsetX();
    mState.mOffsetY = mRender->GetOffsetY();
    mGeomShader = mRender->GetGeomShader();
    mShader = mRender->GetTexturedMultShader();
}

Graphics::Graphics(RenderTarget* target) : mRenderTarget(target)
{
    mState.mBlendMode = BlendAlpha;
    if (!target)
        return;
    Texture* texture = target->GetTexture();
    mRender = texture ? texture->GetRender() : nullptr;
    mState.mRenderTarget = texture;
    mState.mOffsetX = target->mOffsetX;
    mState.mOffsetY = target->mOffsetY;
    mState.mScaleX = target->mScaleX;
    mState.mScaleY = target->mScaleY;
    if (!mRender)
        return;
    mGeomShader = mRender->GetGeomShader();
    mShader = mRender->GetTexturedMultShader();
    if (!mRender->IsFrameOpen() && mRender->BeginFrame() == VN_OK)
        mOwnsFrame = true;
}

Graphics::~Graphics()
{
    if (mOwnsFrame && mRender)
    {
        if (mRender->EndFrame() == VN_OK)
            mRender->Playback();
    }
}

VNResultEnum Graphics::Clear(uint32_t flags, const Color& color, float z, uint32_t stencil)
{
    if (!mRender)
        return VN_FAIL;
    mRender->SetRenderTargetState(&mState);
    return mRender->Clear(flags, &color, z, stencil);
}

DrawUntransformedParam<DrawImageParam> Graphics::DrawImage(Image* image)
{
    const float w = image ? static_cast<float>(image->GetWidth()) : 0.0f;
    const float h = image ? static_cast<float>(image->GetHeight()) : 0.0f;
    return DrawImage(image, math::Rect(0.0f, 0.0f, w, h));
}

DrawUntransformedParam<DrawImageParam> Graphics::DrawImage(Image* image, const math::Rect& src)
{
    // Filled where it is returned: an image draw is made for every sprite, and a parameter built aside and
    // copied in cost more than the rest of this function.
    DrawUntransformedParam<DrawImageParam> param{DrawImageParam()};
    SetUpImageDraw(param, this, image, src);
    return param;
}

DrawTransform2DParam<DrawImageParam> Graphics::DrawImage(Image* image, const math::Rect& src,
                                                         const math::Rect& dst)
{
    DrawImageParam p;
    SetUpImageDraw(p, this, image, src);
    Transform2D t;
    t.Scale(src.width != 0.0f ? dst.width / src.width : 0.0f,
            src.height != 0.0f ? dst.height / src.height : 0.0f);
    t.Translate(dst.x, dst.y);
    return DrawTransform2DParam<DrawImageParam>(p, true, t);
}

DrawTransform2DParam<DrawImageParam> Graphics::DrawImage(Image* image, const DestRect& dst)
{
    const float w = image ? static_cast<float>(image->GetWidth()) : 0.0f;
    const float h = image ? static_cast<float>(image->GetHeight()) : 0.0f;
    return DrawImage(image, math::Rect(0.0f, 0.0f, w, h), static_cast<const math::Rect&>(dst));
}

DrawUntransformedParam<DrawTextParam> Graphics::DrawText(const std::wstring& text)
{
    DrawTextParam p;
    p.Bind(this);
    p.mText = &text;
    p.mFont = mFont;
    return DrawUntransformedParam<DrawTextParam>(p);
}

DrawUntransformedParam<DrawTextParam> Graphics::DrawText(const std::wstring& text, float width, float indent,
                                                         int32_t align, bool justifyLetters)
{
    DrawTextParam p;
    p.Bind(this);
    p.mText = &text;
    p.mFont = mFont;
    p.mLayout.mWidth = width;
    p.mLayout.mIndent = indent;
    p.mLayout.mAlign = align;
    p.mLayout.mJustifyLetters = justifyLetters;
    return DrawUntransformedParam<DrawTextParam>(p);
}

DrawUntransformedParam<DrawCustomParam> Graphics::Custom(int32_t type, uint32_t vertexCount,
                                                         uint32_t indexCount, SVertexGeom** vertices,
                                                         uint16_t** indices)
{
    DrawCustomParam p;
    p.Bind(this);
    p.mPrimitiveType = type;
    p.mFormat = SVertexGeom::Format();
    p.mShader = mGeomShader;
    auto* vc =
        mRender ? static_cast<VertexCacheGeom*>(mRender->GetVertexCache(SVertexGeom::Format().mId)) : nullptr;
    auto* ic = mRender ? static_cast<IndexCache16*>(mRender->GetIndexCache16()) : nullptr;
    VertexCacheGeom::Range vr;
    IndexCache16::Range ir;
    // Without room there is nothing to draw: the parameter comes back without a pending draw.
    if (!vc || vc->Allocate(vertexCount, vertices, &vr) != VN_OK)
        return DrawUntransformedParam<DrawCustomParam>(p, false);
    if (indexCount > 0 && (!ic || ic->Allocate(indexCount, indices, &ir) != VN_OK))
        return DrawUntransformedParam<DrawCustomParam>(p, false);
    p.mVertices = *vertices;
    p.mFirstVertex = vr.mFirst;
    p.mVertexCount = vertexCount;
    p.mVertexBuffer = vr.mBuffer->GetImpl();
    if (indexCount > 0)
    {
        p.mFirstIndex = ir.mFirst;
        p.mIndexCount = indexCount;
        p.mIndexBuffer = ir.mBuffer->GetImpl();
    }
    return DrawUntransformedParam<DrawCustomParam>(p);
}

DrawUntransformedParam<DrawCustomParam> Graphics::DrawLine(const math::Point2& a, const math::Point2& b)
{
    SVertexGeom* v = nullptr;
    uint16_t* idx = nullptr;
    auto param = Custom(LineList, 2, 0, &v, &idx);
    if (param.mPending)
    {
        const uint32_t color = mColor.ToARGB();
        v[0] = {a.x, a.y, 0.0f, color};
        v[1] = {b.x, b.y, 0.0f, color};
    }
    return param;
}

DrawUntransformedParam<DrawCustomParam> Graphics::FillRect(const math::Rect& r)
{
    SVertexGeom* v = nullptr;
    uint16_t* idx = nullptr;
    auto param = Custom(TriangleList, 4, 6, &v, &idx);
    if (param.mPending)
    {
        const uint32_t color = mColor.ToARGB();
        v[0] = {r.x, r.y, 0.0f, color};
        v[1] = {r.x + r.width, r.y, 0.0f, color};
        v[2] = {r.x + r.width, r.y + r.height, 0.0f, color};
        v[3] = {r.x, r.y + r.height, 0.0f, color};
        const auto base = static_cast<uint16_t>(param.mFirstVertex);
        const uint16_t list[6] = {0, 1, 2, 0, 2, 3};
        for (int i = 0; i < 6; ++i)
            idx[i] = static_cast<uint16_t>(base + list[i]);
    }
    return param;
}

DrawUntransformedParam<DrawParticlesParam> Graphics::DrawParticles(ParticleEmitter* emitter)
{
    DrawParticlesParam p;
    p.Bind(this);
    p.mEmitter = emitter;
    return DrawUntransformedParam<DrawParticlesParam>(p);
}

DrawUntransformedParam<DrawCustomParam>
Graphics::DrawCustom(int32_t type, SVertexGeom* vertices, const VertexCacheGeom::Range& range, Shader* shader)
{
    DrawCustomParam p;
    p.Bind(this);
    p.mPrimitiveType = type;
    p.mVertices = vertices;
    p.mFormat = SVertexGeom::Format();
    p.mFirstVertex = range.mFirst;
    p.mVertexCount = range.mCount;
    p.mVertexBuffer = range.mBuffer ? range.mBuffer->GetImpl() : nullptr;
    p.mShader = shader;
    return DrawUntransformedParam<DrawCustomParam>(p);
}

DrawUntransformedParam<DrawCustomParam> Graphics::DrawCustomIndexed(int32_t type, SVertexGeom* vertices,
                                                                    const VertexCacheGeom::Range& range,
                                                                    const IndexCache16::Range& indices,
                                                                    Shader* shader)
{
    auto param = DrawCustom(type, vertices, range, shader);
    param.mFirstIndex = indices.mFirst;
    param.mIndexCount = indices.mCount;
    param.mIndexBuffer = indices.mBuffer ? indices.mBuffer->GetImpl() : nullptr;
    return param;
}

VNResultEnum Graphics::SetBlendMode(int32_t mode)
{
    // Layers set their blend mode before every draw; only a change needs the state sent again.
    if (mState.mBlendMode != mode)
    {
        mState.mBlendMode = mode;
        mStateChanged = true;
    }
    return VN_OK;
}

VNResultEnum Graphics::SetDefaultShader(int32_t kind)
{
    if (kind == mDefaultShader || !mRender)
        return VN_OK;
    ShaderTextured* shader = nullptr;
    if (kind == 1)
        shader = mRender->GetTexturedMultShader();
    else if (kind == 2)
        shader = mRender->GetTexturedTintShader();
    else
        return VN_OK;
    if (!shader)
        return VN_FAIL;
    mShader = shader;
    mDefaultShader = kind;
    return VN_OK;
}

void Graphics::SetShader(ShaderTextured* shader)
{
    mDefaultShader = 0;
    mShader = shader ? shader : (mRender ? mRender->GetTexturedMultShader() : nullptr);
}

void Graphics::SetClipRect(const math::Rect& rect)
{
    mState.mScissorOn = true;
    mState.mScissorRect = rect;
    mStateChanged = true;
}

void Graphics::ResetClipRect()
{
    mState.mScissorOn = false;
    mStateChanged = true;
}

VNResultEnum Graphics::Flush()
{
    if (!mOwnsFrame || !mRender)
        return VN_OK;
    // The caches are unlocked by ending the frame, so what was written reaches the device; then a new frame
    // continues for the draws still to come.
    if (const VNResultEnum r = mRender->EndFrame(); r != VN_OK)
        return r;
    const VNResultEnum played = mRender->Playback();
    const VNResultEnum begun = mRender->BeginFrame();
    mStateChanged = true;
    return played != VN_OK ? played : begun;
}

const math::Matrix4& Graphics::GetProjection() const
{
    if (mRenderTarget)
        return mRenderTarget->mProjection;
    return mRender->GetProjection();
}

} // namespace render
