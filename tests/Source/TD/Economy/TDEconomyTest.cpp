#include "Source/TD/Data/TDEconomy.h"

#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
// Counts what the HUD would be told and keeps the shown money of every refresh.
struct View : TDEconomyView
{
    explicit View(const TDEconomy& economy) : economy(economy) {}
    void onMoneyChanged() override { shown.push_back(economy.mShownMoney); }
    void onGemsChanged() override { ++gemRefreshes; }

    const TDEconomy& economy;
    std::vector<int> shown;
    int gemRefreshes = 0;
};

class EconomyTest : public ::testing::Test
{
protected:
    void SetUp() override { mEconomy.setView(&mView); }

    TDEconomy mEconomy;
    View mView{mEconomy};
};

TEST_F(EconomyTest, ShownMoneyTrailsTheMoney)
{
    mEconomy.mMoney = 100;
    mEconomy.mShownMoney = 90;
    for (int frame = 0; frame < 5; ++frame)
        mEconomy.update(0.01f);
    EXPECT_EQ(mView.shown, (std::vector<int>{94, 98, 99, 100})) << "no refresh once they agree";

    mView.shown.clear();
    mEconomy.spendMoney(30);
    for (int frame = 0; frame < 9; ++frame)
        mEconomy.update(0.01f);
    EXPECT_EQ(mView.shown.front(), 100) << "the spend itself refreshes";
    EXPECT_EQ(mView.shown.back(), 70);
    EXPECT_EQ(mEconomy.mMoneySpent, 30);
}

TEST_F(EconomyTest, KillsHalfASecondApartFormACombo)
{
    // Five kills 0.5 s apart, then a pause: the combo pays 7 once the pause passes 1.0 s.
    mEconomy.update(3.0f); // a quiet start: the timer runs over and starts again
    for (int kill = 0; kill < 5; ++kill)
    {
        mEconomy.addKillReward(10, 100.0f + kill, 200.0f);
        mEconomy.update(0.5f);
    }
    EXPECT_EQ(mEconomy.mMoney, 50);
    EXPECT_EQ(mEconomy.mComboCount, 5);
    mEconomy.update(0.4f);
    EXPECT_EQ(mEconomy.mMoney, 50) << "0.9 s since the last kill";
    mEconomy.update(0.2f);
    EXPECT_EQ(mEconomy.mMoney, 50 + 7) << "trunc(5 × 1.3 + 0.5)";
    EXPECT_EQ(mEconomy.mComboBonus, 7);
    EXPECT_EQ(mEconomy.mComboCount, 0);
    EXPECT_EQ(mEconomy.mKillScore, 50);
    EXPECT_EQ(mEconomy.mComboX, 104.0f);

    // A running combo whose window has passed without an update also ends at the next kill, which then
    // counts toward no new combo.
    mEconomy.mComboTimer = 0.0f;
    mEconomy.addKillReward(1, 0, 0);
    mEconomy.addKillReward(1, 0, 0);
    EXPECT_EQ(mEconomy.mComboCount, 2);
    mEconomy.mComboTimer = 1.5f;
    mEconomy.addKillReward(1, 0, 0);
    EXPECT_EQ(mEconomy.mComboBonus, 7 + 3);
    EXPECT_EQ(mEconomy.mComboCount, 0);
}

TEST_F(EconomyTest, GemsAreSpentOnlyWhenTheySufficeAndResetKeepsThem)
{
    mEconomy.mGems = 10;
    mEconomy.spendGems(12);
    EXPECT_EQ(mEconomy.mGems, 10);
    mEconomy.spendGems(4);
    EXPECT_EQ(mEconomy.mGems, 6);
    mEconomy.addGems(5);
    EXPECT_EQ(mEconomy.mGems, 11);
    EXPECT_EQ(mEconomy.mGemsGained, 5);
    EXPECT_EQ(mView.gemRefreshes, 3);

    mEconomy.mMoney = 7;
    mEconomy.mBudget = 300;
    mEconomy.mComboTimer = 0.3f;
    mEconomy.reset();
    EXPECT_EQ(mEconomy.mMoney, 0);
    EXPECT_EQ(mEconomy.mGemsGained, 0);
    EXPECT_EQ(mEconomy.mGems, 11);
    EXPECT_EQ(mEconomy.mBudget, 300);
    EXPECT_EQ(mEconomy.mComboTimer, 0.3f);
}

TEST_F(EconomyTest, LevelResultAndSums)
{
    mEconomy.mKillScore = 420;
    mEconomy.mComboBonus = 17;
    TDLevelResult result;
    result.high = 99;
    mEconomy.getLevelResult(result, 12.5f, kModeHard);
    EXPECT_EQ(result.kills, 420);
    EXPECT_EQ(result.combo, 17);
    EXPECT_EQ(result.healthBonus, 1250);
    EXPECT_EQ(result.stars, 0);
    EXPECT_EQ(result.mode, kModeHard);
    EXPECT_EQ(result.high, 99) << "high is not written";
    EXPECT_EQ(result.getTotalScore(), 1670) << "the combo bonus is no part of the score";

    mEconomy.mMoney = 2147483600;
    mEconomy.addMoney(1000);
    EXPECT_EQ(mEconomy.mMoney, 2147483647) << "sums stay in range";
}

class EconomyProfileTest : public tdtest::GameDataTest
{
};

TEST_F(EconomyProfileTest, GemChangesAreStoredInTheProfileAtOnce)
{
    file::Profiles::Instance()->Load();
    tdtest::Cursor cursor;
    TDEpisodeTable episodes;
    TDProfile profile(cursor, episodes);
    TDEconomy economy;
    economy.setProfile(&profile);
    economy.addGems(100);
    EXPECT_NE(ReadProfiles().find("<gems amount=\"100\"/>"), std::string::npos) << ReadProfiles();
    economy.spendGems(40);
    EXPECT_NE(ReadProfiles().find("<gems amount=\"60\"/>"), std::string::npos) << ReadProfiles();
}
} // namespace
