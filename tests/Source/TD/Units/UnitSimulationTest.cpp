// Whole levels played headless to their end: units walk their lanes to the goal, escapes take lives, the
// level is won or lost and its result stored; groups whose units bring out more units (carriers, summoners,
// raisers) end only after those; spawn times; the early wave call.
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"
#include "Source/TD/Units/UnitLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
using tdtest::GameHarness;

constexpr int kFramesPerSecond = 60;

class UnitSimulationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
    }

    void play(int mode, int level, const std::string& waves)
    {
        tdtest::playLevel(mHarness, mode, level, waves);
        settle();
    }
    // A level start may show its unlock message first; the simulation plays past it.
    void settle()
    {
        if (mMap->mState == kStateUnlockMessage)
        {
            mMap->mState = kStatePlaying;
            mMap->mSpeed = 1.0f;
        }
    }
    // Frames until the level ends (or the limit); each frame the script may act first. The number of frames
    // run.
    int runToEnd(int seconds, const std::function<void(int)>& script = {})
    {
        int frame = 0;
        for (; frame < seconds * kFramesPerSecond && mMap->mState == kStatePlaying; ++frame)
        {
            if (script)
                script(frame);
            mHarness.step();
        }
        return frame;
    }
    int unitsOf(int id) const
    {
        const auto& units = mMap->mWaves->getUnits();
        return static_cast<int>(std::count_if(units.begin(), units.end(), [id](const TDUnit* u)
                                              { return u->mEntry && u->mEntry->mUnitId == id; }));
    }
    // Kills every unit that walks (a scripted defence).
    void killAll()
    {
        for (TDUnit* unit : mMap->mWaves->getUnits())
            if (unit->isAlive())
                unit->hit(unit->mHealth + 1.0f);
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
};

struct EndCase
{
    const char* name;
    int mode;
    std::string waves; // empty: demo level 1-1
    bool killOnSpawn;
    int endState;
    float lives;
    int storedStars;
};

TEST_F(UnitSimulationTest, LevelsPlayToTheirEndWithTheirLivesAndResultStored)
{
    // Goblins and a wolf take one life each, the orc two.
    const std::string weak = "<waves timeout=\"1\">"
                             "<wave timeout=\"0\" spawn=\"1\" wipeAward=\"10\"><e id=\"1\" x=\"0\" y=\"-65\"/>"
                             "<e id=\"1\" x=\"90\" y=\"-30\"/><e id=\"1\" x=\"180\" y=\"-100\"/></wave>"
                             "<wave timeout=\"2\" spawn=\"1\" wipeAward=\"5\"><e id=\"4\" x=\"0\"/>"
                             "<e id=\"2\" x=\"90\" y=\"-65\"/></wave></waves>";
    const EndCase cases[] = {
        {"strength 6 escapes: won with 19 lives", kModeNormal, weak, false, kStateWon, 19.0f, 2},
        {"every unit killed: won with every life", kModeNormal, weak, true, kStateWon, 25.0f, 3},
        {"the demo level's strength passes 25: lost", kModeNormal, "", false, kStateLost, 0.0f, 0},
        {"hardcore: the first escape loses", kModeHardcore, weak, false, kStateLost, 0.0f, 0},
    };
    int level = 0;
    for (const EndCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        mHarness.sounds().clear();
        if (c.waves.empty())
        {
            mHarness.loadLevel(c.mode, 0, 0);
            settle();
        }
        else
        {
            play(c.mode, level++, c.waves);
        }
        const int episode = mMap->mEpisode;
        const int index = mMap->mLevel;
        const int budget = mMap->mEconomy->mMoney;
        runToEnd(400, [&](int)
                 {
                     if (c.killOnSpawn)
                         killAll();
                 });
        EXPECT_EQ(mMap->mState, c.endState);
        EXPECT_FLOAT_EQ(mMap->mLives, c.lives);
        EXPECT_EQ(mMap->mSpeed, 0.0f);
        EXPECT_EQ(mHarness.sounds().music.back(), L"") << "the level music stops";
        const auto& tags = mHarness.sounds().tags;
        EXPECT_EQ(std::count(tags.begin(), tags.end(), c.endState == kStateWon ? L"winSound" : L"loseSound"), 1);
        const TDLevelResult stored = mMap->mProfile->getLevelResult(episode, index, c.mode);
        EXPECT_EQ(stored.stars, c.storedStars);
        EXPECT_EQ(mMap->mLastSettlement.stars, c.storedStars);
        if (c.endState == kStateWon && !c.killOnSpawn)
        {
            // Escaped units completed their waves: no wipe award, no kill reward.
            EXPECT_EQ(mMap->mEconomy->mMoney, budget);
            for (const TDWaveProto* wave : mMap->mWaves->getWaves())
                for (const TDWaveEntry* entry : wave->mEntries)
                    EXPECT_EQ(entry->mState, kEntryEscaped);
        }
        if (c.killOnSpawn)
        {
            // Three goblins (4 each), an orc (8) and a wolf (4) killed two seconds apart, and both waves
            // wiped out (10 and 5).
            EXPECT_EQ(mMap->mEconomy->mMoney, budget + 3 * 4 + 8 + 4 + 10 + 5);
            EXPECT_EQ(mMap->mLastSettlement.gems, 13) << "a first win with three stars";
        }
        EXPECT_TRUE(mHarness.sounds().unknownTags.empty()) << "every sound the units play has a file";
    }
}

// Whether a unit that belongs to the first wave still walks while the first group has been declared over.
struct GroupWatch
{
    bool broken = false;
    void check(const TDMap& map)
    {
        const TDWaveProto* first = map.mWaves->getWaves().at(0);
        for (const TDUnit* unit : map.mWaves->getUnits())
            if (unit->mAlive != 0 && unit->mEntry && unit->mEntry->mWave == first && map.mWaves->mNextWave > 0)
                broken = true;
    }
};

TEST_F(UnitSimulationTest, GroupsEndOnlyAfterTheUnitsTheirUnitsBringOut)
{
    struct Case
    {
        const char* name;
        std::string waves;
        int broughtId;
        std::function<void(TDMap&, int)> script;
    };
    const Case cases[] = {
        {"a carrier killed on its way lets out three larvae",
         "<waves><wave timeout=\"0\" spawn=\"1\"><e id=\"12\" x=\"0\"/></wave>"
         "<wave timeout=\"0\" spawn=\"1\"><e id=\"1\" x=\"0\"/></wave></waves>",
         11,
         [](TDMap& map, int frame)
         {
             if (frame == 4 * kFramesPerSecond)
                 for (TDUnit* unit : map.mWaves->getUnits())
                     unit->hit(10000.0f);
         }},
        {"a shaman summons imps",
         "<waves><wave timeout=\"0\" spawn=\"1\"><e id=\"5\" x=\"0\"/></wave>"
         "<wave timeout=\"0\" spawn=\"1\"><e id=\"1\" x=\"0\"/></wave></waves>",
         0, {}},
        {"a necromancer raises the goblin killed beside it",
         "<waves><wave timeout=\"0\" spawn=\"1\"><e id=\"17\" x=\"0\" y=\"-65\"/>"
         "<e id=\"1\" x=\"20\" y=\"-65\"/></wave>"
         "<wave timeout=\"0\" spawn=\"1\"><e id=\"1\" x=\"0\"/></wave></waves>",
         39,
         [](TDMap& map, int frame)
         {
             if (frame == 3 * kFramesPerSecond)
                 for (TDUnit* unit : map.mWaves->getUnits())
                     if (unit->mEntry->mUnitId == 1)
                         unit->hit(10000.0f);
         }},
    };
    int level = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        play(kModeNormal, level++, c.waves);
        mMap->mLives = 1000.0f; // the level plays to its last wave
        mMap->mMaxLives = 1000.0f;
        GroupWatch watch;
        int brought = 0;
        runToEnd(300, [&](int frame)
                 {
                     if (c.script)
                         c.script(*mMap, frame);
                     brought = std::max(brought, unitsOf(c.broughtId));
                     watch.check(*mMap);
                 });
        EXPECT_EQ(mMap->mState, kStateWon);
        EXPECT_GT(brought, 0) << "units were brought out";
        EXPECT_FALSE(watch.broken) << "the next group started while the first one's units walked";
        const TDWaveProto* first = mMap->mWaves->getWaves().at(0);
        const auto added = std::count_if(first->mEntries.begin(), first->mEntries.end(),
                                         [&](const TDWaveEntry* e) { return e->mX == -1.0f; });
        EXPECT_GE(added, brought) << "their entries joined the first wave";
        if (c.broughtId == 11)
        {
            EXPECT_EQ(added, 3);
        }
    }
}

TEST_F(UnitSimulationTest, EntriesSpawnAtTimeoutPlusScaledTime)
{
    struct Case
    {
        const char* baseDelay;
        const char* wave; // the wave's attributes
        const char* x;
        float seconds;
    };
    const Case cases[] = {
        {"0", "timeout=\"5\" scale=\"2\"", "90", 9.0f},
        {"0", "timeout=\"5\"", "90", 7.0f},
        {"0", "timeout=\"5\" scale=\"0\"", "90", 7.0f},
        {"2.9", "timeout=\"1\"", "0", 3.0f},
        {"0", "timeout=\"0\"", "45", 1.0f},
    };
    int level = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.wave) + " x " + c.x);
        play(kModeNormal, level++,
             std::string("<waves timeout=\"") + c.baseDelay + "\"><wave spawn=\"1\" " + c.wave + "><e id=\"1\" x=\"" +
                 c.x + "\"/></wave></waves>");
        int frames = 0;
        while (mMap->mWaves->getUnits().empty() && frames < 20 * kFramesPerSecond)
        {
            mHarness.step();
            ++frames;
        }
        // The group starts in the first frame and its clock runs from the second.
        EXPECT_NEAR(static_cast<float>(frames - 1) / kFramesPerSecond, c.seconds, 1.5f / kFramesPerSecond);
    }
}

TEST_F(UnitSimulationTest, TheEarlyCallPaysTwoForEverySecondSkippedAndStartsTheWave)
{
    play(kModeNormal, 0, "<waves><wave timeout=\"20\" spawn=\"1\"><e id=\"1\" x=\"0\"/></wave></waves>");
    mHarness.step();
    ASSERT_FALSE(mMap->mWaveCallMarkers->getMarkers().empty()) << "the marker stands at the spawn point";
    EXPECT_FLOAT_EQ(mMap->mWaveCallMarkers->mDueTime, 20.0f);
    // 7.3 s in, 12.7 s are skipped.
    while (mMap->mWaves->mClock < 7.3f)
        mHarness.step();
    const int money = mMap->mEconomy->mMoney;
    const float skipped = 20.0f - mMap->mWaves->mClock;
    const int bonus = mMap->callWaveEarly(300, 400);
    EXPECT_EQ(bonus, static_cast<int>(skipped * 2.0f));
    EXPECT_EQ(mMap->mEconomy->mMoney, money + bonus);
    ASSERT_FALSE(mMap->mPopups->getNotices().empty());
    EXPECT_EQ(mMap->mPopups->getNotices().back()->mText, L"+ " + std::to_wstring(bonus));
    EXPECT_TRUE(mMap->mWaveCallMarkers->getMarkers().empty());
    EXPECT_FLOAT_EQ(mMap->mWaves->mClock, 20.0f);
    mHarness.step();
    EXPECT_EQ(mMap->mWaves->getUnits().size(), 1u) << "the wave spawns at once";
}

TEST_F(UnitSimulationTest, TheNextGroupHasOneCallMarkerPerSpawnPoint)
{
    // Two waves leave from point 1, the third from point 3.
    play(kModeNormal, 0,
         "<waves><wave timeout=\"20\" spawn=\"1\"><e id=\"1\" x=\"0\"/></wave>"
         "<wave timeout=\"20\" spawn=\"1\" linked=\"0\"><e id=\"1\" x=\"0\"/></wave>"
         "<wave timeout=\"20\" spawn=\"3\" linked=\"0\"><e id=\"1\" x=\"0\"/></wave></waves>");
    mHarness.step(2);
    const auto& markers = mMap->mWaveCallMarkers->getMarkers();
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_NE(markers[0]->mRect.x, markers[1]->mRect.x);
}

TEST_F(UnitSimulationTest, UnitsWalkTheirLanesFromTheSpawnPointToTheGoal)
{
    play(kModeNormal, 0,
         "<waves><wave timeout=\"0\" spawn=\"1\"><e id=\"1\" x=\"0\" y=\"-65\"/><e id=\"1\" x=\"0\" y=\"0\"/>"
         "</wave></waves>");
    mMap->mLives = 100.0f;
    mHarness.step(3);
    ASSERT_EQ(mMap->mWaves->getUnits().size(), 2u);
    const TDUnit* middle = mMap->mWaves->getUnits()[0];
    const TDUnit* side = mMap->mWaves->getUnits()[1];
    const TDPoint* spawn = mMap->getFirstSpawnPoint();
    const TDPoint* goal = mMap->getGoalPoint();
    EXPECT_EQ(middle->mRoute.front(), spawn->id);
    EXPECT_EQ(middle->mRoute.back(), goal->id);
    mHarness.step(kFramesPerSecond);
    // A goblin walks 42 units a second; the side lane lies 20 units off the middle one.
    const float walked = std::hypot(middle->mX - spawn->x, middle->mY - spawn->y);
    EXPECT_NEAR(walked, 42.0f, 6.0f);
    const float apart = std::hypot(middle->mX - side->mX, middle->mY - side->mY);
    EXPECT_NEAR(apart, 20.0f, 3.0f);
    EXPECT_EQ(middle->mTargetX, middle->mX);
    runToEnd(200);
    EXPECT_EQ(mMap->mState, kStateWon);
    EXPECT_FLOAT_EQ(mMap->mLives, 98.0f);
}
} // namespace
