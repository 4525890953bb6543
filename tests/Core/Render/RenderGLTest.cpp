#include "Core/Render/GL/RenderGL.h"
#include "Support/HiddenGLRender.h"

#include "Core/Base/Sanitizer.h"
#include "Core/Render/GL/BufferGL.h"
#include "Core/Render/GL/TextureGL.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Texture.h"
#include "RenderTestUtil.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <memory>
#include <vector>

#if CORV_ASAN
#include <sanitizer/lsan_interface.h>
#endif

using namespace render;
using Quad = test::QuadWriter::Quad;

namespace
{

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// One hidden window and GL renderer for the whole suite: llvmpipe makes contexts and shader builds slow.
class GLRender : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRender = gltest::CreateHiddenGLRender("render test", kWidth, kHeight, &sWindow);
        if (!sRender)
            return;
        WarmUp();
    }

    // Mesa starts helper threads at the first draw and never frees their records; that draw is made here,
    // with leak tracking paused, so the sanitizer build reports only leaks of our own.
    static void WarmUp()
    {
#if CORV_ASAN
        __lsan_disable();
#endif
        std::vector<uint32_t> white{0xFFFFFFFFu};
        Texture* t = nullptr;
        sRender->CreateTexture(&t);
        t->CreateFromPixels(1, 1, CompressionNone, white.data(), 4);
        GraphicsState s;
        s.mShader = sRender->GetTexturedMultShader()->GetImpl();
        sRender->GetTexturedMultShader()->SetTexture(t);
        sRender->BeginFrame();
        test::QuadWriter writer{*sRender};
        const Quad q{0, 0, 1, 1};
        writer.Draw(s, &q, 1);
        sRender->EndFrame();
        sRender->Playback();
        glFinish();
        delete t;
#if CORV_ASAN
        __lsan_enable();
#endif
    }

    static void TearDownTestSuite()
    {
        gltest::DestroyHiddenGLRender(sRender, sWindow);
    }

    void SetUp() override
    {
        if (!sRender)
            GTEST_SKIP() << "no OpenGL 4.5 context (run under xvfb-run)";
        r = sRender;
        state = GraphicsState();
        state.mShader = r->GetTexturedMultShader()->GetImpl();
        state.mBlendMode = BlendAlpha;
        r->GetTexturedMultShader()->SetProjection(&r->GetProjection());
        r->GetTexturedTintShader()->SetProjection(&r->GetProjection());
        ASSERT_TRUE(r->CheckDevice());
        ASSERT_EQ(r->BeginFrame(), VN_OK);
        Clear(0xFF000000u);
    }

    void Clear(uint32_t argb, const GraphicsState* target = nullptr)
    {
        GraphicsState s = target ? *target : state;
        r->SetRenderTargetState(&s);
        const Color c(argb);
        ASSERT_EQ(r->Clear(ClearColor | ClearDepth, &c, 1.0f, 0), VN_OK);
    }

    // Ends the frame and plays it (without presenting, so the back buffer can be read).
    void Play()
    {
        ASSERT_EQ(r->EndFrame(), VN_OK);
        ASSERT_EQ(r->Playback(), VN_OK);
    }

    std::unique_ptr<Texture> MakeTexture(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb)
    {
        Texture* t = nullptr;
        EXPECT_EQ(r->CreateTexture(&t), VN_OK);
        EXPECT_EQ(
            t->CreateFromPixels(w, h, CompressionNone, argb.data(), static_cast<uint32_t>(argb.size() * 4)),
            VN_OK);
        return std::unique_ptr<Texture>(t);
    }

    void DrawTextured(Texture* t, const Quad& q, ShaderTextured* shader = nullptr)
    {
        shader = shader ? shader : r->GetTexturedMultShader();
        shader->SetTexture(t);
        state.mShader = shader->GetImpl();
        ASSERT_EQ(writer.Draw(state, &q, 1), VN_OK);
    }

    // RGBA bytes of the back-buffer pixel (x, y), y counted from the top.
    static std::array<uint8_t, 4> Pixel(int x, int y)
    {
        std::array<uint8_t, 4> p{};
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    }

    // The whole render-target texture, rows top-down as stored.
    static std::vector<uint32_t> TargetPixels(Texture* t)
    {
        std::vector<uint32_t> px(static_cast<size_t>(t->GetWidth()) * t->GetHeight());
        glGetTextureImage(static_cast<TextureGL*>(t)->GetName(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                          static_cast<GLsizei>(px.size() * 4), px.data());
        return px;
    }

    static inline SDL_Window* sWindow = nullptr;
    static inline RenderGL* sRender = nullptr;
    RenderGL* r = nullptr;
    GraphicsState state;
    test::QuadWriter writer{*sRender};
};

using RGBA = std::array<uint8_t, 4>;
constexpr RGBA kBlack{0, 0, 0, 255};
constexpr RGBA kWhite{255, 255, 255, 255};

} // namespace

TEST_F(GLRender, LogicalPointLandsOnItsPixel)
{
    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});
    DrawTextured(white.get(), {10, 20, 1, 1});
    Play();
    EXPECT_EQ(Pixel(10, 20), kWhite);
    for (auto [x, y] : {std::pair{9, 20}, {11, 20}, {10, 19}, {10, 21}})
        EXPECT_EQ(Pixel(x, y), kBlack) << x << "," << y;
}

TEST_F(GLRender, OneToOneCheckerboardStaysSharpInBgraOrder)
{
    std::vector<uint32_t> board(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            board[y * 8 + x] = (x + y) % 2 ? 0xFF102030u : 0xFFFFFFFFu;
    auto t = MakeTexture(8, 8, board);
    DrawTextured(t.get(), {30, 40, 8, 8});
    Play();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            const RGBA expected = (x + y) % 2 ? RGBA{0x10, 0x20, 0x30, 255} : kWhite;
            ASSERT_EQ(Pixel(30 + x, 40 + y), expected) << x << "," << y;
        }
}

TEST_F(GLRender, VertexColourMultipliesTheTexture)
{
    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});
    Quad q{5, 5, 4, 4};
    q.color = 0xFF4080C0u;
    DrawTextured(white.get(), q);
    Play();
    EXPECT_EQ(Pixel(6, 6), (RGBA{0x40, 0x80, 0xC0, 255}));
}

TEST_F(GLRender, BlendModesCombineColourAndAddAlpha)
{
    // Drawn into a target, whose alpha channel shows that destination alpha adds up while blending.
    Image* image = nullptr;
    ASSERT_EQ(r->CreateRenderTarget(8, 8, &image, true), VN_OK);
    std::unique_ptr<Image> target(image);
    auto* rt = static_cast<RenderTarget*>(image);
    auto half = MakeTexture(1, 1, {0x80FF0000u}); // red, alpha 128
    struct Case
    {
        int32_t mode;
        uint32_t expected; // 0xAARRGGBB in the target
    };
    // Destination 0x40 grey, alpha 0x40: mode 0 copies, 1 mixes by source alpha, 2 adds source × alpha.
    const Case cases[] = {{BlendNone, 0x80FF0000u}, {BlendAlpha, 0xC0A02020u}, {BlendAdditive, 0xC0C04040u}};
    GraphicsState inTarget = state;
    inTarget.mRenderTarget = image->GetTexture();
    r->GetTexturedMultShader()->SetProjection(&rt->mProjection);
    for (int i = 0; i < 3; ++i)
    {
        Clear(0x40404040u, &inTarget);
        inTarget.mBlendMode = cases[i].mode;
        std::swap(state, inTarget);
        DrawTextured(half.get(), {0, 0, 8, 8});
        std::swap(state, inTarget);
        Play();
        const uint32_t px = TargetPixels(image->GetTexture())[9];
        for (int shift : {0, 8, 16, 24}) // one byte of rounding either way
            EXPECT_NEAR(static_cast<int>((px >> shift) & 0xFF),
                        static_cast<int>((cases[i].expected >> shift) & 0xFF), 1)
                << "mode " << cases[i].mode << std::hex << " got " << px;
        ASSERT_EQ(r->BeginFrame(), VN_OK);
    }
    r->GetTexturedMultShader()->SetProjection(&r->GetProjection());
    Play();
}

TEST_F(GLRender, ScissorClipsOnScreenFromTheTopLeft)
{
    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});
    state.mScissorOn = true;
    state.mScissorRect = math::Rect(20, 10, 30, 15);
    DrawTextured(white.get(), {0, 0, kWidth, kHeight});
    Play();
    EXPECT_EQ(Pixel(20, 10), kWhite);
    EXPECT_EQ(Pixel(49, 24), kWhite);
    EXPECT_EQ(Pixel(19, 10), kBlack);
    EXPECT_EQ(Pixel(20, 9), kBlack);
    EXPECT_EQ(Pixel(50, 24), kBlack);
    EXPECT_EQ(Pixel(49, 25), kBlack);
}

TEST_F(GLRender, TargetIsStoredTopDownScissoredAndDrawnUpright)
{
    Image* image = nullptr;
    ASSERT_EQ(r->CreateRenderTarget(16, 16, &image, true), VN_OK);
    std::unique_ptr<Image> target(image);
    auto* rt = static_cast<RenderTarget*>(image);
    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});

    GraphicsState inTarget = state;
    inTarget.mRenderTarget = image->GetTexture();
    inTarget.mScissorOn = true;
    inTarget.mScissorRect = math::Rect(0, 0, 4, 2);
    Clear(0xFF000000u, &inTarget);
    r->GetTexturedMultShader()->SetProjection(&rt->mProjection);
    std::swap(state, inTarget);
    DrawTextured(white.get(), {0, 0, 8, 8}); // clipped to the top-left 4 × 2
    std::swap(state, inTarget);
    Play();
    const std::vector<uint32_t> px = TargetPixels(image->GetTexture());
    EXPECT_EQ(px[0], 0xFFFFFFFFu);
    EXPECT_EQ(px[1 * 16 + 3], 0xFFFFFFFFu);
    EXPECT_EQ(px[2 * 16 + 0], 0xFF000000u); // below the scissor
    EXPECT_EQ(px[0 * 16 + 4], 0xFF000000u); // right of it
    EXPECT_EQ(px[15 * 16 + 0], 0xFF000000u);

    // Drawn as an image, the white corner is at the top-left again.
    ASSERT_EQ(r->BeginFrame(), VN_OK);
    r->GetTexturedMultShader()->SetProjection(&r->GetProjection());
    state.mBlendMode = BlendNone;
    DrawTextured(image->GetTexture(), {100, 50, 16, 16});
    Play();
    EXPECT_EQ(Pixel(100, 50), kWhite);
    EXPECT_EQ(Pixel(103, 51), kWhite);
    EXPECT_EQ(Pixel(100, 52), kBlack);
    EXPECT_EQ(Pixel(100, 65), kBlack);
}

TEST_F(GLRender, CounterClockwiseTrianglesAreCulledOnScreenAndInTargets)
{
    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});
    Quad mirrored{10, 10, 8, 8};
    std::swap(mirrored.u0, mirrored.u1);
    // A quad whose corners run the other way round: mirrored along x by a negative width.
    DrawTextured(white.get(), {30, 10, -8, 8});
    DrawTextured(white.get(), {50, 10, 8, 8});
    Play();
    EXPECT_EQ(Pixel(25, 14), kBlack);
    EXPECT_EQ(Pixel(54, 14), kWhite);
}

TEST_F(GLRender, CompressedTexturesUploadAndSample)
{
    // DXT1 block: colour 0 red (565: 0xF800), colour 1 blue (0x001F), every index 0 → red.
    const uint8_t dxt1[8] = {0x00, 0xF8, 0x1F, 0x00, 0, 0, 0, 0};
    // DXT5 block: alpha 0 = 0x80 for all, colour block green (0x07E0) everywhere.
    const uint8_t dxt5[16] = {0x80, 0x00, 0, 0, 0, 0, 0, 0, 0xE0, 0x07, 0x00, 0x00, 0, 0, 0, 0};
    Texture* t1 = nullptr;
    Texture* t5 = nullptr;
    ASSERT_EQ(r->CreateTexture(&t1), VN_OK);
    ASSERT_EQ(r->CreateTexture(&t5), VN_OK);
    std::unique_ptr<Texture> o1(t1), o5(t5);
    ASSERT_EQ(t1->CreateFromPixels(4, 4, CompressionDXT1, dxt1, sizeof dxt1), VN_OK);
    ASSERT_EQ(t5->CreateFromPixels(4, 4, CompressionDXT5, dxt5, sizeof dxt5), VN_OK);
    // Too little data for the level is refused, not read past.
    Texture* bad = nullptr;
    ASSERT_EQ(r->CreateTexture(&bad), VN_OK);
    std::unique_ptr<Texture> ob(bad);
    EXPECT_EQ(bad->CreateFromPixels(8, 8, CompressionDXT1, dxt1, sizeof dxt1), VN_FAIL);

    DrawTextured(t1, {0, 0, 4, 4});
    DrawTextured(t5, {10, 0, 4, 4});
    Play();
    EXPECT_EQ(Pixel(1, 1), (RGBA{255, 0, 0, 255}));
    const RGBA g = Pixel(11, 1); // half-transparent green over black
    EXPECT_NEAR(g[1], 128, 2);
    EXPECT_EQ(g[0], 0);
}

// Frames write their vertices and indices in turns in several regions of the same buffers; each frame must
// draw what it wrote, not what an earlier frame left in another region. More frames than regions, and two
// draws a frame (a blend change keeps them apart), so offsets within a region count too.
TEST_F(GLRender, EachFrameDrawsWhatItWroteWhileBuffersTakeTurns)
{
    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});
    Play();
    for (int frame = 0; frame < 7; ++frame)
    {
        SCOPED_TRACE(frame);
        ASSERT_EQ(r->BeginFrame(), VN_OK);
        Clear(0xFF000000u);
        const float x = 4.0f + 20.0f * static_cast<float>(frame);
        Quad first{x, 10, 8, 8};
        first.color = 0xFF000000u | static_cast<uint32_t>(30 * (frame + 1)) << 16;
        Quad second{x, 40, 8, 8};
        second.color = 0xFF0000FFu;
        DrawTextured(white.get(), first);
        state.mBlendMode = BlendNone;
        DrawTextured(white.get(), second);
        state.mBlendMode = BlendAlpha;
        Play();
        EXPECT_EQ(Pixel(static_cast<int>(x) + 2, 12),
                  (RGBA{static_cast<uint8_t>(30 * (frame + 1)), 0, 0, 255}));
        EXPECT_EQ(Pixel(static_cast<int>(x) + 2, 42), (RGBA{0, 0, 255, 255}));
        if (frame > 0)
        {
            EXPECT_EQ(Pixel(static_cast<int>(x) - 18, 12), kBlack);
        }
    }
}

// A buffer locks once a frame. Locked again before its frame's draws were issued (a playback that failed
// half-way), it must not write the region those draws may still read.
TEST_F(GLRender, ABufferLockedTwiceInOneFrameMovesToAnotherRegion)
{
    BufferRingGL ring;
    {
        VertexBufferImplGL b(r, &ring);
        ASSERT_EQ(b.Create(SVertex2D::Format(), 16, true), VN_OK);
        ASSERT_EQ(b.Lock(), VN_OK);
        const uint32_t firstRegion = b.GetRegionStart();
        ASSERT_EQ(b.Unlock(), VN_OK);
        ASSERT_EQ(b.Lock(), VN_OK); // no Close between
        const uint32_t secondRegion = b.GetRegionStart();
        ASSERT_EQ(b.Unlock(), VN_OK);
        ring.Close();
        ASSERT_EQ(b.Lock(), VN_OK);
        const uint32_t thirdRegion = b.GetRegionStart();
        ASSERT_EQ(b.Unlock(), VN_OK);
        ring.Close();
        EXPECT_NE(firstRegion, secondRegion);
        EXPECT_NE(secondRegion, thirdRegion);
        for (uint32_t start : {firstRegion, secondRegion, thirdRegion})
            EXPECT_EQ(start % 16, 0u);
    }
    ring.Release();
    Play();
}

TEST_F(GLRender, TintShaderMixesVertexAndTextureColour)
{
    auto blue = MakeTexture(1, 1, {0xFF0000FFu});
    ShaderTextured* tint = r->GetTexturedTintShader();
    struct Case
    {
        uint32_t specular;
        RGBA expected;
    };
    // Green byte: amount of vertex colour; blue byte: amount of texture colour.
    const Case cases[] = {{0x000000FFu, {0, 0, 255, 255}}, {0x0000FF00u, {255, 0, 0, 255}}};
    int x = 0;
    for (const Case& c : cases)
    {
        Quad q{static_cast<float>(x), 60, 4, 4};
        q.color = 0xFFFF0000u;
        q.specular = c.specular;
        DrawTextured(blue.get(), q, tint);
        x += 10;
    }
    Play();
    EXPECT_EQ(Pixel(1, 61), cases[0].expected);
    EXPECT_EQ(Pixel(11, 61), cases[1].expected);
}

TEST_F(GLRender, LoadedShaderLinksBySemanticAndTakesASecondColour)
{
    // The pixel program declares its inputs in another order than the vertex program writes them, and adds a
    // constant colour; an unknown constant must not stop the frame.
    const std::string vs = R"(
float4x4 Proj;
struct VS_INPUT { float4 pos : POSITION; float4 color : COLOR0; float4 colorSpec : COLOR1; float2 TuTv : TEXCOORD0; };
struct VS_OUTPUT { float4 Position : POSITION; float2 TuTv : TEXCOORD0; float4 Color : COLOR0; };
VS_OUTPUT vertex_shader(VS_INPUT input)
{ VS_OUTPUT o; o.Position = mul(input.pos, Proj); o.TuTv = input.TuTv; o.Color = input.color; return o; }
)";
    const std::string ps = R"(
texture g_MeshTexture;
sampler TextureSampler = sampler_state { Texture = <g_MeshTexture>; MinFilter = LINEAR; };
float4 color2;
struct PS_INPUT { float4 color : COLOR0; float2 TuTv : TEXCOORD0; };
float4 pixel_shader(PS_INPUT input) : COLOR0
{
    float4 t = tex2D(TextureSampler, input.TuTv) * input.color;
    return float4(lerp(t.rgb, color2.rgb, color2.a), t.a);
}
)";
    ShaderImpl* impl = nullptr;
    ASSERT_EQ(r->CreateShader(vs, ps, &impl), VN_OK);
    ShaderTextured shader(impl, r);
    ASSERT_EQ(shader.SetupVariables(), VN_OK);
    ShaderScalarVariable<math::Point4, 1>* color2 = nullptr;
    ShaderScalarVariable<math::Point4, 1>* unknown = nullptr;
    ASSERT_EQ(impl->AddVariable("color2", ShaderImpl::kPixelTable, &color2), VN_OK);
    ASSERT_EQ(impl->AddVariable("noSuchConstant", ShaderImpl::kPixelTable, &unknown), VN_OK);
    color2->Set(math::Point4(0, 0, 1, 0.5f)); // half way to blue
    unknown->Set(math::Point4(1, 1, 1, 1));
    shader.SetProjection(&r->GetProjection());

    auto white = MakeTexture(1, 1, {0xFFFFFFFFu});
    Quad q{70, 70, 4, 4};
    q.color = 0xFFFF0000u;
    DrawTextured(white.get(), q, &shader);
    Play();
    const RGBA p = Pixel(71, 71);
    EXPECT_NEAR(p[0], 128, 1);
    EXPECT_EQ(p[1], 0);
    EXPECT_NEAR(p[2], 128, 1);
}

TEST_F(GLRender, ShaderFolderLoadsAndABrokenOneStaysUnloaded)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("render_shader_" + std::to_string(::getpid()));
    fs::create_directories(root / "good");
    fs::create_directories(root / "bad");
    auto write = [](const fs::path& p, const char* text) { std::ofstream(p) << text; };
    const char* vs =
        "float4x4 Proj;\nstruct O { float4 p : POSITION; float2 t : TEXCOORD0; float4 c : COLOR0; };\n"
        "O vertex_shader(float4 p : POSITION, float4 c : COLOR0, float2 t : TEXCOORD0)\n"
        "{ O o; o.p = mul(p, Proj); o.t = t; o.c = c; return o; }\n";
    write(root / "good" / "VS.hlsl", vs);
    write(root / "good" / "PS.hlsl",
          "sampler TextureSampler;\nfloat4 pixel_shader(float4 c : COLOR0, float2 t : "
          "TEXCOORD0) : COLOR0 { return c * tex2D(TextureSampler, t); }\n");
    write(root / "bad" / "VS.hlsl", vs);
    write(root / "bad" / "PS.hlsl", "float4 pixel_shader() : COLOR0 { return oops; }\n");

    const std::wstring good = (root / "good").wstring() + L"/";
    const std::wstring bad = (root / "bad").wstring() + L"/";
    CountedHandle<ShaderTextured> handle;
    ASSERT_EQ(r->LoadShader(good, handle), VN_OK);
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->IsLoaded());
    EXPECT_NE(handle->GetImpl(), nullptr);

    CountedHandle<ShaderTextured> second = handle;
    EXPECT_EQ(r->LoadShader(bad, second), VN_FAIL);
    EXPECT_EQ(second.Get(), handle.Get()); // the handle is untouched
    handle.Release();
    second.Release();
    fs::remove_all(root);
    Play();
}
