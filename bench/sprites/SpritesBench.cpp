// Sprites per second drawn through our renderer (GL back end) and through SDL2's own SDL_Renderer, the same
// sprites from one atlas with alpha blending on a 1366 × 768 window, in one run. Run under xvfb-run.
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/GL/RenderGL.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

constexpr int kWidth = 1366;
constexpr int kHeight = 768;
constexpr int kAtlas = 256;
constexpr int kCell = 32; // 64 sprites of 32 × 32 in the atlas

struct Sprite
{
    float x, y;
    int cell;
};

std::vector<uint32_t> MakeAtlas()
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

std::vector<Sprite> MakeSprites(int n)
{
    std::vector<Sprite> s(static_cast<size_t>(n));
    uint32_t seed = 12345;
    auto next = [&seed]
    {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (Sprite& sp : s)
        sp = {static_cast<float>(next() % (kWidth - kCell)), static_cast<float>(next() % (kHeight - kCell)),
              static_cast<int>(next() % 64)};
    return s;
}

struct Rates
{
    double ours = 0;
    double sdl = 0;
} gRates;

SDL_Window* gOurWindow = nullptr;
SDL_GLContext gOurContext = nullptr;
render::RenderGL* gRender = nullptr;
std::unique_ptr<render::Texture> gAtlas;
SDL_Window* gSdlWindow = nullptr;
SDL_Renderer* gSdlRenderer = nullptr;
SDL_Texture* gSdlAtlas = nullptr;

bool SetUpOurs(const std::vector<uint32_t>& atlas)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    gOurWindow = SDL_CreateWindow("ours", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
    if (!gOurWindow)
        return false;
    gRender = new render::RenderGL();
    render::RenderInitParam param;
    param.mWidth = kWidth;
    param.mHeight = kHeight;
    if (gRender->InitRenderOnNativeWindow(gOurWindow, param) != VN_OK)
        return false;
    render::Texture* t = nullptr;
    gRender->CreateTexture(&t);
    gAtlas.reset(t);
    return t->CreateFromPixels(kAtlas, kAtlas, render::CompressionNone, atlas.data(), kAtlas * kAtlas * 4) ==
           VN_OK;
}

bool SetUpSdl(const std::vector<uint32_t>& atlas)
{
    SDL_GL_ResetAttributes();
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    gSdlWindow = SDL_CreateWindow("SDL_Renderer", 0, 0, kWidth, kHeight, 0);
    if (!gSdlWindow)
        return false;
    gSdlRenderer = SDL_CreateRenderer(gSdlWindow, -1, SDL_RENDERER_ACCELERATED);
    if (!gSdlRenderer)
        return false;
    gSdlAtlas =
        SDL_CreateTexture(gSdlRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kAtlas, kAtlas);
    if (!gSdlAtlas)
        return false;
    SDL_UpdateTexture(gSdlAtlas, nullptr, atlas.data(), kAtlas * 4);
    SDL_SetTextureBlendMode(gSdlAtlas, SDL_BLENDMODE_BLEND);
    return true;
}

// One frame through the engine's road: check, begin, clear, one image draw per sprite, end, present, play
// back.
void OurFrame(const std::vector<Sprite>& sprites, render::GraphicsState& state)
{
    using namespace render;
    Render& r = *gRender;
    r.CheckDevice();
    r.BeginFrame();
    const Color black(0xFF000000u);
    r.SetRenderTargetState(&state);
    r.Clear(ClearColor, &black, 1.0f, 0);
    auto* vc = static_cast<VertexCache2D*>(r.GetVertexCache(0));
    auto* ic = static_cast<IndexCache16*>(r.GetIndexCache16());
    const float inv = 1.0f / kAtlas;
    for (const Sprite& s : sprites)
    {
        SVertex2D* v = nullptr;
        unsigned short* idx = nullptr;
        VertexCache2D::Range vr;
        IndexCache16::Range ir;
        if (vc->Allocate(4, &v, &vr) != VN_OK || ic->Allocate(6, &idx, &ir) != VN_OK)
            break;
        const float u0 = static_cast<float>(s.cell % 8 * kCell) * inv,
                    v0 = static_cast<float>(s.cell / 8 * kCell) * inv;
        const float u1 = u0 + kCell * inv, v1 = v0 + kCell * inv;
        const float x0 = s.x - 0.5f, y0 = s.y - 0.5f, x1 = x0 + kCell, y1 = y0 + kCell;
        v[0] = {x0, y0, 0, 1, 0xFFFFFFFFu, 0xFFFFFFFFu, u0, v0};
        v[1] = {x1, y0, 0, 1, 0xFFFFFFFFu, 0xFFFFFFFFu, u1, v0};
        v[2] = {x1, y1, 0, 1, 0xFFFFFFFFu, 0xFFFFFFFFu, u1, v1};
        v[3] = {x0, y1, 0, 1, 0xFFFFFFFFu, 0xFFFFFFFFu, u0, v1};
        const auto b = static_cast<unsigned short>(vr.mFirst);
        idx[0] = b;
        idx[1] = static_cast<unsigned short>(b + 1);
        idx[2] = static_cast<unsigned short>(b + 2);
        idx[3] = b;
        idx[4] = static_cast<unsigned short>(b + 2);
        idx[5] = static_cast<unsigned short>(b + 3);
        state.mVertexBuffer = vr.mBuffer->GetImpl();
        state.mIndexBuffer = ir.mBuffer->GetImpl();
        r.SetState(&state, true);
        r.DrawIndexedPrimitive(TriangleList, ir.mFirst, 2, vr.mFirst, 4);
    }
    r.EndFrame();
    r.Present();
    r.Playback();
}

void SdlFrame(const std::vector<Sprite>& sprites)
{
    SDL_SetRenderDrawColor(gSdlRenderer, 0, 0, 0, 255);
    SDL_RenderClear(gSdlRenderer);
    for (const Sprite& s : sprites)
    {
        const SDL_Rect src{s.cell % 8 * kCell, s.cell / 8 * kCell, kCell, kCell};
        const SDL_FRect dst{s.x, s.y, kCell, kCell};
        SDL_RenderCopyF(gSdlRenderer, gSdlAtlas, &src, &dst);
    }
    SDL_RenderPresent(gSdlRenderer);
}

double Run(benchmark::State& st, void (*frame)(const std::vector<Sprite>&, void*), void* ctx)
{
    const auto sprites = MakeSprites(static_cast<int>(st.range(0)));
    frame(sprites, ctx); // warm up
    int64_t drawn = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : st)
    {
        frame(sprites, ctx);
        drawn += static_cast<int64_t>(sprites.size());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    st.SetItemsProcessed(drawn);
    return seconds > 0 ? static_cast<double>(drawn) / seconds : 0.0;
}

void BM_Ours(benchmark::State& st)
{
    if (!gRender)
    {
        st.SkipWithError("no GL 4.5 context");
        return;
    }
    SDL_GL_MakeCurrent(gOurWindow, gOurContext);
    render::GraphicsState state;
    state.mShader = gRender->GetTexturedMultShader()->GetImpl();
    state.mBlendMode = render::BlendAlpha;
    gRender->GetTexturedMultShader()->SetProjection(&gRender->GetProjection());
    gRender->GetTexturedMultShader()->SetTexture(gAtlas.get());
    gRates.ours = Run(
        st,
        [](const std::vector<Sprite>& s, void* c) { OurFrame(s, *static_cast<render::GraphicsState*>(c)); },
        &state);
}

void BM_SdlRenderer(benchmark::State& st)
{
    if (!gSdlRenderer)
    {
        st.SkipWithError("no SDL_Renderer");
        return;
    }
    gRates.sdl = Run(
        st, [](const std::vector<Sprite>& s, void*) { SdlFrame(s); }, nullptr);
}

BENCHMARK(BM_Ours)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SdlRenderer)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    const std::vector<uint32_t> atlas = MakeAtlas();
    if (!SetUpOurs(atlas))
    {
        std::fprintf(stderr, "our renderer did not start\n");
        delete gRender;
        gRender = nullptr;
    }
    else
        gOurContext = SDL_GL_GetCurrentContext();
    if (!SetUpSdl(atlas))
        std::fprintf(stderr, "SDL_Renderer did not start: %s\n", SDL_GetError());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gOurContext)
        SDL_GL_MakeCurrent(gOurWindow, gOurContext);
    gAtlas.reset();
    delete gRender;
    if (gSdlAtlas)
        SDL_DestroyTexture(gSdlAtlas);
    if (gSdlRenderer)
        SDL_DestroyRenderer(gSdlRenderer);
    if (gSdlWindow)
        SDL_DestroyWindow(gSdlWindow);
    if (gOurWindow)
        SDL_DestroyWindow(gOurWindow);
    SDL_Quit();
    const double ratio = gRates.sdl > 0 ? gRates.ours / gRates.sdl : 0.0;
    std::printf("sprites/s ours %.0f, SDL_Renderer %.0f, ratio %.2f\n", gRates.ours, gRates.sdl, ratio);
    return 0;
}
