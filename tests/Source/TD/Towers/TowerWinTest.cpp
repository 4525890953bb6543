// Whole levels played by script through the harness: one instant tower wins level 1-1 with three stars and
// money that adds up; a session that builds every tower and branch in turn, buys a tier update and casts every
// spell wins it too; and the same scripted session played twice gives the same frames, bit for bit.
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Map/TDLevelSettlement.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Towers/TDBullets.h"
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
    tdtest::skipTutorial(*map);
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

// Plays level 1-1 building every tower variant in turn on the level's spots (with the means for it; a spot
// moves on once its tower has acted, and a tower that saw nothing comes again later), buying a tier update and casting every spell; hashes every frame's
// world and notes what was seen.
struct Session
{
    std::uint64_t hash = 1469598103934665603ull;
    std::set<int> acted; // prototype ids that aimed or fired, paid or boosted
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
        tdtest::skipTutorial(*map);
        // Every fighting tower hits hard enough to hold the level whatever stands.
        for (TDUnitProto* p : map->mProtoTable->getProtos())
            if (p->id >= 10000 && p->id < 50000)
            {
                for (TDUnitProto* q : p->branches)
                {
                    q->r *= 1.5f;
                    if (q->strength > 0.0f)
                        q->strength *= 4.0f;
                }
                p->r *= 1.5f;
                if (p->strength > 0.0f)
                    p->strength *= 4.0f;
            }
        // The beacon reaches the neighbouring spot.
        if (TDUnitProto* beacon = map->mProtoTable->find(10200))
            beacon->r *= 2.0f;
        std::vector<TDFrameEntry*> all;
        writeLevelSpots(*map, all);
        ASSERT_GE(all.size(), 3u);
        // The turns go on the spot nearest the spawn, which sees every unit first; two plain towers stand by.
        const TDPoint* spawn = map->getFirstSpawnPoint();
        ASSERT_NE(spawn, nullptr);
        auto distance = [spawn](const TDFrameEntry* f)
        {
            const float dx = f->mRect.x + f->mRect.width * 0.5f - spawn->x;
            const float dy = f->mRect.y + f->mRect.height * 0.5f - spawn->y;
            return dx * dx + dy * dy;
        };
        std::sort(all.begin(), all.end(),
                  [&](const TDFrameEntry* a, const TDFrameEntry* b) { return distance(a) < distance(b); });
        std::vector<TDFrameEntry*> spots = {all[0]};
        map->mEconomy->mMoney += 1000;
        ASSERT_NE(map->buildTower(map->mProtoTable->find(10000), all[1]), nullptr);
        ASSERT_NE(map->buildTower(map->mProtoTable->find(20000), all[2]), nullptr);
        map->mEconomy->mMoney -= 1000;
        std::vector<Variant> variants = everyVariant();
        std::vector<Variant> placed(spots.size(), Variant{0, 0});
        std::vector<TDTower*> standing(spots.size(), nullptr);
        std::vector<int> builtAt(spots.size(), 0);
        bool started = false;
        std::vector<bool> requeued(spots.size(), false);
        std::size_t next = 0;
        harness.sounds().clear();
        while (map->mState == kStatePlaying && frames < kMaxFrames)
        {
            // A spot takes the next variant once its tower has fired, paid or boosted (or after 40 s).
            // The turns start with the first unit on the map.
            started |= !map->mWaves->getUnits().empty();
            for (std::size_t s = 0; started && s < spots.size(); ++s)
            {
                const int age = frames - builtAt[s];
                const bool seen = standing[s] && acted.count(standing[s]->getProto()->id);
                if (standing[s] && !(seen && age >= 60) && age < 2400)
                    continue;
                // A tower that saw nothing on its spot gets another turn elsewhere later.
                if (standing[s] && !seen && !requeued[s] && variants.size() < 30)
                {
                    variants.push_back(placed[s]);
                    requeued[s] = true;
                }
                if (next >= variants.size())
                    continue;
                if (standing[s])
                    map->sellTower(standing[s]);
                requeued[s] = false;
                placed[s] = variants[next];
                map->mEconomy->mMoney += 5000;
                TDTower* tower = map->buildTower(map->mProtoTable->find(variants[next].base), spots[s]);
                ASSERT_NE(tower, nullptr);
                if (variants[next].levelId == 0 && tower->tierUpdatesLeft() > 0)
                {
                    tierBought |= tower->tierUpdate();
                }
                else if (variants[next].levelId > 0)
                {
                    ASSERT_TRUE(tower->upgrade(variants[next].levelId, 0.0f));
                }
                map->mEconomy->mMoney -= 5000;
                built.insert(tower->getProto()->id);
                standing[s] = tower;
                builtAt[s] = frames;
                ++next;
            }
            // A spell every 6 s on the road's middle.
            if (frames % 360 == 180 && spells < 5)
                spells += map->castSpell(spells, 520.0f, 410.0f) ? 1 : 0;
            harness.step();
            ++frames;
            for (const TDTower* tower : map->mTowers)
                if (tower->mState == kTowerFiring || tower->mBeam.get() || tower->mTarget.get())
                    acted.insert(tower->getProto()->id);
            for (const TDTower* tower : map->mTowers)
                if (tower->mBoosted)
                    for (const TDTower* other : map->mTowers)
                        if (other->getProto()->boostTower)
                            acted.insert(other->getProto()->id);
            frameHash(*map);
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
        EXPECT_TRUE(session.acted.count(id)) << "tower " << id << " never aimed, paid or boosted; " << session.frames << " frames";
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
