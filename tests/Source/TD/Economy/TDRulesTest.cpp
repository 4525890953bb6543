#include "Source/TD/Data/TDRules.h"

#include "Source/TD/Data/TDUnitProto.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
TEST(RulesTest, KillReward)
{
    struct Case
    {
        float cost, enemyCost, range;
        int reward;
    } cases[] = {
        {10, 0, 0, 10},        {10, 0.15f, 0, 12}, // ceil(1.5) + 10
        {10, 0, 0.2f, 12},                         // inside an income tower of health 20: int(2.5) + 10
        {10, 0.15f, 0.2f, 14},                     //
        {7, 0.2f, 0.05f, 9},                       // ceil(1.4) + int(0.85) + 7
        {0, 0.5f, 0.5f, 0},    {3.9f, 0, 0, 3},    // truncated
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.cost << " " << c.enemyCost << " " << c.range);
        EXPECT_EQ(killReward(c.cost, c.enemyCost, c.range), c.reward);
    }
}

TEST(RulesTest, ComboBonus)
{
    const int expected[][2] = {{0, 0}, {1, 0}, {2, 3}, {3, 4}, {4, 5}, {5, 7}, {6, 8}, {10, 13}, {20, 26}};
    for (const auto& [count, bonus] : expected)
        EXPECT_EQ(comboBonus(count), bonus) << count;
}

TEST(RulesTest, StarsAndStarGems)
{
    struct StarCase
    {
        float lives, max;
        int stars;
    } stars[] = {
        {25, 25, 3},   {12.5f, 25, 2}, {24.9f, 25, 2}, {12.4f, 25, 1},
        {0.1f, 25, 1}, {0, 25, 0},     {26, 25, 0}, // more than the maximum is no three-star result
        {-1, 25, 0},   {1, 1, 3},      {5, 0, 0},
    };
    for (const StarCase& c : stars)
        EXPECT_EQ(starsForLives(c.lives, c.max), c.stars) << c.lives << "/" << c.max;

    struct GemCase
    {
        int now, before, gems;
    } gems[] = {
        {1, 0, 3},  {2, 1, 5},   {2, 0, 8}, {3, 2, 5},
        {3, 1, 10}, {3, 0, 13},  {3, 3, 0}, {1, 3, 0}, // fewer stars than stored pay nothing
        {0, 0, 0},  {9, -4, 13}, // out-of-range counts are taken as the nearest sound ones
    };
    for (const GemCase& c : gems)
        EXPECT_EQ(starGems(c.now, c.before), c.gems) << c.now << " over " << c.before;
}

TEST(RulesTest, LevelStartAndScore)
{
    EXPECT_EQ(levelStartLives(0, false), 25);
    EXPECT_EQ(levelStartLives(5, false), 30);
    EXPECT_EQ(levelStartLives(5, true), 1);
    EXPECT_EQ(levelStartMoney(200, 0.0f), 200);
    EXPECT_EQ(levelStartMoney(200, 0.15f), 230);
    EXPECT_EQ(levelStartMoney(150, 0.15f), 172); // int(22.5)
    EXPECT_EQ(healthBonus(25.0f), 2500);
    EXPECT_EQ(healthBonus(12.345f), 1234);
}

TEST(RulesTest, SellRefund)
{
    struct Case
    {
        float cost, parentCost, factor;
        int refund;
    } cases[] = {
        {40, 0, 0.5f, 20},
        {60, 40, 0.5f, 50},       // a branch gives back half of itself and of the tower it grew from
        {61.9f, 40.7f, 0.5f, 50}, // each cost truncated first
        {45, 0, 0.5f, 22},        // floor(22.5)
        {0, 0, 0.5f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sellRefund(c.cost, c.parentCost, c.factor), c.refund) << c.cost << "+" << c.parentCost;
}

TEST(RulesTest, ABoughtCooldownBonusShortensTheShotPeriodButNeverBelowZero)
{
    EXPECT_FLOAT_EQ(towerShotPeriod(2.0f, 0.0f, false), 2.0f);
    EXPECT_FLOAT_EQ(towerShotPeriod(2.0f, 0.5f, false), 1.5f);
    EXPECT_FLOAT_EQ(towerShotPeriod(2.0f, 0.5f, true), 2.25f);
    EXPECT_FLOAT_EQ(towerShotPeriod(2.0f, 3.0f, false), 0.0f);
}

// Tower tiers as the context menu sees them: the children of a base tower.
class TierCostTest : public ::testing::Test
{
protected:
    TDUnitProto* Tier(int levelid, int require, float cost)
    {
        auto* p = new TDUnitProto;
        p->levelid = levelid;
        p->require = require;
        p->cost = cost;
        mOwned.emplace_back(p);
        mTiers.push_back(p);
        return p;
    }

    std::vector<std::unique_ptr<TDUnitProto>> mOwned;
    std::vector<TDUnitProto*> mTiers;
};

TEST_F(TierCostTest, SumTierCostsPaysTheChainFromTheCurrentBranch)
{
    TDUnitProto* one = Tier(1, 0, 100);
    TDUnitProto* two = Tier(2, 1, 150);
    TDUnitProto* three = Tier(3, 2, 200);
    EXPECT_EQ(sumTierCosts(0, mTiers, *one), 100.0f) << "a tier that follows the stop is its own price";
    EXPECT_EQ(sumTierCosts(0, mTiers, *three), 450.0f);
    EXPECT_EQ(sumTierCosts(1, mTiers, *three), 350.0f);
    EXPECT_EQ(sumTierCosts(2, mTiers, *two), 250.0f)
        << "a chain that never meets the stop ends with its tiers";
}

TEST_F(TierCostTest, SumTierCostsEndsAtAMissingTierOrACycle)
{
    TDUnitProto* orphan = Tier(5, 4, 70); // no tier has level id 4
    EXPECT_EQ(sumTierCosts(0, mTiers, *orphan), 70.0f);
    EXPECT_EQ(sumTierCosts(0, {}, *orphan), 70.0f);

    TDUnitProto* a = Tier(6, 7, 10);
    Tier(7, 6, 20); // 6 needs 7, 7 needs 6
    EXPECT_EQ(sumTierCosts(0, mTiers, *a), 30.0f);
    TDUnitProto* self = Tier(8, 8, 5);
    EXPECT_EQ(sumTierCosts(0, mTiers, *self), 5.0f);
}
} // namespace
