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
#include "bench/sprites/SpriteScene.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace
{

using namespace spritescene;

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
    DrawThroughGraphics(scene.render, scene.transforms, scene.cells, sprites);
    scene.Finish();
}

void RendererFrame(Scene& scene, const std::vector<Sprite>& sprites, render::GraphicsState& state)
{
    DrawThroughRenderer(scene.render, state, sprites);
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
