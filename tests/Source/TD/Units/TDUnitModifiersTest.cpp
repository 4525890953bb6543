// The abilities units are born with, played on the road of 1-1: the order a spawned unit gets them in, when
// they rest (held, dying), haste and hiding around a unit, a ghost hiding itself, regeneration, healing, and
// the summoner's portal.
#include "Core/Base/Containers.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/TDUnitModifiers.h"
#include "Source/TD/Units/UnitFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{
using tdtest::GameHarness;
using tdtest::UnitFixture;

constexpr float kStep = GameHarness::kStep;
// A cooldown between frames: the first apply lands in the 7th frame after the spawn.
constexpr float kShortCooldown = 0.11f;
constexpr int kFirstApply = 7;

class UnitAbilities : public UnitFixture
{
protected:
    // Units and map modifiers of the case before go.
    void clearMap()
    {
        mMap->mWaves->clearUnits();
        base::DeleteAll(mMap->mModifiers);
        mHarness.step();
    }
};

TEST_F(UnitAbilities, ASpawnedUnitGetsItsAbilitiesInTheOrderOfTheTable)
{
    TDUnitProto* goblin = proto(1);
    goblin->haste_buff = goblin->invisibleArea = goblin->invisible = true;
    goblin->regen = goblin->healer = goblin->summon = true;
    goblin->cooldown = 2.0f;
    const TDUnit* unit = spawn(1);
    const std::vector<const std::type_info*> order = {
        &typeid(HasteAreaModifier), &typeid(InvisibleAreaModifier), &typeid(InvisibleModifier),
        &typeid(RegenModifier),     &typeid(HealerModifier),        &typeid(ShamanModifier)};
    ASSERT_EQ(unit->mModifiers.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
    {
        const TDModifier& m = *unit->mModifiers[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(typeid(m), *order[i]);
        EXPECT_TRUE(m.mInnate);
        EXPECT_EQ(m.mOwner, nullptr);
        EXPECT_TRUE(m.mParameter.empty());
        EXPECT_EQ(m.mValue, 0.0f);
        EXPECT_EQ(m.mDuration, -1.0f) << "abilities last as long as the unit";
        if (i + 1 < order.size())
            EXPECT_EQ(m.mPeriod, 2.0f) << "the prototype's cooldown";
    }
    // The summoner waits between one and two cooldowns, each unit its own time.
    std::vector<float> periods;
    for (int n = 0; n < 4; ++n)
        periods.push_back(spawn(1)->mModifiers.back()->mPeriod);
    periods.push_back(unit->mModifiers.back()->mPeriod);
    for (float period : periods)
    {
        EXPECT_GE(period, 2.0f);
        EXPECT_LT(period, 4.0f);
    }
    EXPECT_NE(*std::min_element(periods.begin(), periods.end()),
              *std::max_element(periods.begin(), periods.end()));

    EXPECT_TRUE(spawn(4)->mModifiers.empty()) << "an orc has none";
}

TEST_F(UnitAbilities, AbilitiesRestWhileTheirUnitIsHeldAndForGoodOnceItDies)
{
    // Whether the ability acted since the test reset what it changes; the unit may be gone.
    using Acted =
        std::function<bool(const TDMap&, const TDUnit* self, const TDUnit& other, float selfHealth)>;
    const struct
    {
        const char* name;
        int id;
        bool whileHeld;
        Acted acted;
    } abilities[] = {
        {"haste around (drummer)", 9, true,
         [](const TDMap&, const TDUnit*, const TDUnit& other, float) { return other.mHasteTime > 0.0f; }},
        {"hiding those around (wraith)", 18, true,
         [](const TDMap&, const TDUnit*, const TDUnit& other, float) { return other.mInvisibleTime > 0.0f; }},
        {"hiding itself (ghost)", 7, true,
         [](const TDMap&, const TDUnit* self, const TDUnit&, float)
         { return self && self->mInvisibleTime > 0.0f; }},
        {"regeneration (troll)", 8, false,
         [](const TDMap&, const TDUnit* self, const TDUnit&, float before)
         { return self && self->mHealth > before; }},
        {"healing (cleric)", 6, false,
         [](const TDMap&, const TDUnit*, const TDUnit& other, float)
         { return other.mHealth > other.getMaxHealth() / 2; }},
        {"summoning (shaman)", 5, false,
         [](const TDMap& map, const TDUnit*, const TDUnit&, float)
         { return countOf<ShamanPortal>(map.mModifiers) > 0; }},
    };
    enum Condition
    {
        kFree,
        kHeld, // by a spell's hold over the spawn point
        kDying
    };
    for (const auto& a : abilities)
        for (Condition condition : {kFree, kHeld, kDying})
        {
            SCOPED_TRACE(std::string(a.name) + (condition == kFree   ? ", free"
                                                : condition == kHeld ? ", held"
                                                                     : ", dying"));
            clearMap();
            proto(a.id)->cooldown = kShortCooldown;
            TDUnit* self = spawn(a.id);
            TDUnit* other = spawn(1); // a goblin beside it
            const TDWatch<TDUnit> watch(self);
            if (condition == kHeld)
                mMap->mModifiers.push_back(
                    new MapImpassableArea(60.0f, roadPoint(0)->x, roadPoint(0)->y, 400.0f));
            if (condition == kDying)
                self->hit(self->mHealth + 1.0f);
            mHarness.step();
            ASSERT_EQ(self->mState, condition == kDying ? kUnitDying : kUnitWalking);
            // From here on every change is the abilities' own.
            other->mHasteTime = 0.0f;
            other->mInvisibleTime = 0.0f;
            other->mHealth = other->getMaxHealth() / 2;
            self->mInvisibleTime = 0.0f;
            if (condition != kDying)
                self->mHealth = self->getMaxHealth() / 2;
            const float selfHealth = self->mHealth;
            mHarness.step(45); // past two cooldowns: the summoner's longest wait
            const bool expected = condition == kFree || (condition == kHeld && a.whileHeld);
            EXPECT_EQ(a.acted(*mMap, watch.get(), *other, selfHealth), expected);
        }
}

TEST_F(UnitAbilities, HasteAndHidingReachEveryOtherUnitWithinTheirR)
{
    const struct
    {
        const char* name;
        int id;
        std::function<bool(const TDUnit&)> reached;
        std::function<void(const TDUnit&)> check;
    } cases[] = {
        {"haste: speed factor 2 for 5 s", 9, [](const TDUnit& u) { return u.mHasteTime > 0.0f; },
         [](const TDUnit& u)
         {
             EXPECT_NEAR(u.mHasteTime, 5.0f - kStep, 1e-4f);
             EXPECT_EQ(u.mSpeedFactorTarget, 2.0f);
         }},
        {"hiding: opacity 0.4 for 2 s", 18, [](const TDUnit& u) { return u.mInvisibleTime > 0.0f; },
         [](const TDUnit& u)
         {
             EXPECT_NEAR(u.mInvisibleTime, 2.0f - kStep, 1e-4f);
             EXPECT_EQ(u.mOpacityTarget, 0.4f);
             EXPECT_TRUE(u.isInvisible()) << "towers pass it by";
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        clearMap();
        ASSERT_FLOAT_EQ(proto(c.id)->r, 150.0f);
        proto(c.id)->cooldown = kShortCooldown;
        TDUnit* self = spawn(c.id, 1);
        TDUnit* near = spawn(1, 1);
        TDUnit* dying = spawn(1, 1);
        TDUnit* far = spawn(1, 2);
        dying->hit(1000.0f);
        mHarness.step(kFirstApply - 1);
        ASSERT_FALSE(c.reached(*near)) << "not before the first cooldown";
        mHarness.step();
        ASSERT_LT(distance(*self, *near), 10.0f);
        ASSERT_GT(distance(*self, *far), 300.0f);
        ASSERT_TRUE(c.reached(*near));
        c.check(*near);
        ASSERT_EQ(dying->mState, kUnitDying);
        EXPECT_TRUE(c.reached(*dying)) << "a dying unit is another unit too";
        EXPECT_FALSE(c.reached(*self)) << "not the unit itself";
        EXPECT_FALSE(c.reached(*far)) << "not beyond r";
        if (c.id != 9)
            continue;
        // A hasted goblin walks twice as fast once its speed factor has risen (by 1 a second).
        mHarness.step(kFramesPerSecond + 5);
        const float x = near->mX;
        const float y = near->mY;
        mHarness.step();
        EXPECT_NEAR(std::hypot(near->mX - x, near->mY - y), 2.0f * proto(1)->speed * kStep, 0.1f);
    }
}

TEST_F(UnitAbilities, AGhostHidesItselfOnItsFirstUpdateWhateverItsPeriod)
{
    const struct
    {
        float cooldown;
        std::vector<std::pair<int, bool>> hidden; // after frame n, hidden or not
    } cases[] = {
        {100.0f, {{1, true}, {115, true}, {125, false}, {600, false}}},
        {3.0f, {{1, true}, {115, true}, {125, false}, {175, false}, {185, true}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.cooldown);
        clearMap();
        proto(7)->cooldown = c.cooldown;
        const TDUnit* ghost = spawn(7);
        int frame = 0;
        for (const auto& [at, hidden] : c.hidden)
        {
            mHarness.step(at - frame);
            frame = at;
            EXPECT_EQ(ghost->isInvisible(), hidden) << "frame " << at;
            EXPECT_EQ(ghost->mOpacityTarget, hidden ? 0.4f : 1.0f) << "frame " << at;
        }
    }
}

TEST_F(UnitAbilities, RegenerationHealsATenthOfTheMaximumUpToItWhileTheUnitWalksFreely)
{
    const struct
    {
        const char* name;
        int mode;
        float below; // health below the maximum at the start
        bool held;
        float healed;
    } cases[] = {
        {"a tenth of 170", kModeNormal, 50.0f, false, 17.0f},
        {"a tenth of the easy maximum, 153", kModeEasy, 50.0f, false, 15.3f},
        {"never above the maximum", kModeNormal, 5.0f, false, 5.0f},
        {"nothing at the maximum", kModeNormal, 0.0f, false, 0.0f},
        {"nothing while held", kModeNormal, 50.0f, true, 0.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        clearMap();
        mMap->mMode = c.mode;
        proto(8)->cooldown = kShortCooldown;
        TDUnit* troll = spawn(8);
        if (c.held)
            mMap->mModifiers.push_back(new MapImpassableArea(60.0f, troll->mX, troll->mY, 400.0f));
        troll->mHealth = troll->getMaxHealth() - c.below;
        const float before = troll->mHealth;
        mHarness.step(kFirstApply);
        EXPECT_NEAR(troll->mHealth, before + c.healed, 1e-3f);
        EXPECT_LE(troll->mHealth, troll->getMaxHealth());
    }
}

TEST_F(UnitAbilities, AHealerHealsTheWoundedAroundItButNotItselfAndPlaysItsSpecialAnimation)
{
    proto(6)->cooldown = kShortCooldown;
    ASSERT_FLOAT_EQ(proto(6)->r, 150.0f);
    // Nobody wounded: nothing to do, no animation.
    TDUnit* cleric = spawn(6, 1);
    TDUnit* full = spawn(1, 1);
    mHarness.step(kFirstApply + 3);
    EXPECT_EQ(cleric->mState, kUnitWalking);
    EXPECT_TRUE(spritesOf(L"td/mob_heal").empty());
    clearMap();

    cleric = spawn(6, 1);
    TDUnit* wounded = spawn(1, 1);
    TDUnit* scratched = spawn(1, 1);
    full = spawn(1, 1);
    TDUnit* dying = spawn(1, 1);
    TDUnit* far = spawn(1, 2);
    const float max = wounded->getMaxHealth();
    wounded->mHealth = max / 2;
    scratched->mHealth = max - 1.0f;
    far->mHealth = max / 2;
    cleric->mHealth = cleric->getMaxHealth() / 2;
    const float clericHealth = cleric->mHealth;
    dying->hit(1000.0f);
    const float dyingHealth = dying->mHealth;
    mHarness.step(kFirstApply - 1);
    ASSERT_EQ(wounded->mHealth, max / 2) << "not before the first cooldown";
    mHarness.step();
    ASSERT_GT(distance(*cleric, *far), 300.0f);
    EXPECT_FLOAT_EQ(wounded->mHealth, max / 2 + max / 10);
    EXPECT_FLOAT_EQ(scratched->mHealth, max) << "never above the maximum";
    EXPECT_FLOAT_EQ(full->mHealth, max);
    EXPECT_EQ(dying->mHealth, dyingHealth) << "the dying are not healed";
    EXPECT_EQ(far->mHealth, max / 2) << "beyond r";
    EXPECT_EQ(cleric->mHealth, clericHealth) << "not itself";
    // One heal sprite riding on each healed unit.
    std::vector<const TDTargetPoint*> followed;
    for (const TDAnimatedSprite* sprite : spritesOf(L"td/mob_heal"))
        followed.push_back(sprite->mFollowed.get());
    EXPECT_EQ(followed, (std::vector<const TDTargetPoint*>{wounded, scratched}));
    EXPECT_EQ(cleric->mState, kUnitSpecial);
    EXPECT_LE(cleric->mAnimTime, kStep) << "the special animation starts at its first frame";
    const float clericX = cleric->mX;
    mHarness.step(kFramesPerSecond);
    EXPECT_EQ(cleric->mState, kUnitWalking) << "back on its way after the animation";
    EXPECT_NE(cleric->mX, clericX);
    const auto& tags = mHarness.sounds().tags;
    EXPECT_NE(std::find(tags.begin(), tags.end(), L"enemy6special"), tags.end());
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

TEST_F(UnitAbilities, ASummonersPortalCallsImpsWhereItStoodEvenAfterItFell)
{
    const TDUnitProto* record =
        proto(proto(5)->ammoid); // the summoning circle: 2.6 s open, an imp each 0.8 s
    ASSERT_NE(record, nullptr);
    ASSERT_FLOAT_EQ(record->cooldown, 2.6f);
    ASSERT_FLOAT_EQ(record->speed, 0.8f);
    proto(5)->cooldown = 100.0f; // no call while it walks onto the second link of its route
    TDUnit* shaman = spawn(5, 1);
    int frames = 0;
    while (shaman->mLinkIndex == 0 && frames++ < 20 * kFramesPerSecond)
        mHarness.step();
    ASSERT_EQ(shaman->mLinkIndex, 1);
    mHarness.step(kFramesPerSecond);
    const auto portals = [this] { return countOf<ShamanPortal>(mMap->mModifiers); };
    ASSERT_EQ(portals(), 0);
    TDModifier* summoning = shaman->mModifiers.back();
    summoning->mPeriod = 0.0f; // its cooldown is up
    mHarness.step();
    summoning->mPeriod = 100.0f;
    ASSERT_EQ(portals(), 1);
    const auto* portal = static_cast<const ShamanPortal*>(mMap->mModifiers.back());
    EXPECT_EQ(shaman->mState, kUnitSpecial);
    EXPECT_FLOAT_EQ(portal->mDuration, record->cooldown);
    EXPECT_FLOAT_EQ(portal->mPeriod, record->speed);
    const float atX = portal->mX;
    const float atY = portal->mY;
    EXPECT_EQ(effectsAt(*mMap, atX, atY), 1) << "the record's look opens there";
    const std::vector<int> route = shaman->mRoute;
    const int linkIndex = shaman->mLinkIndex;
    const float laneT = shaman->mLaneT;
    const float linkLength = shaman->mLinkLength;
    const float entryY = shaman->mEntry->mY;
    shaman->hit(1000.0f); // the portal stays open without its summoner

    std::vector<int> called; // frames after the portal opened
    std::vector<TDUnit*> imps;
    for (int frame = 1; frame <= 4 * kFramesPerSecond; ++frame)
    {
        mHarness.step();
        for (TDUnit* unit : mMap->mWaves->getUnits())
            if (unit->mEntry->mUnitId == 0 && std::find(imps.begin(), imps.end(), unit) == imps.end())
            {
                imps.push_back(unit);
                called.push_back(frame);
                EXPECT_EQ(unit->mRoute, route);
                EXPECT_EQ(unit->mLinkIndex, linkIndex);
                EXPECT_FLOAT_EQ(unit->mLinkLength, linkLength);
                EXPECT_NEAR(unit->mLaneT, laneT, 0.01f) << "on its summoner's lane, where it stood";
                EXPECT_LT(std::hypot(unit->mX - atX, unit->mY - atY), 3.0f)
                    << "one step from where its summoner stood";
                const TDWaveEntry& entry = *unit->mEntry;
                EXPECT_EQ(entry.mWave, mWave) << "it belongs to its summoner's wave";
                EXPECT_EQ(entry.mWave->mEntries.back(), &entry);
                EXPECT_EQ(entry.mUpgrade, 1);
                EXPECT_EQ(entry.mX, -1.0f);
                EXPECT_EQ(entry.mY, entryY);
                EXPECT_EQ(entry.mSpawned, 1);
            }
    }
    // Every 0.8 s while open for 2.6 s: three imps. The 0.8 s fall on a frame, so either side of it.
    ASSERT_EQ(called.size(), 3u);
    EXPECT_NEAR(called[0], 48, 1);
    EXPECT_EQ(called[1], 2 * called[0]);
    EXPECT_EQ(called[2], 3 * called[0]);
    EXPECT_EQ(portals(), 0) << "closed";
    EXPECT_EQ(effectsAt(*mMap, atX, atY), 0);
    EXPECT_GT(std::hypot(imps[0]->mX - atX, imps[0]->mY - atY), 50.0f) << "the imps walk on";
}
} // namespace
