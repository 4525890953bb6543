// Sprites per second through four roads that draw the same scene into a 1366 × 768 window:
//   Graphics      our drawing front, as an image layer draws: a world transform per sprite, colour, blend
//                 mode, DrawImage of an atlas image anchored at its centre;
//   Renderer      our renderer fed directly: quads written into its caches, one recorded draw per sprite;
//   SDL_Renderer  SDL's renderer (OpenGL driver, batching on, linear scale quality);
//   Limit         a minimal GL 4.5 program written here: one persistently mapped vertex buffer, one draw call
//                 per frame, the same shading. It is the practical limit of the GL underneath.
// The scene: N sprites of 32 × 32 from one 256 × 256 atlas, alpha-blended, sampled linearly, all moving each
// frame, every second one rotating. N = 1000, 10000 and 50000.
//
// Each road and N is measured in a process of its own, started from this one, with its own window and GL
// context: on llvmpipe a context that draws after another one in the same process ran several times slower
// on its main thread, which would make the order of the roads decide the result.
//
// Run under Xvfb (llvmpipe), once on all cores and once pinned to two (the X server with it):
//   xvfb-run -a -s "-screen 0 1366x768x24" build/bench/sprites
//   taskset -c 0,1 xvfb-run -a -s "-screen 0 1366x768x24" build/bench/sprites
// llvmpipe starts one rasteriser thread per core it may run on, so the pinned run measures a two-core
// machine. Each sprite count is measured in rounds (--rounds=K, 5 by default) that take the roads in turn,
// each round starting with another road; the median round of each road counts (within a round, the best of
// --benchmark_repetitions). Timings still swing with other load: check `uptime` first, and on a busy machine
// add rounds.
// --benchmark_filter selects roads as usual ("Graphics|Limit"). Besides the frame time, each line gives the
// CPU time of all threads per frame (cpu_ms/frame), which other load disturbs less. The last line gives the
// ratios of the Graphics road:
//   N=1000 ours/SDL a ours/limit b; N=10000 ours/SDL c ours/limit d; N=50000 ours/SDL e ours/limit f
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/GL/RenderGL.h"
#include "bench/sprites/SpriteScene.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace
{

constexpr int kMaxSprites = 50000;

enum Road
{
    RoadGraphics,
    RoadRenderer,
    RoadSdl,
    RoadLimit,
    RoadCount
};
const char* const kRoadNames[RoadCount] = {"Graphics", "Renderer", "SDL_Renderer", "Limit"};

using namespace spritescene;

SDL_Window* gOurWindow = nullptr;
SDL_Window* gSdlWindow = nullptr;
SDL_Window* gLimitWindow = nullptr;

// Our renderer and the atlas drawn through it.
struct Ours
{
    SDL_GLContext context = nullptr;
    render::RenderGL* render = nullptr;
    std::unique_ptr<render::Texture> atlas;
    std::vector<std::unique_ptr<AtlasCell>> cells;
    std::vector<math::Transform3D> transforms;
} gOurs;

struct Sdl
{
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* atlas = nullptr;
} gSdl;

// The limit: the least a GL 4.5 program does to draw the scene in one batch. Its one vertex buffer is mapped
// for good and written in turns in three regions, so a frame never waits for the draw of the one before.
struct Limit
{
    struct Vertex
    {
        float x, y, u, v;
        uint32_t color;
    };
    static constexpr int kRegions = 3;
    static constexpr size_t kRegionVertices = static_cast<size_t>(kMaxSprites) * 4;
    SDL_GLContext context = nullptr;
    GLuint program = 0, vao = 0, vertices = 0, indices = 0, texture = 0, sampler = 0;
    Vertex* mapped = nullptr;
    GLsync fences[kRegions] = {};
    int region = 0;
} gLimit;

bool SetUpOurs(const std::vector<uint32_t>& atlas)
{
    gOurs.render = new render::RenderGL();
    render::RenderInitParam param;
    param.mWidth = kWidth;
    param.mHeight = kHeight;
    if (gOurs.render->InitRenderOnNativeWindow(gOurWindow, param) != VN_OK)
        return false;
    gOurs.context = SDL_GL_GetCurrentContext();
    render::Texture* t = nullptr;
    gOurs.render->CreateTexture(&t);
    gOurs.atlas.reset(t);
    if (t->CreateFromPixels(kAtlas, kAtlas, render::CompressionNone, atlas.data(), kAtlas * kAtlas * 4) !=
        VN_OK)
        return false;
    for (int c = 0; c < kCells; ++c)
        gOurs.cells.push_back(std::make_unique<AtlasCell>(t, c));
    gOurs.transforms.resize(kMaxSprites);
    return true;
}

GLuint Compile(GLenum stage, const char* source)
{
    const GLuint s = glCreateShader(stage);
    glShaderSource(s, 1, &source, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    return ok ? s : 0;
}

bool SetUpLimit(const std::vector<uint32_t>& atlas)
{
    gLimit.context = SDL_GL_CreateContext(gLimitWindow);
    if (!gLimit.context || SDL_GL_MakeCurrent(gLimitWindow, gLimit.context) != 0)
        return false;
    SDL_GL_SetSwapInterval(0);
    const GLuint vs = Compile(GL_VERTEX_SHADER, R"(#version 450 core
layout(location = 0) in vec2 pos;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec4 color;
out vec2 vUV;
out vec4 vColor;
void main()
{
    gl_Position = vec4(pos.x * (2.0 / 1366.0) - 1.0, 1.0 - pos.y * (2.0 / 768.0), 0.0, 1.0);
    vUV = uv;
    vColor = color;
})");
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, R"(#version 450 core
layout(binding = 0) uniform sampler2D atlas;
in vec2 vUV;
in vec4 vColor;
out vec4 outColor;
void main() { outColor = vColor * texture(atlas, vUV); })");
    if (!vs || !fs)
        return false;
    gLimit.program = glCreateProgram();
    glAttachShader(gLimit.program, vs);
    glAttachShader(gLimit.program, fs);
    glLinkProgram(gLimit.program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint linked = 0;
    glGetProgramiv(gLimit.program, GL_LINK_STATUS, &linked);
    if (!linked)
        return false;

    const GLsizeiptr bytes =
        static_cast<GLsizeiptr>(Limit::kRegions * Limit::kRegionVertices * sizeof(Limit::Vertex));
    glCreateBuffers(1, &gLimit.vertices);
    const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
    glNamedBufferStorage(gLimit.vertices, bytes, nullptr, flags);
    gLimit.mapped = static_cast<Limit::Vertex*>(glMapNamedBufferRange(gLimit.vertices, 0, bytes, flags));
    std::vector<uint32_t> quads(static_cast<size_t>(kMaxSprites) * 6);
    for (uint32_t q = 0; q < kMaxSprites; ++q)
    {
        const uint32_t b = q * 4, list[6] = {b, b + 1, b + 2, b, b + 2, b + 3};
        std::copy(list, list + 6, quads.begin() + q * 6);
    }
    glCreateBuffers(1, &gLimit.indices);
    glNamedBufferStorage(gLimit.indices, static_cast<GLsizeiptr>(quads.size() * 4), quads.data(), 0);

    glCreateVertexArrays(1, &gLimit.vao);
    glVertexArrayVertexBuffer(gLimit.vao, 0, gLimit.vertices, 0, sizeof(Limit::Vertex));
    glVertexArrayElementBuffer(gLimit.vao, gLimit.indices);
    glEnableVertexArrayAttrib(gLimit.vao, 0);
    glEnableVertexArrayAttrib(gLimit.vao, 1);
    glEnableVertexArrayAttrib(gLimit.vao, 2);
    glVertexArrayAttribFormat(gLimit.vao, 0, 2, GL_FLOAT, GL_FALSE, offsetof(Limit::Vertex, x));
    glVertexArrayAttribFormat(gLimit.vao, 1, 2, GL_FLOAT, GL_FALSE, offsetof(Limit::Vertex, u));
    glVertexArrayAttribFormat(gLimit.vao, 2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE,
                              offsetof(Limit::Vertex, color));
    for (GLuint a = 0; a < 3; ++a)
        glVertexArrayAttribBinding(gLimit.vao, a, 0);

    glCreateTextures(GL_TEXTURE_2D, 1, &gLimit.texture);
    glTextureStorage2D(gLimit.texture, 1, GL_RGBA8, kAtlas, kAtlas);
    glTextureSubImage2D(gLimit.texture, 0, 0, 0, kAtlas, kAtlas, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                        atlas.data());
    glCreateSamplers(1, &gLimit.sampler);
    glSamplerParameteri(gLimit.sampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(gLimit.sampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(gLimit.sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(gLimit.sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    glViewport(0, 0, kWidth, kHeight);
    glUseProgram(gLimit.program);
    glBindVertexArray(gLimit.vao);
    glBindTextureUnit(0, gLimit.texture);
    glBindSampler(0, gLimit.sampler);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    return gLimit.mapped != nullptr && glGetError() == GL_NO_ERROR;
}

void TearDownLimit()
{
    if (!gLimit.context)
        return;
    SDL_GL_MakeCurrent(gLimitWindow, gLimit.context);
    for (GLsync f : gLimit.fences)
        if (f)
            glDeleteSync(f);
    if (gLimit.mapped)
        glUnmapNamedBuffer(gLimit.vertices);
    glDeleteBuffers(1, &gLimit.vertices);
    glDeleteBuffers(1, &gLimit.indices);
    glDeleteVertexArrays(1, &gLimit.vao);
    glDeleteTextures(1, &gLimit.texture);
    glDeleteSamplers(1, &gLimit.sampler);
    glDeleteProgram(gLimit.program);
    SDL_GL_DeleteContext(gLimit.context);
}

bool SetUpSdl(const std::vector<uint32_t>& atlas)
{
    // The window gets the same depth and stencil as ours; the driver makes its own context.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    gSdlWindow = SDL_CreateWindow(kRoadNames[RoadSdl], 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
    if (!gSdlWindow)
        return false;
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    gSdl.renderer = SDL_CreateRenderer(gSdlWindow, -1, SDL_RENDERER_ACCELERATED);
    if (!gSdl.renderer)
        return false;
    gSdl.atlas =
        SDL_CreateTexture(gSdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kAtlas, kAtlas);
    if (!gSdl.atlas)
        return false;
    SDL_UpdateTexture(gSdl.atlas, nullptr, atlas.data(), kAtlas * 4);
    SDL_SetTextureBlendMode(gSdl.atlas, SDL_BLENDMODE_BLEND);
    return true;
}

void GraphicsFrame(std::vector<Sprite>& sprites)
{
    spritescene::DrawThroughGraphics(*gOurs.render, gOurs.transforms, gOurs.cells, sprites);
    gOurs.render->EndFrame();
    gOurs.render->Present();
    gOurs.render->Playback();
}

void RendererFrame(std::vector<Sprite>& sprites, render::GraphicsState& state)
{
    spritescene::DrawThroughRenderer(*gOurs.render, state, sprites);
    gOurs.render->EndFrame();
    gOurs.render->Present();
    gOurs.render->Playback();
}

void SdlFrame(std::vector<Sprite>& sprites)
{
    SDL_SetRenderDrawColor(gSdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(gSdl.renderer);
    for (const Sprite& s : sprites)
    {
        const SDL_Rect src{s.cell % 8 * kCell, s.cell / 8 * kCell, kCell, kCell};
        const SDL_FRect dst{s.x - kHalf, s.y - kHalf, kCell, kCell};
        if (s.rotating)
            SDL_RenderCopyExF(gSdl.renderer, gSdl.atlas, &src, &dst,
                              static_cast<double>(s.angle * (180.0f / kPi)), nullptr, SDL_FLIP_NONE);
        else
            SDL_RenderCopyF(gSdl.renderer, gSdl.atlas, &src, &dst);
    }
    SDL_RenderPresent(gSdl.renderer);
}

void LimitFrame(std::vector<Sprite>& sprites)
{
    // The region's last draw must be done before the region is written again.
    const int region = gLimit.region;
    gLimit.region = (region + 1) % Limit::kRegions;
    if (GLsync& fence = gLimit.fences[region]; fence)
    {
        glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000ull);
        glDeleteSync(fence);
        fence = nullptr;
    }
    Limit::Vertex* v = gLimit.mapped + region * Limit::kRegionVertices;
    for (const Sprite& s : sprites)
    {
        const std::array<float, 4> uv = CellUV(s.cell);
        float x[4], y[4];
        Corners(s, x, y);
        v[0] = {x[0], y[0], uv[0], uv[1], 0xFFFFFFFFu};
        v[1] = {x[1], y[1], uv[2], uv[1], 0xFFFFFFFFu};
        v[2] = {x[2], y[2], uv[2], uv[3], 0xFFFFFFFFu};
        v[3] = {x[3], y[3], uv[0], uv[3], 0xFFFFFFFFu};
        v += 4;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    glVertexArrayVertexBuffer(gLimit.vao, 0, gLimit.vertices,
                              static_cast<GLintptr>(region * Limit::kRegionVertices * sizeof(Limit::Vertex)),
                              sizeof(Limit::Vertex));
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(sprites.size() * 6), GL_UNSIGNED_INT, nullptr);
    gLimit.fences[region] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    SDL_GL_SwapWindow(gLimitWindow);
}

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Prints the runs as usual and keeps the best sprites-per-second of them.
class BestRateReporter : public benchmark::ConsoleReporter
{
public:
    BestRateReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            const auto rate = run.counters.find("items_per_second");
            if (run.error_occurred || rate == run.counters.end())
                continue;
            if (run.run_type == Run::RT_Iteration)
                mBest = std::max(mBest, static_cast<double>(rate->second));
            else if (run.aggregate_name == "mean")
                mBestMean = std::max(mBestMean, static_cast<double>(rate->second));
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // With --benchmark_report_aggregates_only the single runs never arrive: their mean stands in.
    double Best() const { return mBest > 0.0 ? mBest : mBestMean; }

private:
    double mBest = 0.0;
    double mBestMean = 0.0;
};

void RunRoad(benchmark::State& st, int road)
{
    const int n = static_cast<int>(st.range(0));
    if (road == RoadLimit)
        SDL_GL_MakeCurrent(gLimitWindow, gLimit.context);
    else if (road != RoadSdl)
        SDL_GL_MakeCurrent(gOurWindow, gOurs.context);

    render::GraphicsState state;
    if (road == RoadRenderer)
    {
        state.mShader = gOurs.render->GetTexturedMultShader()->GetImpl();
        state.mBlendMode = render::BlendAlpha;
        gOurs.render->GetTexturedMultShader()->SetProjection(&gOurs.render->GetProjection());
        gOurs.render->GetTexturedMultShader()->SetTexture(gOurs.atlas.get());
    }
    std::vector<Sprite> sprites = MakeSprites(n);
    auto frame = [&]
    {
        Step(sprites);
        switch (road)
        {
        case RoadGraphics:
            GraphicsFrame(sprites);
            break;
        case RoadRenderer:
            RendererFrame(sprites, state);
            break;
        case RoadSdl:
            SdlFrame(sprites);
            break;
        default:
            LimitFrame(sprites);
            break;
        }
    };
    frame(); // warm up: caches grown, programs built
    frame();
    int64_t drawn = 0;
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : st)
    {
        frame();
        drawn += n;
    }
    st.SetItemsProcessed(drawn);
    // CPU time of all threads (ours and the GL driver's rasteriser threads) per frame: the work a frame
    // costs, which other load on the machine disturbs less than the frame time.
    if (st.iterations() > 0)
        st.counters["cpu_ms/frame"] =
            1000.0 * (ProcessCpuSeconds() - cpuStart) / static_cast<double>(st.iterations());
}

// Sets up one road, measures it at n sprites and tears it down; the best rate, or 0 when the road did not
// start. Runs in a process of its own.
double MeasureRoad(int road, int n, int argc, char** argv)
{
    // Every road runs with the same fixed allocator settings. Left to adapt, glibc gave the top of the heap
    // back to the system after frames whose largest blocks happened to lie there, and grew it again in the
    // next frame: on the one-batch road at 10,000 sprites those page faults took a third of the frame, which
    // measured the allocator rather than the drawing.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 0.0;
    }
    const std::vector<uint32_t> atlas = MakeAtlas();
    bool ready = false;
    BestRateReporter reporter;
    if (road == RoadSdl)
    {
        ready = SetUpSdl(atlas);
        if (!ready)
            std::fprintf(stderr, "SDL_Renderer did not start: %s\n", SDL_GetError());
    }
    else
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_Window*& window = road == RoadLimit ? gLimitWindow : gOurWindow;
        window = SDL_CreateWindow(kRoadNames[road], 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
        if (!window)
            std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
        else if (road == RoadLimit)
        {
            ready = SetUpLimit(atlas);
            if (!ready)
                std::fprintf(stderr, "the one-batch GL program did not start\n");
        }
        else
        {
            ready = SetUpOurs(atlas);
            if (!ready)
                std::fprintf(stderr, "our renderer did not start\n");
        }
    }
    if (ready)
    {
        benchmark::RegisterBenchmark(kRoadNames[road], RunRoad, road)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0)
            ->UseRealTime();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
    }

    if (gSdl.atlas)
        SDL_DestroyTexture(gSdl.atlas);
    if (gSdl.renderer)
        SDL_DestroyRenderer(gSdl.renderer);
    TearDownLimit();
    if (gOurs.render)
    {
        if (gOurs.context)
            SDL_GL_MakeCurrent(gOurWindow, gOurs.context);
        gOurs.cells.clear();
        gOurs.atlas.reset();
        delete gOurs.render;
    }
    for (SDL_Window* w : {gOurWindow, gSdlWindow, gLimitWindow})
        if (w)
            SDL_DestroyWindow(w);
    SDL_Quit();
    return reporter.Best();
}

// Runs MeasureRoad in a child process and reads its rate back through a pipe.
double MeasureInChild(int road, int n, int argc, char** argv)
{
    int fds[2];
    if (pipe(fds) != 0)
        return 0.0;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0)
    {
        close(fds[0]);
        const double rate = MeasureRoad(road, n, argc, argv);
        std::fflush(stdout);
        const ssize_t written = write(fds[1], &rate, sizeof rate);
        _exit(written == sizeof rate ? 0 : 1);
    }
    close(fds[1]);
    double rate = 0.0;
    if (pid < 0 || read(fds[0], &rate, sizeof rate) != sizeof rate)
        rate = 0.0;
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return rate;
}

} // namespace

int main(int argc, char** argv)
{
    // The filter picks roads here; the children each run the one benchmark they register.
    std::regex filter(".*");
    int rounds = 5;
    std::vector<char*> passed;
    for (int i = 0; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const std::string key = "--benchmark_filter=", roundsKey = "--rounds=";
        if (arg.rfind(key, 0) == 0)
            filter = std::regex(arg.substr(key.size()));
        else if (arg.rfind(roundsKey, 0) == 0)
            rounds = std::max(1, std::atoi(arg.c_str() + roundsKey.size()));
        else
            passed.push_back(argv[i]);
    }
    passed.push_back(nullptr);
    const int passedCount = static_cast<int>(passed.size()) - 1;

    const int counts[] = {1000, 10000, kMaxSprites};
    std::vector<double> rates[3][RoadCount];
    // Side by side for each sprite count, in rounds that take the roads in turn and start each round with
    // another road, so drifts of the machine's load touch all roads alike. The median round of a road counts:
    // on a shared machine whole rounds run fast or slow spells, and the best round would reward whichever
    // road happened to meet a fast one.
    for (int c = 0; c < 3; ++c)
        for (int round = 0; round < rounds; ++round)
            for (int i = 0; i < RoadCount; ++i)
            {
                const int road = (round + i) % RoadCount;
                const std::string name = std::string(kRoadNames[road]) + "/" + std::to_string(counts[c]);
                if (!std::regex_search(name, filter))
                    continue;
                const double rate = MeasureInChild(road, counts[c], passedCount, passed.data());
                if (rate > 0.0)
                    rates[c][road].push_back(rate);
            }
    auto median = [](std::vector<double> v)
    {
        if (v.empty())
            return 0.0;
        std::sort(v.begin(), v.end());
        const size_t h = v.size() / 2;
        return v.size() % 2 ? v[h] : 0.5 * (v[h - 1] + v[h]);
    };

    std::string line;
    for (int c = 0; c < 3; ++c)
    {
        const double ours = median(rates[c][RoadGraphics]);
        const double sdl = median(rates[c][RoadSdl]);
        const double limit = median(rates[c][RoadLimit]);
        char part[128];
        std::snprintf(part, sizeof part, "%sN=%d ours/SDL %.2f ours/limit %.2f", c == 0 ? "" : "; ",
                      counts[c], sdl > 0 ? ours / sdl : 0.0, limit > 0 ? ours / limit : 0.0);
        line += part;
    }
    std::printf("%s\n", line.c_str());
    return 0;
}
