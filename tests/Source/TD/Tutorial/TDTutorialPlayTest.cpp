// Level 1-1 of a fresh profile played by a new player who does what each hint asks, with the pointer only:
// the level stands still under every hint until it is done, and the HUD refuses what the hint does not ask.
// Then what becomes of a shown hint when the level ends, when the player leaves it and when a shop opens.
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/Controls/TutorialButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Play/HUDSpellButton.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/HUD/Play/TDContextMenuItem.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using tdtest::GameHarness;

// Places of 1-1 on the logical 1024 x 768 screen.
constexpr float kSpotX = 896.0f, kSpotY = 563.0f;           // the spot the first hint points at ("#0")
constexpr float kOtherSpotX = 432.0f, kOtherSpotY = 468.0f; // "#2", by the road's bend
constexpr float kRoadX = 250.0f, kRoadY = 230.0f;

TDTutorial& tutorial()
{
    return *TDTutorial::Instance();
}

std::wstring text(const wchar_t* key)
{
    return LocalStrings::Instance()->get(key);
}

// The text of the hint on the board; empty when none is up.
std::wstring shownHint()
{
    if (!tutorial().isShown())
        return std::wstring();
    const auto& texts = tutorial().getTextLayers();
    return texts.empty() ? std::wstring(L"(no text)")
                         : static_cast<layer::TextLayer*>(texts.front())->GetText();
}

// Any part of a hint hangs on the game board.
bool anyOnBoard()
{
    layer::Layer* root = boardRootLayer();
    return root && (tutorial().getPictureContainer()->GetParent() == root ||
                    tutorial().getTextContainer()->GetParent() == root ||
                    tutorial().getSkipButton()->GetParent() == root);
}

class GuidedFirstLevel : public testing::Test
{
protected:
    void SetUp() override
    {
        harness.mTutorial = true;
        // As a fresh profile meets it: 1-1 opens with its news, which the harness closes with "ok".
        ASSERT_TRUE(harness.start());
        map = harness.map();
    }

    // The place of a context menu item of the key (the open menu, once its opening has ended).
    math::Point2 menuItem(int key)
    {
        harness.step(15);
        if (!map->mContextMenu)
            return {-1.0f, -1.0f};
        TDContextMenu& menu = *map->mContextMenu;
        const float r = TDContextMenu::kRadius * (menu.isNearEdge() ? TDContextMenu::kNearScale : 1.0f);
        for (const TDContextMenuItem* item : menu.mItems)
            if (item->mKey == key || (key < 0 && item->mKey > 0))
            {
                math::Point2 at;
                TDContextMenu::ringPoint(menu.mCenterX, menu.mCenterY, item->mAngle, r, at.x, at.y);
                return at;
            }
        return {-1.0f, -1.0f};
    }

    void clickButton(const wchar_t* name)
    {
        const math::Point2 at = harness.buttonCentre(name);
        ASSERT_GE(at.x, 0.0f) << "no visible button " << std::string(name, name + wcslen(name));
        harness.click(at.x, at.y);
        harness.step();
    }

    // The level does not move for three seconds: no time passes for the world, no wave clock, no unit.
    void expectStandsStill()
    {
        const float gameTime = map->mGameTime;
        const float clock = map->mWaves->mClock;
        const std::size_t units = map->mWaves->mUnits.size();
        const std::wstring hint = shownHint();
        harness.step(180);
        EXPECT_EQ(map->mGameTime, gameTime);
        EXPECT_EQ(map->mWaves->mClock, clock);
        EXPECT_EQ(map->mWaves->mUnits.size(), units);
        EXPECT_EQ(shownHint(), hint) << "the hint waits for the player";
    }

    GameHarness harness;
    TDMap* map = nullptr;
};

TEST_F(GuidedFirstLevel, ANewPlayerFollowsEveryHintToVictory)
{
    struct Hint
    {
        const wchar_t* key;
        // Presses the hint does not ask for: the level must go on standing still under the same hint.
        std::function<void()> refused;
        std::function<void()> follow;
    };
    auto pressPlay = [&] { clickButton(L"play_btn"); };
    const Hint hints[] = {
        {L"tutorial_build",
         [&]
         {
             pressPlay();
             harness.click(kOtherSpotX, kOtherSpotY); // only the spot shown opens
             harness.step();
             EXPECT_EQ(map->mContextMenu, nullptr);
         },
         [&] { harness.click(kSpotX, kSpotY); }},
        {L"tutorial_choose", nullptr,
         [&]
         {
             const math::Point2 dart = menuItem(10000);
             harness.click(dart.x, dart.y);
         }},
        {L"tutorial_play", [&] { clickButton(L"speed_btn"); }, pressPlay},
        {L"tutorial_call", pressPlay,
         [&]
         {
             ASSERT_FALSE(map->mWaveCallMarkers->getMarkers().empty()) << "the flag is up";
             const math::Rect flag = map->mWaveCallMarkers->getMarkers().front()->mRect;
             harness.click(flag.x + flag.width * 0.5f, flag.y + flag.height * 0.5f);
         }},
        {L"tutorial_upgrade", pressPlay,
         [&]
         {
             // A tier update first, then the first branch: the star.
             for (int round = 0; round < 4 && shownHint() == text(L"tutorial_upgrade"); ++round)
             {
                 harness.click(kSpotX, kSpotY);
                 const math::Point2 upgrade = menuItem(-1);
                 harness.click(upgrade.x, upgrade.y);
                 harness.step(15);
             }
         }},
        {L"tutorial_spell", nullptr,
         [&]
         {
             const HUDSpellButton* meteor = map->mHud->getSpellButtons().at(0);
             harness.click(meteor->mCenterX, meteor->mCenterY);
             harness.click(kRoadX, kRoadY);
         }},
        {L"tutorial_done", [&] { clickButton(L"speed_btn"); }, pressPlay},
    };

    for (const Hint& hint : hints)
    {
        SCOPED_TRACE(std::string(hint.key, hint.key + wcslen(hint.key)));
        // Between hints the level plays: the next one comes at its moment (the call after the first wave has
        // gone, before the second has begun).
        for (int frame = 0; frame < 60 * 120 && !tutorial().isShown(); ++frame)
            harness.step();
        ASSERT_EQ(shownHint(), text(hint.key));
        EXPECT_EQ(map->mState, kStatePlaying);
        if (std::wstring(hint.key) == L"tutorial_call")
        {
            EXPECT_TRUE(map->mWaves->mUnits.empty()) << "the first wave is gone";
        }
        harness.step();
        expectStandsStill();
        if (hint.refused)
        {
            hint.refused();
            expectStandsStill();
        }
        hint.follow();
        harness.step(2);
        EXPECT_NE(shownHint(), text(hint.key)) << "done as asked";
    }
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_EQ(map->mHud->mBlockUI, 0);
    for (int id = 0; id < 7; ++id)
        EXPECT_EQ(map->mProfile->getTutorialStepState(id), kTutorialCompleted) << id;

    // On alone, as the last hint says: a second tower, double speed, to the end of the level.
    harness.click(kOtherSpotX, kOtherSpotY);
    const math::Point2 dart = menuItem(10000);
    harness.click(dart.x, dart.y);
    EXPECT_EQ(map->mTowers.size(), 2u);
    clickButton(L"speed_btn");
    for (int frame = 0; frame < 60 * 300 && map->mState == kStatePlaying; ++frame)
        harness.step();
    EXPECT_EQ(map->mState, kStateWon);
    harness.step(2);
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_FALSE(anyOnBoard()) << "nothing of the tutorial over the victory window";
}

TEST_F(GuidedFirstLevel, AHintGoesWhenTheLevelEndsOrIsLeftOrAShopOpens)
{
    struct Way
    {
        const char* what;
        std::function<void()> go;
        int state; // where the player is afterwards
    };
    auto developerKey = [&](int key)
    {
        map->mDeveloperMode = true;
        harness.key(key);
        harness.step();
    };
    auto fromIngameMenu = [&](const wchar_t* button)
    {
        clickButton(L"options_btn");
        clickButton(button);
        harness.step(30); // the confirmation's show effect
        harness.click(396.0f, 520.0f);
        harness.step();
    };
    const Way ways[] = {
        {"victory", [&] { developerKey('w'); }, kStateWon},
        {"defeat", [&] { developerKey('l'); }, kStateLost},
        {"the in-game menu's main menu", [&] { fromIngameMenu(L"mmenu"); }, kStateMainMenu},
        {"the in-game menu's level select", [&] { fromIngameMenu(L"levels"); }, kStateLevelSelect},
    };
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.what);
        harness.loadLevel(kModeNormal, 0, 0);
        harness.step();
        ASSERT_EQ(shownHint(), text(L"tutorial_build")) << "re-armed at the level start";
        ASSERT_EQ(map->mHud->mBlockUI, 2);
        const math::Point3 skip = tutorial().getSkipButton()->GetPosition();
        way.go();
        harness.step(2);
        EXPECT_EQ(map->mState, way.state);
        EXPECT_FALSE(tutorial().isShown());
        EXPECT_FALSE(anyOnBoard());
        EXPECT_EQ(map->mHud->mBlockUI, 0) << "no lock of the level outlives it";
        EXPECT_EQ(map->mTutorialSpot, -1);
        // Where the skip button stood, a press reaches the screen, not the tutorial.
        harness.click(skip.x, skip.y);
        harness.step();
        EXPECT_FALSE(tutorial().isSkipRequested());
        EXPECT_EQ(harness.game()->GetGameWindow()->mOverlayDialog, nullptr);
        EXPECT_TRUE(tutorial().isEnabled());
    }

    // After the victory the player goes on to the upgrade shop and from there to the gem shop; a hint put up
    // in the shop (a step that reacts anywhere) goes as the gem shop opens.
    harness.loadLevel(kModeNormal, 0, 0);
    developerKey('w');
    harness.step(60);
    clickButton(L"done");
    harness.step(30);
    ASSERT_EQ(map->mState, kStateShop);
    tutorial().loadScript("<tutorial><step id=\"40\" activate=\"shop_hint\" complete=\"never\"><condition/>"
                          "<show folder=\"build\"/></step></tutorial>",
                          L"test.xml");
    tutorial().onEvent(L"shop_hint");
    ASSERT_TRUE(tutorial().isShown());
    clickButton(L"gem_shop1");
    harness.step(30);
    EXPECT_EQ(map->mState, kStateGemShop);
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_FALSE(anyOnBoard());
}

} // namespace
