// The tutorial of level 1-1 drawn on the GL back end (under Xvfb): a hint's plate, arrow, text and the skip
// button lie above the map and go with their step and with the level; the pictures are kept in the test's
// build folder.
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <gtest/gtest.h>

namespace
{
using tdtest::GameHarness;

using tdtest::brightness;
using tdtest::Picture;
using tdtest::takePicture;

TEST(TutorialGL, EachHintLiesAboveTheMapAndGoesWithItsStep)
{
    GameHarness harness(GameHarness::Backend::GL);
    harness.mTutorial = true;
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    // The harness closed 1-1's unlock message: the first hint is up.
    harness.step(2);
    ASSERT_TRUE(TDTutorial::Instance()->isShown());
    const Picture shown = takePicture(harness);
    ASSERT_GT(shown.width, 0);
    shown.save(std::string(CORV_SHOT_DIR) + "/tutorial_step0.png");

    // Each later hint, kept for a look (tutorial_step1.png ...).
    const wchar_t* events[] = {L"tower_select", L"tower_built",    L"game_play",    L"wave_vanish_1",
                               L"wave_forced",  L"tower_upgraded", L"spell_casted", L"game_play"};
    int saved = 1;
    for (const wchar_t* event : events)
    {
        TDTutorial::Instance()->onEvent(event);
        harness.step(2);
        if (TDTutorial::Instance()->isShown())
            takePicture(harness).save(std::string(CORV_SHOT_DIR) + "/tutorial_step" +
                                      std::to_string(saved++) + ".png");
    }
    EXPECT_EQ(saved, 7);
    ASSERT_FALSE(TDTutorial::Instance()->isShown());
    const Picture hidden = takePicture(harness);

    // The first plate (dark, edged in gold) covered the grass and road at its corner; the arrow's shaft
    // crossed towards the spot; the skip button stood in the top right corner. None of it stays.
    for (const math::Point2 p :
         {math::Point2(330.0f, 570.0f), math::Point2(810.0f, 546.0f), math::Point2(740.0f, 100.0f)})
    {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        EXPECT_NE(shown.at(p.x, p.y), hidden.at(p.x, p.y));
    }
    // The plate is translucent: what lies under it shows through, clearly darkened.
    EXPECT_LT(brightness(shown.at(330.0f, 570.0f)) * 10, brightness(hidden.at(330.0f, 570.0f)) * 7)
        << "the dark plate";
}

} // namespace
