// The end of a level settled: stars from the lives left, gems for stars not earned before and the episode
// bonus once, the best score, and what the profile keeps (stars and best score stay the best ever; a loss
// pays and keeps nothing).
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Map/TDLevelSettlement.h"
#include "Source/TD/Map/TDMap.h"

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
        int storedKills;
    } plays[] = {
        {kStateWon, 5.0f, 100, 3, 1, 600, 100},    // a first win with one star
        {kStateWon, 25.0f, 50, 10, 3, 2550, 50},   // two more stars
        {kStateWon, 25.0f, 10, 0, 3, 2550, 10},    // nothing new
        {kStateLost, 25.0f, 4000, 0, 3, 2550, 10}, // a (developer) loss with every life left changes nothing
        {kStateLost, 0.0f, 9000, 0, 3, 2550, 10},  // nor does a real one with a better score
        {kStateWon, 20.0f, 0, 0, 3, 2550, 0},      // fewer stars than before
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
        if (p.state == kStateWon)
            EXPECT_EQ(s.bestScore, std::max(before.high, s.result.getTotalScore()));
        else
            EXPECT_EQ(s.bestScore, before.high) << "a loss shows the stored best";
        const TDLevelResult stored = mMap->mProfile->getLevelResult(episode, level, mode);
        EXPECT_EQ(stored.stars, p.storedStars);
        EXPECT_EQ(stored.high, p.high);
        EXPECT_EQ(stored.kills, p.storedKills) << "a won play's scores replace the stored ones";
    }
}

TEST_F(SettlementTest, ALossWritesNothingToTheProfile)
{
    // A level never won, lost with lives left: no record is made, no last episode set, no gems paid.
    mMap->mEpisode = 1;
    mMap->mLevel = 2;
    TDProfile& profile = *mMap->mProfile;
    const int lastEpisode = profile.getLastEpisode();
    const int gems = profile.getGems();
    const TDLevelSettlement s = end(kStateLost, 20.0f, 500);
    EXPECT_EQ(s.stars, 0);
    EXPECT_EQ(s.gems, 0);
    EXPECT_EQ(profile.findLevelElement(1, 2, mMap->mMode), nullptr);
    EXPECT_EQ(profile.getLastEpisode(), lastEpisode);
    EXPECT_EQ(profile.getGems(), gems);
    // Reading a level's result makes no record either.
    EXPECT_EQ(profile.getLevelResult(1, 3, mMap->mMode).stars, 0);
    EXPECT_EQ(profile.findLevelElement(1, 3, mMap->mMode), nullptr);
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
    EXPECT_EQ(end(kStateLost, 0.0f).gems, 0) << "a loss does not complete the episode";
    EXPECT_EQ(end(kStateWon, 25.0f).gems, 13 + 100) << "the win that stars the last level pays it";
    EXPECT_EQ(end(kStateWon, 25.0f).gems, 0) << "once per episode";
}
} // namespace
