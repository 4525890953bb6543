// The game on the GL back end in a window (under Xvfb): level 1-1 of the demo data after ten seconds shows
// its ground and road, its spots and the butterflies of its ambient effects; the picture is kept as
// level_01_01.png in the test's build folder.
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/TDBuildSpot.h"
#include "Source/TD/TDEmitter.h"
#include "Source/TD/TDMap.h"

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

    // The pixel of a logical point.
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

int red(uint32_t c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
int green(uint32_t c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
int blue(uint32_t c)
{
    return static_cast<int>(c & 0xFF);
}

Picture take(const GameHarness& harness)
{
    Picture picture;
    picture.pixels = harness.readFrame(picture.width, picture.height);
    picture.visible = harness.game()->GetVisibleRect();
    return picture;
}

TEST(GameGL, LevelOneShowsItsArtSpotsAndAmbientEffects)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.step(60);
    const Picture before = take(harness);
    ASSERT_GT(before.width, 0);
    harness.step(600);
    const Picture after = take(harness);
    after.save(std::string(CORV_SHOT_DIR) + "/level_01_01.png");

    // The ground: grass beside the road, the road along its route points.
    for (const math::Point2 grass : {math::Point2(600.0f, 620.0f), math::Point2(150.0f, 420.0f)})
    {
        const uint32_t c = after.at(grass.x, grass.y);
        EXPECT_TRUE(green(c) > red(c) && green(c) > blue(c)) << std::hex << c;
    }
    const uint32_t road = after.at(520.0f, 410.0f);
    EXPECT_TRUE(red(road) > green(road) && green(road) > blue(road) && red(road) > 120) << std::hex << road;
    // No side image is painted beside the 1024-wide playfield while a level is played: the level's ground,
    // which reaches the wide screen's edges, shows there.
    for (const float x : {-100.0f, 1150.0f})
    {
        const uint32_t c = after.at(x, 300.0f);
        EXPECT_TRUE(green(c) > red(c) && green(c) > blue(c)) << "x " << x << ": " << std::hex << c;
    }

    // The spots: light grey free spots, the gold coin on the one bought with money.
    for (const TDBuildSpot* spot : map->mBuildSpots)
    {
        const uint32_t c = after.at(spot->mX, spot->mY);
        if (spot->mCostGold > 0)
            EXPECT_TRUE(red(c) > 150 && blue(c) < red(c) - 60) << std::hex << c;
        else
            EXPECT_TRUE(std::abs(red(c) - green(c)) < 24 && std::abs(green(c) - blue(c)) < 24 && red(c) > 120)
                << std::hex << c << " at " << spot->mX << "," << spot->mY;
    }

    // The butterflies: every ambient effect plays, and the picture around its place has changed.
    ASSERT_EQ(map->mLateEmitters.size(), 4u);
    int changedPlaces = 0;
    for (const TDEmitter* effect : map->mLateEmitters)
    {
        const math::Point2 place = effect->mEmitter->GetPosition();
        int changed = 0;
        for (float y = place.y - 60.0f; y < place.y + 60.0f; y += 2.0f)
            for (float x = place.x - 60.0f; x < place.x + 60.0f; x += 2.0f)
                changed += before.at(x, y) != after.at(x, y) ? 1 : 0;
        changedPlaces += changed > 3 ? 1 : 0;
    }
    EXPECT_GE(changedPlaces, 3);
}

} // namespace
