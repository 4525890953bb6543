// The episode select, the level select and the profiles screen drawn on the GL back end (under Xvfb): each
// shows its layout with what the game puts over it; the pictures are kept as PNG files in the test's build
// folder.
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/TDMap.h"

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

// How many of a row of points differ from the first one: a screen that drew only its background has none.
int varied(const Picture& picture, float y)
{
    int changes = 0;
    const uint32_t first = picture.at(60.0f, y);
    for (float x = 60.0f; x < 980.0f; x += 20.0f)
        changes += picture.at(x, y) != first;
    return changes;
}

TEST(SelectScreensGL, EpisodeLevelAndProfileScreensDrawTheirParts)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    HUD& hud = *map->mHud;

    struct Case
    {
        const char* file;
        void (*open)(TDMap&);
        float rowY; // a row across the screen's cards, plates or list
    };
    const Case cases[] = {
        {"episode_select.png", [](TDMap& m) { m.mHud->openEpisodeSelect(); }, 384.0f},
        {"level_select.png",
         [](TDMap& m)
         {
             TDLevelResult won;
             won.stars = 3;
             m.mProfile->saveLevelResult(0, 0, kModeNormal, won);
             won.stars = 2;
             m.mProfile->saveLevelResult(0, 1, kModeNormal, won);
             m.mMode = kModeNormal;
             m.mEpisode = 0;
             m.mHud->openLevelSelect();
         },
         276.0f},
        {"profiles.png",
         [](TDMap& m)
         {
             m.mProfile->createProfile(L"Ada");
             m.mProfile->createProfile(L"Bob");
             m.mHud->openProfiles();
         },
         185.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        hud.deleteWindows();
        c.open(*map);
        harness.step(40);
        const Picture picture = take(harness);
        ASSERT_GT(picture.width, 0);
        picture.save(std::string(CORV_SHOT_DIR) + "/" + c.file);
        EXPECT_GT(varied(picture, c.rowY), 5);
    }
}

} // namespace
