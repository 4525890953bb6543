// The level core on the demo data: level start (lives, money, music, sheets), the speed buttons, the small
// services towers and units call, the end of a level as far as the level core goes, the route operations, a
// damaged route cache; and a map built with no game at all (no board, no renderer, no marker effects).
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Play/HUDSpellButton.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/TDTestUtil.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace
{
namespace fs = std::filesystem;
using tdtest::GameHarness;
using tdtest::LogCapture;

class MapCoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
        mHarness.step();
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
};

TEST_F(MapCoreTest, ALevelStartsWithItsLivesMoneyMusicAndCounters)
{
    EXPECT_EQ(mMap->mLevelFile, L"td/levels_normal/level_01_01.xml");
    EXPECT_EQ(mMap->mState, kStatePlaying);
    EXPECT_FLOAT_EQ(mMap->mSpeed, 1.0f);
    EXPECT_FLOAT_EQ(mMap->mLives, 25.0f);
    EXPECT_FLOAT_EQ(mMap->mMaxLives, 25.0f);
    EXPECT_EQ(mMap->mEconomy->mMoney, 200);
    EXPECT_EQ(mMap->mBudget, 200);
    EXPECT_EQ(mMap->mHud->getText(L"text/mana"), L"25/25");
    EXPECT_EQ(mMap->mHud->getText(L"text/coins"), L"200");
    EXPECT_EQ(mMap->mHud->getText(L"text/waves"), L"Wave 1/" + std::to_wstring(mMap->mWaves->getWaveCount()));
    ASSERT_FALSE(mHarness.sounds().music.empty());
    EXPECT_EQ(mHarness.sounds().music.back(), L"td/data/music/ingame1.ogg");
    EXPECT_EQ(SoundSystem::Instance()->GetCurrentTrack(), "td/data/music/ingame1.ogg");
    // Level 1-1 unlocks the first spell only: one button, in the first spell place.
    ASSERT_EQ(mMap->mHud->getSpellButtons().size(), 1u);
    EXPECT_EQ(mMap->mHud->getSpellButtons()[0]->getSpellId(), 0);

    // Hardcore: its own folder and a single life whatever was bought.
    mMap->mMaxLivesBonus = 40;
    mHarness.loadLevel(kModeHardcore, 0, 0);
    EXPECT_EQ(mMap->mLevelFile, L"td/levels_hardcore/level_01_01.xml");
    EXPECT_FLOAT_EQ(mMap->mLives, 1.0f);
    EXPECT_EQ(mMap->mHud->getText(L"text/mana"), L"1/1");

    // A restart reads the prototype sheets again and starts from the level's budget.
    mMap->mProtoTable->clear();
    mMap->mEconomy->addMoney(500);
    mMap->startLevel();
    EXPECT_NE(mMap->mProtoTable->find(10000), nullptr);
    EXPECT_EQ(mMap->mEconomy->mMoney, mMap->mBudget);
}

TEST_F(MapCoreTest, SpeedButtonsShowTheActiveSpeedAndCarryTheGlow)
{
    struct Case
    {
        float speed;
        const wchar_t* active;
        const wchar_t* hidden;
    };
    const Case cases[] = {{0.0f, L"pause_btn_ac", L"pause_btn"},
                          {1.0f, L"play_btn_ac", L"play_btn"},
                          {2.0f, L"speed_btn_ac", L"speed_btn"}};
    HUD& hud = *mMap->mHud;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.speed);
        mMap->mSpeed = c.speed;
        mMap->updateSpeedButtons();
        for (const wchar_t* name : {L"pause_btn", L"play_btn", L"speed_btn"})
        {
            const std::wstring plain = name;
            ASSERT_NE(hud.findButton(plain), nullptr);
            EXPECT_EQ(hud.findButton(plain)->mVisible, plain != c.hidden) << base::ToNarrow(plain, 1);
            EXPECT_EQ(hud.findButton(plain + L"_ac")->mVisible, plain + L"_ac" == c.active);
        }
        EXPECT_FALSE(hud.findButton(L"options_btn_ac")->mVisible);
        const math::Rect& r = hud.findButton(c.active)->mRect;
        ASSERT_NE(mMap->mActiveButtonMarker, nullptr);
        EXPECT_FLOAT_EQ(mMap->mActiveButtonMarker->GetPosition().x, r.x + r.width * 0.5f);
        EXPECT_FLOAT_EQ(mMap->mActiveButtonMarker->GetPosition().y, r.y + r.height * 0.5f);
    }
}

TEST_F(MapCoreTest, DifficultyFactorFollowsTheMode)
{
    const float factors[] = {-0.1f, 0.0f, 0.1f, 0.0f};
    for (int mode = 0; mode < 4; ++mode)
    {
        mMap->mMode = mode;
        EXPECT_FLOAT_EQ(mMap->getDifficultyFactor(), factors[mode]) << mode;
    }
}

TEST_F(MapCoreTest, LosingTheFocusPausesOnlyAPlayedLevel)
{
    mMap->mState = kStateMainMenu;
    mMap->onDeactivate();
    EXPECT_EQ(mMap->mState, kStateMainMenu);
    EXPECT_FLOAT_EQ(mMap->mSpeed, 1.0f);
    mMap->mState = kStatePlaying;
    mHarness.game()->OnDeactivate();
    EXPECT_EQ(mMap->mState, kStateIngameMenu);
    EXPECT_FLOAT_EQ(mMap->mSpeed, 0.0f);
    EXPECT_TRUE(mMap->mHud->findButton(L"pause_btn_ac")->mVisible);
}

TEST_F(MapCoreTest, EndingALevelSetsTheStateTheResultActionAndTheSound)
{
    mMap->levelWon();
    EXPECT_EQ(mMap->mState, kStateWon);
    EXPECT_EQ(mMap->mResultAction, 2);
    EXPECT_EQ(mHarness.sounds().tags.back(), L"winSound");
    mHarness.step(3);
    mMap->startLevel();
    mMap->levelLost();
    EXPECT_EQ(mMap->mState, kStateLost);
    EXPECT_EQ(mMap->mResultAction, 1);
    EXPECT_FLOAT_EQ(mMap->mSpeed, 0.0f);
    EXPECT_EQ(mHarness.sounds().tags.back(), L"loseSound");
    EXPECT_EQ(mHarness.sounds().music.back(), L"") << "the music stops";
    EXPECT_TRUE(mHarness.sounds().unknownTags.empty());
}

TEST_F(MapCoreTest, UnitsNearATowerBlockOrWeakenIt)
{
    TDUnitProto blocker;
    blocker.blocktower = true;
    blocker.r = 100.0f;
    blocker.speed = 30.0f;
    TDUnitProto weakener;
    weakener.debufftower = true;
    weakener.r = 100.0f;
    weakener.speed = 30.0f;
    TDTower tower(nullptr, nullptr, 500.0f, 500.0f);
    auto* near = new TDUnit(nullptr, &blocker, 540.0f, 500.0f);
    mMap->mWaves->addUnit(near);
    EXPECT_TRUE(mMap->isTowerBlocked(&tower)) << "within r x 0.5";
    EXPECT_FALSE(mMap->isTowerDebuffed(&tower));
    near->mX = 560.0f;
    EXPECT_FALSE(mMap->isTowerBlocked(&tower));
    near->mX = 540.0f;
    near->mSpeedReduction = blocker.speed;
    EXPECT_FALSE(mMap->isTowerBlocked(&tower)) << "a unit held in place blocks nothing";
    mMap->mWaves->addUnit(new TDUnit(nullptr, &weakener, 590.0f, 500.0f));
    EXPECT_TRUE(mMap->isTowerDebuffed(&tower)) << "within the full r";
    tower.mExempt = true;
    EXPECT_FALSE(mMap->isTowerDebuffed(&tower));
    mMap->mWaves->clearUnits();
}

// Remembers what it was told of its entries.
class ToldWave : public TDWaveProto
{
public:
    void onEntryDone(int protoId, float value, TDWaveEntry* entry) override
    {
        told = protoId;
        reported = value;
        last = entry;
    }
    int told = 0;
    float reported = 0.0f;
    TDWaveEntry* last = nullptr;
};

TEST_F(MapCoreTest, AUnitLeavingTheGameIsNoLongerAimedAtOrSelectedAndItsWaveIsTold)
{
    ToldWave wave;
    auto* entry = new TDWaveEntry(&wave);
    entry->mUnitId = 7;
    wave.mEntries.push_back(entry);
    TDUnitProto tier;
    tier.id = 107;
    TDUnit unit(entry, &tier, 100.0f, 100.0f);
    unit.mReportedValue = 2.5f;
    auto* tower = new TDTower(nullptr, nullptr, 0.0f, 0.0f);
    tower->mTarget = TDWatch<TDUnit>(&unit);
    mMap->mTowers.push_back(tower);
    mMap->setSelectedUnit(&unit);
    mMap->onUnitRemoved(&unit);
    EXPECT_EQ(mMap->getSelectedUnit(), nullptr);
    EXPECT_EQ(tower->mTarget.get(), nullptr);
    EXPECT_EQ(wave.told, 107);
    EXPECT_FLOAT_EQ(wave.reported, 2.5f);
    EXPECT_EQ(wave.last, entry);
}

TEST_F(MapCoreTest, RouteOperationsAnswerForTheLevel)
{
    const TDPoint* spawn = mMap->getFirstSpawnPoint();
    const TDPoint* goal = mMap->getGoalPoint();
    ASSERT_TRUE(spawn && goal);
    EXPECT_EQ(spawn->id, 1);
    EXPECT_EQ(goal->id, 5);
    EXPECT_EQ(mMap->findRoute(spawn, goal), (std::vector<int>{1, 2, 3, 4, 5}));
    const TDPoint* second = mMap->findPoint(2);
    const TDLink* link = mMap->findLink(spawn, second);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(mMap->getNeighbours(2).size(), 2u);
    EXPECT_NEAR(mMap->linkDistance(spawn, second), std::hypot(290.0f, 30.0f), 1e-3f);
    // Measured to nine tenths of the curve: a little short of the chord on this gentle bend.
    EXPECT_LT(mMap->getLinkLength(link), mMap->linkDistance(spawn, second));
    EXPECT_GT(mMap->getLinkLength(link), 0.85f * mMap->linkDistance(spawn, second));
    const float t = mMap->advanceOnLink(link, 0.0f, 25.0f, 0.0f);
    EXPECT_GT(t, 0.0f);
    EXPECT_LT(t, 0.2f);
    const math::Point2 normal = mMap->getLinkNormal(link, 0.5f);
    EXPECT_NEAR(std::hypot(normal.x, normal.y), 1.0f, 1e-4f);
    EXPECT_EQ(mMap->getPathCacheName(), L"td/levels_normal/level_01_01.cache");
    EXPECT_EQ(mMap->loadPathCache(), VN_FAIL) << "the demo ships no route cache";
}

TEST_F(MapCoreTest, ADamagedRouteCacheIsRefusedWithALogLineAndTheLanesAreComputed)
{
    const fs::path cache = tdtest::demoDataRoot() / "td/levels_normal/level_01_01.cache";
    std::ofstream(cache, std::ios::binary) << "not a route cache at all";
    LogCapture::Reset();
    mHarness.loadLevel(kModeNormal, 0, 0);
    EXPECT_EQ(LogCapture::CountLines(L"level_01_01.cache' refused"), 1) << LogCapture::Text();
    EXPECT_GT(mMap->mRoutes.getPathTable().laneCount(), 0u);
    EXPECT_EQ(mMap->mState, kStatePlaying);
    fs::remove(cache);
}

HUD& hudOf(TDMap& map)
{
    return *map.mHud;
}

// A map made where no game runs: no board, no renderer, an empty particle file.
class MapWithoutGameTest : public tdtest::GameDataTest
{
protected:
    void SetUp() override
    {
        tdtest::GameDataTest::SetUp();
        (void)file::FileManager::Instance()->SetRootPath(tdtest::demoDataRoot().wstring() + L"/");
        SoundSystem::SetOutputDevice(mixer::kDeviceNone);
        // A particle system that holds no effect at all.
        delete render::ParticleSystem::Instance();
        ASSERT_EQ(render::ParticleSystem::Instance()->GetEmitterCount(), 0);
    }
};

TEST_F(MapWithoutGameTest, BuildsWithoutBoardOrMarkersAndPlaysALevel)
{
    ASSERT_EQ(Game::Get(), nullptr);
    TDMap map;
    EXPECT_EQ(Game::GetMap(), nullptr);
    EXPECT_EQ(map.mState, kStateConstructed);
    // The missing markers are reported and left out.
    EXPECT_EQ(map.mActiveMarker, nullptr);
    EXPECT_EQ(map.mActiveButtonMarker, nullptr);
    EXPECT_EQ(LogCapture::CountLines(L"Effect 'active' is not in the particle file"), 1)
        << LogCapture::Text();
    EXPECT_EQ(LogCapture::CountLines(L"Effect 'active_btn' is not in the particle file"), 1);
    // The HUD the map built acts on that map.
    hudOf(map).openMainMenu();
    EXPECT_EQ(map.mState, kStateMainMenu);

    map.loadLevel();
    EXPECT_EQ(map.mState, kStateUnlockMessage) << "1-1 opens with its news";
    map.update(1.0f / 60.0f); // the message joins the screens
    (void)map.releaseInSelectScreens(L"ok", 0, 0); // the message's ok on its last item
    EXPECT_EQ(map.mState, kStatePlaying);
    EXPECT_EQ(map.mBuildSpots.size(), 6u);
    ASSERT_NE(map.mLevelArt, nullptr);
    EXPECT_TRUE(map.mLevelArt->mArtLoaded);
    EXPECT_EQ(map.mRouteLayer, nullptr) << "no renderer to paint it with";
    map.mSpeed = 2.0f;
    map.updateSpeedButtons();
    render::RecordingRender render;
    render::RenderInitParam param;
    param.mWidth = 1024;
    param.mHeight = 768;
    ASSERT_EQ(render.InitRender(nullptr, param), VN_OK);
    for (int frame = 0; frame < 120; ++frame)
    {
        map.update(1.0f / 60.0f);
        ASSERT_EQ(render.BeginFrame(), VN_OK);
        {
            render::Graphics graphics(&render);
            map.draw(&graphics);
        }
        ASSERT_EQ(render.EndFrame(), VN_OK);
        ASSERT_EQ(render.Playback(), VN_OK);
        (void)render.TakeLog();
    }
    EXPECT_EQ(map.mState, kStatePlaying);
}

} // namespace
