// The modifier's clock on a unit played frame by frame (applies once per period, in the update that
// expires it too, ends on the first update past its duration), the hit damage over time on that clock, and
// the one-hit-modifier-per-tower rule with the tower's shots, the spells' areas and innate abilities.
#include "Source/TD/Units/TDHitModifiers.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/UnitFixture.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

namespace
{
using tdtest::UnitFixture;

// What a counting modifier saw: the frames it applied in and the frame its holder deleted it in.
struct Record
{
    int frame = 0; // the frame the test is running, from 1
    std::vector<int> applied;
    int deleted = 0;
};

class CountingModifier : public TDModifier
{
public:
    CountingModifier(Record& record, float period, float duration)
        : TDModifier(std::string(), 0.0f, duration, nullptr), mRecord(record)
    {
        mPeriod = period;
    }
    ~CountingModifier() override { mRecord.deleted = mRecord.frame; }
    void apply(TDUnit*, float) override { mRecord.applied.push_back(mRecord.frame); }

private:
    Record& mRecord;
};

using ModifierClock = UnitFixture;

TEST_F(ModifierClock, AModifierAppliesOncePerPeriodAndEndsOnTheFirstUpdatePastItsDuration)
{
    // Periods and durations lie between frames (1/60 s) so the frame each lands in is certain.
    const struct
    {
        const char* name;
        float period;
        float duration;
        std::vector<int> applied;
        int deleted; // 0: still held after 300 frames
    } cases[] = {
        {"period -1: every update, the last one past the duration included",
         -1.0f,
         0.11f,
         {1, 2, 3, 4, 5, 6, 7},
         7},
        {"the accumulator restarts at 0 on each apply", 0.41f, 1.01f, {25, 50}, 61},
        {"it applies in the update that expires it", 0.41f, 1.24f, {25, 50, 75}, 75},
        {"duration 0 ends after its first update", -1.0f, 0.0f, {1}, 1},
        {"duration -1 never ends", 1.99f, -1.0f, {120, 240}, 0},
    };
    std::list<Record> records; // the modifiers write to them until deleted
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        TDUnit* unit = spawn(4); // an orc: it walks for minutes
        Record& record = records.emplace_back();
        unit->mModifiers.push_back(new CountingModifier(record, c.period, c.duration));
        for (record.frame = 1; record.frame <= 300; ++record.frame)
            mHarness.step();
        EXPECT_EQ(record.applied, c.applied);
        EXPECT_EQ(record.deleted, c.deleted) << "the unit deletes it in the frame it ends";
        unit->hit(1000.0f); // out of the next case's way
    }
    mMap->mWaves->clearUnits(); // while the records are there to be told
}

TEST_F(ModifierClock, AHitsDamageOverTimeTakesHalfAPointTwiceAndEndsAfterTwoSeconds)
{
    TDUnit* unit = spawn(4);
    // The tower stands at the goal, out of reach of the unit: only the hit of the test touches it.
    TDTower* tower = buildNear(10000, roadPoint(4)->x, roadPoint(4)->y);
    TDUnitProto poison;
    poison.dot = true;
    unit->damage(TDShot{tower, &poison, 0.0f, unit->mX, unit->mY}, true);
    ASSERT_EQ(countOf<DotModifier>(unit->mModifiers), 1);
    const DotModifier* dot = static_cast<const DotModifier*>(unit->mModifiers.back());
    EXPECT_EQ(dot->mOwner, tower);
    EXPECT_EQ(dot->mParameter, "health");

    std::vector<int> drops;
    int ended = 0;
    float health = unit->mHealth;
    for (int frame = 1; frame <= 180 && ended == 0; ++frame)
    {
        const std::size_t puffs = spritesOf(L"td/mob_dot").size();
        mHarness.step();
        if (unit->mHealth != health)
        {
            EXPECT_FLOAT_EQ(unit->mHealth, health - 0.5f) << "frame " << frame;
            health = unit->mHealth;
            drops.push_back(frame);
            EXPECT_EQ(spritesOf(L"td/mob_dot").size(), puffs + 1) << "a poison puff shows";
        }
        if (countOf<DotModifier>(unit->mModifiers) == 0)
            ended = frame;
    }
    // 0.9 s and 2.0 s are whole frames: the float sum of the steps decides the frame either side.
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_NEAR(drops[0], 55, 1);
    EXPECT_EQ(drops[1], 2 * drops[0]) << "the accumulator restarted at 0";
    EXPECT_NEAR(ended, 121, 1);
}

using OneModifierPerTower = UnitFixture;

// One shot of a tower (0 or 1) with the shooter's flags.
struct Shot
{
    int tower;
    std::vector<const char*> flags;
};

TEST_F(OneModifierPerTower, AUnitCarriesOneHitModifierPerTower)
{
    TDTower* towers[] = {buildNear(10000, roadPoint(3)->x, roadPoint(3)->y),
                         buildNear(10000, roadPoint(4)->x, roadPoint(4)->y)};
    ASSERT_NE(towers[0], towers[1]);
    const struct
    {
        const char* name;
        std::vector<Shot> shots;
        std::vector<std::string> kept; // the unit's modifiers, in order
    } cases[] = {
        {"the same tower's stun while stunned keeps one stun", {{0, {"stun"}}, {0, {"stun"}}}, {"stun"}},
        {"a hold of the tower that stunned is refused", {{0, {"stun"}}, {0, {"hold"}}}, {"stun"}},
        {"another tower's stun is taken", {{0, {"stun"}}, {1, {"stun"}}}, {"stun", "stun"}},
        {"dot and stun in one shot: the stun of the same owner is refused", {{0, {"dot", "stun"}}}, {"dot"}},
        {"two poison towers, one dot each", {{0, {"dot"}}, {1, {"dot"}}, {0, {"dot"}}}, {"dot", "dot"}},
        {"the teleport comes first and keeps the tower's dot out",
         {{0, {"dot", "teleportEnemy"}}},
         {"teleport"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        TDUnit* unit = spawn(4);
        for (const Shot& shot : c.shots)
        {
            TDUnitProto shooter;
            for (const char* flag : shot.flags)
            {
                const std::string f(flag);
                shooter.dot |= f == "dot";
                shooter.stun |= f == "stun";
                shooter.hold |= f == "hold";
                shooter.teleportEnemy |= f == "teleportEnemy";
            }
            unit->damage(TDShot{towers[shot.tower], &shooter, 0.0f, unit->mX, unit->mY}, true);
        }
        std::vector<std::string> kept;
        for (const TDModifier* m : unit->mModifiers)
            kept.push_back(dynamic_cast<const StunModifier*>(m)      ? "stun"
                           : dynamic_cast<const HoldModifier*>(m)    ? "hold"
                           : dynamic_cast<const DotModifier*>(m)     ? "dot"
                           : dynamic_cast<const HoldAndTeleport*>(m) ? "teleport"
                                                                     : "other");
        EXPECT_EQ(kept, c.kept);
        unit->hit(1000.0f);
        mHarness.step();
    }
}

TEST_F(OneModifierPerTower, OwnerlessAreasGiveOneDotAtATimeAndInnateAbilitiesLeaveRoomForIt)
{
    TDUnit* orc = spawn(4);
    TDUnit* ghost = spawn(7); // hides itself: an innate modifier without owner
    ASSERT_EQ(ghost->mModifiers.size(), 1u);
    // Two poison clouds over the spawn point, lasting beyond the test.
    const TDPoint* at = roadPoint(0);
    for (int cloud = 0; cloud < 2; ++cloud)
        mMap->mModifiers.push_back(new DotModifierArea(at->x, at->y, 400.0f, 1.0f, 30.0f));
    mHarness.step(10);
    EXPECT_EQ(countOf<DotModifier>(orc->mModifiers), 1) << "the second cloud's dot is refused";
    EXPECT_EQ(countOf<DotModifier>(ghost->mModifiers), 1) << "its own ability does not keep the dot out";
    EXPECT_EQ(ghost->mModifiers.size(), 2u);
}
} // namespace
