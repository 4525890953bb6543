// The end of a level settled: stars from the lives left, gems for stars not earned before and the episode
// bonus once, the best score, and what the profile keeps (stars and best score stay the best ever).
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/TDEconomy.h"
#include "Source/TD/TDLevelSettlement.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDProfile.h"

#include <gtest/gtest.h>

namespace
{
using tdtest::GameHarness;

class SettlementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
        mMap->mMaxLives = 25.0f;
    }
    // Ends the current level with the lives and kill score given.
    TDLevelSettlement end(int state, float lives, int kills = 0)
    {
        mMap->mState = state;
        mMap->mLives = lives;
        mMap->mEconomy->mKillScore = kills;
        return settleLevelResult(*mMap);
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
};

TEST_F(SettlementTest, StarsComeFromTheShareOfLivesLeft)
{
    const struct
    {
        float lives;
        int stars;
    } cases[] = {{25.0f, 3}, {12.5f, 2}, {24.9f, 2}, {12.4f, 1}, {0.1f, 1}, {0.0f, 0}, {26.0f, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(end(kStateWon, c.lives).stars, c.stars) << c.lives;
}

TEST_F(SettlementTest, GemsPayForNewStarsOnlyAndTheProfileKeepsTheBest)
{
    // Plays of the same level in order: its state, lives and kill score, then the gems paid, the stars and
    // best score the profile holds afterwards.
    const struct
    {
        int state;
        float lives;
        int kills;
        int gems;
        int storedStars;
        int high;
    } plays[] = {
        {kStateWon, 5.0f, 100, 3, 1, 600},      // a first win with one star
        {kStateWon, 25.0f, 50, 10, 3, 2550},    // two more stars
        {kStateWon, 25.0f, 10, 0, 3, 2550},     // nothing new
        {kStateLost, 0.0f, 4000, 0, 3, 4000},   // a loss stores no stars but may beat the best score
        {kStateWon, 20.0f, 0, 0, 3, 4000},      // fewer stars than before
    };
    const int episode = mMap->mEpisode;
    const int level = mMap->mLevel;
    const int mode = mMap->mMode;
    for (const auto& p : plays)
    {
        SCOPED_TRACE(p.kills);
        const int gemsBefore = mMap->mEconomy->mGems;
        const TDLevelResult before = mMap->mProfile->getLevelResult(episode, level, mode);
        const TDLevelSettlement s = end(p.state, p.lives, p.kills);
        EXPECT_EQ(s.gems, p.gems);
        EXPECT_EQ(mMap->mEconomy->mGems, gemsBefore + p.gems);
        EXPECT_EQ(mMap->mProfile->getGems(), mMap->mEconomy->mGems) << "credited once, in the profile too";
        EXPECT_EQ(s.bestScore, std::max(before.high, s.result.getTotalScore()));
        const TDLevelResult stored = mMap->mProfile->getLevelResult(episode, level, mode);
        EXPECT_EQ(stored.stars, p.storedStars);
        EXPECT_EQ(stored.high, p.high);
        EXPECT_EQ(stored.kills, p.kills) << "the last play's scores replace the stored ones";
    }
}

TEST_F(SettlementTest, TheEpisodeBonusIsPaidOnceWhenEveryNormalLevelHasAStar)
{
    const int levels = mMap->getLevelCount(0);
    ASSERT_GT(levels, 1);
    mMap->mEpisode = 0;
    mMap->mMode = kModeNormal;
    TDLevelResult starred;
    starred.stars = 1;
    for (int level = 0; level < levels - 1; ++level)
        mMap->mProfile->saveLevelResult(0, level, kModeNormal, starred);
    mMap->mLevel = levels - 1;
    EXPECT_EQ(end(kStateWon, 25.0f).gems, 13) << "the last level's own star is not stored yet";
    EXPECT_EQ(end(kStateLost, 0.0f).gems, 100) << "the next ending pays it, even a loss";
    EXPECT_EQ(end(kStateWon, 25.0f).gems, 0) << "once per episode";
}
} // namespace
