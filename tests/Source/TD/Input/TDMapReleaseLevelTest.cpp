// The release table of a level: the play rows (the HUD's own buttons, spells, build spots and towers), the
// in-game menu, the result window and the unlock message before play. Each row plays the first level as the
// harness starts it, walks to the row's state and releases once.
#include "ReleaseWalk.h"

#include "Core/Widget/FrameManager.h"
#include "Source/TD/Data/TDLevelResult.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDIngameMenu.h"
#include "Source/TD/HUD/Menus/HUDUnlockMessage.h"
#include "Source/TD/HUD/Menus/OptionsDialog.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/Play/HUDSpellButton.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/HUD/Play/TDContextMenuItem.h"
#include "Source/TD/HUD/Select/HUDLevelPlate.h"
#include "Source/TD/HUD/Select/HUDLevelSelect.h"
#include "Source/TD/HUD/Shops/HUDShopWindow.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Tutorial/TDTutorialStep.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using namespace releasetest;
using Opening = tdtest::GameHarness::Opening;

// Build spots of level 1-1 (centres): one the player owns, one to buy.
constexpr float kOwnedSpotX = 432.0f, kOwnedSpotY = 468.0f;
constexpr float kOtherSpotX = 673.0f, kOtherSpotY = 341.0f;
constexpr float kBoughtSpotX = 708.0f, kBoughtSpotY = 529.0f;
// Open ground, away from the spots, the path's ends and the HUD.
constexpr float kGroundX = 300.0f, kGroundY = 400.0f;
constexpr int kFirstTower = 10000;

std::size_t played(Walk& w, const wchar_t* tag)
{
    const auto& tags = w.harness().sounds().tags;
    return static_cast<std::size_t>(std::count(tags.begin(), tags.end(), std::wstring(tag)));
}

std::function<void(Walk&)> pressing(const wchar_t* button)
{
    return [button](Walk& w) { w.press(button); };
}

std::function<void(Walk&)> pausedWithLock(int lock)
{
    return [lock](Walk& w)
    {
        w.press(L"pause_btn");
        w.map().mHud->mBlockUI = lock;
    };
}

std::function<void(Walk&)> speed(float expected)
{
    return [expected](Walk& w) { EXPECT_FLOAT_EQ(w.map().mSpeed, expected); };
}

// A window over play with one "ok" button in the middle of the screen.
void okWindow(Walk& w)
{
    auto* window = new HUDWindow;
    auto* ok = new TDButtonFrame;
    ok->mName = L"ok";
    ok->mRect = math::Rect(432.0f, 354.0f, 160.0f, 60.0f);
    window->mButtons.push_back(ok);
    w.map().mHud->showWindow(window);
    w.harness().step();
}

// Every spell is offered in hardcore; the first one is armed by a release on it.
void hardcore(Walk& w)
{
    w.harness().loadLevel(kModeHardcore, 0, 0);
    w.harness().step();
}

HUDSpellButton& firstSpell(Walk& w)
{
    return *w.map().mHud->getSpellButtons().at(0);
}

Target firstSpellButton()
{
    return [](Walk& w)
    {
        if (w.map().mHud->getSpellButtons().empty())
            return math::Point2(-1.0f, -1.0f);
        return math::Point2(firstSpell(w).mCenterX, firstSpell(w).mCenterY);
    };
}

void armed(Walk& w)
{
    hardcore(w);
    w.clickAt(firstSpell(w).mCenterX, firstSpell(w).mCenterY);
    ASSERT_EQ(w.map().mArmedSpell, &firstSpell(w));
    w.harness().sounds().clear();
}

// The first tower built on the owned spot through its build menu, the menu gone again.
void towerBuilt(Walk& w)
{
    w.clickAt(kOwnedSpotX, kOwnedSpotY);
    w.harness().step(15);
    TDContextMenu* menu = w.map().mContextMenu;
    ASSERT_NE(menu, nullptr);
    for (const TDContextMenuItem* item : menu->mItems)
        if (item->mKey == kFirstTower)
        {
            float x = 0.0f, y = 0.0f;
            TDContextMenu::ringPoint(menu->mCenterX, menu->mCenterY, item->mAngle,
                                     TDContextMenu::kRadius * (menu->isNearEdge() ? TDContextMenu::kNearScale : 1.0f),
                                     x, y);
            w.clickAt(x, y);
        }
    w.harness().step(15);
    ASSERT_EQ(w.map().mTowers.size(), 1u);
    ASSERT_EQ(w.map().mContextMenu, nullptr);
}

Target theTower()
{
    return [](Walk& w)
    {
        if (w.map().mTowers.empty())
            return math::Point2(-1.0f, -1.0f);
        return math::Point2(w.map().mTowers.front()->mX, w.map().mTowers.front()->mY);
    };
}

std::function<void(Walk&)> menuOfKind(int kind)
{
    return [kind](Walk& w)
    {
        ASSERT_NE(w.map().mContextMenu, nullptr);
        EXPECT_EQ(w.map().mContextMenu->mKind, kind);
    };
}

void noMenu(Walk& w)
{
    EXPECT_EQ(w.map().mContextMenu, nullptr);
}

TEST(ReleaseTable, Play)
{
    const Row rows[] = {
        // The HUD's own buttons.
        {"options", Opening::FirstLevel, nullptr, kStatePlaying, button(L"options_btn"), kStateIngameMenu,
         [](Walk& w) { EXPECT_NE(w.top<HUDIngameMenu>(), nullptr); }},
        {"pause", Opening::FirstLevel, nullptr, kStatePlaying, button(L"pause_btn"), kStatePlaying, speed(0.0f)},
        {"play", Opening::FirstLevel, pausedWithLock(0), kStatePlaying, button(L"play_btn"), kStatePlaying,
         speed(1.0f)},
        {"play while the tutorial allows it", Opening::FirstLevel, pausedWithLock(1), kStatePlaying,
         button(L"play_btn"), kStatePlaying, speed(1.0f)},
        {"play while the tutorial holds the game", Opening::FirstLevel, pausedWithLock(2), kStatePlaying,
         button(L"play_btn"), kStatePlaying, speed(0.0f)},
        {"fast", Opening::FirstLevel, nullptr, kStatePlaying, button(L"speed_btn"), kStatePlaying, speed(2.0f)},
        {"fast while the tutorial holds the HUD", Opening::FirstLevel,
         [](Walk& w) { w.map().mHud->mBlockUI = 1; }, kStatePlaying, button(L"speed_btn"), kStatePlaying,
         speed(1.0f)},
        // The lit button of the current speed does nothing, not even open a menu below it.
        {"the lit play button", Opening::FirstLevel, nullptr, kStatePlaying, button(L"play_btn_ac"), kStatePlaying,
         [](Walk& w)
         {
             EXPECT_FLOAT_EQ(w.map().mSpeed, 1.0f);
             EXPECT_TRUE(w.map().mHud->getWindows().empty());
             EXPECT_EQ(w.map().mContextMenu, nullptr);
         }},
        {"ok on a window over play", Opening::FirstLevel, okWindow, kStatePlaying, button(L"ok"), kStatePlaying,
         [](Walk& w) { EXPECT_TRUE(w.map().mHud->getWindows().empty()); }},
        // Spells.
        {"a spell button arms it", Opening::FirstLevel,
         [](Walk& w)
         {
             hardcore(w);
             w.harness().sounds().clear();
         },
         kStatePlaying, firstSpellButton(), kStatePlaying,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mArmedSpell, &firstSpell(w));
             EXPECT_EQ(played(w, L"simple"), 1u);
         }},
        {"the armed spell's button disarms it", Opening::FirstLevel, armed, kStatePlaying, firstSpellButton(),
         kStatePlaying,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mArmedSpell, nullptr);
             EXPECT_FALSE(firstSpell(w).isCooling());
         }},
        {"the armed spell is cast on the ground", Opening::FirstLevel, armed, kStatePlaying,
         point(kGroundX, kGroundY), kStatePlaying,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mArmedSpell, nullptr);
             EXPECT_TRUE(firstSpell(w).isCooling());
             EXPECT_EQ(played(w, L"spell0"), 1u);
             EXPECT_EQ(w.map().mContextMenu, nullptr);
         }},
        // Build spots and towers.
        {"an owned spot", Opening::FirstLevel, nullptr, kStatePlaying, point(kOwnedSpotX, kOwnedSpotY),
         kStatePlaying, menuOfKind(kMenuBuild)},
        {"a spot to buy", Opening::FirstLevel, nullptr, kStatePlaying, point(kBoughtSpotX, kBoughtSpotY),
         kStatePlaying, menuOfKind(kMenuBuySpot)},
        {"a spot the tutorial does not point at", Opening::FirstLevel,
         [](Walk& w) { w.map().mTutorialSpot = 99; }, kStatePlaying, point(kOwnedSpotX, kOwnedSpotY), kStatePlaying,
         noMenu},
        {"the open menu's spot closes it", Opening::FirstLevel,
         [](Walk& w)
         {
             w.clickAt(kOwnedSpotX, kOwnedSpotY);
             w.harness().step(15);
         },
         kStatePlaying, point(kOwnedSpotX, kOwnedSpotY), kStatePlaying,
         [](Walk& w)
         {
             w.harness().step(15);
             EXPECT_EQ(w.map().mContextMenu, nullptr);
         }},
        {"another spot while a menu is open", Opening::FirstLevel,
         [](Walk& w)
         {
             w.clickAt(kOwnedSpotX, kOwnedSpotY);
             w.harness().step(15);
         },
         kStatePlaying, point(kOtherSpotX, kOtherSpotY), kStatePlaying, noMenu},
        {"a tower", Opening::FirstLevel, towerBuilt, kStatePlaying, theTower(), kStatePlaying,
         [](Walk& w)
         {
             ASSERT_NE(w.map().mContextMenu, nullptr);
             EXPECT_EQ(w.map().mContextMenu->mTower, w.map().mTowers.front());
         }},
        {"open ground", Opening::FirstLevel, nullptr, kStatePlaying, point(kGroundX, kGroundY), kStatePlaying,
         noMenu},
    };
    runRows(rows);
}

template <class Dialog>
std::function<void(Walk&)> dialogOpen(const wchar_t* command = nullptr)
{
    return [command](Walk& w)
    {
        (void)command; // read by the message box's case only
        Dialog* dialog = w.dialog<Dialog>();
        ASSERT_NE(dialog, nullptr);
        if constexpr (std::is_same_v<Dialog, TMessageBox>)
        {
            EXPECT_EQ(dialog->mTextKey, L"progress_confirm_text");
            EXPECT_EQ(dialog->mCommand, command);
        }
        EXPECT_NE(w.top<HUDIngameMenu>(), nullptr) << "the menu stays below";
    };
}

void resumed(Walk& w)
{
    EXPECT_FLOAT_EQ(w.map().mSpeed, 0.0f) << "play waits for the play button";
    EXPECT_TRUE(w.map().mHud->getWindows().empty());
}

std::function<void(Walk&)> developerKey(int key)
{
    return [key](Walk& w)
    {
        w.map().mDeveloperMode = true;
        w.harness().key(key);
        w.harness().step();
    };
}

void shopFromTheGame(Walk& w)
{
    EXPECT_EQ(shopReturnScreen(), L"game");
    EXPECT_NE(w.top<HUDShopWindow>(), nullptr);
    EXPECT_GE(w.harness().buttonCentre(L"return_ac").x, 0.0f) << "its way back leads into the level";
}

// Two steps of the first level, one for each event the unlock message's close may send.
constexpr const char* kTwoSteps = R"(<tutorial>
  <step id="0" activate="unlock_window_close" complete="tower_select">
    <condition shop="-1" episode="0" level="0"/>
    <show folder="build"/>
  </step>
  <step id="9" activate="buildspot_bought" complete="tower_select">
    <condition shop="-1" episode="0" level="0"/>
    <show folder="choose"/>
  </step>
</tutorial>)";

// The unlock message of the first hardcore level (the mode's rules, item by item), met by a player who has
// won every level of the first episode with three stars and opens the hardcore levels, with the given number
// of its items still to read.
std::function<void(Walk&)> unlockMessage(int left, bool tutorial = false)
{
    return [left, tutorial](Walk& w)
    {
        w.toMainMenu();
        TDProfile& profile = *w.map().mProfile;
        profile.createProfile(L"Anna");
        // The new player has the tutorial, whose first step waits for this message to close.
        if (!tutorial)
            TDTutorial::Instance()->skip();
        TDLevelResult won;
        won.stars = 3;
        for (int level = 0; level < w.map().getLevelCount(0); ++level)
            profile.saveLevelResult(0, level, kModeNormal, won);
        profile.setMode(kModeNormal);
        w.press(L"play");
        (void)w.waitFor(L"play");
        w.clickAt(512.0f, 384.0f);
        w.press(L"unlocked_d");
        w.press(L"ok"); // the explanation of the mode on the first visit
        auto* levels = w.top<HUDLevelSelect>();
        ASSERT_NE(levels, nullptr);
        const HUDLevelPlate& first = *levels->mPlates.at(0);
        w.clickAt(first.mX + first.mWidth / 2.0f, first.mY + first.mHeight / 2.0f);
        w.harness().step();
        auto* message = w.top<HUDUnlockMessage>();
        ASSERT_NE(message, nullptr);
        ASSERT_GE(static_cast<int>(message->mIds.size()), left);
        while (static_cast<int>(message->mIds.size()) - message->mCurrent > left)
            w.press(L"ok");
    };
}

TEST(ReleaseTable, MenusOfALevel)
{
    const Row rows[] = {
        // In-game menu (4).
        {"resume", Opening::FirstLevel, pressing(L"options_btn"), kStateIngameMenu, button(L"resume"),
         kStatePlaying, resumed},
        {"close", Opening::FirstLevel, pressing(L"options_btn"), kStateIngameMenu, button(L"close"), kStatePlaying,
         resumed},
        {"restart asks first", Opening::FirstLevel, pressing(L"options_btn"), kStateIngameMenu,
         button(L"restart"), kStateIngameMenu, dialogOpen<TMessageBox>(L"restart")},
        {"the main menu asks first", Opening::FirstLevel, pressing(L"options_btn"), kStateIngameMenu,
         button(L"mmenu"), kStateIngameMenu, dialogOpen<TMessageBox>(L"mmenu")},
        {"the levels ask first", Opening::FirstLevel, pressing(L"options_btn"), kStateIngameMenu, button(L"levels"),
         kStateIngameMenu, dialogOpen<TMessageBox>(L"levels")},
        {"options", Opening::FirstLevel, pressing(L"options_btn"), kStateIngameMenu, button(L"options"),
         kStateIngameMenu, dialogOpen<OptionsDialog>()},
        // Result window (1 won, 2 lost).
        {"won, on to the shop", Opening::FirstLevel, developerKey('w'), kStateWon, button(L"done"), kStateShop,
         shopFromTheGame},
        {"lost, closed to the shop", Opening::FirstLevel, developerKey('l'), kStateLost, button(L"close"),
         kStateShop, shopFromTheGame},
        // 1-1 starts again with its news.
        {"won, restarted", Opening::FirstLevel, developerKey('w'), kStateWon, button(L"restart"), kStateUnlockMessage,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mLevel, 0);
             EXPECT_EQ(w.map().mHud->mFadeState, 0);
             ASSERT_EQ(w.map().mHud->getWindows().size(), 1u) << "the result window went with the old run";
             EXPECT_NE(w.top<HUDUnlockMessage>(), nullptr);
         }},
        {"lost, to the levels", Opening::FirstLevel, developerKey('l'), kStateLost, button(L"menu"),
         kStateLevelSelect, [](Walk& w) { EXPECT_NE(w.top<HUDLevelSelect>(), nullptr); }},
        // The shop after a level (8) and the gem shop reached from it (18).
        {"the shop after a level, to the gem shop", Opening::FirstLevel,
         [](Walk& w)
         {
             developerKey('w')(w);
             w.press(L"done");
         },
         kStateShop, button(L"gem_shop1"), kStateGemShop,
         [](Walk&) { EXPECT_EQ(gemShopReturnScreen(), L"shop1"); }},
        {"the gem shop back to the shop after a level", Opening::FirstLevel,
         [](Walk& w)
         {
             developerKey('w')(w);
             w.press(L"done");
             w.press(L"gem_shop1");
         },
         kStateGemShop, button(L"back_in"), kStateShop, shopFromTheGame},
        // Its way back into play: the lost level again, or the next after a win (with the news it brings).
        {"the shop after a lost level", Opening::FirstLevel,
         [](Walk& w)
         {
             developerKey('l')(w);
             w.press(L"close");
         },
         kStateShop, button(L"return_ac"), kStateUnlockMessage,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mLevel, 0);
             EXPECT_EQ(w.map().mResultAction, -1);
             ASSERT_EQ(w.map().mHud->getWindows().size(), 1u);
             EXPECT_NE(w.top<HUDUnlockMessage>(), nullptr) << "1-1 starts again with its news";
         }},
        {"the shop after a won level", Opening::FirstLevel,
         [](Walk& w)
         {
             developerKey('w')(w);
             w.press(L"done");
         },
         kStateShop, button(L"return_ac"), kStateUnlockMessage,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mLevel, 1);
             EXPECT_EQ(w.map().mResultAction, -1);
         }},
        // Unlock message (11): its "ok" answers the map only on the last item.
        {"an item before the last", Opening::Splash, unlockMessage(2), kStateUnlockMessage, button(L"ok"),
         kStateUnlockMessage, [](Walk& w) { EXPECT_NE(w.top<HUDUnlockMessage>(), nullptr); }},
        {"the last item starts play", Opening::Splash, unlockMessage(1), kStateUnlockMessage, button(L"ok"),
         kStatePlaying,
         [](Walk& w)
         {
             EXPECT_FLOAT_EQ(w.map().mSpeed, 1.0f);
             EXPECT_EQ(w.map().mHud->mFadeState, 0);
             EXPECT_EQ(w.map().mMode, kModeHardcore);
             EXPECT_NE(w.harness().game()->GetGameWindow()->mLevelBanner, nullptr);
             EXPECT_TRUE(w.map().mHud->getWindows().empty());
         }},
        {"the last item, for a player with the tutorial", Opening::Splash, unlockMessage(1, true),
         kStateUnlockMessage, button(L"ok"), kStatePlaying,
         [](Walk& w)
         {
             EXPECT_TRUE(TDTutorial::Instance()->isShown()) << "its first step was told the message closed";
             EXPECT_FLOAT_EQ(w.map().mSpeed, 0.0f) << "and holds the game";
         }},
        // A player who has bought the spot of the tutorial's fifth step is told that again instead.
        {"the last item, after the tutorial's spot was bought", Opening::Splash,
         [](Walk& w)
         {
             unlockMessage(1, true)(w);
             w.map().mProfile->setTutorialStepState(5, 2);
             TDTutorial::Instance()->loadScript(kTwoSteps, L"two steps");
         },
         kStateUnlockMessage, button(L"ok"), kStatePlaying,
         [](Walk&)
         {
             const auto& steps = TDTutorial::Instance()->getSteps();
             ASSERT_EQ(steps.size(), 2u);
             EXPECT_EQ(steps[0]->mState, kTutorialWaiting) << "no unlock_window_close";
             EXPECT_EQ(steps[1]->mState, kTutorialShown) << "buildspot_bought";
         }},
    };
    runRows(rows);
}

} // namespace
