// The game application and its board, headless on the demo data: start-up (caption, screen mode from the
// profile, shader, fonts, particles, the player's gems, the first level), the side images, the pointer
// through the frame manager, keys that always reach the board, and the developer keys.
#include "Core/Particles/ParticleSystem.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/LocalStrings.h"
#include "Source/TD/TDButtonFrame.h"
#include "Source/TD/TDEconomy.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDProfile.h"
#include "Source/TD/TMobShader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace
{
using tdtest::GameHarness;

int countLines(const std::vector<std::string>& frame, const std::string& start)
{
    return static_cast<int>(std::count_if(
        frame.begin(), frame.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
}

void writeProfiles(const GameHarness& harness, const std::string& inside)
{
    std::ofstream(harness.userFolder() / "profiles.xml")
        << "<Profiles currentProfile=\"Ada\"><Profile name=\"Ada\">" << inside << "</Profile></Profiles>";
}

TEST(Game, StartsOnTheFirstLevelWithEverythingItLoads)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    Game* game = harness.game();
    ASSERT_EQ(Game::Get(), game);
    GameWindow* board = game->GetGameWindow();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(game->GetCurrentScreen(), board);
    EXPECT_EQ(Game::GetMap(), board->mMap);
    EXPECT_FALSE(game->IsWindowed()) << "a new player starts in full screen";
    ASSERT_NE(game->GetMobShader(), nullptr);
    EXPECT_TRUE(game->GetMobShader()->IsLoaded());
    for (const CountedHandle<render::BMFont>* font :
         {&board->mFontMain32_1, &board->mFontMain32_2, &board->mFontMain42_1, &board->mFontMain42_2,
          &board->mFontMain80, &board->mFontMain42_3})
        EXPECT_TRUE(*font && (*font)->IsLoaded());
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    EXPECT_GT(particles->GetEmitterCount(), 0);
    EXPECT_NE(particles->GetAtlas(0), nullptr);
    EXPECT_NE(LocalStrings::Instance()->get(L"game_caption"), L"???");

    TDMap* map = harness.map();
    EXPECT_EQ(map->mState, kStatePlaying);
    EXPECT_EQ(map->mEpisode, 0);
    EXPECT_EQ(map->mLevel, 0);
    EXPECT_NE(map->mActiveMarker, nullptr);
    EXPECT_NE(map->mActiveButtonMarker, nullptr);
    harness.step(10);
    EXPECT_TRUE(harness.sounds().unknownTags.empty());
}

TEST(Game, TheProfileChoosesTheScreenModeAndItsGemsFillThePurse)
{
    GameHarness harness;
    writeProfiles(harness, "<fs v=\"0\"/><gems amount=\"250\"/>");
    ASSERT_TRUE(harness.start());
    EXPECT_TRUE(harness.game()->IsWindowed());
    TDMap* map = harness.map();
    EXPECT_EQ(map->mEconomy->mGems, 250);
    EXPECT_EQ(map->mHud->getText(L"text/crystals"), L"250");
    // The next gems add to what the profile held instead of writing the purse's own count over it.
    map->mEconomy->addGems(5);
    EXPECT_EQ(map->mProfile->getGems(), 255);
}

TEST(Game, SideImagesFrameThePlayfieldBehindTheSelectScreens)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    EXPECT_EQ(countLines(harness.lastFrame(), "DrawIndexedPrimitive"), 3) << "ground, spots, glow";
    harness.map()->mState = kStateEpisodeSelect;
    harness.step();
    // No world behind the episode select: only the two side images.
    EXPECT_EQ(countLines(harness.lastFrame(), "DrawIndexedPrimitive"), 2);
    EXPECT_EQ(countLines(harness.lastFrame(), "SetTexture"), 2);
}

TEST(Game, ThePointerReachesTheBoardAndTheMapThroughTheFrameManager)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    TDMap* map = harness.map();
    TDButtonFrame* play = map->mHud->findButton(L"play_btn");
    ASSERT_NE(play, nullptr);
    const float x = play->mRect.x + play->mRect.width * 0.5f;
    const float y = play->mRect.y + play->mRect.height * 0.5f;
    harness.move(x, y);
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorX, static_cast<int>(x));
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorY, static_cast<int>(y));
    EXPECT_EQ(play->mHover, 1);
    // A release ends with no hover.
    harness.click(x, y);
    EXPECT_EQ(play->mHover, 0);
    // Points beyond the 1024-wide layout (the wide screen's margins) reach the board too.
    harness.move(-150.0f, 20.0f);
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorX, -150);
}

TEST(Game, DeveloperKeysNeedTheDeveloperFlagAndAPlayedLevel)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    TDMap* map = harness.map();
    TDEconomy& purse = *map->mEconomy;
    const int money = purse.mMoney;
    harness.key('m');
    EXPECT_EQ(purse.mMoney, money) << "without the developer flag";

    map->mDeveloperMode = true;
    harness.key('m');
    EXPECT_EQ(purse.mMoney, money + 1000);
    const int gems = purse.mGems;
    harness.key('c');
    EXPECT_EQ(purse.mGems, gems + 100);
    harness.key('h');
    EXPECT_FLOAT_EQ(map->mLives, 100.0f);
    EXPECT_FLOAT_EQ(map->mMaxLives, 100.0f);
    EXPECT_EQ(map->mHud->getText(L"text/mana"), L"100/100");
    harness.key('1');
    harness.key('3');
    EXPECT_TRUE(map->mDebugDrawFirst);
    EXPECT_TRUE(map->mDebugDrawSecond);
    harness.step(); // the developer overlays draw
    harness.key('4');
    harness.key('x');
    harness.key('r');
    EXPECT_EQ(purse.mMoney, map->mBudget) << "restarted";
    EXPECT_FLOAT_EQ(map->mLives, 25.0f);

    // Keys reach the board even while a modal frame is active.
    harness.game()->GetFrameManager()->AddModal(new widget::Frame, false);
    harness.key('m');
    EXPECT_EQ(purse.mMoney, map->mBudget + 1000);

    harness.key('w');
    EXPECT_EQ(map->mState, kStateWon);
    harness.key('m');
    EXPECT_EQ(purse.mMoney, map->mBudget + 1000) << "nothing outside a played level";
    map->startLevel();
    harness.key('l');
    EXPECT_EQ(map->mState, kStateLost);
}

} // namespace
