// Units on screen (GL back end under Xvfb): on level 1-1 the first wave, called early, walks the road; where each walking
// unit stands the picture differs from the empty road of the level's first second. The picture is kept as
// units_level_01_01.png in the test's build folder.
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDUnit.h"
#include "Source/TD/TDWaves.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
using tdtest::GameHarness;

using tdtest::Picture;
using tdtest::takePicture;

TEST(UnitsGL, TheFirstWaveWalksTheRoadOfLevelOne)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.step(30);
    const Picture empty = takePicture(harness);
    // The first wave is called at once; a goblin comes every 2.2 s.
    map->callWaveEarly(100, 100);
    for (int frame = 0; frame < 60 * 12 && map->mWaves->getUnits().size() < 3; ++frame)
    {
        ASSERT_EQ(map->mState, kStatePlaying);
        map->mSpeed = 1.0f; // the tutorial's steps pause the game; the units walk on here
        harness.step();
    }
    map->mSpeed = 1.0f;
    harness.step(30);
    ASSERT_GE(map->mWaves->getUnits().size(), 3u);
    const Picture shot = takePicture(harness);
    shot.save(std::string(CORV_SHOT_DIR) + "/units_level_01_01.png");

    int shown = 0;
    int walking = 0;
    for (const TDUnit* unit : map->mWaves->getUnits())
    {
        if (!unit->isAlive())
            continue;
        ++walking;
        const math::Rect r = unit->getFrameRect();
        EXPECT_GT(r.width, 0.0f) << "drawn units have a frame";
        shown += shot.changedAround(empty, r.x, r.y, r.width * 0.4f, r.height * 0.4f) > 10 ? 1 : 0;
    }
    EXPECT_GT(walking, 0);
    EXPECT_EQ(shown, walking);
}
} // namespace
