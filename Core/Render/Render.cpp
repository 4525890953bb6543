#include "Core/Render/Render.h"

#include "Core/Render/Buffer.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Texture.h"
#include "Core/Render/TextureFills.h"
#include "Core/Render/VertexFormat.h"

namespace render
{
namespace
{

uint32_t VerticesPerPrimitive(int32_t type)
{
    switch (type)
    {
    case TriangleList:
        return 3;
    case LineList:
        return 2;
    case PointList:
        return 1;
    default:
        return 0; // strips and fans never merge
    }
}

} // namespace

const std::vector<const BufferDoubleCacheCreator*>& GetCacheCreators()
{
    static const BufferDoubleCacheCreatorConcrete<SVertex2D> c2d;
    static const BufferDoubleCacheCreatorConcrete<SVertexGeom> cGeom;
    static const BufferDoubleCacheCreatorConcrete<SVertexRT> cRT;
    static const std::vector<const BufferDoubleCacheCreator*> creators{&c2d, &cGeom, &cRT};
    return creators;
}

Render::Render() = default;

Render::~Render()
{
    // Objects that outlive the Render must not unregister from freed memory.
    for (Buffer* b : mBuffers)
        b->DetachRender();
    for (Texture* t : mTextures)
        t->DetachRender();
    for (ShaderImpl* s : mShaderImpls)
        s->DetachRender();
}

VNResultEnum Render::InitRender(app::Window*, const RenderInitParam& param)
{
    ShaderImpl* impl = nullptr;
    if (const VNResultEnum r = CreateGeomShader(&impl); r != VN_OK)
        return r;
    mGeomShader = new Shader(impl, this);
    (void)mGeomShader->SetupVariables();
    if (const VNResultEnum r = CreateTexturedMultShader(&impl); r != VN_OK)
        return r;
    mTexturedMultShader = new ShaderTextured(impl, this);
    (void)mTexturedMultShader->SetupVariables();
    if (const VNResultEnum r = CreateTexturedTintShader(&impl); r != VN_OK)
        return r;
    mTexturedTintShader = new ShaderTextured(impl, this);
    (void)mTexturedTintShader->SetupVariables();

    const auto& formats = GetVertexFormats();
    const auto& creators = GetCacheCreators();
    mVertexCaches.assign(formats.size(), nullptr);
    for (size_t i = 0; i < formats.size(); ++i)
    {
        if (formats[i].mCacheSize == 0 && formats[i].mCacheGrow == 0)
            continue;
        if (const VNResultEnum r =
                creators[i]->Create(this, formats[i].mCacheSize, formats[i].mCacheGrow, &mVertexCaches[i]);
            r != VN_OK)
            return r;
    }
    if (const VNResultEnum r = CreateIndexCache(10240, 1024, &mIndexCache16, false); r != VN_OK)
        return r;
    if (mIndex32Supported)
        if (const VNResultEnum r = CreateIndexCache(61440, 10240, &mIndexCache32, true); r != VN_OK)
            return r;

    if (const VNResultEnum r = BuildProjection(param); r != VN_OK)
        return r;
    SetMapping(param);
    ResetState();
    return VN_OK;
}

VNResultEnum Render::BuildProjection(const RenderInitParam& param)
{
    if (param.mOrthoFromSize)
        return SetOrthoProjection(static_cast<float>(param.mWidth), static_cast<float>(param.mHeight), 0.0f,
                                  &mProjection);
    mProjection = param.mProjection;
    return VN_OK;
}

void Render::SetMapping(const RenderInitParam& param)
{
    mScaleX = param.mScaleX;
    mScaleY = param.mScaleY;
    mOffsetX = param.mOffsetX;
    mOffsetY = param.mOffsetY;
}

VNResultEnum Render::SetOrthoProjection(float width, float height, float, math::Matrix4* out)
{
    if (!out || width == 0.0f || height == 0.0f)
        return VN_FAIL;
    out->SetIdentity();
    out->m[0] = 2.0f / width;
    out->m[5] = -2.0f / height;
    out->m[10] = 1.0f;
    out->m[12] = -1.0f;
    out->m[13] = 1.0f;
    out->m[14] = 0.0f;
    return VN_OK;
}

VNResultEnum Render::OnStateReset()
{
    return VN_OK;
}

VNResultEnum Render::ToPixelRect(const float rect[4], uint32_t out[4])
{
    const GraphicsState& s = mRequested;
    const float v[4] = {(rect[0] + s.mOffsetX) * s.mScaleX, (rect[1] + s.mOffsetY) * s.mScaleY,
                        rect[2] * s.mScaleX, rect[3] * s.mScaleY};
    // Negative values (a rectangle partly left of or above the target) become 0 rather than wrapping.
    for (int i = 0; i < 4; ++i)
        out[i] = v[i] > 0.0f ? static_cast<uint32_t>(v[i]) : 0u;
    return VN_OK;
}

bool Render::CheckDevice()
{
    if (DoCheckDevice())
        return true;
    DropRecorded();
    return false;
}

void Render::DropRecorded()
{
    mCommandBuffer.Seek(0, 0);
    mPendingIndexed = false;
    mPendingType = PrimitiveNone;
    mPendingStart = mPendingCount = mPendingMinVertex = mPendingVertexCount = 0;
    mApplied = mPlayedState;
    mRecordedTarget = mPlayedTarget;
    mCurrentSource = nullptr;
    mDirty = true;
    for (ShaderImpl* s : mShaderImpls)
        s->MarkAllChanged();
}

VNResultEnum Render::BeginFrame()
{
    mFrameOpen = true;
    if (mCommandBuffer.WriteU32(CmdBeginScene) != VN_OK)
        return VN_FAIL;
    for (BufferDoubleCacheBase* c : mVertexCaches)
        if (c)
            if (const VNResultEnum r = c->BeginFrame(); r != VN_OK)
                return r;
    if (mIndexCache16)
        if (const VNResultEnum r = mIndexCache16->BeginFrame(); r != VN_OK)
            return r;
    if (mIndexCache32)
        if (const VNResultEnum r = mIndexCache32->BeginFrame(); r != VN_OK)
            return r;
    return VN_OK;
}

VNResultEnum Render::EndFrame()
{
    mFrameOpen = false;
    VNResultEnum result = VN_OK;
    for (BufferDoubleCacheBase* c : mVertexCaches)
        if (c && c->EndFrame() != VN_OK && result == VN_OK)
            result = VN_FAIL;
    if (mIndexCache16 && mIndexCache16->EndFrame() != VN_OK && result == VN_OK)
        result = VN_FAIL;
    if (mIndexCache32 && mIndexCache32->EndFrame() != VN_OK && result == VN_OK)
        result = VN_FAIL;
    if (result != VN_OK)
        return result;
    if (const VNResultEnum r = FlushDraw(); r != VN_OK)
        return r;
    return mCommandBuffer.WriteU32(CmdEndScene);
}

VNResultEnum Render::Present()
{
    return mCommandBuffer.WriteU32(CmdPresent);
}

VNResultEnum Render::RecordRenderTarget(bool force)
{
    if (mRequested.mRenderTarget == mRecordedTarget && !force)
        return VN_OK;
    VNResultEnum r;
    if (mRequested.mRenderTarget)
    {
        r = mCommandBuffer.WriteU32(CmdSetRenderTarget);
        if (r == VN_OK)
            r = mCommandBuffer.WritePointer(mRequested.mRenderTarget);
    }
    else
        r = mCommandBuffer.WriteU32(CmdResetRenderTarget);
    if (r != VN_OK)
        return r;
    mRecordedTarget = mRequested.mRenderTarget;
    mDirty = true;
    return VN_OK;
}

VNResultEnum Render::Clear(uint32_t flags, const Color* color, float depth, uint32_t stencil)
{
    if (const VNResultEnum r = FlushDraw(); r != VN_OK)
        return r;
    if (const VNResultEnum r = RecordRenderTarget(); r != VN_OK)
        return r;
    const Color c = color ? *color : Color();
    CommandBuffer& b = mCommandBuffer;
    if (b.WriteU32(CmdClear) != VN_OK || b.WriteU32(flags) != VN_OK || b.WriteExact(&c, sizeof c) != VN_OK ||
        b.WriteF32(depth) != VN_OK || b.WriteU32(stencil) != VN_OK)
        return VN_FAIL;
    return VN_OK;
}

VNResultEnum Render::DrawPrimitive(int32_t type, uint32_t firstVertex, uint32_t count)
{
    const bool dirty = mDirty || (mRequested.mShader && mRequested.mShader->IsDirty());
    const uint32_t v = VerticesPerPrimitive(type);
    if (!mPendingIndexed && mPendingType == type && mPendingCount != 0 && v != 0 &&
        firstVertex == mPendingStart + mPendingCount * v && !dirty)
    {
        mPendingCount += count;
        return VN_OK;
    }
    if (const VNResultEnum r = FlushDraw(); r != VN_OK)
        return r;
    if (dirty)
        if (const VNResultEnum r = CommitState(); r != VN_OK)
            return r;
    mPendingIndexed = false;
    mPendingType = type;
    mPendingStart = firstVertex;
    mPendingCount = count;
    mPendingMinVertex = 0;
    mPendingVertexCount = 0;
    return VN_OK;
}

VNResultEnum Render::DrawIndexedPrimitive(int32_t type, uint32_t firstIndex, uint32_t count,
                                          uint32_t minVertex, uint32_t vertexCount)
{
    const bool dirty = mDirty || (mRequested.mShader && mRequested.mShader->IsDirty());
    const uint32_t v = VerticesPerPrimitive(type);
    if (mPendingIndexed && mPendingType == type && mPendingCount != 0 && v != 0 &&
        firstIndex == mPendingStart + mPendingCount * v && !dirty)
    {
        mPendingCount += count;
        const uint32_t newMin = std::min(mPendingMinVertex, minVertex);
        const uint32_t end = std::max(minVertex + vertexCount, mPendingMinVertex + mPendingVertexCount);
        mPendingMinVertex = newMin;
        mPendingVertexCount = end - newMin;
        return VN_OK;
    }
    if (const VNResultEnum r = FlushDraw(); r != VN_OK)
        return r;
    if (dirty)
        if (const VNResultEnum r = CommitState(); r != VN_OK)
            return r;
    mPendingIndexed = true;
    mPendingType = type;
    mPendingStart = firstIndex;
    mPendingCount = count;
    mPendingMinVertex = minVertex;
    mPendingVertexCount = vertexCount;
    return VN_OK;
}

VNResultEnum Render::FlushDraw()
{
    if (mPendingCount == 0)
        return VN_OK;
    CommandBuffer& b = mCommandBuffer;
    const auto type = static_cast<uint32_t>(mPendingType);
    if (mPendingIndexed)
    {
        const uint32_t indexSize = mApplied.mIndexBuffer ? mApplied.mIndexBuffer->GetIndexSize() : 2;
        if (b.WriteU32(CmdDrawIndexedPrimitive) != VN_OK || b.WriteU32(type) != VN_OK ||
            b.WriteU32(indexSize) != VN_OK || b.WriteU32(mPendingStart) != VN_OK ||
            b.WriteU32(mPendingCount) != VN_OK || b.WriteU32(mPendingMinVertex) != VN_OK ||
            b.WriteU32(mPendingVertexCount) != VN_OK)
            return VN_FAIL;
    }
    else if (b.WriteU32(CmdDrawPrimitive) != VN_OK || b.WriteU32(type) != VN_OK ||
             b.WriteU32(mPendingStart) != VN_OK || b.WriteU32(mPendingCount) != VN_OK)
        return VN_FAIL;
    mPendingIndexed = false;
    mPendingType = PrimitiveNone;
    mPendingStart = mPendingCount = mPendingMinVertex = mPendingVertexCount = 0;
    return VN_OK;
}

VNResultEnum Render::CommitState()
{
    CommandBuffer& b = mCommandBuffer;
    GraphicsState& a = mApplied;
    const GraphicsState& q = mRequested;
    if (mDirty)
    {
        const bool all = mRecordAll;
        mRecordAll = false;
        if (const VNResultEnum r = RecordRenderTarget(all); r != VN_OK)
            return r;
        const bool targetChanged = all || q.mRenderTarget != a.mRenderTarget;
        a.mRenderTarget = q.mRenderTarget;
        a.mScaleX = q.mScaleX;
        a.mScaleY = q.mScaleY;
        a.mOffsetX = q.mOffsetX;
        a.mOffsetY = q.mOffsetY;
        const bool forceScissor = targetChanged && mRerecordScissorOnTargetChange;

        if (all || q.mShader != a.mShader)
        {
            if (b.WriteU32(CmdSetShader) != VN_OK || b.WritePointer(q.mShader) != VN_OK)
                return VN_FAIL;
            if (a.mShader)
                a.mShader->OnUnbind();
            if (q.mShader)
                q.mShader->OnBind();
            a.mShader = q.mShader;
        }
        if (all || q.mVertexBuffer != a.mVertexBuffer)
        {
            if (q.mVertexBuffer &&
                (all || !a.mVertexBuffer || a.mVertexBuffer->GetFormatId() != q.mVertexBuffer->GetFormatId()))
                if (b.WriteU32(CmdSetVertexFormat) != VN_OK ||
                    b.WriteU32(static_cast<uint32_t>(q.mVertexBuffer->GetFormatId())) != VN_OK)
                    return VN_FAIL;
            if (b.WriteU32(CmdSetVertexBuffer) != VN_OK || b.WritePointer(q.mVertexBuffer) != VN_OK)
                return VN_FAIL;
            a.mVertexBuffer = q.mVertexBuffer;
        }
        if (all || q.mIndexBuffer != a.mIndexBuffer)
        {
            if (b.WriteU32(CmdSetIndexBuffer) != VN_OK || b.WritePointer(q.mIndexBuffer) != VN_OK)
                return VN_FAIL;
            a.mIndexBuffer = q.mIndexBuffer;
        }
        if (all || q.mBlendMode != a.mBlendMode)
        {
            if (b.WriteU32(CmdSetBlendMode) != VN_OK ||
                b.WriteU32(static_cast<uint32_t>(q.mBlendMode)) != VN_OK)
                return VN_FAIL;
            a.mBlendMode = q.mBlendMode;
        }
        if (all || q.mScissorOn != a.mScissorOn || forceScissor)
        {
            if (b.WriteU32(CmdSetScissorEnabled) != VN_OK || b.WriteU8(q.mScissorOn ? 1 : 0) != VN_OK)
                return VN_FAIL;
            a.mScissorOn = q.mScissorOn;
        }
        if ((q.mScissorOn && !(q.mScissorRect == a.mScissorRect)) || forceScissor || all)
        {
            const float rect[4] = {q.mScissorRect.x, q.mScissorRect.y, q.mScissorRect.width,
                                   q.mScissorRect.height};
            uint32_t pixels[4];
            ToPixelRect(rect, pixels);
            if (b.WriteU32(CmdSetScissorRect) != VN_OK || b.WriteExact(pixels, sizeof pixels) != VN_OK)
                return VN_FAIL;
            a.mScissorRect = q.mScissorRect;
        }
        if (all || q.mDepthTest != a.mDepthTest || (q.mDepthTest && q.mDepthWrite != a.mDepthWrite))
        {
            if (b.WriteU32(CmdSetDepth) != VN_OK || b.WriteU8(q.mDepthTest ? 1 : 0) != VN_OK)
                return VN_FAIL;
            if (q.mDepthTest && b.WriteU8(q.mDepthWrite ? 1 : 0) != VN_OK)
                return VN_FAIL;
            a.mDepthTest = q.mDepthTest;
            a.mDepthWrite = q.mDepthWrite;
        }
        mDirty = false;
    }
    if (q.mShader && q.mShader->IsDirty())
    {
        if (b.WriteU32(CmdShaderVariables) != VN_OK || b.WritePointer(q.mShader) != VN_OK)
            return VN_FAIL;
        if (const VNResultEnum r = q.mShader->RecordVariables(b); r != VN_OK)
            return r;
    }
    return VN_OK;
}

void Render::SetState(const GraphicsState* state, bool force)
{
    if (!state || (state == mCurrentSource && !force))
        return;
    mCurrentSource = state;
    GraphicsState& q = mRequested;
    auto copy = [this](auto& dst, const auto& src)
    {
        if (!(dst == src))
        {
            dst = src;
            mDirty = true;
        }
    };
    if (q.mRenderTarget != state->mRenderTarget)
    {
        q.mRenderTarget = state->mRenderTarget;
        q.mScaleX = state->mScaleX;
        q.mScaleY = state->mScaleY;
        q.mOffsetX = state->mOffsetX;
        q.mOffsetY = state->mOffsetY;
        mDirty = true;
    }
    copy(q.mShader, state->mShader);
    copy(q.mVertexBuffer, state->mVertexBuffer);
    copy(q.mIndexBuffer, state->mIndexBuffer);
    copy(q.mBlendMode, state->mBlendMode);
    copy(q.mScissorOn, state->mScissorOn);
    if (q.mScissorOn)
        copy(q.mScissorRect, state->mScissorRect);
    copy(q.mDepthTest, state->mDepthTest);
    if (q.mDepthTest)
        copy(q.mDepthWrite, state->mDepthWrite);
}

void Render::SetRenderTargetState(const GraphicsState* state)
{
    if (!state || mRequested.mRenderTarget == state->mRenderTarget)
        return;
    mRequested.mRenderTarget = state->mRenderTarget;
    mRequested.mScaleX = state->mScaleX;
    mRequested.mScaleY = state->mScaleY;
    mRequested.mOffsetX = state->mOffsetX;
    mRequested.mOffsetY = state->mOffsetY;
    mDirty = true;
}

void Render::ResetState()
{
    GraphicsState d;
    d.mScaleX = mScaleX;
    d.mScaleY = mScaleY;
    d.mOffsetX = mOffsetX;
    d.mOffsetY = mOffsetY;
    mApplied = d;
    mRequested = d;
    mPlayedState = d;
}

void Render::ResetStateCache()
{
    ResetState();
    mCurrentSource = nullptr;
    mRecordedTarget = nullptr;
    mPlayedTarget = nullptr;
    mDirty = true;
    OnStateReset();
}

VNResultEnum Render::Playback()
{
    CommandBuffer& b = mCommandBuffer;
    if (b.WriteU32(CmdEnd) != VN_OK)
    {
        b.Seek(0, 0);
        return VN_FAIL;
    }
    b.Seek(0, 0);
    for (;;)
    {
        uint32_t opcode = 0;
        bool end = false;
        VNResultEnum r = b.ReadU32(opcode);
        if (r == VN_OK)
            r = PlayRecord(opcode, end);
        if (r == VN_OK && end)
        {
            b.Seek(0, 0);
            mPlayedState = mApplied;
            mPlayedTarget = mRecordedTarget;
            if (!mFrameOpen)
                FitCachesToLastFrame();
            return VN_OK;
        }
        if (r != VN_OK)
        {
            // A failed frame is dropped whole: the next one records from the start, and since the device took
            // an unknown part of this one, every state is recorded again.
            DropRecorded();
            mRecordAll = true;
            return r;
        }
    }
}

VNResultEnum Render::PlayRecord(uint32_t opcode, bool& end)
{
    CommandBuffer& b = mCommandBuffer;
    switch (opcode)
    {
    case CmdClear:
    {
        uint32_t flags = 0, stencil = 0;
        Color c;
        float depth = 0.0f;
        if (b.ReadU32(flags) != VN_OK || b.ReadExact(&c, sizeof c) != VN_OK || b.ReadF32(depth) != VN_OK ||
            b.ReadU32(stencil) != VN_OK)
            return VN_FAIL;
        return DoClear(flags, &c, depth, stencil);
    }
    case CmdBeginScene:
        return DoBeginScene();
    case CmdEndScene:
        return DoEndScene();
    case CmdPresent:
    {
        const VNResultEnum r = DoPresent();
        if (FillsTexturesLater())
            TextureFills::Instance().OnPresented();
        return r;
    }
    case CmdSetRenderTarget:
    {
        Texture* t = nullptr;
        if (b.ReadPointer(t) != VN_OK)
            return VN_FAIL;
        return DoSetRenderTarget(t);
    }
    case CmdResetRenderTarget:
        return DoSetRenderTarget(nullptr);
    case CmdSetShader:
    {
        ShaderImpl* s = nullptr;
        if (b.ReadPointer(s) != VN_OK)
            return VN_FAIL;
        return DoSetShader(s);
    }
    case CmdShaderVariables:
    {
        ShaderImpl* s = nullptr;
        if (b.ReadPointer(s) != VN_OK || !s)
            return VN_FAIL;
        return s->PlayVariables(b);
    }
    case CmdSetVertexFormat:
    {
        uint32_t id = 0;
        if (b.ReadU32(id) != VN_OK)
            return VN_FAIL;
        return DoSetVertexFormat(id);
    }
    case CmdSetVertexBuffer:
    {
        VertexBufferImpl* v = nullptr;
        if (b.ReadPointer(v) != VN_OK)
            return VN_FAIL;
        return DoSetVertexBuffer(v);
    }
    case CmdSetIndexBuffer:
    {
        IndexBufferImpl* i = nullptr;
        if (b.ReadPointer(i) != VN_OK)
            return VN_FAIL;
        return DoSetIndexBuffer(i);
    }
    case CmdSetBlendMode:
    {
        uint32_t mode = 0;
        if (b.ReadU32(mode) != VN_OK)
            return VN_FAIL;
        return DoSetBlendMode(static_cast<int32_t>(mode));
    }
    case CmdSetScissorEnabled:
    {
        uint8_t on = 0;
        if (b.ReadU8(on) != VN_OK)
            return VN_FAIL;
        return DoSetScissorEnabled(on != 0);
    }
    case CmdSetScissorRect:
    {
        uint32_t rect[4];
        if (b.ReadExact(rect, sizeof rect) != VN_OK)
            return VN_FAIL;
        return DoSetScissorRect(rect);
    }
    case CmdSetDepth:
    {
        uint8_t test = 0, write = 0;
        if (b.ReadU8(test) != VN_OK)
            return VN_FAIL;
        if (test && b.ReadU8(write) != VN_OK)
            return VN_FAIL;
        return DoSetDepth(test != 0, write != 0);
    }
    case CmdDrawPrimitive:
    {
        uint32_t type = 0, first = 0, count = 0;
        if (b.ReadU32(type) != VN_OK || b.ReadU32(first) != VN_OK || b.ReadU32(count) != VN_OK)
            return VN_FAIL;
        return DoDrawPrimitive(static_cast<int32_t>(type), first, count);
    }
    case CmdDrawIndexedPrimitive:
    {
        uint32_t a[6];
        if (b.ReadExact(a, sizeof a) != VN_OK)
            return VN_FAIL;
        return DoDrawIndexedPrimitive(static_cast<int32_t>(a[0]), a[1], a[2], a[3], a[4], a[5]);
    }
    case CmdEnd:
        end = true;
        return VN_OK;
    default:
        return VN_OK; // unknown opcodes carry no arguments
    }
}

VNResultEnum Render::CreateIndexCache(uint32_t size, uint32_t grow, BufferDoubleCacheBase** out, bool wide)
{
    VNResultEnum r;
    if (wide)
    {
        auto* cache = new IndexCache32(this);
        r = cache->Init(size, grow);
        if (r == VN_OK)
            *out = cache;
        else
            delete cache;
    }
    else
    {
        auto* cache = new IndexCache16(this);
        r = cache->Init(size, grow);
        if (r == VN_OK)
            *out = cache;
        else
            delete cache;
    }
    return r;
}

void Render::FitCachesToLastFrame()
{
    // Nothing recorded is left to point at the buffers that go. A buffer that cannot be made is made again
    // by the frame that needs it, so failures are not passed on.
    for (BufferDoubleCacheBase* c : mVertexCaches)
        if (c)
            (void)c->FitToLastFrame();
    if (mIndexCache16)
        (void)mIndexCache16->FitToLastFrame();
    if (mIndexCache32)
        (void)mIndexCache32->FitToLastFrame();
}

void Render::ReleaseCachesAndShaders()
{
    for (BufferDoubleCacheBase* c : mVertexCaches)
        delete c;
    mVertexCaches.clear();
    delete mIndexCache16;
    mIndexCache16 = nullptr;
    delete mIndexCache32;
    mIndexCache32 = nullptr;
    auto unload = [](auto*& shader)
    {
        if (shader)
        {
            (void)shader->DoUnload();
            delete shader;
            shader = nullptr;
        }
    };
    unload(mGeomShader);
    unload(mTexturedMultShader);
    unload(mTexturedTintShader);
}

void Render::UnregisterTexture(Texture* t)
{
    Unregister(mTextures, t);
    for (ShaderImpl* s : mShaderImpls)
        s->MarkAllChanged();
    OnResourceGone(t);
}

BufferDoubleCacheBase* Render::GetVertexCache(int32_t formatId) const
{
    if (formatId < 0 || static_cast<size_t>(formatId) >= mVertexCaches.size())
        return nullptr;
    return mVertexCaches[static_cast<size_t>(formatId)];
}

} // namespace render
