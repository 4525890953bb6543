// The tutorial's first step of level 1-1 drawn on the GL back end (under Xvfb): its plate, arrow, text and
// the skip button lie above the map; the picture is kept as tutorial_step0.png in the test's build folder.
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDTutorial.h"

#include <gtest/gtest.h>

namespace
{
using tdtest::GameHarness;

using tdtest::Picture;
using tdtest::takePicture;
using tdtest::brightness;

TEST(TutorialGL, TheShownStepLiesAboveTheMap)
{
    GameHarness harness(GameHarness::Backend::GL);
    harness.mTutorial = true;
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    harness.step(2);
    const Picture before = takePicture(harness);
    ASSERT_GT(before.width, 0);
    TDTutorial::Instance()->onEvent(L"unlock_window_close");
    harness.step(2);
    const Picture shown = takePicture(harness);
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
    const Picture hidden = takePicture(harness);
    EXPECT_EQ(hidden.at(740.0f, 100.0f), before.at(740.0f, 100.0f)) << "nothing stays up between steps";
}

} // namespace
