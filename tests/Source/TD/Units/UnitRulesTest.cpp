// The unit rules on the demo data: health by difficulty, lives taken by escapes, damage with its immunities
// and splash falloff, the kill reward, a death that cannot animate, and wave entries that name no unit or
// no point.
#include "Source/TD/Harness/TDGameHarness.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/TDTestUtil.h"
#include "Source/TD/Units/TDHitModifiers.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDUnitModifiers.h"
#include "Source/TD/Units/TDWaves.h"
#include "Source/TD/Units/UnitLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
using tdtest::GameHarness;
using tdtest::LogCapture;

class UnitRulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
        mWave = mMap->mWaves->getWaves().at(0);
    }
    // A unit of the id made as a wave makes it, at the level's first spawn point.
    TDUnit* spawn(int id, int upgrade = 1)
    {
        auto* entry = new TDWaveEntry(mWave);
        entry->mUnitId = id;
        entry->mUpgrade = upgrade;
        entry->mX = -1.0f;
        mWave->mEntries.push_back(entry);
        return mMap->spawnUnit(entry, mMap->getFirstSpawnPoint());
    }
    int notices(int kind) const
    {
        const auto& all = mMap->mPopups->getNotices();
        return static_cast<int>(std::count_if(all.begin(), all.end(),
                                              [kind](const HUDPopupNotice* n) { return n->mKind == kind; }));
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
    TDWaveProto* mWave = nullptr;
};

TEST_F(UnitRulesTest, HealthFollowsTheDifficultyAndTheTier)
{
    const float goblin = mMap->mProtoTable->find(1)->health;
    const struct
    {
        int mode;
        float factor;
    } cases[] = {{kModeEasy, 0.9f}, {kModeNormal, 1.0f}, {kModeHard, 1.1f}, {kModeHardcore, 1.0f}};
    for (const auto& c : cases)
    {
        mMap->mMode = c.mode;
        const TDUnit* unit = spawn(1);
        EXPECT_FLOAT_EQ(unit->mHealth, goblin * c.factor) << "mode " << c.mode;
        EXPECT_FLOAT_EQ(unit->getMaxHealth(), unit->mHealth);
    }
    mMap->mMode = kModeNormal;
    const TDUnitProto* tier = spawn(1, 2)->getProto();
    ASSERT_NE(tier, nullptr);
    EXPECT_EQ(tier->levelid, 1) << "upgrade 2 is the branch of level id 1";
    EXPECT_EQ(spawn(1, 0)->getProto(), mMap->mProtoTable->find(1)->branches.back())
        << "an upgrade of 0 picks the last branch";
}

TEST_F(UnitRulesTest, EscapesTakeTheirStrengthOffTheLives)
{
    const struct
    {
        float lives;
        float strength;
        float left;
        bool lost;
    } cases[] = {{25.0f, 2.5f, 22.5f, false},
                 {25.0f, 30.0f, 0.0f, true},
                 {1.0f, 1.0f, 0.0f, true},
                 {0.0f, 1.0f, 0.0f, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.lives);
        mMap->mState = kStatePlaying;
        mMap->mLives = c.lives;
        mMap->mMaxLives = 25.0f;
        mHarness.sounds().clear();
        TDUnitProto proto;
        proto.strength = c.strength;
        proto.health = 10.0f;
        auto* entry = new TDWaveEntry(mWave);
        mWave->mEntries.push_back(entry);
        TDUnit unit(entry, &proto, 100.0f, 100.0f);
        mMap->onUnitEscaped(&unit);
        EXPECT_FLOAT_EQ(mMap->mLives, c.left);
        EXPECT_EQ(unit.mAlive, 0);
        EXPECT_TRUE(unit.mEscaped);
        EXPECT_EQ(entry->mState, kEntryEscaped);
        EXPECT_EQ(mMap->mState, c.lost ? kStateLost : kStatePlaying)
            << "a level already at 0 is not lost again";
        const auto& tags = mHarness.sounds().tags;
        EXPECT_EQ(std::count(tags.begin(), tags.end(), L"loseSound"), c.lost ? 1 : 0);
    }
}

TEST_F(UnitRulesTest, ShotsHitUnlessTheUnitIsImmuneAndSplashFallsOffWithDistance)
{
    TDUnitProto shooter;
    shooter.ammoid = 1001; // a dart of r 40
    const struct
    {
        const char* name;
        int unitId;
        void (*arm)(TDUnitProto&);
        bool immune;
    } cases[] = {
        {"a plain shot", 1, [](TDUnitProto&) {}, false},
        {"ice takes no damage over time", 13, [](TDUnitProto& s) { s.dot = true; }, true},
        {"stone takes no stun", 14, [](TDUnitProto& s) { s.stun = true; }, true},
        {"stone takes a hold", 14, [](TDUnitProto& s) { s.hold = true; }, false},
        {"fire only: a dart does nothing", 15, [](TDUnitProto&) {}, true},
        {"fire only: fire ammunition hits", 15, [](TDUnitProto& s) { s.ammoid = 2001; }, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        TDUnitProto armed;
        armed.copyFrom(shooter);
        c.arm(armed);
        TDUnit* unit = spawn(c.unitId);
        const float before = unit->mHealth;
        const int immuneBefore = notices(HUDPopupTexts::kKindImmune);
        unit->damage(TDShot{nullptr, &armed, 10.0f, unit->mX, unit->mY}, true);
        EXPECT_FLOAT_EQ(unit->mHealth, c.immune ? before : before - 10.0f);
        EXPECT_EQ(notices(HUDPopupTexts::kKindImmune), immuneBefore + (c.immune ? 1 : 0));
    }

    // Splash: a neighbour 10 units (r / 4) from the bullet takes 75 %; one past r / 2 of the hit unit none.
    shooter.splash = true;
    TDUnit* hit = spawn(1);
    TDUnit* near = spawn(1);
    TDUnit* far = spawn(1);
    near->mX = near->mTargetX = hit->mX + 10.0f;
    near->mY = near->mTargetY = hit->mY;
    far->mX = far->mTargetX = hit->mX + 21.0f;
    far->mY = far->mTargetY = hit->mY;
    const float full = hit->mHealth;
    hit->damage(TDShot{nullptr, &shooter, 8.0f, hit->mX, hit->mY}, true);
    EXPECT_FLOAT_EQ(hit->mHealth, full - 8.0f);
    EXPECT_FLOAT_EQ(near->mHealth, full - 6.0f);
    EXPECT_FLOAT_EQ(far->mHealth, full);

    // An ammunition without a size hits no neighbour with a damage that is no number.
    shooter.ammoid = 99999;
    TDUnit* other = spawn(1);
    other->damage(TDShot{nullptr, &shooter, 8.0f, other->mX + 5.0f, other->mY}, false);
    EXPECT_FALSE(std::isnan(other->mHealth));
    EXPECT_FLOAT_EQ(other->mHealth, full);
}

TEST_F(UnitRulesTest, AKillPaysTheRewardAndHitsRevealTheUnit)
{
    TDUnit* unit = spawn(1);
    unit->mInvisibleTime = 2.0f;
    unit->hit(0.0f);
    EXPECT_GT(unit->mInvisibleTime, 0.0f) << "a hit of nothing reveals nothing";
    EXPECT_FLOAT_EQ(unit->mHealthBarTime, 2.5f);
    unit->hit(1.0f);
    EXPECT_EQ(unit->mInvisibleTime, 0.0f);
    const int money = mMap->mEconomy->mMoney;
    unit->hit(1000.0f);
    mMap->mEnemyCostBonus = 0.15f;
    mHarness.step();
    EXPECT_EQ(unit->mState, kUnitDying);
    // A goblin costs 4: ceil(0.6) + 4 with the bought 15 %.
    EXPECT_EQ(mMap->mEconomy->mMoney, money + 5);
    EXPECT_EQ(mMap->mPopups->getNotices().back()->mText, L"+ 5");
}

TEST_F(UnitRulesTest, ADeathThatCannotAnimateStillEnds)
{
    TDUnitProto still;
    still.copyFrom(*mMap->mProtoTable->find(1));
    still.fps = 0.0f; // its death frames would never play through
    auto* entry = new TDWaveEntry(mWave);
    entry->mUnitId = 1;
    mWave->mEntries.push_back(entry);
    auto* unit = new TDUnit(entry, &still, 200.0f, 200.0f);
    unit->mMap = mMap;
    mMap->mWaves->addUnit(unit);
    unit->hit(1000.0f);
    TDWatch<TDUnit> watch(unit);
    mHarness.step(90);
    EXPECT_EQ(watch.get(), nullptr) << "the unit finished and left the list";
}

TEST_F(UnitRulesTest, AUnitWithoutARouteLeavesWithoutCostingALife)
{
    // What the route warning promises: such units leave without reward or lost lives.
    tdtest::playLevel(mHarness, kModeNormal, 0,
                      "<waves><wave timeout=\"0\" spawn=\"1\" wipeAward=\"50\"><e id=\"1\" x=\"0\"/>"
                      "</wave></waves>");
    mHarness.step(2);
    ASSERT_EQ(mMap->mWaves->getUnits().size(), 1u);
    TDUnit* unit = mMap->mWaves->getUnits()[0];
    unit->mRoute.clear();
    const float lives = mMap->mLives;
    const int money = mMap->mEconomy->mMoney;
    for (int frame = 0; frame < 120 && !mMap->mWaves->getUnits().empty(); ++frame)
        mHarness.step();
    EXPECT_TRUE(mMap->mWaves->getUnits().empty());
    EXPECT_FLOAT_EQ(mMap->mLives, lives);
    EXPECT_EQ(mMap->mEconomy->mMoney, money) << "no kill reward and no wipe award";
    EXPECT_EQ(mMap->mWaves->getWaves().at(0)->mEntries.at(0)->mState, kEntryEscaped);
    mHarness.step(3);
    EXPECT_EQ(mMap->mState, kStateWon) << "its wave ends";
}

// The playing effects of the map's list that stand near the point.
int effectsAt(const TDMap& map, float x, float y)
{
    int count = 0;
    for (const TDEmitter* effect : map.mEmitters)
        if (effect->isPlaying())
        {
            const math::Point2 at = effect->mEmitter->GetPosition();
            count += std::fabs(at.x - x) < 3.0f && std::fabs(at.y - y) < 3.0f ? 1 : 0;
        }
    return count;
}

TEST_F(UnitRulesTest, HoldAndTeleportShowsAPortalOverTheTeleportedUnitForItsLastHalfSecond)
{
    TDUnit* unit = spawn(1);
    mHarness.step(120);
    const TDPoint* start = mMap->findPoint(unit->mRoute.front());
    ASSERT_NE(start, nullptr);
    ASSERT_GT(std::fabs(unit->mX - start->x), 20.0f) << "the unit has walked off the start";
    auto* hold = new HoldAndTeleport(std::string(), 0.0f, 3.0f, nullptr);
    ASSERT_TRUE(unit->addModifier(hold));
    const float heldX = unit->mX;
    const float heldY = unit->mY;
    // The timeline by frames: a portal over the held unit after 1 s, one at the route's start after 2 s, the
    // teleport after 3 s, then a portal over the unit where it now stands until the end.
    mHarness.step(30);
    EXPECT_EQ(effectsAt(*mMap, heldX, heldY - 15.0f), 0);
    mHarness.step(45);
    EXPECT_EQ(effectsAt(*mMap, heldX, heldY - 15.0f), 1);
    EXPECT_EQ(effectsAt(*mMap, start->x, start->y), 0);
    mHarness.step(60);
    EXPECT_EQ(effectsAt(*mMap, start->x, start->y), 1);
    EXPECT_FLOAT_EQ(unit->mX, heldX) << "held";
    for (int frame = 0; frame < 60 && std::fabs(unit->mX - heldX) < 1.0f; ++frame)
        mHarness.step();
    ASSERT_LT(std::fabs(unit->mX - start->x), 15.0f) << "teleported to the route's start";
    mHarness.step();
    EXPECT_EQ(effectsAt(*mMap, heldX, heldY - 15.0f), 0) << "the portal over the held place has closed";
    EXPECT_EQ(effectsAt(*mMap, unit->mX, unit->mY - 15.0f), 1) << "a portal over the teleported unit";
    mHarness.step(40);
    EXPECT_EQ(effectsAt(*mMap, unit->mX, unit->mY - 15.0f), 0) << "closed with the modifier";
    // The burst of the teleport at the start plays out on its own; the portal there closed with the rest.
    mHarness.step(120);
    EXPECT_EQ(effectsAt(*mMap, start->x, start->y), 0);
}

TEST_F(UnitRulesTest, ASummonersPortalLoopsItsEffectUntilItCloses)
{
    TDUnit* summoner = spawn(1);
    mHarness.step(30);
    // Open for three seconds, three times the effect's own interval.
    auto* portal = new ShamanPortal(*mMap, *summoner, 3.0f, "portal_1");
    portal->mPeriod = 100.0f;
    mMap->mModifiers.push_back(portal);
    const float x = summoner->mX;
    const float y = summoner->mY;
    ASSERT_EQ(effectsAt(*mMap, x, y), 1);
    for (int second = 1; second <= 2; ++second)
    {
        mHarness.step(60);
        EXPECT_EQ(effectsAt(*mMap, x, y), 1) << "after " << second << " s";
    }
    mHarness.step(70);
    EXPECT_EQ(effectsAt(*mMap, x, y), 0) << "closed after its duration";
}

TEST_F(UnitRulesTest, EntriesNamingNoUnitOrNoPointAreSkippedOrPlacedAtTheFirstSpawn)
{
    LogCapture::Reset();
    tdtest::playLevel(mHarness, kModeNormal, 0,
                      "<waves><wave timeout=\"0\" spawn=\"77\"><e id=\"999\" x=\"0\"/><e id=\"1\" x=\"0\"/>"
                      "</wave></waves>");
    mMap->mState = kStatePlaying;
    mHarness.step(3);
    ASSERT_EQ(mMap->mWaves->getUnits().size(), 1u) << "only the unit that can be built";
    TDUnit* unit = mMap->mWaves->getUnits()[0];
    EXPECT_EQ(unit->mSpawnPoint, mMap->getFirstSpawnPoint()) << "a spawn id without a point uses the first";
    EXPECT_EQ(LogCapture::CountLines(L"skipped"), 1) << LogCapture::Text();
    const TDWaveProto* wave = mMap->mWaves->getWaves().at(0);
    EXPECT_EQ(wave->mEntries[0]->mState, kEntryKilled) << "a skipped entry counts as done";
    unit->hit(1000.0f);
    for (int frame = 0; frame < 600 && mMap->mState == kStatePlaying; ++frame)
        mHarness.step();
    EXPECT_EQ(mMap->mState, kStateWon) << "the wave with skipped entries still ends";
}
} // namespace
