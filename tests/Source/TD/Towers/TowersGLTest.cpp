// Towers on the GL back end (under Xvfb): on level 1-1 a scripted session buys the spot for money, builds every
// family of tower, upgrades four (a two-star dart, two branches and the beacon), sells one and casts a spell;
// the picture, kept as towers_01_01.png in the test's build folder, shows a tower on each standing tower's
// spot, none over the sold one's, and the spell's fire.
#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Towers/TDSpell.h"
#include "TowerFixture.h"

namespace
{
using tdtest::GameHarness;

using tdtest::Picture;
using tdtest::takePicture;

TEST(TowersGL, BuiltUpgradedAndSoldTowersAndASpellOnLevelOne)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    tdtest::skipTutorial(*map);
    map->mWaves->mActive.clear();
    harness.step(30);
    const Picture empty = takePicture(harness);

    map->mEconomy->mMoney = 5000;
    std::vector<TDFrameEntry*> spots;
    for (TDFrameEntry* frame : map->mLevelArt->mSpotFrames)
        if (frame->mLink && (frame->mLink->mOwned || map->buySpot(frame)))
            spots.push_back(frame);
    ASSERT_GE(spots.size(), 6u);
    const int kinds[] = {10000, 20000, 30000, 40000, 10000, 10000};
    std::vector<TDTower*> towers;
    for (std::size_t i = 0; i < 6; ++i)
    {
        TDTower* tower = map->buildTower(map->mProtoTable->find(kinds[i]), spots[i]);
        ASSERT_NE(tower, nullptr);
        towers.push_back(tower);
    }
    ASSERT_TRUE(towers[0]->upgrade(2, 0.0f)); // two stars
    ASSERT_TRUE(towers[1]->upgrade(4, 0.0f)); // the anchor cannon
    ASSERT_TRUE(towers[3]->upgrade(4, 0.0f)); // the treasury
    ASSERT_TRUE(towers[4]->upgrade(4, 0.0f)); // the war beacon
    TDFrameEntry* soldSpot = towers[5]->mSpotFrame;
    map->sellTower(towers[5]);
    towers.pop_back();
    ASSERT_NE(map->castSpell(0, 520.0f, 410.0f), nullptr);
    harness.step(100); // the towers have faded in, the upgrade sparkles are gone
    const Picture shown = takePicture(harness);
    shown.save(std::string(CORV_SHOT_DIR) + "/towers_01_01.png");

    for (const TDTower* tower : towers)
    {
        EXPECT_FLOAT_EQ(tower->mAlpha, 1.0f);
        EXPECT_GT(shown.changedAround(empty, tower->mBaseX, tower->mBaseY - 20.0f, 20.0f), 40)
            << "a tower at " << tower->mBaseX << "," << tower->mBaseY;
    }
    const float sx = soldSpot->mRect.x + soldSpot->mRect.width * 0.5f;
    const float sy = soldSpot->mRect.y + soldSpot->mRect.height * 0.5f;
    // The spot (bought, so its picture changed) is shown again and nothing stands above it.
    EXPECT_TRUE(soldSpot->mVisible);
    EXPECT_LT(shown.changedAround(empty, sx, sy - 55.0f, 12.0f), 10) << "the sold tower is gone";
    EXPECT_GT(shown.changedAround(empty, 520.0f, 410.0f, 40.0f), 40) << "the spell's fire";
}

} // namespace
