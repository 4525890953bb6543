// Text and a masked sprite drawn through the drawing front on the OpenGL back end and read back against
// pictures the test computes itself. Needs a display (xvfb-run); skips without one.
#include "Core/Base/MemoryStream.h"
#include "Core/Base/Transform3D.h"
#include "Support/HiddenGLRender.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/GL/RenderGL.h"
#include "Core/Render/GL/TextureGL.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Core/Render/Image/ImageTestUtil.h"
#include "Core/Render/Texture.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace render;
using render::test::TestImage;

namespace
{

constexpr int kWidth = 160;
constexpr int kHeight = 120;

class GraphicsGL : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRender = gltest::CreateHiddenGLRender("graphics test", kWidth, kHeight, &sWindow);
    }

    static void TearDownTestSuite() { gltest::DestroyHiddenGLRender(sRender, sWindow); }

    void SetUp() override
    {
        if (!sRender)
            GTEST_SKIP() << "no OpenGL 4.5 context (run under xvfb-run)";
        ASSERT_TRUE(sRender->CheckDevice());
        ASSERT_EQ(sRender->BeginFrame(), VN_OK);
        graphics = std::make_unique<Graphics>(sRender);
        ASSERT_EQ(graphics->Clear(ClearColor, Color(0xFF000000u), 1.0f, 0), VN_OK);
    }

    // Ends the frame, plays it and reads the back buffer, rows from the top, as 0xAARRGGBB.
    std::vector<uint32_t> Play()
    {
        graphics.reset();
        EXPECT_EQ(sRender->EndFrame(), VN_OK);
        EXPECT_EQ(sRender->Playback(), VN_OK);
        return gltest::ReadBackBuffer(kWidth, kHeight);
    }

    // Compares every pixel whose whole neighbourhood has one expected value (edges may round either way).
    static void Compare(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want)
    {
        int compared = 0, wrong = 0;
        for (int y = 1; y < kHeight - 1; ++y)
            for (int x = 1; x < kWidth - 1; ++x)
            {
                const uint32_t w = want[static_cast<size_t>(y) * kWidth + x];
                bool interior = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        interior = interior && want[static_cast<size_t>(y + dy) * kWidth + x + dx] == w;
                if (!interior)
                    continue;
                ++compared;
                const uint32_t g = got[static_cast<size_t>(y) * kWidth + x];
                if (g != w && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": got " << std::hex << g << " want " << w;
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(compared, kWidth * kHeight / 2);
    }

    static void Fill(std::vector<uint32_t>& img, int x, int y, int w, int h, uint32_t argb)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (i >= 0 && j >= 0 && i < kWidth && j < kHeight)
                    img[static_cast<size_t>(j) * kWidth + i] = argb;
    }

    static inline SDL_Window* sWindow = nullptr;
    static inline RenderGL* sRender = nullptr;
    std::unique_ptr<Graphics> graphics;
};

class PageFont : public BMFont
{
public:
    Texture* page = nullptr;

protected:
    VNResultEnum LoadPage(const std::wstring&, Image** out) override
    {
        *out = new TestImage(64, 64, page);
        return VN_OK;
    }
};

} // namespace

// A 32 × 32 sprite whose left half is opaque red and right half transparent, loaded from a TGA file through
// the image loader: the drawn picture and the hit mask both follow the alpha channel.
TEST_F(GraphicsGL, MaskedSpriteMatchesItsAlpha)
{
    std::vector<uint32_t> pixels(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels[y * 32 + x] = x < 16 ? 0xFFFF0000u : (y < 16 ? 0x00FFFFFFu : 0x2000FF00u);
    const std::vector<uint8_t> tga = render::test::MakeTGA(32, 32, pixels, false);
    base::MemoryStream stream(tga.data(), static_cast<unsigned>(tga.size()));
    std::unique_ptr<ImageData> data(ImageLoader::Instance()->Load(&stream, L".tga", nullptr));
    ASSERT_TRUE(data);
    Texture* raw = nullptr;
    ASSERT_EQ(sRender->CreateTexture(&raw), VN_OK);
    std::unique_ptr<Texture> texture(raw);
    ASSERT_EQ(texture->CreateFromImage(data.get()), VN_OK);
    EXPECT_TRUE(texture->HitTest(3, 3));
    EXPECT_FALSE(texture->HitTest(20, 3));
    EXPECT_FALSE(texture->HitTest(20, 20)); // alpha 0x20 is below the library images' threshold
    TestImage image(32, 32, texture.get());
    {
        graphics->DrawImage(&image).Translate(40, 30);
    }
    {
        auto mirrored = graphics->DrawImage(&image);
        mirrored->mFlipX = true;
        mirrored.Translate(100, 30);
    }
    const std::vector<uint32_t> got = Play();

    std::vector<uint32_t> want(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u);
    Fill(want, 40, 30, 16, 32, 0xFFFF0000u);
    Fill(want, 56, 46, 16, 16, 0xFF002000u); // green at alpha 0x20 over black
    Fill(want, 116, 30, 16, 32, 0xFFFF0000u);
    Fill(want, 100, 46, 16, 16, 0xFF002000u);
    Compare(got, want);
}

// A text line in a bitmap font whose glyphs are solid blocks on the page: each glyph lands at its pen
// position plus its offsets, in the Graphics' colour.
TEST_F(GraphicsGL, TextLineMatchesGlyphBlocks)
{
    std::vector<uint32_t> page(64 * 64, 0x00000000u);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 8; ++x)
        {
            page[y * 64 + x] = 0xFFFFFFFFu;          // 'a': 8 × 12 at (0, 0)
            page[y * 64 + 16 + x / 2] = 0xFFFFFFFFu; // 'b': 4 × 12 at (16, 0)
        }
    Texture* raw = nullptr;
    ASSERT_EQ(sRender->CreateTexture(&raw), VN_OK);
    std::unique_ptr<Texture> texture(raw);
    ASSERT_EQ(texture->CreateFromPixels(64, 64, CompressionNone, page.data(), 64 * 64 * 4), VN_OK);

    PageFont font;
    font.page = texture.get();
    font.SetName(L"fonts/blocks");
    const std::string fnt =
        R"(<font><info face="B" size="16" bold="0" italic="0" charset="" unicode="1" stretchH="100" smooth="0" aa="1" padding="0,0,0,0" spacing="1,1" outline="0"/>
<common lineHeight="16" base="12" scaleW="64" scaleH="64" pages="1" packed="0" alphaChnl="0" redChnl="4" greenChnl="4" blueChnl="4"/>
<pages><page id="0" file="blocks_0.png"/></pages><chars>
<char id="32" x="0" y="0" width="0" height="0" xoffset="0" yoffset="0" xadvance="6" page="0" chnl="15"/>
<char id="97" x="0" y="0" width="8" height="12" xoffset="1" yoffset="2" xadvance="10" page="0" chnl="15"/>
<char id="98" x="16" y="0" width="4" height="12" xoffset="0" yoffset="2" xadvance="6" page="0" chnl="15"/>
</chars><kernings><kerning first="97" second="98" amount="-1"/></kernings></font>)";
    base::MemoryStream stream(fnt.data(), static_cast<unsigned>(fnt.size()));
    ASSERT_EQ(font.Parse(&stream), VN_OK);

    graphics->mFont = &font;
    graphics->SetColor(Color(0xFFFFFF00u));
    const std::wstring text = L"ab ab";
    {
        graphics->DrawText(text).Translate(20, 50);
    }
    const std::vector<uint32_t> got = Play();

    // Pen: a at 0 (+1 offset), b at 10 − 1 kerning, space 6, a at 21, b at 30.
    std::vector<uint32_t> want(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u);
    const uint32_t yellow = 0xFFFFFF00u;
    Fill(want, 20 + 1, 52, 8, 12, yellow);
    Fill(want, 20 + 9, 52, 4, 12, yellow);
    Fill(want, 20 + 22, 52, 8, 12, yellow);
    Fill(want, 20 + 30, 52, 4, 12, yellow);
    Compare(got, want);
}

// 12,000 small sprites from one atlas, half of them rotated, in varying colours and alpha, drawn into a
// target as image layers draw them. Batched in one frame (one texture, one state: the renderer merges them
// into a handful of draws spread over several cache buffers, the frame growing the caches) and one sprite per
// played frame, the pictures are the same; and both are the picture of the same quads worked out here and
// handed to the renderer directly, so the drawing front's quads are the ones the sprites call for.
TEST_F(GraphicsGL, BatchedSpritesMatchSingleDraws)
{
    constexpr int kAtlas = 16, kCell = 4, kTarget = 512, kSprites = 12000;
    std::vector<uint32_t> atlas(kAtlas * kAtlas);
    for (int y = 0; y < kAtlas; ++y)
        for (int x = 0; x < kAtlas; ++x)
            atlas[y * kAtlas + x] = static_cast<uint32_t>(0x60 + 0x20 * ((x + y) % 4)) << 24 |
                                    static_cast<uint32_t>(x * 16) << 16 | static_cast<uint32_t>(y * 16) << 8 |
                                    static_cast<uint32_t>(255 - 8 * (x + y));
    Texture* raw = nullptr;
    ASSERT_EQ(sRender->CreateTexture(&raw), VN_OK);
    std::unique_ptr<Texture> texture(raw);
    ASSERT_EQ(texture->CreateFromPixels(kAtlas, kAtlas, CompressionNone, atlas.data(), kAtlas * kAtlas * 4),
              VN_OK);
    std::vector<std::unique_ptr<TestImage>> cells;
    for (int c = 0; c < (kAtlas / kCell) * (kAtlas / kCell); ++c)
    {
        cells.push_back(std::make_unique<TestImage>(kCell, kCell, texture.get()));
        const float step = static_cast<float>(kCell) / kAtlas;
        cells.back()->PlaceInAtlas(static_cast<float>(c % 4) * step, static_cast<float>(c / 4) * step, step,
                                   step);
    }
    Image* targetImage = nullptr;
    ASSERT_EQ(sRender->CreateRenderTarget(kTarget, kTarget, &targetImage, true), VN_OK);
    std::unique_ptr<Image> target(targetImage);

    Play(); // the fixture's back-buffer frame is not used here

    // The target's context opens its own frame; Flush plays back what it holds and starts the next.
    enum Road
    {
        Batched,
        Single,
        Direct
    };
    // A sprite's quad as the front must make it: the cell's corners about its centre, rolled by the angle
    // (row vectors: x' = x cos − y sin, y' = x sin + y cos), moved, then the half-pixel offset.
    auto drawDirect = [&](Graphics& g, float angle, bool rolled, float tx, float ty, const Color& color,
                          size_t cell)
    {
        auto* vc = static_cast<VertexCache2D*>(sRender->GetVertexCache(SVertex2D::Format().mId));
        auto* ic = static_cast<IndexCache16*>(sRender->GetIndexCache16());
        SVertex2D* v = nullptr;
        uint16_t* idx = nullptr;
        VertexCache2D::Range vr;
        IndexCache16::Range ir;
        ASSERT_EQ(vc->Allocate(4, &v, &vr), VN_OK);
        ASSERT_EQ(ic->Allocate(6, &idx, &ir), VN_OK);
        const float c = rolled ? std::cos(angle) : 1.0f, s = rolled ? std::sin(angle) : 0.0f;
        const float step = static_cast<float>(kCell) / kAtlas;
        const float u0 = static_cast<float>(cell % 4) * step, v0 = static_cast<float>(cell / 4) * step;
        const float half = kCell * 0.5f;
        const float corner[4][4] = {{-half, -half, u0, v0},
                                    {half, -half, u0 + step, v0},
                                    {half, half, u0 + step, v0 + step},
                                    {-half, half, u0, v0 + step}};
        const uint32_t diffuse = color.ToARGB();
        for (int k = 0; k < 4; ++k)
        {
            const float x = corner[k][0], y = corner[k][1];
            const float px = rolled ? x * c + y * -s + tx : x + tx;
            const float py = rolled ? x * s + y * c + ty : y + ty;
            v[k] = {px - 0.5f, py - 0.5f, 0.0f, 1.0f, diffuse, TintSpecular(0.0f), corner[k][2], corner[k][3]};
        }
        const auto b = static_cast<uint16_t>(vr.mFirst);
        const uint16_t list[6] = {b,
                                  static_cast<uint16_t>(b + 1),
                                  static_cast<uint16_t>(b + 2),
                                  b,
                                  static_cast<uint16_t>(b + 2),
                                  static_cast<uint16_t>(b + 3)};
        std::copy(list, list + 6, idx);
        ShaderTextured* shader = sRender->GetTexturedMultShader();
        g.mState.mVertexBuffer = vr.mBuffer->GetImpl();
        g.mState.mIndexBuffer = ir.mBuffer->GetImpl();
        g.mState.mShader = shader->GetImpl();
        sRender->SetState(&g.mState, true);
        shader->SetTexture(texture.get());
        shader->SetProjection(&g.GetProjection());
        EXPECT_EQ(sRender->DrawIndexedPrimitive(TriangleList, ir.mFirst, 2, vr.mFirst, 4), VN_OK);
    };
    auto draw = [&](Road road)
    {
        {
            Graphics g(static_cast<RenderTarget*>(targetImage));
            EXPECT_TRUE(g.mOwnsFrame);
            EXPECT_EQ(g.Clear(ClearColor, Color(0xFF000000u), 1.0f, 0), VN_OK);
            uint32_t seed = 7;
            auto next = [&seed]
            {
                seed = seed * 1664525u + 1013904223u;
                return seed >> 8;
            };
            math::Transform3D world;
            for (int i = 0; i < kSprites; ++i)
            {
                const bool rolled = i % 2 == 1;
                const float angle = rolled ? static_cast<float>(next() % 628) / 100.0f : 0.0f;
                const float tx = static_cast<float>(next() % kTarget);
                const float ty = static_cast<float>(next() % kTarget);
                const float r = static_cast<float>(next() % 256) / 255.0f;
                const float gr = static_cast<float>(next() % 256) / 255.0f;
                const float a = static_cast<float>(128 + next() % 128) / 255.0f;
                const size_t cell = next() % cells.size();
                if (road == Direct)
                {
                    drawDirect(g, angle, rolled, tx, ty, Color(r, gr, 1.0f, a), cell);
                    continue;
                }
                world.Reset();
                if (rolled)
                    world.Rotate(0.0f, 0.0f, angle);
                world.Translate(tx, ty);
                g.mTransform = &world;
                g.SetColor(r, gr, 1.0f, a);
                {
                    auto d = g.DrawImage(cells[cell].get());
                    d->mAlignH = 2;
                    d->mAlignV = 2;
                }
                if (road == Single)
                {
                    EXPECT_EQ(g.Flush(), VN_OK);
                }
            }
            g.mTransform = nullptr;
        }
        std::vector<uint32_t> px(static_cast<size_t>(kTarget) * kTarget);
        glGetTextureImage(static_cast<TextureGL*>(targetImage->GetTexture())->GetName(), 0, GL_BGRA,
                          GL_UNSIGNED_BYTE, static_cast<GLsizei>(px.size() * 4), px.data());
        return px;
    };
    const std::vector<uint32_t> batched = draw(Batched);
    const std::vector<uint32_t> single = draw(Single);
    const std::vector<uint32_t> direct = draw(Direct);

    const auto covered =
        std::count_if(batched.begin(), batched.end(), [](uint32_t p) { return p != 0xFF000000u; });
    EXPECT_GT(covered, kTarget * kTarget / 3);
    for (const auto& [name, other] : {std::pair{"single", &single}, std::pair{"direct", &direct}})
    {
        int wrong = 0;
        for (size_t i = 0; i < batched.size(); ++i)
        {
            if (batched[i] != (*other)[i] && ++wrong <= 5)
            {
                ADD_FAILURE() << "pixel " << i % kTarget << "," << i / kTarget << ": batched " << std::hex
                              << batched[i] << " " << name << " " << (*other)[i];
            }
        }
        EXPECT_EQ(wrong, 0) << name;
    }
}
