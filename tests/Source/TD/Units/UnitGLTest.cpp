// Units on screen (GL back end under Xvfb): on level 1-1 the first wave, called early, walks the road; where each walking
// unit stands the picture differs from the empty road of the level's first second. The picture is kept as
// units_level_01_01.png in the test's build folder.
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDUnit.h"
#include "Source/TD/TDWaves.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

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
        return pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + static_cast<std::size_t>(px)];
    }
};

Picture take(const GameHarness& harness)
{
    Picture picture;
    picture.pixels = harness.readFrame(picture.width, picture.height);
    picture.visible = harness.game()->GetVisibleRect();
    return picture;
}

TEST(UnitsGL, TheFirstWaveWalksTheRoadOfLevelOne)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.step(30);
    const Picture empty = take(harness);
    // The first wave is called at once; a goblin comes every 2.2 s.
    map->callWaveEarly(100, 100);
    for (int frame = 0; frame < 60 * 12 && map->mWaves->getUnits().size() < 3; ++frame)
    {
        ASSERT_EQ(map->mState, kStatePlaying);
        harness.step();
    }
    harness.step(30);
    ASSERT_GE(map->mWaves->getUnits().size(), 3u);
    const Picture shot = take(harness);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(shot.width);
    image.height = static_cast<png_uint_32>(shot.height);
    image.format = PNG_FORMAT_BGRA;
    png_image_write_to_file(&image, (std::string(CORV_SHOT_DIR) + "/units_level_01_01.png").c_str(), 0,
                            shot.pixels.data(), 0, nullptr);

    int shown = 0;
    int walking = 0;
    for (const TDUnit* unit : map->mWaves->getUnits())
    {
        if (!unit->isAlive())
            continue;
        ++walking;
        const math::Rect r = unit->getFrameRect();
        EXPECT_GT(r.width, 0.0f) << "drawn units have a frame";
        int changed = 0;
        for (float y = r.y - r.height * 0.4f; y < r.y + r.height * 0.4f; y += 2.0f)
            for (float x = r.x - r.width * 0.4f; x < r.x + r.width * 0.4f; x += 2.0f)
                changed += empty.at(x, y) != shot.at(x, y) ? 1 : 0;
        shown += changed > 10 ? 1 : 0;
    }
    EXPECT_GT(walking, 0);
    EXPECT_EQ(shown, walking);
}
} // namespace
