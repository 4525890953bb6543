// The episode select, the level select and the profiles screen drawn on the GL back end (under Xvfb): each
// shows its layout with what the game puts over it; the pictures are kept as PNG files in the test's build
// folder.
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Map/TDMap.h"

#include <gtest/gtest.h>

namespace
{
using tdtest::GameHarness;

using tdtest::Picture;
using tdtest::takePicture;

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
        const Picture picture = takePicture(harness);
        ASSERT_GT(picture.width, 0);
        picture.save(std::string(CORV_SHOT_DIR) + "/" + c.file);
        EXPECT_GT(varied(picture, c.rowY), 5);
    }
}

} // namespace
