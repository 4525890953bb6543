// The context menu on level 1-1: which menu a release opens, what it offers and at which price, where its
// items stand (away from and near the screen's edges), what a press on an item does, and how it closes.
#include "Source/TD/HUD/Play/AttributedString.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "tests/Source/TD/Play/PlayFixture.h"

#include <cmath>

namespace
{
using tdtest::PlayFixture;

class ContextMenuTest : public PlayFixture
{
protected:
    // A menu of n items around a centre, arranged as its first draw does.
    TDContextMenu& menuOf(int kind, int n, float x, float y)
    {
        auto* made = new TDContextMenu(*mMap);
        made->mKind = kind;
        made->mStartAngle = kind == kMenuBuild ? 90.0f : 0.0f;
        made->mEndAngle = kind == kMenuBuild ? 270.0f : 360.0f;
        for (int i = 0; i < n; ++i)
            made->addItem(i + 1, i + 1);
        made->mCenterX = x;
        made->mCenterY = y;
        made->arrangeItems();
        mMenus.emplace_back(made);
        return *made;
    }
    std::vector<std::unique_ptr<TDContextMenu>> mMenus;
};

TEST_F(ContextMenuTest, AReleaseOnAnOwnedSpotOpensTheBuildMenuOfTheUnlockedTowers)
{
    ASSERT_TRUE(startLevel());
    openMenuAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    ASSERT_NE(menu(), nullptr);
    EXPECT_EQ(menu()->mKind, kMenuBuild);
    EXPECT_EQ(menu()->mState, kMenuOpen);
    EXPECT_EQ(count(L"context_in"), 1u);
    EXPECT_EQ(menu()->mSpot, spotFrameAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY));
    // Level 1-1 unlocks the first tower only; its price has the bought upgrades in it.
    ASSERT_EQ(menu()->mItems.size(), 1u);
    const TDContextMenuItem& item = *menu()->mItems[0];
    EXPECT_EQ(item.mKey, 10000);
    EXPECT_EQ(item.mIndex, 1);
    ASSERT_NE(item.mPreview, nullptr);
    EXPECT_FLOAT_EQ(item.mValue, item.mPreview->cost);
    EXPECT_FLOAT_EQ(item.mValue, mMap->mProtoTable->find(10000)->cost);
    // The base tower always stands left of its spot.
    EXPECT_FLOAT_EQ(item.mAngle, 270.0f);
    EXPECT_FALSE(menu()->isShortOf(item));

    // A release on the same spot closes it; on another spot it goes at once and the next release opens there.
    mHarness.click(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    EXPECT_EQ(menu()->mState, kMenuClosing);
    mHarness.step(15);
    EXPECT_EQ(menu(), nullptr);
    openMenuAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    mHarness.click(tdtest::kOtherSpotX, tdtest::kOtherSpotY);
    EXPECT_EQ(menu(), nullptr);
    openMenuAt(tdtest::kOtherSpotX, tdtest::kOtherSpotY);
    ASSERT_NE(menu(), nullptr);
    EXPECT_EQ(menu()->mSpot, spotFrameAt(tdtest::kOtherSpotX, tdtest::kOtherSpotY));
}

TEST_F(ContextMenuTest, AHoveredBuildItemShowsItsRangeAndAPressElsewhereOnlyCloses)
{
    ASSERT_TRUE(startLevel());
    openMenuAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    float x = 0.0f;
    float y = 0.0f;
    ASSERT_TRUE(itemPoint(10000, x, y));
    mHarness.move(x + 31.0f, y);
    EXPECT_EQ(menu()->mHoveredKey, 10000) << "within 32 of the item";
    mHarness.move(x + 32.0f, y);
    EXPECT_EQ(menu()->mHoveredKey, -1);
    const int money = mMap->mEconomy->mMoney;
    mHarness.click(x + 40.0f, y + 40.0f);
    EXPECT_EQ(menu()->mState, kMenuClosing);
    EXPECT_EQ(mMap->mEconomy->mMoney, money);
}

TEST_F(ContextMenuTest, AnUnownedSpotShowsItsPriceRedWhileShortAndIsBoughtByAPress)
{
    ASSERT_TRUE(startLevel());
    TDFrameEntry* frame = spotFrameAt(tdtest::kBoughtSpotX, tdtest::kBoughtSpotY);
    ASSERT_NE(frame, nullptr);
    ASSERT_FALSE(frame->mLink->mOwned);
    openMenuAt(tdtest::kBoughtSpotX, tdtest::kBoughtSpotY);
    ASSERT_NE(menu(), nullptr);
    EXPECT_EQ(menu()->mKind, kMenuBuySpot);
    ASSERT_EQ(menu()->mItems.size(), 1u);
    TDContextMenuItem& item = *menu()->mItems[0];
    EXPECT_EQ(item.mKey, 1);
    EXPECT_EQ(item.mText, "$40");
    EXPECT_FLOAT_EQ(item.mAngle, 90.0f);
    EXPECT_FALSE(menu()->isShortOf(item));
    mMap->mEconomy->mMoney = 39;
    EXPECT_TRUE(menu()->isShortOf(item));

    // Short: the press closes the menu and buys nothing.
    ASSERT_TRUE(chooseItem(1));
    EXPECT_FALSE(frame->mLink->mOwned);
    EXPECT_EQ(count(L"buySpot"), 0u);
    mHarness.step(15);

    mMap->mEconomy->mMoney = 100;
    openMenuAt(tdtest::kBoughtSpotX, tdtest::kBoughtSpotY);
    ASSERT_TRUE(chooseItem(1));
    EXPECT_TRUE(frame->mLink->mOwned);
    EXPECT_EQ(mMap->mEconomy->mMoney, 60);
    EXPECT_EQ(count(L"buySpot"), 1u);
    EXPECT_EQ(frame->mTexture, mMap->mLevelArt->getSpotImage(TDLevelArt::kSpotOwned));
    EXPECT_TRUE(mMap->mProfile->isSpotOwned(frame->mName, 0, 0)) << "kept for good";
    // Now it is a build spot.
    mHarness.step(15);
    openMenuAt(tdtest::kBoughtSpotX, tdtest::kBoughtSpotY);
    ASSERT_NE(menu(), nullptr);
    EXPECT_EQ(menu()->mKind, kMenuBuild);
}

TEST_F(ContextMenuTest, BuySpotTextsNameEachCurrencyThatCosts)
{
    ASSERT_TRUE(startLevel());
    TDFrameEntry* frame = spotFrameAt(tdtest::kBoughtSpotX, tdtest::kBoughtSpotY);
    ASSERT_NE(frame, nullptr);
    struct Case
    {
        int gold;
        int gems;
        const char* text;
    };
    for (const Case& c : {Case{50, 3, "$50; #3"}, Case{0, 3, "#3"}, Case{50, 0, "$50"}, Case{0, 0, ""}})
    {
        frame->mLink->mCostGold = c.gold;
        frame->mLink->mCostReal = c.gems;
        TDContextMenu buy(*mMap);
        buy.openBuySpotMenu(frame);
        ASSERT_EQ(buy.mItems.size(), 1u);
        EXPECT_EQ(buy.mItems[0]->mText, c.text);
    }
    // Red while either currency is short.
    frame->mLink->mCostGold = 50;
    frame->mLink->mCostReal = 3;
    TDContextMenu buy(*mMap);
    buy.openBuySpotMenu(frame);
    mMap->mEconomy->mMoney = 50;
    mMap->mEconomy->mGems = 2;
    EXPECT_TRUE(buy.isShortOf(*buy.mItems[0]));
    mMap->mEconomy->mGems = 3;
    EXPECT_FALSE(buy.isShortOf(*buy.mItems[0]));
}

TEST_F(ContextMenuTest, ItemsSpreadOnTheRingAndTurnAwayFromTheEdges)
{
    ASSERT_TRUE(startLevel());
    struct Case
    {
        int kind;
        int n;
        float x, y;
        std::vector<float> angles;
    };
    const Case cases[] = {
        // Away from the edges: a build menu from 90 to 270 in n steps (its last item short of 270).
        {kMenuBuild, 1, 500, 400, {90}},
        {kMenuBuild, 2, 500, 400, {90, 180}},
        {kMenuTower, 4, 500, 400, {0, 90, 180, 270}},
        // Near the top: 270 to 450 inclusive; the order is kept (the centre is not past both 150 lines).
        {kMenuBuild, 3, 500, 100, {270, 360, 450}},
        // Near the bottom: 90 to 270, in reversed order.
        {kMenuBuild, 3, 500, 700, {90, 180, 270}},
        // Near the left edge, and near both the top and the left: 0 to 180.
        {kMenuTower, 3, 100, 400, {0, 90, 180}},
        {kMenuTower, 3, 100, 100, {0, 90, 180}},
        // Near the right edge: 180 to 360.
        {kMenuTower, 2, 900, 400, {180, 360}},
    };
    for (const Case& c : cases)
    {
        TDContextMenu& m = menuOf(c.kind, c.n, c.x, c.y);
        ASSERT_EQ(m.mItems.size(), c.angles.size());
        for (std::size_t i = 0; i < c.angles.size(); ++i)
            EXPECT_FLOAT_EQ(m.mItems[i]->mAngle, c.angles[i]) << c.x << "," << c.y << " item " << i;
    }
    // Near the bottom edge the order of the items is reversed once; near the top (x, y not past 150) not.
    EXPECT_EQ(menuOf(kMenuBuild, 3, 500, 700).mItems[0]->mKey, 3);
    EXPECT_EQ(menuOf(kMenuBuild, 3, 500, 100).mItems[0]->mKey, 1);
    TDContextMenu& again = menuOf(kMenuBuild, 3, 500, 700);
    again.arrangeItems();
    EXPECT_EQ(again.mItems[0]->mKey, 3) << "reversed only on the first draw";
}

TEST_F(ContextMenuTest, TheBaseTowersStandLeftAboveBelowAndRightAwayFromTheEdges)
{
    ASSERT_TRUE(startLevel());
    TDContextMenu m(*mMap);
    m.mKind = kMenuBuild;
    m.mStartAngle = 90.0f;
    m.mEndAngle = 270.0f;
    const int ids[] = {10000, 20000, 30000, 40000};
    const float angles[] = {270.0f, 180.0f, 0.0f, 90.0f};
    for (int id : ids)
    {
        TDContextMenuItem* item = m.addItem(1, id);
        item->mPreview = new TDUnitProto;
        item->mPreview->id = id;
    }
    m.mCenterX = 500.0f;
    m.mCenterY = 400.0f;
    m.arrangeItems();
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(m.mItems[static_cast<std::size_t>(i)]->mAngle, angles[i]) << ids[i];
    // Angle 0 is below the centre, 90 to its right (with the ring's own 3.14 / 180).
    float x = 0.0f;
    float y = 0.0f;
    TDContextMenu::ringPoint(500.0f, 400.0f, 0.0f, 80.0f, x, y);
    EXPECT_FLOAT_EQ(x, 500.0f);
    EXPECT_FLOAT_EQ(y, 480.0f);
    TDContextMenu::ringPoint(500.0f, 400.0f, 90.0f, 80.0f, x, y);
    EXPECT_NEAR(x, 500.0f + 80.0f * std::sin(90.0f * 3.14f / 180.0f), 1e-4f);
}

TEST_F(ContextMenuTest, HitsAnswerOnlyWhileOpenWithinReachOnTheWiderRingNearEdges)
{
    ASSERT_TRUE(startLevel());
    TDContextMenu& away = menuOf(kMenuBuild, 1, 500, 400);
    EXPECT_EQ(away.hitTest(580, 400), -1) << "still opening";
    away.mState = kMenuOpen;
    EXPECT_EQ(away.hitTest(580, 400), 1);
    EXPECT_NE(away.mHovered, nullptr);
    EXPECT_EQ(away.hitTest(580, 433), -1) << "32 or more away is outside";
    EXPECT_EQ(away.mHovered, nullptr);
    TDContextMenu& near = menuOf(kMenuBuild, 1, 500, 700);
    near.mState = kMenuOpen;
    EXPECT_EQ(near.hitTest(500 + 104, 700), 1) << "80 x 1.3 from the centre";
    EXPECT_EQ(near.hitTest(560, 700), -1);
    near.close();
    EXPECT_EQ(near.hitTest(500 + 104, 700), -1);
}

TEST_F(ContextMenuTest, APriceStandsAboveItsIconOnTheRingAwayFromAndNearTheEdges)
{
    ASSERT_TRUE(startLevel());
    struct Case
    {
        float x, y;
        float radius; // of the icons' ring, open
    };
    // Near the bottom edge the ring is 1.3 times wider: the price moves out with its icon.
    const Case cases[] = {{500, 400, 80}, {500, 700, 104}};
    for (const Case& c : cases)
    {
        TDContextMenu& m = menuOf(kMenuBuild, 1, c.x, c.y);
        m.mState = kMenuOpen;
        const TDContextMenuItem& item = *m.mItems[0];
        float iconX = 0.0f, iconY = 0.0f, priceX = 0.0f, priceY = 0.0f;
        m.iconPoint(item, iconX, iconY);
        m.pricePoint(item, priceX, priceY);
        EXPECT_NEAR(std::hypot(iconX - c.x, iconY - c.y), c.radius, 0.01f) << c.y;
        EXPECT_FLOAT_EQ(priceX, iconX) << c.y;
        EXPECT_FLOAT_EQ(priceY, iconY - 30.0f) << c.y;
    }
}

TEST_F(ContextMenuTest, AnEmptyBuildMenuAndAMissingTowerPrototypeDoNoHarm)
{
    ASSERT_TRUE(startLevel());
    // No tower of type 1 unlocked: no items, and the menu gives up at its first draw.
    TDFrameEntry* frame = spotFrameAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    mMap->mLevel = 12;
    auto* empty = new TDContextMenu(*mMap);
    empty->openBuildMenu(frame);
    mMap->mLevel = 0;
    EXPECT_TRUE(empty->mItems.empty());
    mMap->mContextMenu = empty;
    mHarness.step();
    EXPECT_EQ(empty->mAlive, 0);
    mHarness.step();
    EXPECT_EQ(menu(), nullptr);

    // A tower whose prototype is not in the table (nor any prototype at all) can only be sold.
    TDUnitProto stranger;
    stranger.id = 99999;
    TDTower lost(&stranger, frame, frame->mRect.x, frame->mRect.y);
    TDContextMenu m(*mMap);
    m.openTowerMenu(&lost);
    ASSERT_EQ(m.mItems.size(), 1u);
    EXPECT_EQ(m.mItems[0]->mKey, 0);
    TDTower bare(nullptr, frame, 0.0f, 0.0f);
    TDContextMenu n(*mMap);
    n.openTowerMenu(&bare);
    EXPECT_EQ(n.mItems.size(), 1u);
}
TEST_F(ContextMenuTest, APressOnABuildItemBuildsAndTheTowerOpensItsSellAndUpgradeMenu)
{
    ASSERT_TRUE(startLevel());
    TDFrameEntry* spot = spotFrameAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    openMenuAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    const int money = mMap->mEconomy->mMoney;
    const float price = menu()->getItemValue(10000);
    ASSERT_TRUE(chooseItem(10000));
    ASSERT_EQ(mMap->mTowers.size(), 1u);
    TDTower* tower = mMap->mTowers[0];
    EXPECT_EQ(mMap->mEconomy->mMoney, money - static_cast<int>(price));
    EXPECT_EQ(count(L"buildTower"), 1u);
    EXPECT_FALSE(spot->mVisible) << "the tower stands on it";
    EXPECT_EQ(menu()->mState, kMenuClosing);
    mHarness.step(15);
    EXPECT_EQ(menu(), nullptr);

    // The tower's menu: sell first, then the tier update while one is left, else the branch upgrades.
    openMenuAt(tower->mX, tower->mY);
    ASSERT_NE(menu(), nullptr);
    EXPECT_EQ(menu()->mTower, tower);
    ASSERT_GE(menu()->mItems.size(), 1u);
    EXPECT_EQ(menu()->mItems[0]->mKey, 0);
    const TDUnitProto& base = *mMap->mProtoTable->find(10000);
    if (base.tierUpdates > tower->mTierCount)
    {
        EXPECT_EQ(menu()->mKind, kMenuTowerTier);
        ASSERT_EQ(menu()->mItems.size(), 2u);
        EXPECT_FLOAT_EQ(menu()->shownPrice(*menu()->mItems[1]), base.tierCost);
        mMap->mEconomy->mMoney = 1000;
        ASSERT_TRUE(chooseItem(1));
        EXPECT_EQ(tower->mTierCount, 1);
        mHarness.step(15);
        openMenuAt(tower->mX, tower->mY);
    }
    EXPECT_EQ(menu()->mKind, kMenuTower);

    // Sell: the spot is free again and the money comes back.
    const int before = mMap->mEconomy->mMoney;
    const int refund = tower->sellValue();
    ASSERT_TRUE(chooseItem(0));
    EXPECT_TRUE(mMap->mTowers.empty());
    EXPECT_TRUE(spot->mVisible);
    EXPECT_EQ(count(L"sellTower"), 1u);
    EXPECT_EQ(mMap->mEconomy->mMoney, before + refund);
}

TEST_F(ContextMenuTest, ABuildPressWithTooLittleMoneyKeepsTheMenuOpen)
{
    ASSERT_TRUE(startLevel());
    openMenuAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    mMap->mEconomy->mMoney = 1;
    EXPECT_TRUE(menu()->isShortOf(*menu()->mItems[0]));
    ASSERT_TRUE(chooseItem(10000));
    EXPECT_TRUE(mMap->mTowers.empty());
    EXPECT_EQ(menu()->mState, kMenuOpen);
}
} // namespace
