#pragma once

// The sprite scene every sprite benchmark draws: N moving 32 x 32 sprites from one 256 x 256 atlas, every
// second one rotating, and the two roads of ours that draw it (the drawing front and the renderer fed
// directly). Each benchmark brings its own renderer and decides how a frame ends.
#include "Core/Base/Transform3D.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/QuadIndices.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace spritescene
{

constexpr int kWidth = 1366;
constexpr int kHeight = 768;
constexpr int kAtlas = 256;
constexpr int kCell = 32; // 64 sprites of 32 × 32 in the atlas
constexpr int kCells = (kAtlas / kCell) * (kAtlas / kCell);
constexpr float kHalf = kCell * 0.5f;
constexpr float kPi = 3.14159265f;

// A sprite's centre, velocity in pixels per frame, angle in radians (rotating sprites only).
struct Sprite
{
    float x, y, vx, vy;
    float angle, spin;
    int cell;
    bool rotating;
};

inline std::vector<uint32_t> MakeAtlas()
{
    std::vector<uint32_t> px(kAtlas * kAtlas);
    for (int y = 0; y < kAtlas; ++y)
        for (int x = 0; x < kAtlas; ++x)
        {
            const int cx = x % kCell - kCell / 2, cy = y % kCell - kCell / 2;
            const uint32_t alpha = cx * cx + cy * cy < (kCell / 2) * (kCell / 2) ? 0xFFu : 0x40u;
            px[y * kAtlas + x] =
                alpha << 24 | static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 | 0x80u;
        }
    return px;
}

inline std::vector<Sprite> MakeSprites(int n)
{
    std::vector<Sprite> s(static_cast<size_t>(n));
    uint32_t seed = 12345;
    auto next = [&seed]
    {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    auto unit = [&next] { return static_cast<float>(next() % 2001) / 1000.0f - 1.0f; }; // -1 .. 1
    for (size_t i = 0; i < s.size(); ++i)
    {
        Sprite& sp = s[i];
        sp.x = kHalf + static_cast<float>(next() % (kWidth - kCell));
        sp.y = kHalf + static_cast<float>(next() % (kHeight - kCell));
        sp.vx = 3.0f * unit();
        sp.vy = 3.0f * unit();
        sp.rotating = i % 2 == 1;
        sp.angle = sp.rotating ? kPi * unit() : 0.0f;
        sp.spin = sp.rotating ? 0.05f * unit() : 0.0f;
        sp.cell = static_cast<int>(next() % kCells);
    }
    return s;
}

// One frame of movement, the same for every road: sprites bounce off the window edges.
inline void Step(std::vector<Sprite>& sprites)
{
    for (Sprite& s : sprites)
    {
        s.x += s.vx;
        s.y += s.vy;
        if (s.x < kHalf || s.x > kWidth - kHalf)
            s.vx = -s.vx;
        if (s.y < kHalf || s.y > kHeight - kHalf)
            s.vy = -s.vy;
        s.angle += s.spin;
    }
}

// Texture coordinates of a sprite's cell: u0, v0, u1, v1.
inline std::array<float, 4> CellUV(int cell)
{
    constexpr float inv = 1.0f / kAtlas;
    const float u0 = static_cast<float>(cell % 8 * kCell) * inv,
                v0 = static_cast<float>(cell / 8 * kCell) * inv;
    return {u0, v0, u0 + kCell * inv, v0 + kCell * inv};
}

// The four corners of a sprite (top-left, top-right, bottom-right, bottom-left) on screen.
inline void Corners(const Sprite& s, float (&x)[4], float (&y)[4])
{
    const float ox[4] = {-kHalf, kHalf, kHalf, -kHalf};
    const float oy[4] = {-kHalf, -kHalf, kHalf, kHalf};
    if (!s.rotating)
    {
        for (int i = 0; i < 4; ++i)
        {
            x[i] = s.x + ox[i];
            y[i] = s.y + oy[i];
        }
        return;
    }
    const float c = std::cos(s.angle), sn = std::sin(s.angle);
    for (int i = 0; i < 4; ++i)
    {
        x[i] = s.x + ox[i] * c - oy[i] * sn;
        y[i] = s.y + ox[i] * sn + oy[i] * c;
    }
}

// An image cut from the atlas, as an image folder's atlas entries are: the atlas texture is not its own.
class AtlasCell : public render::Image
{
public:
    AtlasCell(render::Texture* atlas, int cell)
    {
        mTexture = atlas;
        mWidth = mHeight = kCell;
        // Atlas mapping belongs to resource images; any non-null marker stands in for the resource.
        mTextureResource = reinterpret_cast<resource::ResourceTexture*>(this);
        mInAtlas = true;
        const std::array<float, 4> uv = CellUV(cell);
        mAtlasRect[0] = uv[0];
        mAtlasRect[1] = uv[1];
        mAtlasRect[2] = uv[2] - uv[0];
        mAtlasRect[3] = uv[3] - uv[1];
    }
    ~AtlasCell() override
    {
        mTextureResource = nullptr;
        mTexture = nullptr;
    }
};

// The drawing front as an image layer uses it: the layer's transform as the world transform, its colour,
// shader and blend mode set around the draw, the image anchored at its centre. Records one frame, unended.
inline void DrawThroughGraphics(render::Render& r, std::vector<math::Transform3D>& transforms,
                                const std::vector<std::unique_ptr<AtlasCell>>& cells,
                                const std::vector<Sprite>& sprites)
{
    using namespace render;
    r.CheckDevice();
    r.BeginFrame();
    Graphics g(&r);
    g.Clear(ClearColor, Color(0xFF000000u), 1.0f, 0);
    for (size_t i = 0; i < sprites.size(); ++i)
    {
        const Sprite& s = sprites[i];
        math::Transform3D& t = transforms[i];
        t.Reset();
        if (s.rotating)
            t.Rotate(0.0f, 0.0f, s.angle);
        t.Translate(s.x, s.y);
        g.mTransform = &t;
        (void)g.SetDefaultShader(1);
        g.SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        (void)g.SetBlendMode(BlendAlpha);
        auto draw = g.DrawImage(cells[static_cast<size_t>(s.cell)].get());
        draw->mAlignH = 2;
        draw->mAlignV = 2;
    }
    g.mTransform = nullptr;
}

// The renderer fed directly, as the drawing front feeds it: each quad's vertices and indices taken from the
// caches and recorded as one draw, which the renderer merges with the previous one where it can. Records one
// frame, unended.
inline void DrawThroughRenderer(render::Render& r, render::GraphicsState& state, const std::vector<Sprite>& sprites)
{
    using namespace render;
    r.CheckDevice();
    r.BeginFrame();
    const Color black(0xFF000000u);
    r.SetRenderTargetState(&state);
    r.Clear(ClearColor, &black, 1.0f, 0);
    auto* vc = static_cast<VertexCache2D*>(r.GetVertexCache(0));
    auto* ic = static_cast<IndexCache16*>(r.GetIndexCache16());
    for (const Sprite& s : sprites)
    {
        SVertex2D* v = nullptr;
        unsigned short* idx = nullptr;
        VertexCache2D::Range vr;
        IndexCache16::Range ir;
        if (vc->Allocate(4, &v, &vr) != VN_OK || ic->Allocate(6, &idx, &ir) != VN_OK)
            break;
        const std::array<float, 4> uv = CellUV(s.cell);
        float x[4], y[4];
        Corners(s, x, y);
        const float u[4] = {uv[0], uv[2], uv[2], uv[0]}, w[4] = {uv[1], uv[1], uv[3], uv[3]};
        for (int k = 0; k < 4; ++k)
            v[k] = {x[k] - 0.5f, y[k] - 0.5f, 0, 1, 0xFFFFFFFFu, 0xFFFFFFFFu, u[k], w[k]};
        WriteQuadIndices(idx, static_cast<uint16_t>(vr.mFirst));
        state.mVertexBuffer = vr.mBuffer->GetImpl();
        state.mIndexBuffer = ir.mBuffer->GetImpl();
        r.SetState(&state, true);
        r.DrawIndexedPrimitive(TriangleList, ir.mFirst, 2, vr.mFirst, 4);
    }
}

} // namespace spritescene
