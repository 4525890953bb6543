#include "Core/Render/DrawParam.h"

#include "Core/Base/AABB.h"
#include "Core/Base/Transform3D.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/QuadIndices.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"

#include <algorithm>
#include <cmath>

namespace render
{
namespace
{

ParticleRenderPass gParticlePass = nullptr;

float* PositionOf(void* vertices, const VertexFormat& format, uint32_t i)
{
    return reinterpret_cast<float*>(static_cast<uint8_t*>(vertices) +
                                    static_cast<size_t>(i) * format.mStride + format.mPosition.mOffset);
}

} // namespace

void SetParticleRenderPass(ParticleRenderPass pass)
{
    gParticlePass = pass;
}

void OffsetPositions(void* vertices, const VertexFormat& format, uint32_t count, float dx, float dy)
{
    if (format.mPosition.mComponents != 3 && format.mPosition.mComponents != 4)
        return;
    for (uint32_t i = 0; i < count; ++i)
    {
        float* p = PositionOf(vertices, format, i);
        p[0] += dx;
        p[1] += dy;
    }
}

void GraphicsFriend::Bind(Graphics* graphics)
{
    mGraphics = graphics;
    mRender = graphics ? graphics->mRender : nullptr;
    mState = graphics ? &graphics->mState : nullptr;
}

VNResultEnum GraphicsFriend::CommitState()
{
    if (!mGraphics || !mRender)
        return VN_FAIL;
    mRender->SetState(mState, mGraphics->mStateChanged);
    mGraphics->mStateChanged = false;
    return VN_OK;
}

void GraphicsFriend::SetVertexBuffer(VertexBufferImpl* buffer)
{
    if (mState && mState->mVertexBuffer != buffer)
    {
        mState->mVertexBuffer = buffer;
        mGraphics->mStateChanged = true;
    }
}

void GraphicsFriend::SetIndexBuffer(IndexBufferImpl* buffer)
{
    if (mState && mState->mIndexBuffer != buffer)
    {
        mState->mIndexBuffer = buffer;
        mGraphics->mStateChanged = true;
    }
}

void GraphicsFriend::SetShader(ShaderImpl* shader)
{
    if (mState && mState->mShader != shader)
    {
        mState->mShader = shader;
        mGraphics->mStateChanged = true;
    }
}

VNResultEnum GraphicsFriend::ApplyWorldTransform(void* vertices, const VertexFormat& format, uint32_t count)
{
    if (!mGraphics || !mGraphics->mTransform || format.mPosition.mComponents < 3)
        return VN_OK;
    const math::Matrix4& m = mGraphics->mTransform->GetMatrix();
    for (uint32_t i = 0; i < count; ++i)
    {
        float* p = PositionOf(vertices, format, i);
        math::Point3 point(p[0], p[1], p[2]);
        m.TransformPoint(point);
        p[0] = point.x;
        p[1] = point.y;
        p[2] = point.z;
    }
    return VN_OK;
}

VNResultEnum GraphicsFriend::ApplyPixelOffset(void* vertices, const VertexFormat& format, uint32_t count)
{
    if (format.mPosition.mComponents < 3)
        return VN_FAIL;
    for (uint32_t i = 0; i < count; ++i)
    {
        float* p = PositionOf(vertices, format, i);
        p[0] -= 0.5f;
        p[1] -= 0.5f;
        p[2] = 0.0f;
    }
    return VN_OK;
}

void GraphicsFriend::BindProjection(Shader* shader)
{
    if (shader && mGraphics && mRender)
        shader->SetProjection(&mGraphics->GetProjection());
}

VNResultEnum DrawImageParam::Draw(DrawParam* outer)
{
    if (!mGraphics || !mRender || !mImage || !mGraphics->mShader)
        return VN_FAIL;
    auto* vc = static_cast<VertexCache2D*>(mRender->GetVertexCache(SVertex2D::Format().mId));
    auto* ic = static_cast<IndexCache16*>(mRender->GetIndexCache16());
    if (!vc || !ic)
        return VN_FAIL;
    SVertex2D* v = nullptr;
    uint16_t* idx = nullptr;
    VertexCache2D::Range vr;
    IndexCache16::Range ir;
    if (const VNResultEnum r = vc->Allocate(4, &v, &vr); r != VN_OK)
        return r;
    if (const VNResultEnum r = ic->Allocate(6, &idx, &ir); r != VN_OK)
        return r;

    const float w = mSrcRect[2];
    const float h = mSrcRect[3];
    auto start = [](int32_t align, float size) {
        return align == 1 ? -size : align == 2 ? -size * 0.5f : 0.0f;
    };
    const float x0 = start(mAlignH, w);
    const float y0 = start(mAlignV, h);
    const float x1 = x0 + w;
    const float y1 = y0 + h;
    const auto iw = static_cast<float>(mImage->GetWidth());
    const auto ih = static_cast<float>(mImage->GetHeight());
    float uL = iw != 0.0f ? mSrcRect[0] / iw : 0.0f;
    float uR = iw != 0.0f ? (mSrcRect[0] + w) / iw : 0.0f;
    float vT = ih != 0.0f ? mSrcRect[1] / ih : 0.0f;
    float vB = ih != 0.0f ? (mSrcRect[1] + h) / ih : 0.0f;
    if (mFlipX)
        std::swap(uL, uR);
    if (mFlipY)
        std::swap(vT, vB);
    // The atlas mapping of the image (MapAtlasUV on each vertex), done once for the two values of each axis.
    if (mImage->MapsIntoAtlas())
    {
        uL = mImage->AtlasU(uL);
        uR = mImage->AtlasU(uR);
        vT = mImage->AtlasV(vT);
        vB = mImage->AtlasV(vB);
    }
    const uint32_t diffuse = mGraphics->mColor.ToARGB();
    const uint32_t specular = TintSpecular(mGraphics->mTint);
    const float xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
    const float us[4] = {uL, uR, uR, uL}, vs[4] = {vT, vT, vB, vB};
    // World transform and half-pixel offset on the way into the cache, each vertex written whole, once: the
    // cache's memory is only ever written.
    const math::Matrix4* world = mGraphics->mTransform ? &mGraphics->mTransform->GetMatrix() : nullptr;
    auto emit = [&](int i, float x, float y, float z, float w, uint32_t d, uint32_t s, float u, float t)
    {
        math::Point3 p(x, y, z);
        if (world)
            world->TransformPoint(p);
        v[i] = {p.x - 0.5f, p.y - 0.5f, 0.0f, w, d, s, u, t};
    };
    if (outer)
    {
        // The wrapper's transform works on whole vertices: the quad goes through it on the stack first.
        SVertex2D q[4];
        for (int i = 0; i < 4; ++i)
            q[i] = {xs[i], ys[i], 0.0f, 1.0f, diffuse, specular, us[i], vs[i]};
        if (const VNResultEnum r = outer->TransformVertices(q, SVertex2D::Format(), 4); r != VN_OK)
            return r;
        for (int i = 0; i < 4; ++i)
            emit(i, q[i].x, q[i].y, q[i].z, q[i].w, q[i].diffuse, q[i].specular, q[i].u, q[i].v);
    }
    else
    {
        // Straight from registers: a copy on the stack read back with other widths than it was written with
        // stalled the stores into the cache.
        for (int i = 0; i < 4; ++i)
            emit(i, xs[i], ys[i], 0.0f, 1.0f, diffuse, specular, us[i], vs[i]);
    }
    WriteQuadIndices(idx, static_cast<uint16_t>(vr.mFirst));

    ShaderTextured* shader = mGraphics->mShader;
    SetVertexBuffer(vr.mBuffer->GetImpl());
    SetIndexBuffer(ir.mBuffer->GetImpl());
    SetShader(shader->GetImpl());
    if (const VNResultEnum r = CommitState(); r != VN_OK)
        return r;
    shader->SetTexture(mImage);
    BindProjection(shader);
    return mRender->DrawIndexedPrimitive(TriangleList, ir.mFirst, 2, vr.mFirst, 4);
}

VNResultEnum DrawCustomParam::Draw(DrawParam* outer)
{
    if (!mGraphics || !mRender || !mVertices || !mShader || !mVertexBuffer)
        return VN_FAIL;
    if (outer)
        if (const VNResultEnum r = outer->TransformVertices(mVertices, mFormat, mVertexCount); r != VN_OK)
            return r;
    if (const VNResultEnum r = ApplyWorldTransform(mVertices, mFormat, mVertexCount); r != VN_OK)
        return r;
    if (const VNResultEnum r = ApplyPixelOffset(mVertices, mFormat, mVertexCount); r != VN_OK)
        return r;
    SetShader(mShader->GetImpl());
    BindProjection(mShader);
    if (mPrimitiveCount == 0)
    {
        const uint32_t n = mIndexBuffer ? mIndexCount : mVertexCount;
        switch (mPrimitiveType)
        {
        case LineList:
            mPrimitiveCount = n / 2;
            break;
        case LineStrip:
            mPrimitiveCount = n > 0 ? n - 1 : 0;
            break;
        case TriangleList:
            mPrimitiveCount = n / 3;
            break;
        case TriangleStrip:
        case TriangleFan:
            mPrimitiveCount = n > 1 ? n - 2 : 0;
            break;
        default:
            mPrimitiveCount = n;
            break;
        }
    }
    if (mPrimitiveCount == 0)
        return VN_OK;
    SetVertexBuffer(mVertexBuffer);
    if (mIndexBuffer)
    {
        SetIndexBuffer(mIndexBuffer);
        if (const VNResultEnum r = CommitState(); r != VN_OK)
            return r;
        return mRender->DrawIndexedPrimitive(mPrimitiveType, mFirstIndex, mPrimitiveCount, mFirstVertex,
                                             mVertexCount);
    }
    if (const VNResultEnum r = CommitState(); r != VN_OK)
        return r;
    return mRender->DrawPrimitive(mPrimitiveType, mFirstVertex, mPrimitiveCount);
}

VNResultEnum DrawParticlesParam::Draw(DrawParam* outer)
{
    if (!gParticlePass || !mEmitter)
        return VN_FAIL;
    int count = 0;
    const VNResultEnum r = gParticlePass(*this, outer, &count);
    if (mOutCount)
        *mOutCount = count;
    return r;
}

DrawTextParam::DrawTextParam(const DrawTextParam& o)
    : GraphicsFriend(o), mText(o.mText), mFont(o.mFont), mLayout(o.mLayout), mAlignH(o.mAlignH),
      mAlignV(o.mAlignV), mOutWidth(o.mOutWidth), mOutHeight(o.mOutHeight), mOutBounds(o.mOutBounds)
{
}

VNResultEnum DrawTextParam::Draw(DrawParam* outer)
{
    if (mGraphics)
        Bind(mGraphics);
    mOuter = outer;
    if (!mFont || !mText)
        return VN_FAIL;
    if (!mGraphics && !mOutWidth && !mOutHeight && !mOutBounds)
        return VN_OK;
    float size[2] = {0.0f, 0.0f};
    if (const VNResultEnum r = mFont->DrawText(mGraphics, this, mText, &mLayout, size); r != VN_OK)
        return r;
    mWidth = size[0];
    mHeight = size[1];
    if (mOutWidth)
        *mOutWidth = mWidth;
    if (mOutHeight)
        *mOutHeight = mHeight;
    if (mOutBounds)
    {
        SVertex2D corners[4] = {};
        const float xy[4][2] = {{0, 0}, {mWidth, 0}, {mWidth, mHeight}, {0, mHeight}};
        for (int i = 0; i < 4; ++i)
        {
            corners[i].x = xy[i][0];
            corners[i].y = xy[i][1];
        }
        if (const VNResultEnum r = TransformVertices(corners, SVertex2D::Format(), 4); r != VN_OK)
            return r;
        mOutBounds->Clear();
        for (const SVertex2D& c : corners)
            mOutBounds->Extend(math::Point3(c.x, c.y, 0.0f));
    }
    return VN_OK;
}

VNResultEnum DrawTextParam::TransformVertices(void* vertices, const VertexFormat& format, uint32_t count)
{
    float dx = 0.0f;
    float dy = 0.0f;
    if (mAlignH == 1)
        dx = -mWidth;
    else if (mAlignH == 2)
        dx = std::floor(mWidth * -0.5f);
    if (mAlignV == 1)
        dy = -mHeight;
    else if (mAlignV == 2)
        dy = -std::floor(mHeight * 0.5f);
    else if (mAlignV == 3 && mFont)
        dy = -mFont->GetBase();
    if (dx != 0.0f || dy != 0.0f)
        OffsetPositions(vertices, format, count, dx, dy);
    if (mOuter)
        if (const VNResultEnum r = mOuter->TransformVertices(vertices, format, count); r != VN_OK)
            return r;
    if (mGraphics)
        return ApplyWorldTransform(vertices, format, count);
    return VN_OK;
}

} // namespace render
