// A frame's layer tree drawn by the frame manager on the OpenGL back end and read back against a picture the
// test computes from the same inputs. Needs a display (xvfb-run); skips without one.
#include "Core/Layer/ImageLayer.h"
#include "Support/HiddenGLRender.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/GL/RenderGL.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Texture.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace widget;

namespace
{

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// An image over a device texture it does not own.
class PlainImage : public render::Image
{
public:
    PlainImage(int32_t w, int32_t h, render::Texture* texture)
    {
        mTexture = texture;
        mWidth = w;
        mHeight = h;
    }
    ~PlainImage() override { mTexture = nullptr; }
};

// Colours the button's image layer by its visual state.
class ColourMediator : public ButtonMediator
{
public:
    explicit ColourMediator(layer::Layer* l) : mImage(l) {}
    VNResultEnum SetVisualState(int32_t state) override
    {
        if (state == ButtonHover)
            mImage->SetColor(0, 1, 0, 1);
        else if (state == ButtonPressed)
            mImage->SetColor(1, 0, 1, 1);
        else
            mImage->SetColor(0.5f, 0.5f, 0.5f, 1);
        return VN_OK;
    }
    layer::Layer* mImage;
};

class FrameDrawGL : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRender = gltest::CreateHiddenGLRender("frame test", kWidth, kHeight, &sWindow);
    }

    static void TearDownTestSuite() { gltest::DestroyHiddenGLRender(sRender, sWindow); }

    void SetUp() override
    {
        if (!sRender)
            GTEST_SKIP() << "no OpenGL 4.5 context (run under xvfb-run)";
        render::Texture* raw = nullptr;
        ASSERT_EQ(sRender->CreateTexture(&raw), VN_OK);
        texture.reset(raw);
        const std::vector<uint32_t> white(16 * 16, 0xFFFFFFFFu);
        ASSERT_EQ(texture->CreateFromPixels(16, 16, render::CompressionNone, white.data(), 16 * 16 * 4),
                  VN_OK);
        // Solid everywhere, as the image loader makes the mask of an opaque picture.
        texture->GetHitBits().assign(16 * 16 / 8, 0xFF);
    }

    // One frame of the manager's frames: clear to black, draw, play back, read the back buffer as 0xAARRGGBB.
    std::vector<uint32_t> Render(FrameManager& manager)
    {
        EXPECT_TRUE(sRender->CheckDevice());
        EXPECT_EQ(sRender->BeginFrame(), VN_OK);
        {
            render::Graphics graphics(sRender);
            EXPECT_EQ(graphics.Clear(render::ClearColor, render::Color(0xFF000000u), 1.0f, 0), VN_OK);
            EXPECT_EQ(manager.Draw(&graphics), VN_OK);
        }
        EXPECT_EQ(sRender->EndFrame(), VN_OK);
        EXPECT_EQ(sRender->Playback(), VN_OK);
        return gltest::ReadBackBuffer(kWidth, kHeight);
    }

    static void Fill(std::vector<uint32_t>& img, int x, int y, int w, int h, uint32_t argb)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (i >= 0 && j >= 0 && i < kWidth && j < kHeight)
                    img[static_cast<size_t>(j) * kWidth + i] = argb;
    }

    // Every pixel whose neighbourhood has one expected value must match it (a blended channel may round
    // either way by one).
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
                bool same = true;
                for (int shift = 0; shift < 24; shift += 8)
                    same = same && std::abs(static_cast<int>((g >> shift) & 0xFF) -
                                            static_cast<int>((w >> shift) & 0xFF)) <= 1;
                if (!same && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": got " << std::hex << g << " want " << w;
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(compared, kWidth * kHeight / 2);
    }

    static inline SDL_Window* sWindow = nullptr;
    static inline render::RenderGL* sRender = nullptr;
    std::unique_ptr<render::Texture> texture;
};

} // namespace

// Scaled, anchored, rotated, half-transparent and hidden layers under a frame, and a button that changes
// colour when the mouse moves over it and presses it.
TEST_F(FrameDrawGL, FrameTreeMatchesComputedPicture)
{
    PlainImage square(16, 16, texture.get());
    PlainImage bar(20, 10, texture.get());
    FrameManager manager;
    Frame frame;
    frame.SetHitRect(math::Rect(0, 0, kWidth, kHeight));
    ASSERT_EQ(manager.AddFrame(&frame, false, true, false), VN_OK);
    layer::Layer* root = frame.GetLayer();

    layer::ImageLayer red(&square);
    red.SetColor(1, 0, 0, 1);
    red.SetPosition(math::Point3(10, 10, 0));
    red.SetScale(math::Point3(2, 2, 1));
    root->AddChild(&red);

    layer::Layer group;
    group.SetPosition(math::Point3(60, 20, 0));
    group.SetAlpha(0.5f);
    root->AddChild(&group);
    layer::ImageLayer white(&square);
    white.SetAnchors(layer::AnchorCentre, layer::AnchorCentre);
    group.AddChild(&white);

    layer::ImageLayer blue(&bar);
    blue.SetColor(0, 0, 1, 1);
    blue.SetPosition(math::Point3(120, 40, 0));
    blue.SetRotationZ(1.5707963f);
    root->AddChild(&blue);

    layer::ImageLayer hidden(&square);
    hidden.SetColor(1, 1, 0, 1);
    hidden.SetPosition(math::Point3(0, 80, 0));
    hidden.SetVisible(false);
    root->AddChild(&hidden);

    auto* button = new Button;
    auto* face = new layer::ImageLayer(&square);
    face->SetPosition(math::Point3(80, 80, 0));
    face->SetScale(math::Point3(2, 1, 1));
    button->SetLayer(face, true, false);
    auto* mediator = new ColourMediator(face);
    mediator->Attach(button, true);
    face->SetHitTestListener(static_cast<WidgetHitTestListener*>(mediator));
    mediator->SetVisualState(ButtonNormal);
    frame.AddWidget(button);

    std::vector<uint32_t> want(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u);
    Fill(want, 10, 10, 32, 32, 0xFFFF0000u);
    Fill(want, 52, 12, 16, 16, 0xFF808080u);
    Fill(want, 110, 40, 10, 20, 0xFF0000FFu);
    Fill(want, 80, 80, 32, 16, 0xFF7F7F7Fu);
    Compare(Render(manager), want);

    // The mouse over the button's face (in its scaled half), then a press.
    ASSERT_EQ(manager.OnMouseMove(math::Point2(105, 90)), VN_OK);
    EXPECT_TRUE(face->HitTest(math::Point3(12, 10, 0)));
    EXPECT_TRUE(button->IsHovered());
    Fill(want, 80, 80, 32, 16, 0xFF00FF00u);
    Compare(Render(manager), want);
    ASSERT_EQ(manager.OnMouseDown(math::Point2(105, 90), 1), VN_OK);
    Fill(want, 80, 80, 32, 16, 0xFFFF00FFu);
    Compare(Render(manager), want);

    frame.Clear(true, true);
}
