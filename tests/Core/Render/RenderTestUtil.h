#pragma once

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/GraphicsState.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/VertexFormat.h"

#include <cstdint>

namespace render::test
{

// Writes n axis-aligned quads (x, y, w, h in logical units, uv 0..1 over each quad) through the Render's
// caches and records one indexed draw per call, as the drawing front does.
struct QuadWriter
{
    Render& render;

    struct Quad
    {
        float x, y, w, h;
        uint32_t color = 0xFFFFFFFF;
        uint32_t specular = 0xFFFFFFFF;
        float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    };

    VNResultEnum Draw(GraphicsState& state, const Quad* quads, uint32_t n)
    {
        auto* vc = static_cast<VertexCache2D*>(render.GetVertexCache(0));
        auto* ic = static_cast<IndexCache16*>(render.GetIndexCache16());
        SVertex2D* v = nullptr;
        unsigned short* idx = nullptr;
        VertexCache2D::Range vr;
        IndexCache16::Range ir;
        if (vc->Allocate(4 * n, &v, &vr) != VN_OK || ic->Allocate(6 * n, &idx, &ir) != VN_OK)
            return VN_FAIL;
        for (uint32_t q = 0; q < n; ++q)
        {
            const Quad& s = quads[q];
            // Every vertex moves by (−0.5, −0.5) as the last step, as all draws do.
            const float x0 = s.x - 0.5f, y0 = s.y - 0.5f, x1 = s.x + s.w - 0.5f, y1 = s.y + s.h - 0.5f;
            v[4 * q + 0] = {x0, y0, 0, 1, s.color, s.specular, s.u0, s.v0};
            v[4 * q + 1] = {x1, y0, 0, 1, s.color, s.specular, s.u1, s.v0};
            v[4 * q + 2] = {x1, y1, 0, 1, s.color, s.specular, s.u1, s.v1};
            v[4 * q + 3] = {x0, y1, 0, 1, s.color, s.specular, s.u0, s.v1};
            const auto b = static_cast<unsigned short>(vr.mFirst + 4 * q);
            const unsigned short list[6] = {
                b, static_cast<unsigned short>(b + 1), static_cast<unsigned short>(b + 2),
                b, static_cast<unsigned short>(b + 2), static_cast<unsigned short>(b + 3)};
            for (int k = 0; k < 6; ++k)
                idx[6 * q + k] = list[k];
        }
        state.mVertexBuffer = vr.mBuffer->GetImpl();
        state.mIndexBuffer = ir.mBuffer->GetImpl();
        render.SetState(&state, true);
        return render.DrawIndexedPrimitive(TriangleList, ir.mFirst, 2 * n, vr.mFirst, 4 * n);
    }
};

} // namespace render::test
