// Tutorial scripts other than the demo's, run in the demo game: conditions, commands, one event that ends
// one step and starts the next, and scripts that are damaged or name what the data lacks.
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/HUD/Controls/TutorialButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/TDTestUtil.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <gtest/gtest.h>

namespace
{
using tdtest::GameHarness;
using tdtest::LogCapture;

TDTutorial& tutorial()
{
    return *TDTutorial::Instance();
}

void load(const std::string& steps)
{
    tutorial().loadScript("<tutorial>" + steps + "</tutorial>", L"test.xml");
}

// A step of the demo's pictures (folder "build": plate, arrow and the text place "build/text").
std::string step(int id, const char* activate, const char* complete, const std::string& inside,
                 const char* condition = "<condition/>", const char* folder = "build")
{
    return "<step id=\"" + std::to_string(id) + "\" activate=\"" + activate + "\" complete=\"" + complete +
           "\">" + condition + "<show folder=\"" + folder +
           "\"><text place=\"build/text\" string=\"tutorial_play\"/></show>" + inside + "</step>";
}

std::wstring shownText()
{
    const auto& texts = tutorial().getTextLayers();
    return texts.empty() ? std::wstring(L"(none)") : static_cast<layer::TextLayer*>(texts.front())->GetText();
}

class TutorialScript : public testing::Test
{
protected:
    void SetUp() override
    {
        harness.mTutorial = true;
        ASSERT_TRUE(harness.start());
        map = harness.map();
        LogCapture::Reset();
    }

    GameHarness harness;
    TDMap* map = nullptr;
};

TEST_F(TutorialScript, AShopOfMinusOneBindsAStepToItsLevelAndNoShopLetsItReactAnywhere)
{
    struct Case
    {
        const char* condition;
        int level; // of episode 1, from 0
        bool shows;
    };
    const Case cases[] = {
        {"<condition shop=\"-1\" episode=\"0\" level=\"0\"/>", 0, true},
        {"<condition shop=\"-1\" episode=\"0\" level=\"0\"/>", 1, false},
        {"<condition shop=\"-1\" episode=\"0\" level=\"1\"/>", 1, true},
        {"<condition episode=\"0\" level=\"0\"/>", 1, true},
        {"<condition shop=\"2\" episode=\"3\" level=\"3\"/>", 0, true},
    };
    int id = 20;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.condition);
        harness.loadLevel(kModeNormal, 0, c.level);
        load(step(++id, "go", "stop", "", c.condition));
        tutorial().onEvent(L"go");
        EXPECT_EQ(tutorial().isShown(), c.shows);
        EXPECT_EQ(map->mProfile->getTutorialStepState(id), c.shows ? kTutorialShown : kTutorialWaiting);
        tutorial().onEvent(L"stop");
        EXPECT_FALSE(tutorial().isShown());
    }
}

// A level whose start shows no unlock message (no news, or news that hide the message) still tells the
// tutorial the news are done with, so a step waiting for that shows at its start.
TEST_F(TutorialScript, ALevelStartWithoutAnUnlockMessageStillSendsItsClose)
{
    struct Case
    {
        const char* what;
        int episode;
        int level;
    };
    const Case cases[] = {
        {"no news", 1, 3},
        {"news that show nothing (-1)", 2, 3},
        {"news with pictures, closed with ok", 0, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string condition = "<condition shop=\"-1\" episode=\"" + std::to_string(c.episode) +
                                      "\" level=\"" + std::to_string(c.level) + "\"/>";
        load(step(30, "unlock_window_close", "stop", "", condition.c_str()));
        map->mProfile->setTutorialStepState(30, kTutorialWaiting);
        harness.loadLevel(kModeNormal, c.episode, c.level);
        EXPECT_EQ(map->mState, kStatePlaying);
        EXPECT_TRUE(tutorial().isShown());
        EXPECT_EQ(map->mProfile->getTutorialStepState(30), kTutorialShown);
    }
}

TEST_F(TutorialScript, OneEventCompletesOneStepAndShowsTheNext)
{
    load(step(20, "go", "next", "<onComplete><cmd param=\"addMoney\" value=\"5\"/></onComplete>") +
         "<step id=\"21\" activate=\"next\" complete=\"end\"><condition/><show folder=\"build\">"
         "<text place=\"build/text\" string=\"tutorial_build\"/>"
         "<text place=\"build/text\" string=\"tutorial_done\"/></show></step>");
    tutorial().onEvent(L"go");
    const int money = map->mEconomy->mMoney;
    tutorial().onEvent(L"next");
    EXPECT_EQ(map->mEconomy->mMoney, money + 5);
    EXPECT_EQ(map->mProfile->getTutorialStepState(20), kTutorialCompleted);
    EXPECT_EQ(map->mProfile->getTutorialStepState(21), kTutorialShown);
    EXPECT_TRUE(tutorial().isShown());
    EXPECT_EQ(shownText(), LocalStrings::Instance()->get(L"tutorial_done"))
        << "the later text of a place wins";
    tutorial().onEvent(L"go");
    EXPECT_EQ(map->mProfile->getTutorialStepState(20), kTutorialCompleted) << "completed steps stay so";
}

TEST_F(TutorialScript, CommandsActOnTheGame)
{
    TDButtonFrame* play = map->mHud->findButton(L"play_btn");
    ASSERT_NE(play, nullptr);
    struct Case
    {
        const char* param;
        int value;
        float speedBefore;
        float speedAfter;
    };
    const Case cases[] = {
        {"pause", 1, 1.0f, 0.0f},
        {"pause", 0, 0.0f, 1.0f},
        {"pause", 2, 2.0f, 2.0f}, // keeps the speed
        {"nonsense", 1, 1.0f, 1.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.param << " " << c.value);
        map->mSpeed = c.speedBefore;
        play->mVisible = false;
        tutorial().runCommand({std::wstring(c.param, c.param + strlen(c.param)), c.value});
        EXPECT_EQ(map->mSpeed, c.speedAfter);
        if (std::string(c.param) == "pause")
        {
            EXPECT_EQ(play->mVisible, c.speedAfter != 1.0f) << "the speed buttons are refreshed";
        }
    }

    const int gems = map->mEconomy->mGems;
    tutorial().runCommand({L"addGems", 7});
    EXPECT_EQ(map->mEconomy->mGems, gems + 7);
    EXPECT_EQ(map->mProfile->getGems(), gems + 7);
    tutorial().runCommand({L"blockShop", 1});
    EXPECT_EQ(map->mHud->mBlockShop, 1);
    tutorial().runCommand({L"dropChanceOverride", 30});
    EXPECT_EQ(map->mDropChanceOverride, 30.0f);
    EXPECT_EQ(map->mProfile->getTutorialParam(L"dropChanceOverride"), 30);
    tutorial().runCommand({L"completeStep", 33});
    EXPECT_EQ(map->mProfile->getTutorialStepState(33), kTutorialCompleted);
    tutorial().runCommand({L"spot", 2});
    EXPECT_EQ(map->mTutorialSpot, 2);
    EXPECT_EQ(LogCapture::Text(), L"");
}

TEST_F(TutorialScript, ASpotTheLevelLacksLeavesEverySpotOpen)
{
    tutorial().runCommand({L"spot", 2});
    tutorial().runCommand({L"spot", 99});
    EXPECT_EQ(map->mTutorialSpot, -1);
    EXPECT_EQ(LogCapture::CountLines(L"build spot 99"), 1);
    tutorial().runCommand({L"spot", -1});
    EXPECT_EQ(map->mTutorialSpot, -1);
    EXPECT_EQ(LogCapture::CountLines(L"build spot"), 1);
}

TEST_F(TutorialScript, AStepWithoutItsFolderShowsTheSkipButtonAndStillCompletes)
{
    load(step(20, "go", "stop", "", "<condition/>", "nowhere"));
    EXPECT_EQ(LogCapture::CountLines(L"'nowhere'"), 1);
    tutorial().onEvent(L"go");
    EXPECT_TRUE(tutorial().isShown());
    EXPECT_TRUE(tutorial().getPictureLayers().empty());
    EXPECT_TRUE(tutorial().getTextLayers().empty());
    EXPECT_EQ(tutorial().getSkipButton()->GetParent(), boardRootLayer());
    tutorial().onEvent(L"stop");
    EXPECT_FALSE(tutorial().isShown());
    EXPECT_EQ(map->mProfile->getTutorialStepState(20), kTutorialCompleted);
}

TEST_F(TutorialScript, ATextPlaceWithoutTextIsEmptyAndATextWithoutPlaceShowsNothing)
{
    load("<step id=\"20\" activate=\"go\" complete=\"stop\"><condition/><show folder=\"build\">"
         "<text place=\"build/elsewhere\" string=\"tutorial_play\"/></show></step>");
    tutorial().onEvent(L"go");
    ASSERT_EQ(tutorial().getTextLayers().size(), 1u);
    EXPECT_EQ(shownText(), L"");
    EXPECT_EQ(tutorial().getPictureLayers().size(), 2u);
    EXPECT_EQ(LogCapture::CountLines(L"cannot be loaded"), 0) << "a text place is no missing picture";
}

TEST_F(TutorialScript, DamagedScriptsGiveNoStepsOrLeaveTheBrokenStepsOut)
{
    struct Case
    {
        const char* text;
        std::size_t steps;
        const wchar_t* logged;
    };
    const Case cases[] = {
        {"<tutorial><step", 0, L"cannot be read"},
        {"<other/>", 0, L"no `tutorial`"},
        {"", 0, nullptr},
        {"<tutorial><step id=\"4\" activate=\"a\" complete=\"b\"><condition/></step>"
         "<step id=\"5\" activate=\"a\"><condition/><show folder=\"build\"/></step>"
         "<step id=\"6\" activate=\"a\" complete=\"b\"><show folder=\"build\"/></step>"
         "<step id=\"7\" activate=\"a\" complete=\"b\"><condition/><show folder=\"build\"/>"
         "<cmds><cmd value=\"3\"/><cmd param=\"addMoney\"/></cmds></step></tutorial>",
         1, L"left out"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        LogCapture::Reset();
        tutorial().loadScript(c.text, L"test.xml");
        EXPECT_EQ(tutorial().getSteps().size(), c.steps);
        if (c.logged)
            EXPECT_GE(LogCapture::CountLines(c.logged), 1);
        else
            EXPECT_EQ(LogCapture::Text(), L"");
    }
    const TDTutorialStep& kept = *tutorial().getSteps().front();
    EXPECT_EQ(kept.mId, 7);
    ASSERT_EQ(kept.mCommands.size(), 1u) << "a command without a name is left out";
    EXPECT_EQ(kept.mCommands.front().value, 0);
    EXPECT_EQ(LogCapture::CountLines(L"left out"), 3);
}

} // namespace
