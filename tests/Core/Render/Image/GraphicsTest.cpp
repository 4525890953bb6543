#include "Core/Base/Transform3D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Core/Render/RenderTarget.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace render;
using render::test::TestImage;

namespace
{

class GraphicsDraw : public render::test::GraphicsFixture
{
};

struct Corner
{
    float x, y, u, v;
};

void ExpectQuad(const SVertex2D* v, const Corner (&want)[4], const char* what)
{
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(v[i].x, want[i].x) << what << " vertex " << i;
        EXPECT_FLOAT_EQ(v[i].y, want[i].y) << what << " vertex " << i;
        EXPECT_FLOAT_EQ(v[i].u, want[i].u) << what << " vertex " << i;
        EXPECT_FLOAT_EQ(v[i].v, want[i].v) << what << " vertex " << i;
        EXPECT_EQ(v[i].z, 0.0f);
        EXPECT_EQ(v[i].w, 1.0f);
    }
}

} // namespace

// Vertex positions (after the half-pixel offset) and texture coordinates of image draws.
TEST_F(GraphicsDraw, ImageQuadAnchorsMirrorAndSource)
{
    TestImage image(10, 20);
    {
        graphics->DrawImage(&image);
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{-0.5f, -0.5f, 0, 0}, {9.5f, -0.5f, 1, 0}, {9.5f, 19.5f, 1, 1}, {-0.5f, 19.5f, 0, 1}},
               "default");
    {
        auto p = graphics->DrawImage(&image, math::Rect(0, 0, 5, 20));
        p->mAlignH = 2;
        p->mAlignV = 1;
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{-3.0f, -20.5f, 0, 0}, {2.0f, -20.5f, 0.5f, 0}, {2.0f, -0.5f, 0.5f, 1}, {-3.0f, -0.5f, 0, 1}},
               "centred source");
    {
        auto p = graphics->DrawImage(&image, math::Rect(5, 10, 5, 10));
        p->mFlipX = true;
        p->mFlipY = true;
    }
    ExpectQuad(
        Last<SVertex2D>(4),
        {{-0.5f, -0.5f, 1, 1}, {4.5f, -0.5f, 0.5f, 1}, {4.5f, 9.5f, 0.5f, 0.5f}, {-0.5f, 9.5f, 1, 0.5f}},
        "mirrored");
    {
        graphics->DrawImage(&image).Translate(100, 50);
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{99.5f, 49.5f, 0, 0}, {109.5f, 49.5f, 1, 0}, {109.5f, 69.5f, 1, 1}, {99.5f, 69.5f, 0, 1}},
               "translated");
    {
        graphics->DrawImage(&image, DestRect(10, 10, 20, 10));
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{9.5f, 9.5f, 0, 0}, {29.5f, 9.5f, 1, 0}, {29.5f, 19.5f, 1, 1}, {9.5f, 19.5f, 0, 1}},
               "stretched");
    {
        graphics->DrawImage(&image, math::Rect(0, 0, 5, 10), math::Rect(0, 0, 10, 10));
    }
    ExpectQuad(
        Last<SVertex2D>(4),
        {{-0.5f, -0.5f, 0, 0}, {9.5f, -0.5f, 0.5f, 0}, {9.5f, 9.5f, 0.5f, 0.5f}, {-0.5f, 9.5f, 0, 0.5f}},
        "source into destination");
    {
        graphics->DrawImage(&image).Translate(4, 0).Scale(2);
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{7.5f, -0.5f, 0, 0}, {27.5f, -0.5f, 1, 0}, {27.5f, 39.5f, 1, 1}, {7.5f, 39.5f, 0, 1}},
               "translated offset is scaled");
    {
        // Steps in the order written: scale by 2, then move by (100, 0), then scale by 0.5.
        graphics->DrawImage(&image).Scale(2).Translate(100, 0).Scale(0.5f);
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{49.5f, -0.5f, 0, 0}, {59.5f, -0.5f, 1, 0}, {59.5f, 19.5f, 1, 1}, {49.5f, 19.5f, 0, 1}},
               "chained steps");
}

TEST_F(GraphicsDraw, AtlasImagesMapIntoTheirRectangle)
{
    TestImage image(64, 64);
    image.PlaceInAtlas(0.5f, 0.25f, 0.5f, 0.25f);
    {
        graphics->DrawImage(&image)->mFlipX = true;
    }
    ExpectQuad(Last<SVertex2D>(4),
               {{-0.5f, -0.5f, 1.0f, 0.25f},
                {63.5f, -0.5f, 0.5f, 0.25f},
                {63.5f, 63.5f, 0.5f, 0.5f},
                {-0.5f, 63.5f, 1.0f, 0.5f}},
               "atlas");
}

TEST_F(GraphicsDraw, ColourTintAndWorldTransform)
{
    TestImage image(2, 2);
    graphics->SetColor(Color(0xFF102030));
    graphics->mTint = 0.5f;
    math::Transform3D world;
    world.Translate(100, 0);
    graphics->mTransform = &world;
    {
        graphics->DrawImage(&image);
    }
    const SVertex2D* v = Last<SVertex2D>(4);
    EXPECT_EQ(v[0].diffuse, 0xFF102030u);
    EXPECT_EQ(v[0].specular, (127u << 8) | 128u);
    EXPECT_FLOAT_EQ(v[0].x, 99.5f);
    graphics->mTransform = nullptr;
}

// The world transform moves every corner of an image after the draw's own steps (anchors, the wrapper's
// translation), whatever form the transform is held in; the half-pixel offset comes last. The expected
// corners go through the full matrix product of the same steps.
TEST_F(GraphicsDraw, WorldTransformsMoveEveryCorner)
{
    TestImage image(10, 20);
    image.PlaceInAtlas(0.25f, 0.5f, 0.25f, 0.125f);
    struct Step
    {
        char kind; // 't' translate, 's' scale, 'r' roll (radians)
        float a, b;
    };
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        float outerX, outerY; // the draw's own translation
    };
    const Case cases[] = {
        {"translation", {{'t', 100, 50}}, 0, 0},
        {"roll then translation", {{'r', 0.6f, 0}, {'t', 300, 200}}, 0, 0},
        {"translation, roll, translation", {{'t', -5, 7}, {'r', -2.2f, 0}, {'t', 40, 60}}, 3, -4},
        {"scale about a centre", {{'t', -100, -50}, {'s', 1.5f, 0.75f}, {'t', 100, 50}}, 0, 0},
        {"two rolls and a scale", {{'r', 0.3f, 0}, {'r', 0.4f, 0}, {'s', 2, 3}, {'t', 10, 20}}, -2, 1},
        {"mirror", {{'s', -1, 1}}, 5, 5},
    };
    for (const Case& c : cases)
    {
        math::Transform3D world;
        math::Matrix4 product(true);
        for (const Step& s : c.steps)
        {
            math::Matrix4 m(true);
            if (s.kind == 't')
            {
                world.Translate(s.a, s.b);
                m.SetTranslation(math::Point3(s.a, s.b, 0));
            }
            else if (s.kind == 's')
            {
                world.Scale(s.a, s.b);
                m.SetScale(math::Point3(s.a, s.b, 1));
            }
            else
            {
                world.Rotate(0, 0, s.a);
                m.SetRotation(math::Point3(0, 0, s.a));
            }
            product *= m;
        }
        graphics->mTransform = &world;
        {
            auto d = graphics->DrawImage(&image).Translate(c.outerX, c.outerY);
            d->mAlignH = 2;
            d->mAlignV = 2;
        }
        graphics->mTransform = nullptr;
        const SVertex2D* v = Last<SVertex2D>(4);
        const float local[4][2] = {{-5, -10}, {5, -10}, {5, 10}, {-5, 10}};
        const float uv[4][2] = {{0.25f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.625f}, {0.25f, 0.625f}};
        for (int i = 0; i < 4; ++i)
        {
            math::Point3 p(local[i][0] + c.outerX, local[i][1] + c.outerY, 0);
            product.TransformPoint(p);
            EXPECT_NEAR(v[i].x, p.x - 0.5f, 1e-3f) << c.name << " vertex " << i;
            EXPECT_NEAR(v[i].y, p.y - 0.5f, 1e-3f) << c.name << " vertex " << i;
            EXPECT_EQ(v[i].z, 0.0f) << c.name;
            EXPECT_EQ(v[i].w, 1.0f) << c.name;
            EXPECT_FLOAT_EQ(v[i].u, uv[i][0]) << c.name << " vertex " << i;
            EXPECT_FLOAT_EQ(v[i].v, uv[i][1]) << c.name << " vertex " << i;
        }
    }
}

// A draw belongs to exactly one wrapper: moving it leaves nothing behind that could draw it again.
TEST_F(GraphicsDraw, MovedDrawsRecordOnce)
{
    TestImage image(8, 8);
    const uint32_t before = Used2D();
    {
        auto p = graphics->DrawImage(&image);
        auto scaled = p.Scale(2.0f);
        auto again = p.Scale(3.0f); // p's draw already moved to scaled
        EXPECT_TRUE(scaled.mPending);
        EXPECT_FALSE(again.mPending);
        EXPECT_FALSE(p.mPending);
    }
    EXPECT_EQ(Used2D() - before, 4u);
    {
        auto p = graphics->DrawImage(&image);
        auto moved = std::move(p);
        EXPECT_FALSE(p.mPending);
        EXPECT_TRUE(moved.mPending);
    }
    EXPECT_EQ(Used2D() - before, 8u);
    EXPECT_EQ(DrawLines().size(), 1u); // consecutive compatible draws merge into one
}

TEST_F(GraphicsDraw, LinesAndRectangles)
{
    graphics->SetColor(1, 0, 0, 1);
    {
        graphics->FillRect(math::Rect(10, 20, 30, 40));
    }
    const SVertexGeom* r = Last<SVertexGeom>(4);
    const float want[4][2] = {{9.5f, 19.5f}, {39.5f, 19.5f}, {39.5f, 59.5f}, {9.5f, 59.5f}};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(r[i].x, want[i][0]);
        EXPECT_FLOAT_EQ(r[i].y, want[i][1]);
        EXPECT_EQ(r[i].diffuse, 0xFFFF0000u);
    }
    {
        graphics->DrawLine(math::Point2(0, 0), math::Point2(5, 5));
    }
    const SVertexGeom* l = Last<SVertexGeom>(2);
    EXPECT_FLOAT_EQ(l[1].x, 4.5f);
    const auto draws = DrawLines();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_NE(draws[0].find("DrawIndexedPrimitive 3"), std::string::npos) << draws[0];
    EXPECT_NE(draws[1].find("DrawPrimitive 1"), std::string::npos) << draws[1];
}

TEST_F(GraphicsDraw, ShaderSelection)
{
    ShaderTextured* mult = render.GetTexturedMultShader();
    EXPECT_EQ(graphics->mShader, mult);
    EXPECT_EQ(graphics->SetDefaultShader(3), VN_OK);
    EXPECT_EQ(graphics->mShader, mult);
    EXPECT_EQ(graphics->SetDefaultShader(2), VN_OK);
    EXPECT_EQ(graphics->mShader, render.GetTexturedTintShader());
    graphics->SetShader(nullptr);
    EXPECT_EQ(graphics->mDefaultShader, 0);
    EXPECT_EQ(graphics->mShader, mult);
    EXPECT_EQ(graphics->SetDefaultShader(1), VN_OK);
    EXPECT_EQ(graphics->mDefaultShader, 1);
}

TEST_F(GraphicsDraw, NoRoomMeansNoDraw)
{
    TestImage image(4, 4);
    render.EndFrame(); // caches closed: nothing can be allocated
    {
        graphics->DrawImage(&image);
        auto rect = graphics->FillRect(math::Rect(0, 0, 1, 1));
        EXPECT_FALSE(rect.mPending);
    }
    render.BeginFrame();
    EXPECT_TRUE(DrawLines().empty());
}

// A target context made outside a frame opens one itself and plays it back when it ends.
TEST(GraphicsTarget, OpensAndPlaysItsOwnFrame)
{
    RecordingRender render;
    RenderInitParam param;
    param.mWidth = 64;
    param.mHeight = 64;
    ASSERT_EQ(render.InitRender(nullptr, param), VN_OK);
    Image* image = nullptr;
    ASSERT_EQ(render.CreateRenderTarget(32, 16, &image, true), VN_OK);
    std::unique_ptr<Image> target(image);
    TestImage sprite(4, 4);
    render.TakeLog();
    {
        Graphics g(static_cast<RenderTarget*>(target.get()));
        EXPECT_TRUE(g.mOwnsFrame);
        EXPECT_TRUE(render.IsFrameOpen());
        EXPECT_EQ(g.mState.mRenderTarget, target->GetTexture());
        EXPECT_EQ(&g.GetProjection(), &static_cast<RenderTarget*>(target.get())->mProjection);
        EXPECT_EQ(g.Clear(ClearColor, Color(0xFF000000u), 1.0f, 0), VN_OK);
        g.DrawImage(&sprite);
        EXPECT_EQ(g.Flush(), VN_OK);
        bool drew = false;
        for (const std::string& line : render.TakeLog())
            drew = drew || line.rfind("DrawIndexedPrimitive", 0) == 0;
        EXPECT_TRUE(drew);
        EXPECT_TRUE(render.IsFrameOpen());
        g.DrawImage(&sprite).Translate(4, 4);
    }
    EXPECT_FALSE(render.IsFrameOpen());
    bool drew = false;
    for (const std::string& line : render.TakeLog())
        drew = drew || line.rfind("DrawIndexedPrimitive", 0) == 0;
    EXPECT_TRUE(drew);
}

TEST_F(GraphicsDraw, ClipRectAndBlendModeReachTheState)
{
    graphics->SetClipRect(1, 2, 3, 4);
    EXPECT_TRUE(graphics->mState.mScissorOn);
    EXPECT_EQ(graphics->mState.mScissorRect, math::Rect(1, 2, 3, 4));
    graphics->SetBlendMode(BlendAdditive);
    TestImage image(2, 2);
    {
        graphics->DrawImage(&image);
    }
    EXPECT_FALSE(graphics->mStateChanged);
    EXPECT_EQ(render.GetRequestedState().mBlendMode, BlendAdditive);
    EXPECT_TRUE(render.GetRequestedState().mScissorOn);
    graphics->ResetClipRect();
    EXPECT_TRUE(graphics->mStateChanged);
}

// 50,000 sprites of one texture with one state, each moved by its own world transform as image layers draw
// them: the frame plays as a handful of draws that together hold every quad, each within the reach of 16-bit
// indices. The first frame grows the caches; later frames find them fitted to the frame.
TEST_F(GraphicsDraw, ManySpritesOfOneTextureAreAHandfulOfDraws)
{
    TestImage image(4, 4);
    math::Transform3D world;
    for (int frame = 0; frame < 3; ++frame)
    {
        for (int i = 0; i < 50000; ++i)
        {
            world.Reset();
            world.Translate(static_cast<float>(i % 1000), static_cast<float>(i / 1000));
            graphics->mTransform = &world;
            graphics->DrawImage(&image)->mAlignH = 2;
        }
        graphics->mTransform = nullptr;
        const std::vector<std::string> draws = DrawLines();
        uint64_t triangles = 0;
        for (const std::string& line : draws)
        {
            unsigned type = 0, size = 0, first = 0, count = 0, minVertex = 0, vertexCount = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "DrawIndexedPrimitive %u %u %u %u %u %u", &type, &size,
                                  &first, &count, &minVertex, &vertexCount),
                      6)
                << line;
            EXPECT_LE(minVertex + vertexCount, 65536u) << line;
            EXPECT_EQ(vertexCount, count * 2) << line; // two triangles per four vertices
            triangles += count;
        }
        EXPECT_EQ(triangles, 100000u) << "frame " << frame;
        EXPECT_LE(draws.size(), frame == 0 ? 9u : 5u) << "frame " << frame;
    }
}
