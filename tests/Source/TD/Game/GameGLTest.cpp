// The game on the GL back end in a window (under Xvfb): level 1-1 of the demo data after ten seconds shows
// its ground and road, its spots and the butterflies of its ambient effects; the picture is kept as
// level_01_01.png in the test's build folder.
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Towers/TDBuildSpot.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
using tdtest::GameHarness;

using tdtest::blue;
using tdtest::green;
using tdtest::Picture;
using tdtest::red;
using tdtest::takePicture;

TEST(GameGL, LevelOneShowsItsArtSpotsAndAmbientEffects)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.step(60);
    const Picture before = takePicture(harness);
    ASSERT_GT(before.width, 0);
    harness.step(600);
    const Picture after = takePicture(harness);
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
        changedPlaces += after.changedAround(before, place.x, place.y, 60.0f) > 3 ? 1 : 0;
    }
    EXPECT_GE(changedPlaces, 3);
}

} // namespace
