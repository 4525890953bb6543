// Screens and controls of the generated demo data drawn on the OpenGL back end and read back: the options
// slider's bar is painted only up to its thumb, and a screen's texts land inside their places in the board's
// real fonts, also when the window is scaled. Needs a display (xvfb-run) and the demo-data tool; skips
// without a display.
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Render/Graphics.h"
#include "Framework/GameApplication.h"
#include "Source/TD/HUD/Controls/SliderLayer.h"
#include "Source/TD/HUD/Controls/TamselSlider.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/TDTestUtil.h"
#include "Support/HiddenGLRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

// These programs construct their application directly.
app::Application* app::CreateApplication()
{
    return nullptr;
}

namespace
{
namespace fs = std::filesystem;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The game application over the suite's GL renderer, which it owns. It lives as long as the suite: an
// application ends the windowing system (and so the GL context) when it goes.
class GLGame : public framework::GameApplication
{
public:
    explicit GLGame(render::Render* renderer) { mRender = renderer; }
    VNResultEnum InitGame() override { return VN_OK; }
    VNResultEnum UpdateGame(float) override { return VN_OK; }
};

// The board's fonts from the demo data.
class FontBoard final : public TDScreenContext
{
public:
    FontBoard()
    {
        for (int i = 0; i < kBoardFontCount; ++i)
            fonts[i] = loadBoardFont(boardFontPath(static_cast<TDBoardFont>(i)));
        TDScreenContext::setCurrent(this);
    }
    ~FontBoard() { TDScreenContext::setCurrent(nullptr); }
    CountedHandle<render::Font> getFont(TDBoardFont font) const override
    {
        return fonts[static_cast<int>(font)];
    }
    int getPointerX() const override { return 0; }
    int getPointerY() const override { return 0; }
    layer::Layer* getRootLayer() const override { return nullptr; }

    CountedHandle<render::Font> fonts[kBoardFontCount];
};

bool Dark(uint32_t argb)
{
    return ((argb >> 16) & 0xFF) < 16 && ((argb >> 8) & 0xFF) < 16 && (argb & 0xFF) < 16;
}

class HUDDrawGL : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRoot = tdtest::generateDemoData(CORV_DEMODATA_EXE, "td-hud-gl-XXXXXX");
        ASSERT_FALSE(sRoot.empty()) << "the demo-data generator failed";
        sRender = gltest::CreateHiddenGLRender("screens", kWidth, kHeight, &sWindow);
        if (sRender != nullptr)
            sGame = new GLGame(sRender);
    }
    static void TearDownTestSuite()
    {
        // The application deletes the renderer, then closes the windowing system with its window.
        delete sGame;
        sGame = nullptr;
        sRender = nullptr;
        sWindow = nullptr;
        std::error_code ignored;
        fs::remove_all(sRoot, ignored);
    }

    void SetUp() override
    {
        if (sRender == nullptr)
            GTEST_SKIP() << "no OpenGL 4.5 context (run under xvfb-run)";
        mOld = fs::current_path();
        fs::current_path(sRoot);
        file::FileManager::Instance()->mMounts.clear();
        file::RegisterImageContainers();
        mBoard = std::make_unique<FontBoard>();
    }
    void TearDown() override
    {
        if (sRender == nullptr)
            return;
        mBoard.reset();
        fs::current_path(mOld);
    }

    // One frame: cleared to black, drawn, played back and read as 0xAARRGGBB rows from the top.
    template <class Draw>
    std::vector<uint32_t> Render(Draw draw)
    {
        EXPECT_TRUE(sRender->CheckDevice());
        EXPECT_EQ(sRender->BeginFrame(), VN_OK);
        {
            render::Graphics graphics(sRender);
            EXPECT_EQ(graphics.Clear(render::ClearColor, render::Color(0xFF000000u), 1.0f, 0), VN_OK);
            draw(graphics);
        }
        EXPECT_EQ(sRender->EndFrame(), VN_OK);
        EXPECT_EQ(sRender->Playback(), VN_OK);
        return gltest::ReadBackBuffer(kWidth, kHeight);
    }

    static uint32_t At(const std::vector<uint32_t>& pixels, int x, int y)
    {
        return pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)];
    }

    static inline fs::path sRoot;
    static inline render::RenderGL* sRender = nullptr;
    static inline SDL_Window* sWindow = nullptr;
    static inline GLGame* sGame = nullptr;
    fs::path mOld;
    std::unique_ptr<FontBoard> mBoard;
};

} // namespace

TEST_F(HUDDrawGL, SliderBarIsPaintedOnlyUpToTheThumb)
{
    std::unique_ptr<file::ImageContainer> options(
        file::FileManager::Instance()->OpenImageContainer(L"td/options"));
    ASSERT_TRUE(options);
    TamselSlider slider;
    ASSERT_EQ(
        slider.init(options.get(), L"main_options/sound/sound_bar", L"main_options/sound/sound_begunok"),
        VN_OK);
    const math::Point3 at = slider.GetPosition();
    const float barLeft = at.x + slider.mBar->GetPosition().x;
    const int row = static_cast<int>(at.y + slider.mBar->GetPosition().y) + 12; // the bar's middle
    for (float value : {0.0f, 0.3f, 0.75f})
    {
        SCOPED_TRACE(value);
        slider.SetValueSilently(value, true);
        const float thumbX = at.x + slider.GetStateImage(1)->GetPosition().x; // 2 left of the thumb's centre
        const std::vector<uint32_t> pixels = Render([&](render::Graphics& g) { slider.Draw(&g); });
        // The bar shows between its left end and the thumb, and nowhere to its right.
        EXPECT_FALSE(Dark(At(pixels, static_cast<int>(barLeft) + 6, row)));
        int lit = 0;
        for (int x = static_cast<int>(thumbX) + 24; x < static_cast<int>(barLeft) + 284; ++x)
            lit += Dark(At(pixels, x, row)) ? 0 : 1;
        EXPECT_EQ(lit, 0) << "bar pixels right of the thumb";
        int filled = 0;
        for (int x = static_cast<int>(barLeft) + 6; x < static_cast<int>(thumbX) - 20; ++x)
            filled += Dark(At(pixels, x, row)) ? 0 : 1;
        EXPECT_EQ(filled, std::max(0, static_cast<int>(thumbX) - 20 - static_cast<int>(barLeft) - 6));
    }
}

TEST_F(HUDDrawGL, TextsLandInTheirPlacesInTheBoardFonts)
{
    HUDWindow window(L"td/data/mm");
    for (int i = 0; i < kBoardFontCount; ++i)
        ASSERT_TRUE(mBoard->fonts[i]) << i;
    ASSERT_EQ(window.mTextRects.count(L"message"), 1u);
    for (const wchar_t* picture : {L"back", L"input"})
        window.setImageVisible(picture, false);
    for (TDButtonFrame* button : window.mButtons)
        button->mVisible = false;
    window.setText(L"message", L"Restart the level?");
    window.setText(L"caption", L"Confirm");
    for (float scale : {1.0f, 0.5f})
    {
        SCOPED_TRACE(scale);
        window.mScale = scale;
        const std::vector<uint32_t> pixels = Render([&](render::Graphics& g) { window.draw(&g); });
        // Each place scaled about the layout centre, with a margin for the outline.
        auto inside = [&](const math::Rect& r, int x, int y)
        {
            const float left = (r.x - 512.0f) * scale + 512.0f - 4.0f;
            const float top = (r.y - 384.0f) * scale + 384.0f - 4.0f;
            return x >= left && x <= left + r.width * scale + 8.0f && y >= top &&
                   y <= top + r.height * scale + 8.0f;
        };
        const math::Rect message = window.mTextRects.at(L"message")->mRect;
        const math::Rect caption = window.mTextRects.at(L"caption")->mRect;
        int inMessage = 0, inCaption = 0, elsewhere = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                if (Dark(At(pixels, x, y)))
                    continue;
                if (inside(message, x, y))
                    ++inMessage;
                else if (inside(caption, x, y))
                    ++inCaption;
                else
                    ++elsewhere;
            }
        EXPECT_GT(inMessage, 100);
        EXPECT_GT(inCaption, 100);
        EXPECT_EQ(elsewhere, 0);
    }
}
