// The widget showcase of the demo data: its image folder becomes a frame with two buttons and a slider,
// driven by synthetic mouse events through the frame manager and drawn on the OpenGL back end, compared with
// a picture composed by the test from the decoded images. Needs a display (xvfb-run) and the demo-data tool.
#include "Core/Base/MemoryStream.h"
#include "Support/HiddenGLRender.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Render/GL/RenderGL.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Texture.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/Slider.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace widget;
namespace fs = std::filesystem;

namespace
{

constexpr int kWidth = 440;
constexpr int kHeight = 460;
// Where the frame's root sits: the panel's corner lands near the window's.
constexpr float kOffsetX = -302.0f;
constexpr float kOffsetY = -154.0f;

// A decoded picture of the folder: its place, its pixels (0xAARRGGBB) and its device texture.
struct Picture
{
    int x = 0, y = 0, w = 0, h = 0;
    std::vector<uint32_t> pixels;
    std::unique_ptr<render::Texture> texture;
    std::unique_ptr<render::Image> image;
};

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

// Shows one of the three state pictures of a button.
class StateMediator : public ButtonMediator
{
public:
    layer::Layer* states[3] = {};
    VNResultEnum SetVisualState(int32_t state) override
    {
        for (int i = 0; i < 3; ++i)
            states[i]->SetVisible(i == state);
        return VN_OK;
    }
};

// The showcase slider: the knob follows the value along the track.
class KnobSlider : public Slider, public WidgetListener, public WidgetHitTestListener
{
public:
    KnobSlider(layer::Layer* group, layer::Layer* knob, float trackX, float trackWidth, float knobOffset)
        : WidgetHitTestListener(this), mKnob(knob), mTrackX(trackX), mTrackWidth(trackWidth),
          mKnobOffset(knobOffset)
    {
        SetLayer(group, true, false);
        SetListener(static_cast<WidgetListener*>(this), false);
        group->SetHitTestListener(static_cast<WidgetHitTestListener*>(this));
    }
    float ValueAt(float x) const { return std::clamp((x - mTrackX) / mTrackWidth, 0.0f, 1.0f); }
    VNResultEnum OnWidgetMouseDown(const math::Point3& p, int32_t) override
    {
        return SetDragValue(ValueAt(p.x), true);
    }
    VNResultEnum OnCapturedMouseDrag(CaptureInfo* c, const math::Point3& p) override
    {
        if (const VNResultEnum r = WidgetListener::OnCapturedMouseDrag(c, p); r != VN_OK)
            return r;
        return SetDragValue(ValueAt(p.x), true);
    }
    VNResultEnum OnCapturedMouseUp(CaptureInfo* c, const math::Point3& p, int32_t b) override
    {
        if (const VNResultEnum r = WidgetListener::OnCapturedMouseUp(c, p, b); r != VN_OK)
            return r;
        return SetValue(ValueAt(p.x), true);
    }
    VNResultEnum UpdateView() override
    {
        mKnob->SetX(std::floor(mTrackX + GetValue() * mTrackWidth + mKnobOffset));
        return VN_OK;
    }
    layer::Layer* mKnob;
    float mTrackX, mTrackWidth, mKnobOffset;
};

class Clicks : public ButtonListener
{
public:
    VNResultEnum OnButtonClick(Button* b) override
    {
        clicked.push_back(b);
        return VN_OK;
    }
    std::vector<Button*> clicked;
};

class Showcase : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRender = gltest::CreateHiddenGLRender("showcase", kWidth, kHeight, &sWindow);
    }

    static void TearDownTestSuite() { gltest::DestroyHiddenGLRender(sRender, sWindow); }

    void SetUp() override
    {
        if (!sRender)
            GTEST_SKIP() << "no OpenGL 4.5 context (run under xvfb-run)";
        dir = fs::temp_directory_path() / ("corv_showcase_" + std::to_string(getpid()));
        const std::string command = std::string(CORV_DEMODATA_EXE) + " " + dir.string() + " > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_NO_FATAL_FAILURE(LoadFolder(dir / "td/data/showcase"));
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    void LoadFolder(const fs::path& folder)
    {
        tinyxml2::XMLDocument xml;
        ASSERT_EQ(xml.LoadFile((folder / "layers.xml").c_str()), tinyxml2::XML_SUCCESS);
        for (auto* e = xml.RootElement()->FirstChildElement("Layer"); e; e = e->NextSiblingElement("Layer"))
        {
            Picture& p = pictures[e->Attribute("name")];
            p.x = e->IntAttribute("x");
            p.y = e->IntAttribute("y");
            std::ifstream in(folder / (std::string(e->Attribute("name")) + ".png"), std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
            ASSERT_FALSE(bytes.empty()) << e->Attribute("name");
            base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
            std::unique_ptr<render::ImageData> data(
                render::ImageLoader::Instance()->Load(&stream, L".png", nullptr));
            ASSERT_TRUE(data);
            p.w = data->GetWidth();
            p.h = data->GetHeight();
            p.pixels.resize(static_cast<size_t>(p.w) * p.h);
            render::HitMask mask;
            mask.Resize(static_cast<uint32_t>(p.w * p.h), false);
            ASSERT_EQ(data->CopyPixels(static_cast<uint32_t>(p.w * 4), p.pixels.data(), &mask), VN_OK);
            render::Texture* raw = nullptr;
            ASSERT_EQ(sRender->CreateTexture(&raw), VN_OK);
            p.texture.reset(raw);
            ASSERT_EQ(raw->CreateFromPixels(static_cast<uint32_t>(p.w), static_cast<uint32_t>(p.h),
                                            render::CompressionNone, p.pixels.data(),
                                            static_cast<uint32_t>(p.pixels.size() * 4)),
                      VN_OK);
            raw->GetHitBits() = mask.Take();
            p.image = std::make_unique<PlainImage>(p.w, p.h, raw);
        }
    }

    layer::ImageLayer* MakeLayer(const std::string& name)
    {
        Picture& p = pictures.at(name);
        auto* l = new layer::ImageLayer(p.image.get());
        l->SetPosition(math::Point3(static_cast<float>(p.x), static_cast<float>(p.y), 0));
        owned.emplace_back(l);
        return l;
    }

    Button* MakeButton(Frame& frame, const std::string& name)
    {
        auto* group = new layer::Layer;
        auto* mediator = new StateMediator;
        const char* suffix[3] = {"", "_hover", "_pressed"};
        for (int i = 0; i < 3; ++i)
        {
            mediator->states[i] = MakeLayer("button/" + name + suffix[i]);
            group->AddChild(mediator->states[i]);
        }
        auto* button = new Button;
        button->SetLayer(group, true, false);
        mediator->Attach(button, true);
        mediator->SetVisualState(ButtonNormal);
        group->SetHitTestListener(static_cast<WidgetHitTestListener*>(mediator));
        button->SetButtonListener(&clicks);
        frame.AddWidget(button);
        return button;
    }

    // Black, then each picture blended over it in the order given; pictures at their folder place plus the
    // offset.
    std::vector<uint32_t> Compose(const std::vector<std::pair<std::string, int>>& shown)
    {
        std::vector<float> rgb(static_cast<size_t>(kWidth) * kHeight * 3, 0.0f);
        for (const auto& [name, dx] : shown)
        {
            const Picture& p = pictures.at(name);
            for (int y = 0; y < p.h; ++y)
                for (int x = 0; x < p.w; ++x)
                {
                    const int X = p.x + dx + x + static_cast<int>(kOffsetX),
                              Y = p.y + y + static_cast<int>(kOffsetY);
                    if (X < 0 || Y < 0 || X >= kWidth || Y >= kHeight)
                        continue;
                    const uint32_t s = p.pixels[static_cast<size_t>(y) * p.w + x];
                    const float a = static_cast<float>(s >> 24) / 255.0f;
                    float* d = &rgb[(static_cast<size_t>(Y) * kWidth + X) * 3];
                    for (int c = 0; c < 3; ++c)
                    {
                        const float sc = static_cast<float>((s >> (16 - 8 * c)) & 0xFF);
                        d[c] = sc * a + d[c] * (1.0f - a);
                    }
                }
        }
        std::vector<uint32_t> out(static_cast<size_t>(kWidth) * kHeight);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = 0xFF000000u | static_cast<uint32_t>(std::lround(rgb[i * 3])) << 16 |
                     static_cast<uint32_t>(std::lround(rgb[i * 3 + 1])) << 8 |
                     static_cast<uint32_t>(std::lround(rgb[i * 3 + 2]));
        return out;
    }

    std::vector<uint32_t> Draw(FrameManager& manager)
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

    // Every pixel matches within one step per channel (blending rounds either way).
    static void Compare(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want)
    {
        int wrong = 0;
        for (size_t i = 0; i < got.size(); ++i)
        {
            bool same = true;
            for (int shift = 0; shift < 24; shift += 8)
                same = same && std::abs(static_cast<int>((got[i] >> shift) & 0xFF) -
                                        static_cast<int>((want[i] >> shift) & 0xFF)) <= 1;
            if (!same && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << i % kWidth << "," << i / kWidth << ": got " << std::hex << got[i]
                              << " want " << want[i];
        }
        EXPECT_EQ(wrong, 0);
    }

    math::Point2 Centre(const std::string& name) const
    {
        const Picture& p = pictures.at(name);
        return math::Point2(p.x + p.w * 0.5f + kOffsetX, p.y + p.h * 0.5f + kOffsetY);
    }

    static inline SDL_Window* sWindow = nullptr;
    static inline render::RenderGL* sRender = nullptr;
    fs::path dir;
    std::map<std::string, Picture> pictures;
    std::vector<std::unique_ptr<layer::Layer>> owned;
    Clicks clicks;
};

} // namespace

TEST_F(Showcase, ButtonsAndSliderAnswerTheMouse)
{
    FrameManager manager;
    BaseBoard board;
    board.SetHitRect(math::Rect(0, 0, 1024, 768));
    layer::Layer* root = board.GetLayer();
    root->SetPosition(math::Point3(kOffsetX, kOffsetY, 0));
    root->AddChild(MakeLayer("panel"));
    Button* play = MakeButton(board, "play");
    Button* quit = MakeButton(board, "quit");
    auto* group = new layer::Layer;
    group->AddChild(MakeLayer("slider/track"));
    layer::ImageLayer* knob = MakeLayer("slider/knob");
    group->AddChild(knob);
    const Picture& track = pictures.at("slider/track");
    const float knobOffset = static_cast<float>(pictures.at("slider/knob").x - track.x);
    auto* slider =
        new KnobSlider(group, knob, static_cast<float>(track.x), static_cast<float>(track.w), knobOffset);
    board.AddWidget(slider);
    ASSERT_EQ(manager.AddFrame(&board, false, true, false), VN_OK);

    std::vector<std::pair<std::string, int>> shown = {
        {"panel", 0}, {"button/play", 0}, {"button/quit", 0}, {"slider/track", 0}, {"slider/knob", 0}};
    Compare(Draw(manager), Compose(shown));

    // The transparent corner of a button is not the button; its middle is.
    const Picture& pp = pictures.at("button/play");
    ASSERT_EQ(manager.OnMouseMove(math::Point2(pp.x + 1 + kOffsetX, pp.y + 1 + kOffsetY)), VN_OK);
    EXPECT_FALSE(play->IsHovered());
    ASSERT_EQ(manager.OnMouseMove(Centre("button/play")), VN_OK);
    EXPECT_TRUE(play->IsHovered());
    shown[1].first = "button/play_hover";
    Compare(Draw(manager), Compose(shown));

    // A click on "quit": pressed while held, hover after the release, one click.
    ASSERT_EQ(manager.OnMouseMove(Centre("button/quit")), VN_OK);
    ASSERT_EQ(manager.OnMouseDown(Centre("button/quit"), 1), VN_OK);
    shown[1].first = "button/play";
    shown[2].first = "button/quit_pressed";
    Compare(Draw(manager), Compose(shown));
    ASSERT_EQ(manager.OnMouseUp(Centre("button/quit"), 1), VN_OK);
    EXPECT_EQ(clicks.clicked, std::vector<Button*>{quit});

    // The slider: press at a quarter of the track, drag off it to three quarters, release.
    const float y = track.y + 8 + kOffsetY;
    ASSERT_EQ(manager.OnMouseDown(math::Point2(track.x + 75 + kOffsetX, y), 1), VN_OK);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
    ASSERT_EQ(manager.OnMouseDrag(math::Point2(track.x + 225 + kOffsetX, y + 120)), VN_OK);
    ASSERT_EQ(manager.OnMouseUp(math::Point2(track.x + 225 + kOffsetX, y + 120), 1), VN_OK);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.75f);
    EXPECT_EQ(clicks.clicked.size(), 1u);
    shown[2].first = "button/quit";
    shown[4].second = 225;
    Compare(Draw(manager), Compose(shown));

    board.Clear(true, true);
    // The layers made here are deleted by the test; the frame's root goes with the board.
    for (auto& l : owned)
        if (l->GetParent())
            l->GetParent()->RemoveChild(l.get());
}
