// What recording sprites costs the CPU, without a GL driver to share the time with: the sprites program's
// scene (moving 32 × 32 sprites from one atlas, every second one rotating) through two roads into a
// recording back end that plays the merged draws without drawing them:
//   Graphics  the drawing front as an image layer uses it: a world transform per sprite, colour, blend mode,
//             DrawImage of an atlas image anchored at its centre;
//   Renderer  the renderer fed directly: quads written into its caches, one recorded draw per sprite.
// The difference is the drawing front's own cost per sprite. CPU time is measured, so other load on the
// machine disturbs it less than the frame times of the sprites program; on a busy machine add
// --benchmark_repetitions=5 and read the best run.
#include "Core/Base/Transform3D.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace
{

constexpr int kWidth = 1366;
constexpr int kHeight = 768;
constexpr int kAtlas = 256;
constexpr int kCell = 32;
constexpr int kCells = (kAtlas / kCell) * (kAtlas / kCell);
constexpr float kHalf = kCell * 0.5f;

struct Sprite
{
    float x, y, vx, vy;
    float angle, spin;
    int cell;
    bool rotating;
};

std::vector<Sprite> MakeSprites(int n)
{
    std::vector<Sprite> s(static_cast<size_t>(n));
    uint32_t seed = 12345;
    auto next = [&seed]
    {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    auto unit = [&next] { return static_cast<float>(next() % 2001) / 1000.0f - 1.0f; };
    for (size_t i = 0; i < s.size(); ++i)
    {
        Sprite& sp = s[i];
        sp.x = kHalf + static_cast<float>(next() % (kWidth - kCell));
        sp.y = kHalf + static_cast<float>(next() % (kHeight - kCell));
        sp.vx = 3.0f * unit();
        sp.vy = 3.0f * unit();
        sp.rotating = i % 2 == 1;
        sp.angle = sp.rotating ? 3.14159265f * unit() : 0.0f;
        sp.spin = sp.rotating ? 0.05f * unit() : 0.0f;
        sp.cell = static_cast<int>(next() % kCells);
    }
    return s;
}

void Step(std::vector<Sprite>& sprites)
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

std::array<float, 4> CellUV(int cell)
{
    constexpr float inv = 1.0f / kAtlas;
    const float u0 = static_cast<float>(cell % 8 * kCell) * inv,
                v0 = static_cast<float>(cell / 8 * kCell) * inv;
    return {u0, v0, u0 + kCell * inv, v0 + kCell * inv};
}

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

struct Scene
{
    render::RecordingRender render;
    std::unique_ptr<render::Texture> atlas;
    std::vector<std::unique_ptr<AtlasCell>> cells;
    std::vector<math::Transform3D> transforms;

    bool SetUp(int n)
    {
        render::RenderInitParam param;
        param.mWidth = kWidth;
        param.mHeight = kHeight;
        if (render.InitRender(nullptr, param) != VN_OK)
            return false;
        render::Texture* t = nullptr;
        render.CreateTexture(&t);
        atlas.reset(t);
        std::vector<uint32_t> px(kAtlas * kAtlas, 0xFFFFFFFFu);
        if (t->CreateFromPixels(kAtlas, kAtlas, render::CompressionNone, px.data(), kAtlas * kAtlas * 4) != VN_OK)
            return false;
        for (int c = 0; c < kCells; ++c)
            cells.push_back(std::make_unique<AtlasCell>(t, c));
        transforms.resize(static_cast<size_t>(n));
        return true;
    }

    void Finish()
    {
        render.EndFrame();
        render.Present();
        render.Playback();
        benchmark::DoNotOptimize(render.TakeLog());
    }
};

void GraphicsFrame(Scene& scene, const std::vector<Sprite>& sprites)
{
    using namespace render;
    Render& r = scene.render;
    r.CheckDevice();
    r.BeginFrame();
    {
        Graphics g(&r);
        g.Clear(ClearColor, Color(0xFF000000u), 1.0f, 0);
        for (size_t i = 0; i < sprites.size(); ++i)
        {
            const Sprite& s = sprites[i];
            math::Transform3D& t = scene.transforms[i];
            t.Reset();
            if (s.rotating)
                t.Rotate(0.0f, 0.0f, s.angle);
            t.Translate(s.x, s.y);
            g.mTransform = &t;
            (void)g.SetDefaultShader(1);
            g.SetColor(1.0f, 1.0f, 1.0f, 1.0f);
            (void)g.SetBlendMode(BlendAlpha);
            auto draw = g.DrawImage(scene.cells[static_cast<size_t>(s.cell)].get());
            draw->mAlignH = 2;
            draw->mAlignV = 2;
        }
        g.mTransform = nullptr;
    }
    scene.Finish();
}

void RendererFrame(Scene& scene, const std::vector<Sprite>& sprites, render::GraphicsState& state)
{
    using namespace render;
    Render& r = scene.render;
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
        const float ox[4] = {-kHalf, kHalf, kHalf, -kHalf}, oy[4] = {-kHalf, -kHalf, kHalf, kHalf};
        const float c = s.rotating ? std::cos(s.angle) : 1.0f, sn = s.rotating ? std::sin(s.angle) : 0.0f;
        const float u[4] = {uv[0], uv[2], uv[2], uv[0]}, w[4] = {uv[1], uv[1], uv[3], uv[3]};
        for (int k = 0; k < 4; ++k)
            v[k] = {s.x + ox[k] * c - oy[k] * sn - 0.5f, s.y + ox[k] * sn + oy[k] * c - 0.5f, 0, 1, 0xFFFFFFFFu,
                    0xFFFFFFFFu, u[k], w[k]};
        const auto b = static_cast<unsigned short>(vr.mFirst);
        const unsigned short list[6] = {
            b, static_cast<unsigned short>(b + 1), static_cast<unsigned short>(b + 2),
            b, static_cast<unsigned short>(b + 2), static_cast<unsigned short>(b + 3)};
        std::copy(list, list + 6, idx);
        state.mVertexBuffer = vr.mBuffer->GetImpl();
        state.mIndexBuffer = ir.mBuffer->GetImpl();
        r.SetState(&state, true);
        r.DrawIndexedPrimitive(TriangleList, ir.mFirst, 2, vr.mFirst, 4);
    }
    scene.Finish();
}

void Run(benchmark::State& st, bool graphics)
{
    const int n = static_cast<int>(st.range(0));
    Scene scene;
    if (!scene.SetUp(n))
    {
        st.SkipWithError("the recording renderer did not start");
        return;
    }
    render::GraphicsState state;
    state.mShader = scene.render.GetTexturedMultShader()->GetImpl();
    state.mBlendMode = render::BlendAlpha;
    scene.render.GetTexturedMultShader()->SetProjection(&scene.render.GetProjection());
    scene.render.GetTexturedMultShader()->SetTexture(scene.atlas.get());
    std::vector<Sprite> sprites = MakeSprites(n);
    auto frame = [&]
    {
        Step(sprites);
        if (graphics)
            GraphicsFrame(scene, sprites);
        else
            RendererFrame(scene, sprites, state);
    };
    frame(); // caches grown
    frame();
    for (auto _ : st)
        frame();
    st.SetItemsProcessed(st.iterations() * n);
}

void Graphics(benchmark::State& st)
{
    Run(st, true);
}
void Renderer(benchmark::State& st)
{
    Run(st, false);
}

BENCHMARK(Graphics)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(Renderer)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
