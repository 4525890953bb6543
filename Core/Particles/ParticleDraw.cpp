// The particle render pass the drawing front runs for render::DrawParticlesParam: each rendered list becomes
// one indexed triangle-list draw of the list's quads, textured with its atlas and blended by its intensity.
#include "Core/Base/AABB.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/VertexFormat.h"

namespace render
{
namespace
{
class GraphicsSink final : public ParticleBatchSink
{
public:
    GraphicsSink(DrawParticlesParam& param, DrawParam* outer, ShaderTextured& shader)
        : mParam(param), mOuter(outer), mShader(shader)
    {
    }

    VNResultEnum Reserve(const ParticleBatch& batch, SVertex2D** vertices, uint16_t** indices,
                         uint32_t* baseVertex) override
    {
        auto* vertexCache =
            static_cast<VertexCache2D*>(mParam.mRender->GetVertexCache(SVertex2D::Format().mId));
        auto* indexCache = static_cast<IndexCache16*>(mParam.mRender->GetIndexCache16());
        if (!vertexCache || !indexCache)
            return VN_FAIL;
        // Texture and blend go on first, as for every textured draw, so a merged draw never mixes two
        // atlases.
        mShader.SetTexture(batch.atlas);
        if (mParam.mState->mBlendMode != batch.blendMode)
        {
            mParam.mState->mBlendMode = batch.blendMode;
            mParam.mGraphics->mStateChanged = true;
        }
        if (VNResultEnum r = vertexCache->Allocate(batch.count * 4, vertices, &mVertexRange); r != VN_OK)
            return r;
        unsigned short* idx = nullptr;
        if (VNResultEnum r = indexCache->Allocate(batch.count * 6, &idx, &mIndexRange); r != VN_OK)
            return r;
        *indices = idx;
        *baseVertex = mVertexRange.mFirst;
        return VN_OK;
    }

    VNResultEnum Submit(const ParticleBatch& batch, SVertex2D* vertices, uint16_t*) override
    {
        const VertexFormat& format = SVertex2D::Format();
        const uint32_t n = batch.count * 4;
        Extend(mParam.mOutBounds, vertices, n);
        if (mOuter)
            if (VNResultEnum r = mOuter->TransformVertices(vertices, format, n); r != VN_OK)
                return r;
        Extend(mParam.mOutBoundsTransformed, vertices, n);
        if (VNResultEnum r = mParam.ApplyWorldTransform(vertices, format, n); r != VN_OK)
            return r;
        if (VNResultEnum r = mParam.ApplyPixelOffset(vertices, format, n); r != VN_OK)
            return r;
        mParam.SetVertexBuffer(mVertexRange.mBuffer->GetImpl());
        mParam.SetIndexBuffer(mIndexRange.mBuffer->GetImpl());
        if (VNResultEnum r = mParam.CommitState(); r != VN_OK)
            return r;
        return mParam.mRender->DrawIndexedPrimitive(TriangleList, mIndexRange.mFirst, batch.count * 2,
                                                    mVertexRange.mFirst, n);
    }

private:
    static void Extend(math::AABB* box, const SVertex2D* v, uint32_t n)
    {
        if (!box)
            return;
        for (uint32_t i = 0; i < n; ++i)
            box->Extend(math::Point3(v[i].x, v[i].y, 0.0f));
    }

    DrawParticlesParam& mParam;
    DrawParam* mOuter;
    ShaderTextured& mShader;
    VertexCache2D::Range mVertexRange;
    IndexCache16::Range mIndexRange;
};

VNResultEnum RunParticlePass(DrawParticlesParam& param, DrawParam* outer, int* outCount)
{
    if (outCount)
        *outCount = 0;
    if (!param.mEmitter || !param.mGraphics || !param.mRender || !param.mState || !param.mGraphics->mShader)
        return VN_OK;
    Graphics& graphics = *param.mGraphics;
    ShaderTextured& shader = *graphics.mShader;
    param.SetShader(shader.GetImpl());
    param.BindProjection(&shader);
    const int32_t savedBlend = param.mState->mBlendMode;
    const ParticleSystem* system = param.mEmitter->GetSystem();
    if (!system)
        system = ParticleSystem::Instance();
    GraphicsSink sink(param, outer, shader);
    const VNResultEnum result = param.mEmitter->WriteBatches(*system, graphics.mColor, sink, outCount);
    if (param.mState->mBlendMode != savedBlend)
    {
        param.mState->mBlendMode = savedBlend;
        graphics.mStateChanged = true;
    }
    return result;
}
} // namespace

void RegisterParticleRenderPass()
{
    SetParticleRenderPass(&RunParticlePass);
}
} // namespace render
