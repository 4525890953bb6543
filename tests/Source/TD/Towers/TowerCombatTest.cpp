// Towers in play on level 1-1 with units placed by hand: target choice and range, the firing cycle, boost and
// income towers, bullets (homing, straight, the shell's arc, the hit window), and the frame a tower shows.
#include "Core/Base/Containers.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/TDModifier.h"
#include "TowerFixture.h"

#include <cmath>

namespace
{
using tdtest::TowerFixture;
using TowerCombat = TowerFixture;

TEST_F(TowerCombat, CandidatesAreStrictlyInRangeAndFliersOnlyForAirTowers)
{
    TDTower* cannon = build(20000);  // no "air"
    TDTower* dart = build(10000, 1); // "air"
    struct Case
    {
        TDTower* tower;
        int unit;
        float distanceShare; // of the range
        bool candidate;
    };
    const Case cases[] = {
        {cannon, 1, 0.5f, true},  {cannon, 1, 1.0f, false}, // exactly at the range is outside
        {cannon, 3, 0.5f, false},                           // a flier
        {dart, 3, 0.5f, true},    {dart, 1, 0.999f, true},
    };
    for (const Case& c : cases)
    {
        const float range = c.tower->getRange();
        TDUnit* unit = addUnit(c.unit, c.tower->mX + range * c.distanceShare, c.tower->mY);
        std::vector<TDUnit*> found;
        c.tower->findUnitsInRange(found, 0.0f);
        EXPECT_EQ(found.size() == 1 && found[0] == unit, c.candidate)
            << "unit " << c.unit << " at " << c.distanceShare << " of the range";
        std::vector<TDUnit*> near;
        c.tower->findUnitsInRange(near, 100.0f);
        mMap->mWaves->clearUnits();
    }
}

TEST_F(TowerCombat, TargetsKeepTheCurrentThenTheSelectionThenFliersThenTheNearest)
{
    TDTower* dart = build(10000);
    TDUnit* far = addUnit(1, dart->mX + 100.0f, dart->mY);
    TDUnit* nearer = addUnit(1, dart->mX + 50.0f, dart->mY);
    TDUnit* flier = addUnit(3, dart->mX - 110.0f, dart->mY);
    std::vector<TDUnit*> all = {far, nearer, flier};
    EXPECT_EQ(dart->chooseTarget(all, nullptr, true), flier) << "fliers first";
    EXPECT_EQ(dart->chooseTarget(all, far, true), far) << "the current target stays";
    mMap->setSelectedUnit(nearer);
    EXPECT_EQ(dart->chooseTarget(all, far, true), nearer) << "the player's choice wins";
    EXPECT_EQ(dart->chooseTarget(all, far, false), far) << "the selection only counts in range";
    mMap->setSelectedUnit(nullptr);
    std::vector<TDUnit*> ground = {far, nearer};
    EXPECT_EQ(dart->chooseTarget(ground, nullptr, false), nearer) << "the nearest";
    EXPECT_EQ(dart->chooseTarget(ground, flier, false), nearer)
        << "a target that is not a candidate is dropped";
    std::vector<TDUnit*> none;
    EXPECT_EQ(dart->chooseTarget(none, nullptr, true), nullptr);
}

TEST_F(TowerCombat, ATowerTurnsToItsTargetFiresAfterItsAnimationAndWaitsItsCooldown)
{
    TDTower* dart = build(10000);
    TDUnit* unit = addUnit(1, dart->mX, dart->mY + 60.0f); // straight below
    mHarness.sounds().clear();
    int shots = 0;
    int firstShot = -1;
    for (int frame = 0; frame < 120; ++frame)
    {
        const std::size_t before = mMap->mBullets->getBullets().size();
        mHarness.step();
        unit->mX = dart->mX; // hold the unit still
        unit->mY = dart->mY + 60.0f;
        if (mMap->mBullets->getBullets().size() > before)
        {
            ++shots;
            if (firstShot < 0)
                firstShot = frame;
        }
    }
    EXPECT_EQ(dart->mTarget.get(), unit);
    EXPECT_GE(firstShot, 0);
    EXPECT_TRUE(played(L"tower10000shot"));
    // Two seconds at a 0.7 s cooldown: two or three shots, never one per frame.
    EXPECT_GE(shots, 2);
    EXPECT_LE(shots, 3);
    // The unit stands straight down the screen, which is direction 0.
    EXPECT_LT(std::min(dart->mCurrentDirection, 360.0f - dart->mCurrentDirection), 11.25f);
}

TEST_F(TowerCombat, ATowerWithoutStrengthNeverTargetsAndRestsBetweenTurns)
{
    TDTower* beacon = build(10000);
    setMoney(1000);
    ASSERT_TRUE(beacon->upgrade(4, 0.0f)); // the war beacon: strength -1
    addUnit(1, beacon->mX + 20.0f, beacon->mY);
    bool scanned = false;
    bool waited = false;
    for (int frame = 0; frame < 300; ++frame)
    {
        mHarness.step();
        EXPECT_EQ(beacon->mTarget.get(), nullptr);
        scanned |= beacon->mState == kTowerScanning;
        waited |= beacon->mState == kTowerWaiting;
    }
    EXPECT_TRUE(scanned || waited);
}

TEST_F(TowerCombat, BoostTowersGoFirstAndRaiseTheOthersInReach)
{
    TDTower* dart = build(10000);
    TDTower* beacon = build(10000, 1);
    setMoney(1000);
    ASSERT_TRUE(beacon->upgrade(4, 0.0f));
    ASSERT_EQ(mMap->mTowers.front(), beacon) << "boosters update first";
    const float reach = proto(10200)->r * 0.5f;
    dart->mX = beacon->mX + reach * 0.9f;
    dart->mY = beacon->mY;
    mHarness.step();
    EXPECT_TRUE(dart->mBoosted);
    EXPECT_FALSE(beacon->mBoosted);
    const float k = proto(10200)->speed / 100.0f;
    EXPECT_FLOAT_EQ(dart->mBoost->strength, proto(10000)->strength * k);
    EXPECT_FLOAT_EQ(dart->mBoost->r, proto(10000)->r * k);
    dart->mX = beacon->mX + reach * 1.1f;
    mHarness.step();
    EXPECT_FALSE(dart->mBoosted) << "out of reach: the flag is cleared each frame";
    EXPECT_FLOAT_EQ(dart->mBoost->strength, 0.0f);
}

TEST_F(TowerCombat, IncomeTowersPayTheirIncomeTimesTheSpotShareEveryCooldown)
{
    TDTower* treasury = build(40000);
    setMoney(1000);
    ASSERT_TRUE(treasury->upgrade(4, 0.0f));
    const TDUnitProto& p = *proto(40200);
    ASSERT_GT(p.goldIncome, 0);
    struct Case
    {
        float mult;
        int paid;
    };
    for (const Case& c : {Case{0.0f, 0}, Case{1.5f, static_cast<int>(p.goldIncome * 1.5f)}})
    {
        setAttribute(treasury->mSpotFrame, "income_mult", c.mult);
        setMoney(0);
        mMap->mPopups->clear();
        treasury->payIncome();
        EXPECT_EQ(mMap->mEconomy->mMoney, c.paid);
        ASSERT_EQ(mMap->mPopups->getNotices().size(), 1u);
        EXPECT_EQ(mMap->mPopups->getNotices()[0]->mText, L"+" + std::to_wstring(c.paid));
        EXPECT_EQ(treasury->mState, kTowerFiring);
    }
    // Paid by its modifier once per cooldown of play.
    setMoney(0);
    const int frames = static_cast<int>(p.cooldown * 60.0f * 2.0f) + 30;
    mHarness.step(frames);
    EXPECT_EQ(mMap->mEconomy->mMoney, 2 * static_cast<int>(p.goldIncome * 1.5f));
}

TEST_F(TowerCombat, AnIncomeBranchAddsItsKillRewardBonusWithinItsWholeRange)
{
    // The demo's only income tower is a branch: the bonus comes from what the tower is now, not what it was
    // built as, and reaches as far as the tower's range with the spot's share.
    TDTower* treasury = build(40000);
    const TDUnitProto& p = *proto(40200);
    ASSERT_GT(p.goldIncome, 0);
    ASSERT_GT(p.health, 0.0f);
    TDUnit* unit = addUnit(1, 0.0f, 0.0f);
    unit->mMap = mMap;
    auto bonusAt = [&](float distance)
    {
        unit->mTargetX = treasury->mX + distance;
        unit->mTargetY = treasury->mY;
        return unit->killRewardBonus();
    };
    EXPECT_EQ(bonusAt(1.0f), 0.0f) << "the base tower earns nothing";
    setMoney(1000);
    ASSERT_TRUE(treasury->upgrade(4, 0.0f));
    ASSERT_EQ(treasury->getProto(), &p);
    setAttribute(treasury->mSpotFrame, "income_mult", 1.0f);
    setAttribute(treasury->mSpotFrame, "radius_mult", 2.0f);
    const float range = treasury->getRange();
    EXPECT_FLOAT_EQ(range, p.r * 2.0f * 0.5f);
    struct Case
    {
        float distance;
        float bonus;
    };
    for (const Case& c : {Case{0.0f, p.health / 100.0f}, Case{p.r * 0.75f, p.health / 100.0f},
                          Case{range, p.health / 100.0f}, Case{range + 1.0f, 0.0f}})
    {
        SCOPED_TRACE(c.distance);
        EXPECT_FLOAT_EQ(bonusAt(c.distance), c.bonus);
    }
}

TEST_F(TowerCombat, BulletsNeverSkipTheirHitWindow)
{
    // A homing dart and a straight cannonball, each at a speed that jumps past 10 units in one frame.
    for (int towerId : {10000, 20000})
    {
        SCOPED_TRACE(towerId);
        TDTower* tower = build(towerId);
        proto(towerId)->speed = 100000.0f;
        TDUnit* unit = addUnit(1, tower->mX + 40.0f, tower->mY + 5.0f);
        tower->mTarget = unit;
        mHarness.sounds().clear();
        auto* bullet = new TDBullet(tower, unit);
        mMap->mBullets->add(bullet);
        mMap->mBullets->update(1.0f / 60.0f);
        EXPECT_TRUE(mMap->mBullets->getBullets().empty()) << "hit and gone in one step";
        EXPECT_TRUE(played(L"ammo" + std::to_wstring(proto(towerId)->ammoid) + L"hit"));
        mMap->sellTower(tower);
        mMap->mWaves->clearUnits();
    }
}

TEST_F(TowerCombat, AShooterWhoseAmmunitionHasNoRowStillFiresAndLands)
{
    for (int towerId : {10000, 20000}) // homing and straight
    {
        SCOPED_TRACE(towerId);
        proto(towerId)->ammoid = 424242;
        TDTower* tower = build(towerId);
        TDUnit* unit = addUnit(1, tower->mX + 60.0f, tower->mY);
        tower->mTarget = unit;
        tower->shoot();
        ASSERT_EQ(mMap->mBullets->getBullets().size(), 1u);
        for (int i = 0; i < 120 && !mMap->mBullets->getBullets().empty(); ++i)
        {
            mMap->mBullets->update(1.0f / 60.0f);
            mMap->update(0.0f); // and drawn meanwhile in a real frame: nothing to draw, nothing read
        }
        EXPECT_TRUE(mMap->mBullets->getBullets().empty());
        mMap->sellTower(tower);
        mMap->mWaves->clearUnits();
    }
}

TEST_F(TowerCombat, ABeamLetsGoOfAUnitThatLeftTheGame)
{
    TDTower* portal = build(40000);
    setMoney(1000);
    ASSERT_TRUE(portal->upgrade(3, 0.0f));
    TDUnit* unit = addUnit(1, portal->mX + 40.0f, portal->mY);
    portal->mTarget = unit;
    portal->shoot();
    ASSERT_NE(portal->mBeam.get(), nullptr);
    portal->mState = kTowerHolding;
    mMap->mWaves->clearUnits(); // the unit is gone without a word to the tower
    mHarness.step(2);
    EXPECT_EQ(portal->mBeam.get(), nullptr);
    EXPECT_EQ(portal->mTarget.get(), nullptr);
}

TEST_F(TowerCombat, LostTargetsAndOvershotsEndBulletsTheirOwnWay)
{
    TDTower* dart = build(10000);
    TDUnit* unit = addUnit(1, dart->mX + 100.0f, dart->mY);
    mMap->mBullets->add(new TDBullet(dart, unit));
    mMap->mBullets->forgetUnit(unit);
    const std::size_t modifiers = mMap->mModifiers.size();
    mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_TRUE(mMap->mBullets->getBullets().empty());
    EXPECT_EQ(mMap->mModifiers.size(), modifiers + 1) << "a homing bullet without target bursts as a blast";

    // A straight bullet aimed beyond its range dies silently once it leaves the range.
    TDTower* cannon = build(20000, 1);
    TDUnit* runner = addUnit(1, cannon->mX + cannon->getRange() * 3.0f, cannon->mY);
    auto* bullet = new TDBullet(cannon, runner);
    mMap->mBullets->add(bullet);
    mHarness.sounds().clear();
    for (int i = 0; i < 600 && !mMap->mBullets->getBullets().empty(); ++i)
        mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_TRUE(mMap->mBullets->getBullets().empty());
    EXPECT_FALSE(played(L"ammo1003hit"));
}

TEST_F(TowerCombat, AShellClimbsThenArcsToWhereItsTargetWasAndHoldsItsTowerUntilItLands)
{
    TDTower* mortar = build(30000);
    setMoney(1000);
    ASSERT_TRUE(mortar->upgrade(4, 0.0f)); // the siege mortar fires ammo 2003
    TDUnit* unit = addUnit(1, mortar->mX + 80.0f, mortar->mY + 20.0f);
    mortar->mTarget = unit;
    mortar->mState = kTowerWaitingForShell;
    auto* shell = new TDBullet(mortar, unit);
    mMap->mBullets->add(shell);
    ASSERT_NE(shell->mFireAnimation, nullptr);
    const float startY = shell->mY;
    for (int i = 0; i < 29; ++i)
        mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_EQ(shell->mPhase, 0);
    EXPECT_LT(shell->mY, startY) << "climbing";
    for (int i = 0; i < 2; ++i)
        mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_EQ(shell->mPhase, 1);
    EXPECT_FLOAT_EQ(shell->mArc[4], unit->getTargetPoint().x);
    const float endX = shell->mArc[4];
    const float endY = shell->mArc[5];
    unit->mX += 30.0f; // the arc still ends where the unit was when it began
    int frames = 0;
    while (shell->mPhase != 4 && frames < 200)
    {
        EXPECT_EQ(mortar->mState, kTowerWaitingForShell);
        mMap->mBullets->update(1.0f / 60.0f);
        ++frames;
    }
    EXPECT_NEAR(frames, 61, 2) << "one second of arc";
    // It lands there and, aimed, starts after its unit in the same step.
    const float step = proto(30200)->speed / 60.0f + 0.01f;
    EXPECT_NEAR(shell->mX, endX, step);
    EXPECT_NEAR(shell->mY, endY, step);
    // Landed, the aimed shell goes after its unit and the tower waits until it is gone.
    for (int i = 0; i < 200 && !mMap->mBullets->getBullets().empty(); ++i)
        mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_TRUE(mMap->mBullets->getBullets().empty());
    EXPECT_EQ(mortar->mState, kTowerIdle);
}

// Only a shell whose ammunition has a picture climbs and arcs alone; without one it also flies at its unit as
// an ordinary bullet while it climbs.
TEST_F(TowerCombat, AShellWithoutAPictureAlsoFliesAsABulletWhileItClimbs)
{
    TDTower* mortar = build(30000);
    setMoney(1000);
    ASSERT_TRUE(mortar->upgrade(4, 0.0f)); // the siege mortar fires ammo 2003
    TDUnitProto* ammo = proto(2003);
    ASSERT_NE(ammo, nullptr);
    TDSpriteSheet* const sheet = ammo->sheet;
    ASSERT_NE(sheet, nullptr);
    for (const bool withSheet : {true, false})
    {
        SCOPED_TRACE(withSheet ? "with its sheet" : "without a sheet");
        ammo->sheet = withSheet ? sheet : nullptr;
        TDUnit* unit = addUnit(1, mortar->mX + 80.0f, mortar->mY + 20.0f);
        auto* shell = new TDBullet(mortar, unit);
        mMap->mBullets->add(shell);
        const float startX = shell->mX;
        const float startY = shell->mY;
        for (int i = 0; i < 5; ++i)
            mMap->mBullets->update(1.0f / 60.0f);
        ASSERT_EQ(mMap->mBullets->getBullets().size(), 1u);
        EXPECT_EQ(shell->mPhase, 0);
        EXPECT_LT(shell->mY, startY) << "climbing";
        if (withSheet)
            EXPECT_FLOAT_EQ(shell->mX, startX) << "straight up";
        else
            EXPECT_GT(shell->mX, startX + 1.0f) << "towards its unit as well";
        mMap->mBullets->clear();
        mMap->mWaves->clearUnits();
    }
    ammo->sheet = sheet;
}

TEST_F(TowerCombat, RotatingTowersShowTheSectorOfTheirDirection)
{
    TDTower* cannon = build(20000);
    struct Case
    {
        float direction;
        int sector;
    };
    const Case cases[] = {{0.0f, 31}, {11.25f, 30}, {180.0f, 15}, {359.0f, 0}, {360.0f, 31}};
    for (const Case& c : cases)
    {
        cannon->mCurrentDirection = c.direction;
        cannon->collectDrawEntry();
        EXPECT_EQ(cannon->mFrameSector, c.sector) << c.direction;
        auto& list = mMap->mFrameLists[1];
        ASSERT_EQ(list.size(), 1u);
        EXPECT_FLOAT_EQ(list[0]->mSortKey, cannon->mBaseY);
        base::DeleteAll(list);
    }
}

} // namespace
