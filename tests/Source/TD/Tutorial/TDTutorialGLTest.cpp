// The tutorial's first step of level 1-1 drawn on the GL back end (under Xvfb): its plate, arrow, text and
// the skip button lie above the map; the picture is kept as tutorial_step0.png in the test's build folder.
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDTutorial.h"

#include <gtest/gtest.h>
#include <png.h>

namespace
{
using tdtest::GameHarness;

struct Picture
{
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    math::Rect visible;

    uint32_t at(float x, float y) const
    {
        const int px = static_cast<int>((x - visible.x) * static_cast<float>(width) / visible.width);
        const int py = static_cast<int>((y - visible.y) * static_cast<float>(height) / visible.height);
        if (px < 0 || py < 0 || px >= width || py >= height)
            return 0;
        return pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(px)];
    }
    void save(const std::string& path) const
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width);
        image.height = static_cast<png_uint_32>(height);
        image.format = PNG_FORMAT_BGRA;
        png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr);
    }
};

Picture take(const GameHarness& harness)
{
    Picture picture;
    picture.pixels = harness.readFrame(picture.width, picture.height);
    picture.visible = harness.game()->GetVisibleRect();
    return picture;
}

int brightness(uint32_t c)
{
    return static_cast<int>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF));
}

TEST(TutorialGL, TheShownStepLiesAboveTheMap)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    harness.step(2);
    const Picture before = take(harness);
    ASSERT_GT(before.width, 0);
    TDTutorial::Instance()->onEvent(L"unlock_window_close");
    harness.step(2);
    const Picture shown = take(harness);
    shown.save(std::string(CORV_SHOT_DIR) + "/tutorial_step0.png");

    // The plate (dark, edged in gold) covers the grass and road at its corner; the arrow's shaft crosses
    // towards the spot; the skip button stands in the top right corner.
    for (const math::Point2 p : {math::Point2(330.0f, 570.0f), math::Point2(834.0f, 527.0f),
                                 math::Point2(740.0f, 100.0f)})
    {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        EXPECT_NE(shown.at(p.x, p.y), before.at(p.x, p.y));
    }
    EXPECT_LT(brightness(shown.at(330.0f, 570.0f)), 200) << "the dark plate";

    TDTutorial::Instance()->onEvent(L"tower_select");
    TDTutorial::Instance()->onEvent(L"tower_built");
    TDTutorial::Instance()->onEvent(L"game_play");
    harness.step(2);
    const Picture hidden = take(harness);
    EXPECT_EQ(hidden.at(740.0f, 100.0f), before.at(740.0f, 100.0f)) << "nothing stays up between steps";
}

} // namespace
