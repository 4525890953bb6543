// The tutorial of level 1-1 on the demo data, walked step by step, re-armed by a level start, paused by the
// in-game menu and skipped through its button.
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/Controls/TutorialButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDModalDialog.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <gtest/gtest.h>

namespace
{
using tdtest::GameHarness;

TDTutorial& tutorial()
{
    return *TDTutorial::Instance();
}

// The text of the shown step's first text place; empty when none is up.
std::wstring shownText()
{
    const auto& texts = tutorial().getTextLayers();
    return texts.empty() ? std::wstring() : static_cast<layer::TextLayer*>(texts.front())->GetText();
}

bool onBoard()
{
    layer::Layer* root = boardRootLayer();
    return root && tutorial().getPictureContainer()->GetParent() == root &&
           tutorial().getTextContainer()->GetParent() == root &&
           tutorial().getSkipButton()->GetParent() == root;
}

std::wstring text(const wchar_t* key)
{
    return LocalStrings::Instance()->get(key);
}

// Sends the events that take 1-1's tutorial up to (not including) the given step.
void walkTo(const std::vector<const wchar_t*>& events)
{
    for (const wchar_t* event : events)
        tutorial().onEvent(event);
}

TEST(Tutorial, GuidesANewPlayerThroughTheFirstLevel)
{
    GameHarness harness;
    harness.mTutorial = true;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    ASSERT_EQ(tutorial().getSteps().size(), 7u);
    EXPECT_TRUE(tutorial().isEnabled());
    // The harness closed 1-1's unlock message: the first step is up.
    EXPECT_EQ(shownText(), text(L"tutorial_build"));
    EXPECT_EQ(tutorial().getPictureLayers().size(), 2u);
    EXPECT_EQ(map->mHud->mBlockUI, 2);
    EXPECT_EQ(map->mTutorialSpot, 0);
    EXPECT_EQ(map->mSpeed, 0.0f);

    struct Row
    {
        const wchar_t* event;
        const wchar_t* shown; // string key of the step put up; null: none
        int pictures;         // plate and arrow
        int lock;
        int spot;
        bool paused;   // the step paused the game (the test plays at speed 1 before each event)
        int completed; // steps of the profile completed so far
    };
    const Row rows[] = {
        {L"tower_select", L"tutorial_choose", 1, 2, 0, false, 1},
        {L"tower_built", L"tutorial_play", 2, 1, -1, true, 2},
        {L"game_play", nullptr, 0, 1, -1, false, 3},
        {L"wave_vanish_1", L"tutorial_call", 2, 3, -1, true, 3},
        {L"wave_forced", L"tutorial_upgrade", 1, 2, -1, true, 4},
        {L"tower_upgraded", L"tutorial_spell", 2, 0, -1, true, 5},
        {L"spell_casted", L"tutorial_done", 2, 1, -1, true, 6},
        {L"game_play", nullptr, 0, 0, -1, false, 7},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "after " << std::string(row.event, row.event + wcslen(row.event)));
        const int money = map->mEconomy->mMoney;
        map->mSpeed = 1.0f; // as playing would have it
        tutorial().onEvent(row.event);
        harness.step();
        EXPECT_EQ(tutorial().isShown(), row.shown != nullptr);
        EXPECT_EQ(onBoard(), row.shown != nullptr);
        if (row.shown)
        {
            EXPECT_EQ(shownText(), text(row.shown));
            EXPECT_NE(shownText(), L"???");
            EXPECT_EQ(static_cast<int>(tutorial().getPictureLayers().size()), row.pictures);
        }
        EXPECT_EQ(map->mHud->mBlockUI, row.lock);
        EXPECT_EQ(map->mTutorialSpot, row.spot);
        EXPECT_EQ(map->mSpeed, row.paused ? 0.0f : 1.0f);
        int completed = 0;
        for (int id = 0; id < 7; ++id)
            completed += map->mProfile->getTutorialStepState(id) == kTutorialCompleted ? 1 : 0;
        EXPECT_EQ(completed, row.completed);
        if (std::wstring(row.event) == L"wave_forced")
        {
            EXPECT_EQ(map->mEconomy->mMoney, money + 150) << "money for the upgrade";
        }
    }

    // A completed tutorial ignores its events when they come again.
    tutorial().onEvent(L"unlock_window_close");
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_TRUE(harness.sounds().unknownTags.empty());
}

// The same tutorial played with the game's own commands where they send the events (building, the waves,
// the early call, the upgrade, the spell); the events of the screens and the map's pointer are sent as those
// would send them.
TEST(Tutorial, FollowsTheGameThroughTheFirstLevel)
{
    GameHarness harness;
    harness.mTutorial = true;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    auto playOn = [map]
    {
        // What the play button does, besides its event.
        map->mSpeed = 1.0f;
        map->updateSpeedButtons();
        tutorial().onEvent(L"game_play");
    };

    tutorial().onEvent(L"unlock_window_close");
    ASSERT_EQ(map->mTutorialSpot, 0);
    TDFrameEntry* spot = map->mLevelArt->mSpotFrames.at(0);
    tutorial().onEvent(L"tower_select");
    TDTower* tower = map->buildTower(map->mProtoTable->find(10000), spot);
    ASSERT_NE(tower, nullptr);
    tutorial().onEvent(L"tower_built");
    EXPECT_EQ(shownText(), text(L"tutorial_play"));
    playOn();
    EXPECT_FALSE(tutorial().isShown());

    // The first wave comes and goes; the tutorial asks for the next one early.
    for (int frame = 0; frame < 60 * 120 && !tutorial().isShown(); ++frame)
        harness.step();
    ASSERT_EQ(shownText(), text(L"tutorial_call"));
    EXPECT_EQ(map->mHud->mBlockUI, 3);
    (void)map->callWaveEarly(40, 260);
    EXPECT_EQ(shownText(), text(L"tutorial_upgrade"));
    EXPECT_EQ(map->mSpeed, 0.0f);

    // A tier update is no upgrade to a branch; the branch is.
    ASSERT_GT(tower->tierUpdatesLeft(), 0);
    ASSERT_TRUE(tower->tierUpdate());
    EXPECT_EQ(shownText(), text(L"tutorial_upgrade"));
    ASSERT_TRUE(tower->upgradeTo(10001, map->getTowerPrice(10001)));
    EXPECT_EQ(shownText(), text(L"tutorial_spell"));

    ASSERT_NE(map->castSpell(0, 520.0f, 410.0f), nullptr);
    EXPECT_EQ(shownText(), text(L"tutorial_done"));
    playOn();
    EXPECT_FALSE(tutorial().isShown());
    for (int id = 0; id < 7; ++id)
        EXPECT_EQ(map->mProfile->getTutorialStepState(id), kTutorialCompleted) << id;
    EXPECT_EQ(map->mHud->mBlockUI, 0);
    EXPECT_TRUE(harness.sounds().unknownTags.empty());
}

TEST(Tutorial, ReactsOnlyInTheFirstLevel)
{
    GameHarness harness;
    harness.mTutorial = true;
    ASSERT_TRUE(harness.start());
    harness.loadLevel(kModeNormal, 0, 1);
    tutorial().onEvent(L"unlock_window_close");
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_EQ(harness.map()->mProfile->getTutorialStepState(0), kTutorialWaiting);
    harness.loadLevel(kModeNormal, 0, 0);
    tutorial().onEvent(L"unlock_window_close");
    EXPECT_TRUE(tutorial().isShown());
}

TEST(Tutorial, ALevelStartReArmsTheStepsLeftUnfinished)
{
    GameHarness harness;
    harness.mTutorial = true;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    // Built, and asked to start the wave; the player leaves for the level again.
    walkTo({L"unlock_window_close", L"tower_select", L"tower_built"});
    ASSERT_EQ(map->mProfile->getTutorialStepState(2), kTutorialShown);
    ASSERT_EQ(map->mHud->mBlockUI, 1);

    harness.loadLevel(kModeNormal, 0, 0);
    EXPECT_FALSE(tutorial().isShown()) << "nothing of the old level stays up";
    EXPECT_FALSE(onBoard());
    EXPECT_EQ(map->mHud->mBlockUI, 0);
    EXPECT_EQ(map->mTutorialSpot, -1);
    EXPECT_EQ(map->mProfile->getTutorialStepState(0), kTutorialCompleted) << "its partner 1 is completed";
    EXPECT_EQ(map->mProfile->getTutorialStepState(1), kTutorialCompleted);
    EXPECT_EQ(map->mProfile->getTutorialStepState(2), kTutorialWaiting);
    tutorial().onEvent(L"unlock_window_close");
    EXPECT_FALSE(tutorial().isShown()) << "a completed step stays completed";
    tutorial().onEvent(L"tower_built");
    EXPECT_EQ(shownText(), text(L"tutorial_play"));

    // Step 3 falls back with an unfinished step 4 even after it was completed.
    walkTo({L"game_play", L"wave_vanish_1", L"wave_forced"});
    ASSERT_EQ(map->mProfile->getTutorialStepState(3), kTutorialCompleted);
    harness.loadLevel(kModeNormal, 0, 0);
    EXPECT_EQ(map->mProfile->getTutorialStepState(3), kTutorialWaiting);
    EXPECT_EQ(map->mProfile->getTutorialStepState(4), kTutorialWaiting);
    tutorial().onEvent(L"wave_vanish_1");
    EXPECT_EQ(shownText(), text(L"tutorial_call"));
}

TEST(Tutorial, TheInGameMenuHidesTheStepUntilPlayResumes)
{
    GameHarness harness;
    harness.mTutorial = true;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    tutorial().onEvent(L"unlock_window_close");
    ASSERT_TRUE(tutorial().isShown());
    map->openIngameMenu();
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_FALSE(tutorial().getPictureContainer()->IsVisible());
    EXPECT_FALSE(tutorial().getSkipButton()->IsVisible());
    tutorial().resume();
    EXPECT_TRUE(tutorial().isShown());
    EXPECT_TRUE(tutorial().getPictureContainer()->IsVisible());
    EXPECT_TRUE(tutorial().getTextContainer()->IsVisible());
    EXPECT_TRUE(tutorial().getSkipButton()->IsVisible());
}

TEST(Tutorial, TheSkipButtonTurnsTheTutorialOffForThePlayer)
{
    GameHarness harness;
    harness.mTutorial = true;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    tutorial().runCommand({L"dropChanceOverride", 40});
    walkTo({L"unlock_window_close"});
    ASSERT_EQ(map->mHud->mBlockUI, 2);
    ASSERT_EQ(map->mTutorialSpot, 0);
    TutorialButton* button = tutorial().getSkipButton();
    const math::Point3 at = button->GetPosition();

    // The pictures take no pointer from the map, and a release beside the button does nothing to the
    // tutorial.
    harness.move(560.0f, 495.0f);
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorX, 560)
        << "the pointer over the text reaches the board";
    harness.click(at.x, at.y + 200.0f);
    harness.step();
    EXPECT_TRUE(tutorial().isShown());
    harness.move(at.x, at.y);
    harness.step(6);
    EXPECT_GT(button->mScale, 1.0f) << "the button grows while hovered";
    harness.click(at.x, at.y);
    harness.step();
    // The skip asks first, in the board's overlay slot; its confirm button turns the tutorial off.
    auto* confirm = dynamic_cast<HUDModalDialog*>(harness.game()->GetGameWindow()->mOverlayDialog);
    ASSERT_NE(confirm, nullptr);
    const math::Rect yes = confirm->child(1)->mNormal->mRect;
    harness.click(yes.x + yes.width / 2, yes.y + yes.height / 2);
    harness.step();
    EXPECT_FALSE(tutorial().isEnabled());
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_FALSE(onBoard());
    EXPECT_EQ(map->mHud->mBlockUI, 0);
    EXPECT_EQ(map->mHud->mBlockShop, 0);
    EXPECT_EQ(map->mTutorialSpot, -1);
    EXPECT_EQ(map->mDropChanceOverride, 0.0f);
    EXPECT_EQ(map->mProfile->getTutorialParam(L"dropChanceOverride"), 0);
    EXPECT_FALSE(map->mProfile->isTutorialAvailable());

    tutorial().onEvent(L"tower_select");
    EXPECT_FALSE(tutorial().isShown()) << "no event has any effect any more";
    EXPECT_EQ(map->mProfile->getTutorialStepState(1), kTutorialWaiting);
    harness.loadLevel(kModeNormal, 0, 0);
    tutorial().onEvent(L"unlock_window_close");
    EXPECT_FALSE(tutorial().isShown()) << "not even in a new start of the level";
}

} // namespace
