// Whole levels played by script through the harness: one instant tower wins level 1-1 with three stars and
// money that adds up; a session that builds every tower and branch in turn, buys a tier update and casts every
// spell wins it too; and the same scripted session played twice gives the same frames, bit for bit.
#include "Source/TD/HUDPopupTexts.h"
#include "Source/TD/TDBullets.h"
#include "Source/TD/TDLevelSettlement.h"
#include "TowerFixture.h"

#include <bit>
#include <cstdint>
#include <set>

namespace
{
using tdtest::GameHarness;

constexpr int kMaxFrames = 60 * 60 * 8;

void writeLevelSpots(TDMap& map, std::vector<TDFrameEntry*>& spots)
{
    map.mEconomy->mMoney += 1000;
    for (TDFrameEntry* frame : map.mLevelArt->mSpotFrames)
        if (frame->mLink && (frame->mLink->mOwned || map.buySpot(frame)))
            spots.push_back(frame);
    map.mEconomy->mMoney -= 1000;
}

TEST(TowerWin, OneInstantTowerWinsWithThreeStarsAndTheMoneyAddsUp)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    // An instant tower that reaches the whole map.
    TDUnitProto* p = map->mProtoTable->find(10000);
    p->speed = -1.0f;
    p->strength = 100000.0f;
    p->r = 4000.0f;
    p->cooldown = 0.1f;
    TDFrameEntry* spot = nullptr;
    for (TDFrameEntry* frame : map->mLevelArt->mSpotFrames)
        if (frame->mLink && frame->mLink->mOwned && !spot)
            spot = frame;
    ASSERT_NE(spot, nullptr);
    const int budget = map->mEconomy->mMoney;
    ASSERT_EQ(budget, map->mEconomy->mBudget);
    TDTower* tower = map->buildTower(p, spot);
    ASSERT_NE(tower, nullptr);
    const int cost = budget - map->mEconomy->mMoney;
    EXPECT_EQ(cost, static_cast<int>(p->cost));

    int frames = 0;
    while (map->mState == kStatePlaying && frames < kMaxFrames)
    {
        harness.step();
        ++frames;
    }
    ASSERT_EQ(map->mState, kStateWon) << "after " << frames << " frames";
    EXPECT_EQ(map->mLives, map->mMaxLives);
    EXPECT_EQ(map->mLastSettlement.stars, 3);
    int wipe = 0;
    for (const TDWaveProto* wave : map->mWaves->getWaves())
        wipe += wave->mWipeAward;
    const TDEconomy& e = *map->mEconomy;
    EXPECT_GT(e.mKillScore, 0);
    EXPECT_EQ(e.mMoney, budget - cost + e.mKillScore + e.mComboBonus + wipe)
        << "kills " << e.mKillScore << " combos " << e.mComboBonus << " wipe " << wipe;
}

// The families and their variants by "levelid": base, two levels, two branches.
struct Variant
{
    int base;
    int levelId;
};

std::vector<Variant> everyVariant()
{
    std::vector<Variant> list;
    for (int base : {10000, 20000, 30000, 40000})
        for (int level = 0; level <= 4; ++level)
            list.push_back({base, level});
    return list;
}

// Plays level 1-1 building every tower variant in turn on the level's spots (with the means for it), buying a
// tier update and casting every spell; returns the hash of every frame's world and fills what was seen.
struct Session
{
    std::uint64_t hash = 1469598103934665603ull;
    std::set<int> acted; // prototype ids that fired, paid or boosted
    std::set<int> built;
    int frames = 0;
    int spells = 0;
    bool tierBought = false;
    int state = -1;

    void mix(std::uint64_t v)
    {
        hash ^= v;
        hash *= 1099511628211ull;
    }
    void mixFloat(float f) { mix(std::bit_cast<std::uint32_t>(f)); }

    void frameHash(const TDMap& map)
    {
        mix(static_cast<std::uint64_t>(map.mEconomy->mMoney));
        mixFloat(map.mLives);
        for (const TDUnit* u : map.mWaves->getUnits())
        {
            mixFloat(u->mX);
            mixFloat(u->mY);
            mixFloat(u->mHealth);
            mix(static_cast<std::uint64_t>(u->mState));
        }
        for (const TDTower* t : map.mTowers)
        {
            mix(static_cast<std::uint64_t>(t->mState));
            mixFloat(t->mCurrentDirection);
            mixFloat(t->mCooldown);
        }
        for (const TDBullet* b : map.mBullets->getBullets())
        {
            mixFloat(b->mX);
            mixFloat(b->mY);
        }
    }

    void play(GameHarness& harness)
    {
        TDMap* map = harness.map();
        // Every fighting tower hits hard enough to hold the level whatever stands.
        for (TDUnitProto* p : map->mProtoTable->getProtos())
            if (p->id >= 10000 && p->id < 50000)
            {
                for (TDUnitProto* q : p->branches)
                    if (q->strength > 0.0f)
                        q->strength *= 30.0f;
                if (p->strength > 0.0f)
                    p->strength *= 30.0f;
            }
        std::vector<TDFrameEntry*> spots;
        writeLevelSpots(*map, spots);
        ASSERT_GE(spots.size(), 6u);
        const std::vector<Variant> variants = everyVariant();
        std::vector<TDTower*> standing(spots.size(), nullptr);
        std::size_t next = 0;
        harness.sounds().clear();
        while (map->mState == kStatePlaying && frames < kMaxFrames)
        {
            const float t = static_cast<float>(frames) / 60.0f;
            // Every 9 s the next spot takes the next variant (9 s lets an income tower pay once).
            if (frames % 540 == 0 && next < variants.size())
                for (std::size_t s = 0; s < spots.size() && next < variants.size(); ++s, ++next)
                {
                    if (standing[s])
                        map->sellTower(standing[s]);
                    map->mEconomy->mMoney += 5000;
                    TDTower* tower = map->buildTower(map->mProtoTable->find(variants[next].base), spots[s]);
                    ASSERT_NE(tower, nullptr);
                    if (variants[next].levelId == 0 && tower->tierUpdatesLeft() > 0)
                        tierBought |= tower->tierUpdate();
                    else if (variants[next].levelId > 0)
                        ASSERT_TRUE(tower->upgrade(variants[next].levelId, 0.0f));
                    map->mEconomy->mMoney -= 5000;
                    built.insert(tower->getProto()->id);
                    standing[s] = tower;
                }
            // A spell every 6 s on the road's middle.
            if (frames % 360 == 180 && spells < 5)
                spells += map->castSpell(spells, 520.0f, 410.0f) ? 1 : 0;
            harness.step();
            ++frames;
            for (const TDTower* tower : map->mTowers)
                if (tower->mState == kTowerFiring || tower->mBeam.get())
                    acted.insert(tower->getProto()->id);
            for (const TDTower* tower : map->mTowers)
                if (tower->mBoosted)
                    for (const TDTower* other : map->mTowers)
                        if (other->getProto()->boostTower)
                            acted.insert(other->getProto()->id);
            frameHash(*map);
            (void)t;
        }
        state = map->mState;
    }
};

TEST(TowerWin, EveryTowerBranchAndSpellTakesPartInAWin)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    Session session;
    session.play(harness);
    EXPECT_EQ(session.state, kStateWon) << "after " << session.frames << " frames";
    EXPECT_EQ(session.spells, 5);
    EXPECT_TRUE(session.tierBought);
    EXPECT_EQ(session.built.size(), 20u);
    for (int id : session.built)
        EXPECT_TRUE(session.acted.count(id)) << "tower " << id << " never fired, paid or boosted";
}

TEST(TowerWin, AScriptedLevelPlaysTheSameTwice)
{
    std::uint64_t hashes[2] = {0, 0};
    int frames[2] = {0, 0};
    for (int run = 0; run < 2; ++run)
    {
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        Session session;
        session.play(harness);
        hashes[run] = session.hash;
        frames[run] = session.frames;
    }
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(hashes[0], hashes[1]);
}

} // namespace
