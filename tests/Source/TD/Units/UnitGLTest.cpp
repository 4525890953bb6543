// Units on screen (GL back end under Xvfb): on level 1-1 the first wave, called early, walks the road; where each walking
// unit stands the picture differs from the empty road of the level's first second. The picture is kept as
// units_level_01_01.png in the test's build folder.
#include "Core/Render/Image.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdlib>

namespace
{
using tdtest::GameHarness;

using tdtest::Picture;
using tdtest::takePicture;

// Changed pixels on a 2-unit grid over the rectangle from (left, top).
int changedIn(const Picture& a, const Picture& b, float left, float top, float width, float height)
{
    int changed = 0;
    for (float y = top; y < top + height; y += 2.0f)
        for (float x = left; x < left + width; x += 2.0f)
            changed += a.at(x, y) != b.at(x, y) ? 1 : 0;
    return changed;
}

TEST(UnitsGL, TheFirstWaveWalksTheRoadOfLevelOne)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.step(30);
    const Picture empty = takePicture(harness);
    // The ground reaches the edges of the wide screen, so units walking in from beyond the playfield's edge
    // (the spawn point lies at x -40) are seen on it, not on black.
    for (const float x : {-165.0f, -40.0f, 1060.0f, 1190.0f})
        EXPECT_NE(empty.at(x, 400.0f) & 0xFFFFFFu, 0u) << "ground at x " << x;
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

// A unit whose sheet has no frames for its state shows the sheet's own picture at half size from its target
// point, and the developer's unit info writes the health there; picture kept as units_picture_and_info.png.
TEST(UnitsGL, ASheetPictureStandsInAndTheUnitInfoShows)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    harness.step(30);
    map->callWaveEarly(100, 100);
    for (int frame = 0; frame < 60 * 12 && map->mWaves->getUnits().size() < 2; ++frame)
    {
        map->mSpeed = 1.0f;
        harness.step();
    }
    map->mSpeed = 1.0f;
    harness.step(90);
    ASSERT_GE(map->mWaves->getUnits().size(), 2u);
    TDUnit* unit = map->mWaves->getUnits().front();
    TDUnitProto* proto = unit->getProto();
    ASSERT_NE(proto, nullptr);
    map->mSpeed = 0.0f; // the units stand still for the two pictures
    harness.step();
    const Picture before = takePicture(harness);

    tinyxml2::XMLDocument xml;
    xml.Parse(R"(<row img="data/sides/l.png"/>)");
    TDSpriteSheet picture(*xml.FirstChildElement("row"));
    ASSERT_NE(picture.mTexture, nullptr);
    TDSpriteSheet* framed = proto->sheet;
    proto->sheet = &picture;
    map->mDebugUnitInfo = true;
    harness.step();
    const Picture after = takePicture(harness);
    proto->sheet = framed;
    map->mDebugUnitInfo = false;
    after.save(std::string(CORV_SHOT_DIR) + "/units_picture_and_info.png");

    const math::Point2 target = unit->getTargetPoint();
    const float w = static_cast<float>(picture.mTexture->GetWidth()) * 0.5f;
    const float h = static_cast<float>(picture.mTexture->GetHeight()) * 0.5f;
    // The picture's inside (right of the health text) shows the picture, not the road.
    EXPECT_GT(changedIn(before, after, target.x + w * 0.5f, target.y + 40.0f, w * 0.4f, h * 0.5f), 50);
    // Nothing is drawn above and left of the target point but the frame edges and the level.
    EXPECT_LT(changedIn(before, after, target.x - 60.0f, target.y - 120.0f, 40.0f, 40.0f), 5);
}
} // namespace
