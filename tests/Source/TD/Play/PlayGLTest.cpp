// Pictures of play on the GL back end (under Xvfb): level 1-1 with its HUD overlay, and the same level with
// the build menu of a spot open (hardcore, so every tower is offered) and an item hovered, showing its range.
// Each picture is kept in the test's build folder and compared with the reference stored beside this file;
// set CORV_UPDATE_REFERENCES=1 to write new references instead.
#include "Core/Base/MathUtil.h"
#include "Source/TD/Harness/TDPicture.h"
#include "tests/Source/TD/Play/PlayFixture.h"

#include <cstdlib>
#include <filesystem>

namespace
{
using tdtest::GameHarness;
using tdtest::Picture;

// One window per program: both pictures come from one game.
class PlayGLTest : public tdtest::PlayFixture
{
protected:
    PlayGLTest() : PlayFixture(GameHarness::Backend::GL) {}

    // Keeps the picture and compares it with its reference (at most 2% of the pixels may differ: the
    // butterflies and the glow do not stand still).
    void compareWithReference(const std::string& name)
    {
        const Picture shot = tdtest::takePicture(mHarness);
        ASSERT_GT(shot.width, 0);
        ASSERT_TRUE(shot.save(std::string(CORV_SHOT_DIR) + "/" + name));
        const std::string reference = std::string(CORV_REFERENCE_DIR) + "/" + name;
        if (std::getenv("CORV_UPDATE_REFERENCES"))
        {
            ASSERT_TRUE(shot.save(reference));
            return;
        }
        Picture stored;
        ASSERT_TRUE(stored.load(reference)) << reference;
        EXPECT_LT(tdtest::differingShare(shot, stored), 0.02) << name;
    }
    // The world stands still so that only what the test does changes the picture; the level's name banner,
    // which keeps its own time (3 s), is let pass so that it covers nothing.
    void standStill()
    {
        mMap->mSpeed = 0.0f;
        mMap->updateSpeedButtons();
        mHarness.step(200);
    }
};

TEST_F(PlayGLTest, TheHudOverLevelOneAndAnOpenBuildMenu)
{
    math::SetRandomCounter(0);
    if (!mHarness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    ASSERT_TRUE(startLevel());
    standStill();
    mHarness.step(30);
    compareWithReference("hud_level_01_01.png");

    ASSERT_TRUE(startLevel(kModeHardcore));
    standStill();
    // A spot of the hardcore level 1-1 away from the edges.
    openMenuAt(481.0f, 510.0f);
    ASSERT_NE(menu(), nullptr);
    ASSERT_GE(menu()->mItems.size(), 4u);
    float x = 0.0f;
    float y = 0.0f;
    ASSERT_TRUE(itemPoint(20000, x, y));
    mHarness.move(x, y);
    mHarness.step(10);
    EXPECT_EQ(menu()->mHoveredKey, 20000);
    compareWithReference("build_menu_hardcore.png");

    // The cannon bought from that menu, then its own menu opened and closed again: its range shows while
    // the menu is up and goes with it.
    mMap->mEconomy->mMoney = 5000;
    mHarness.click(x, y);
    mHarness.step(120); // past the tower's fade-in, which runs while the world stands still
    ASSERT_EQ(menu(), nullptr);
    const Picture built = tdtest::takePicture(mHarness);
    openMenuAt(481.0f, 510.0f);
    ASSERT_NE(menu(), nullptr);
    ASSERT_TRUE(menu()->mKind == kMenuTower || menu()->mKind == kMenuTowerTier) << menu()->mKind;
    mHarness.step(10);
    // Points of a grid every 2 units over 240 x 240 around the spot: 14400.
    EXPECT_GT(tdtest::takePicture(mHarness).changedAround(built, 481.0f, 510.0f, 120.0f), 2000)
        << "the open menu shows its ring";
    mHarness.click(700.0f, 300.0f);
    mHarness.step(30);
    EXPECT_EQ(menu(), nullptr);
    EXPECT_LT(tdtest::takePicture(mHarness).changedAround(built, 481.0f, 510.0f, 120.0f), 150)
        << "a ring stayed on the map";
}
} // namespace
