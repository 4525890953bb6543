// The map's commands on level 1-1: building at the upgraded price, selling with its refund and what goes with
// the tower, the spot and tower hit tests, buying a spot, branch upgrades and tier updates with their prices.
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Effects/TDBeamParticle.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/TDModifier.h"
#include "TowerFixture.h"

#include <cmath>

namespace
{
using tdtest::TowerFixture;
using TowerCommands = TowerFixture;

TEST_F(TowerCommands, BuildComparesThePriceUnroundedAndPaysItTruncated)
{
    struct Case
    {
        float price;
        int money;
        bool built;
        int moneyAfter;
    };
    const Case cases[] = {
        {70.0f, 70, true, 0},   // exactly enough
        {70.0f, 69, false, 69}, // one short
        {49.9f, 49, false, 49}, // the fraction counts when comparing
        {49.9f, 50, true, 1},   // and is dropped when paying
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.price) + " with " + std::to_string(c.money));
        proto(10000)->cost = c.price;
        TDFrameEntry* spot = freeSpot();
        ASSERT_NE(spot, nullptr);
        setMoney(c.money);
        const int spent = mMap->mEconomy->mMoneySpent;
        const std::size_t bursts = mMap->mBuildEmitters.size();
        mHarness.sounds().clear();
        TDTower* tower = mMap->buildTower(proto(10000), spot);
        EXPECT_EQ(tower != nullptr, c.built);
        EXPECT_EQ(mMap->mEconomy->mMoney, c.moneyAfter);
        EXPECT_EQ(mMap->mEconomy->mMoneySpent - spent, c.money - c.moneyAfter);
        EXPECT_EQ(spot->mVisible, !c.built);
        EXPECT_EQ(played(L"buildTower"), c.built);
        EXPECT_EQ(mMap->mBuildEmitters.size() - bursts, c.built ? 1u : 0u);
        if (!tower)
            continue;
        EXPECT_EQ(tower->mProto, proto(10000)) << "the table's row, not the working copy";
        EXPECT_FLOAT_EQ(tower->mX, spot->mRect.x + spot->mRect.width * 0.5f);
        EXPECT_FLOAT_EQ(tower->mBaseY, spot->mRect.y + spot->mRect.height * 0.5f);
        mMap->sellTower(tower);
    }
}

TEST_F(TowerCommands, SellingRefundsHalfOfTheTierAndItsBaseAndTakesEverythingOfTheTower)
{
    struct Case
    {
        float baseCost;
        float branchCost;
        bool upgraded;
        int refund;
    };
    const Case cases[] = {{75.0f, 0.0f, false, 37}, {100.0f, 120.0f, true, 110}, {101.0f, 0.0f, false, 50}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.refund);
        proto(10000)->cost = c.baseCost;
        proto(10001)->cost = c.branchCost;
        TDTower* tower = build(10000);
        if (c.upgraded)
        {
            setMoney(1000);
            ASSERT_TRUE(tower->upgradeTo(10001, 0.0f));
        }
        EXPECT_EQ(tower->sellValue(), c.refund);

        // What the tower owns or left on the map goes with it.
        auto* owned = new FireSplashModifier("", 1.0f, 10.0f, tower, 0.0f, 0.0f, 64.0f);
        auto* foreign = new FireSplashModifier("", 1.0f, 10.0f, nullptr, 0.0f, 0.0f, 64.0f);
        mMap->mModifiers.push_back(owned);
        mMap->mModifiers.push_back(foreign);
        TDUnit* unit = addUnit(1, tower->mX + 30.0f, tower->mY);
        tower->mTarget = unit;
        mMap->mBullets->add(new TDBullet(tower, unit));
        TDFrameEntry* spot = tower->mSpotFrame;
        setMoney(5);
        mHarness.sounds().clear();
        mMap->sellTower(tower);
        EXPECT_EQ(mMap->mEconomy->mMoney, 5 + c.refund);
        EXPECT_TRUE(mMap->mTowers.empty());
        EXPECT_TRUE(spot->mVisible);
        EXPECT_TRUE(mMap->mBullets->getBullets().empty());
        ASSERT_EQ(mMap->mModifiers.size(), 1u);
        EXPECT_EQ(mMap->mModifiers[0], foreign);
        EXPECT_TRUE(played(L"sellTower"));
        base::DeleteAll(mMap->mModifiers);
        mMap->mWaves->clearUnits();
    }
}

TEST_F(TowerCommands, SellingABeamTowerLetsItsUnitGo)
{
    TDTower* tower = build(40000);
    setMoney(1000);
    ASSERT_TRUE(tower->upgrade(3, 0.0f)); // the portal branch
    TDUnit* unit = addUnit(1, tower->mX + 40.0f, tower->mY);
    tower->mTarget = unit;
    tower->shoot();
    ASSERT_NE(tower->mBeam.get(), nullptr);
    EXPECT_EQ(unit->mState, 5) << "held";
    TDBeamParticle* beam = tower->mBeam.get();
    mMap->sellTower(tower);
    EXPECT_EQ(unit->mState, kUnitWalking);
    EXPECT_FALSE(beam->isPlaying());
}

TEST_F(TowerCommands, HitTestsFindFreeSpotsWithin40AndTowersCloserThan50)
{
    TDFrameEntry* spot = freeSpot();
    ASSERT_NE(spot, nullptr);
    const int cx = static_cast<int>(spot->mRect.x + spot->mRect.width * 0.5f);
    const int cy = static_cast<int>(spot->mRect.y + spot->mRect.height * 0.5f);
    const float fx = spot->mRect.x + spot->mRect.width * 0.5f;
    // Only whole centres let an integer point lie exactly 40 away.
    if (fx == static_cast<float>(cx))
    {
        EXPECT_EQ(mMap->findSpotAt(cx + 40, cy), spot);
        EXPECT_EQ(mMap->findSpotAt(cx, cy - 40), spot);
    }
    EXPECT_EQ(mMap->findSpotAt(cx + 41, cy), nullptr);

    TDTower* tower = build(10000);
    EXPECT_EQ(mMap->findSpotAt(cx, cy), nullptr) << "a spot with a tower is not free";
    tower->mX = 500.0f;
    tower->mY = 300.0f;
    EXPECT_EQ(mMap->findTowerAt(549, 300), tower);
    EXPECT_EQ(mMap->findTowerAt(550, 300), nullptr);
    EXPECT_EQ(mMap->findTowerAt(500, 250), nullptr);
    EXPECT_EQ(mMap->findTowerAt(530, 340), nullptr) << "exactly 50 away";
    EXPECT_EQ(mMap->findTowerAt(530, 339), tower);
}

TEST_F(TowerCommands, BuyingASpotPaysBothPricesOrNothing)
{
    TDFrameEntry* frame = nullptr;
    for (TDFrameEntry* f : mMap->mLevelArt->mSpotFrames)
        if (f->mLink && !f->mLink->mOwned)
            frame = f;
    ASSERT_NE(frame, nullptr) << "level 1-1 has a spot for money";
    TDBuildSpot* spot = frame->mLink;
    spot->mCostReal = 2;
    mMap->mEconomy->mGems = 1;
    setMoney(spot->mCostGold);
    EXPECT_FALSE(mMap->buySpot(frame)) << "gems short";
    EXPECT_EQ(mMap->mEconomy->mMoney, spot->mCostGold);
    mMap->mEconomy->mGems = 2;
    setMoney(spot->mCostGold - 1);
    EXPECT_FALSE(mMap->buySpot(frame)) << "money short";
    setMoney(spot->mCostGold + 3);
    mHarness.sounds().clear();
    EXPECT_TRUE(mMap->buySpot(frame));
    EXPECT_EQ(mMap->mEconomy->mMoney, 3);
    EXPECT_EQ(mMap->mEconomy->mGems, 0);
    EXPECT_TRUE(spot->mOwned);
    EXPECT_EQ(frame->mTexture, mMap->mLevelArt->getSpotImage(TDLevelArt::kSpotOwned));
    EXPECT_TRUE(mMap->mProfile->isSpotOwned(frame->mName, mMap->mEpisode, mMap->mLevel));
    EXPECT_TRUE(played(L"buySpot"));
    EXPECT_FALSE(mMap->buySpot(frame)) << "owned already";
}

TEST_F(TowerCommands, BranchUpgradesPayTheFlooredPriceAndARefusedOneKeepsTheTierUpdates)
{
    struct Case
    {
        float price;
        int money;
        bool bought;
        int moneyAfter;
    };
    const Case cases[] = {{150.0f, 150, true, 0}, {150.7f, 151, true, 1}, {150.7f, 150, false, 150}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.price);
        TDTower* tower = build(10000);
        setMoney(1000);
        ASSERT_TRUE(tower->tierUpdate());
        setMoney(c.money);
        EXPECT_EQ(tower->upgradeTo(10100, c.price), c.bought);
        EXPECT_EQ(mMap->mEconomy->mMoney, c.moneyAfter);
        EXPECT_EQ(tower->mBranch, c.bought ? 3 : 0);
        EXPECT_EQ(tower->getProto(-1)->id, c.bought ? 10100 : 10000);
        EXPECT_EQ(tower->mTierCount, c.bought ? 0 : 1) << "a refused upgrade takes nothing away";
        mMap->sellTower(tower);
    }
    TDTower* tower = build(10000);
    EXPECT_FALSE(tower->upgradeTo(424242, 0.0f)) << "no such branch";
    EXPECT_FALSE(tower->upgrade(9, 0.0f));
}

TEST_F(TowerCommands, TheUpgradeNoticeNamesEachChangedValueAndSkipsFiguresThatWouldDivideByZero)
{
    // From the plain dart tower to its second level: range, damage and rate of fire change.
    TDTower* tower = build(10000);
    setMoney(1000);
    mMap->mPopups->clear();
    ASSERT_TRUE(tower->upgrade(1, 0.0f));
    ASSERT_EQ(mMap->mPopups->getNotices().size(), 1u);
    const std::wstring notice = mMap->mPopups->getNotices()[0]->mText;
    EXPECT_FLOAT_EQ(mMap->mPopups->getNotices()[0]->mScale, 2.5f) << "the figures stand out";
    EXPECT_NE(notice.find(L"Range +7%"), std::wstring::npos) << std::string(notice.begin(), notice.end());
    EXPECT_NE(notice.find(L"Damage +57%"), std::wstring::npos);
    EXPECT_NE(notice.find(L"Rate of fire +7%"), std::wstring::npos);
    EXPECT_EQ(notice.find(L"Income"), std::wstring::npos);

    // From a prototype with no range and no income to a branch with a zero cooldown: nothing is divided by 0.
    proto(40000)->r = 0.0f;
    proto(40200)->cooldown = 0.0f;
    TDTower* income = build(40000, 1);
    mMap->mPopups->clear();
    ASSERT_TRUE(income->upgrade(4, 0.0f));
    for (const HUDPopupNotice* n : mMap->mPopups->getNotices())
    {
        EXPECT_EQ(n->mText.find(L"Range"), std::wstring::npos);
        EXPECT_EQ(n->mText.find(L"Rate of fire"), std::wstring::npos);
        EXPECT_EQ(n->mText.find(L"Income"), std::wstring::npos);
        EXPECT_EQ(n->mText.find(L"inf"), std::wstring::npos);
    }
}

TEST_F(TowerCommands, TierUpdatesCostTheirPriceUpToTheirCountAndRaiseStrengthAndRangeForGood)
{
    TDTower* tower = build(10000);
    const TDUnitProto& p = *proto(10000);
    ASSERT_EQ(p.tierUpdates, 1);
    setMoney(static_cast<int>(p.tierCost) - 1);
    EXPECT_FALSE(tower->tierUpdate());
    EXPECT_EQ(tower->mTierCount, 0);
    setMoney(static_cast<int>(p.tierCost) + 5);
    mHarness.sounds().clear();
    EXPECT_TRUE(tower->tierUpdate());
    EXPECT_FALSE(played(L"upgradeTower")) << "a tier update is bought without a sound";
    EXPECT_EQ(mMap->mEconomy->mMoney, 5);
    EXPECT_EQ(tower->mTierCount, 1);
    EXPECT_EQ(tower->tierUpdatesLeft(), 0);
    setMoney(1000);
    EXPECT_FALSE(tower->tierUpdate()) << "none left";

    // The step lasts through the frames: the map clears the boost record and the tower raises it again.
    mHarness.step(3);
    EXPECT_FLOAT_EQ(tower->mBoost->strength, p.strength * p.tierK);
    EXPECT_FLOAT_EQ(tower->getRange(), (p.r + p.r * p.tierK) * 0.5f);
}

TEST_F(TowerCommands, ALevelsOwnTowersStandFromTheStartFreeOfCharge)
{
    mHarness.loadLevel(mMap->mMode, 0, 1); // 1-2 places a dart tower
    mHarness.step();
    ASSERT_EQ(mMap->mTowers.size(), 1u);
    const TDTower* tower = mMap->mTowers[0];
    EXPECT_EQ(tower->mProto->id, 10000);
    EXPECT_FALSE(tower->mSpotFrame->mVisible);
    EXPECT_EQ(mMap->mEconomy->mMoney, mMap->mEconomy->mBudget) << "the level pays for its own tower";
    // A restart builds it again, once.
    mMap->startLevel();
    EXPECT_EQ(mMap->mTowers.size(), 1u);
    EXPECT_EQ(mMap->mEconomy->mMoney, mMap->mEconomy->mBudget);
}

TEST_F(TowerCommands, RangeIsHalfTheDiameterWithItsBoostAndTheSpotMultiplier)
{
    TDTower* tower = build(10000);
    const float r = proto(10000)->r;
    struct Case
    {
        float mult;
        float boost;
        float range;
    };
    const Case cases[] = {
        {0.0f, 0.0f, r * 0.5f}, {1.3f, 0.0f, r * 1.3f * 0.5f}, {1.0f, 40.0f, (r + 40.0f) * 0.5f}};
    for (const Case& c : cases)
    {
        setAttribute(tower->mSpotFrame, "radius_mult", c.mult);
        tower->mBoost->r = c.boost;
        EXPECT_FLOAT_EQ(tower->getRange(), c.range) << c.mult << " " << c.boost;
    }
}

} // namespace
