// The game's screens as a player meets them, on the demo data through the game harness (headless): from
// the splash to the main menu, the options dialog and the message boxes over it, the in-game menu and its
// confirmations, the result window of a developer win and the level name banner. One scenario a row.
#include "Core/File/Profiles.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/FrameManager.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDIngameMenu.h"
#include "Source/TD/HUD/HUDLevelName.h"
#include "Source/TD/HUD/HUDLevelResultWindow.h"
#include "Source/TD/HUD/HUDMainMenu.h"
#include "Source/TD/HUD/OptionsDialog.h"
#include "Source/TD/HUD/TDSplashLogo.h"
#include "Source/TD/HUD/TDSplashScreens.h"
#include "Source/TD/HUD/TMessageBox.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/LocalStrings.h"
#include "Source/TD/SoundTags.h"
#include "Source/TD/TDEconomy.h"
#include "Source/TD/TDFrameEntry.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace
{
using tdtest::GameHarness;

// Places on the demo layouts (logical screen).
constexpr float kMenuX = 512.0f;
constexpr float kPlayY = 300.0f, kOptionsY = 504.0f, kClozeY = 592.0f;
constexpr float kResumeY = 278.0f, kRestartY = 372.0f, kMainMenuY = 560.0f;
constexpr float kBoxOkX = 396.0f, kBoxCancelX = 636.0f, kBoxSingleX = 512.0f, kBoxButtonY = 520.0f;
// The options dialog's music row: the thumb at full volume, the bar's middle, the minus stepper.
constexpr float kCheatY = 434.0f;
constexpr float kMusicY = 304.0f, kMusicThumbX = 640.0f, kMusicMiddleX = 516.0f, kMusicDownX = 332.0f;

template <class T>
T* topWindow(const GameHarness& harness)
{
    const std::vector<HUDWindow*>& windows = harness.map()->mHud->getWindows();
    return windows.empty() ? nullptr : dynamic_cast<T*>(windows.back());
}

// The game's dialogs in the frame manager's modal tier, bottom to top.
template <class T>
std::vector<T*> dialogs(const GameHarness& harness)
{
    std::vector<T*> found;
    for (const widget::FrameEntry& entry : harness.game()->GetFrameManager()->GetFrames())
        if (auto* dialog = dynamic_cast<T*>(entry.frame); dialog && entry.tier == widget::FrameTierModal)
            found.push_back(dialog);
    return found;
}

// Steps until the condition holds; false when it did not within the frames.
bool stepUntil(GameHarness& harness, const std::function<bool()>& done, int frames = 600)
{
    for (int i = 0; i < frames; ++i)
    {
        if (done())
            return true;
        harness.step();
    }
    return done();
}

bool toMenu(GameHarness& harness)
{
    return stepUntil(harness, [&] { return topWindow<HUDMainMenu>(harness) != nullptr; }, 400);
}

// A dialog takes input once its show effect has ended.
template <class T>
T* shownDialog(GameHarness& harness)
{
    T* shown = nullptr;
    stepUntil(harness,
              [&]
              {
                  const std::vector<T*> open = dialogs<T>(harness);
                  shown = !open.empty() && !open.back()->IsDisabled() ? open.back() : nullptr;
                  return shown != nullptr;
              });
    return shown;
}

ino_t profileFile(const GameHarness& harness)
{
    struct stat info{};
    return ::stat((harness.userFolder() / "profiles.xml").c_str(), &info) == 0 ? info.st_ino : 0;
}

bool imageVisible(const HUDWindow& window, const std::wstring& name)
{
    for (const TDFrameEntry* image : window.mImages)
        if (image->mName == name)
            return image->mVisible;
    return false;
}

struct Scenario
{
    const char* name;
    GameHarness::Opening opening;
    std::function<void(GameHarness&)> before; // before the start: the user folder
    std::function<void(GameHarness&)> play;
};

void twoLogosThenTheMenu(GameHarness& h)
{
    auto* splash = topWindow<TDSplashScreens>(h);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(h.map()->mState, kStateSplash);
    ASSERT_EQ(splash->mLogos.size(), 2u);
    EXPECT_EQ(h.sounds().music.back(), w7::kMenuMusic);
    // 2.5 s a logo, up to a frame more per phase.
    h.step(152);
    EXPECT_EQ(splash->mCurrent, 1);
    int frames = 0;
    while (h.map()->mState == kStateSplash && frames < 400)
    {
        h.step();
        ++frames;
    }
    EXPECT_GE(frames, 146);
    EXPECT_LE(frames, 156);
    EXPECT_EQ(h.map()->mState, kStateMainMenu);
    h.step();
    EXPECT_NE(topWindow<HUDMainMenu>(h), nullptr);
    EXPECT_EQ(h.map()->mHud->getWindows().size(), 1u);
}

void pressesSkipTheLogos(GameHarness& h)
{
    h.step(10);
    h.click(300.0f, 300.0f);
    auto* splash = topWindow<TDSplashScreens>(h);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->mCurrent, 1) << "the second logo starts with its fade-in";
    EXPECT_EQ(splash->mLogos[1]->mPhase, 0);
    h.click(300.0f, 300.0f);
    EXPECT_EQ(h.map()->mState, kStateMainMenu) << "the last press opens the menu at once";
    h.step();
    EXPECT_NE(topWindow<HUDMainMenu>(h), nullptr);
    EXPECT_EQ(h.map()->mHud->getWindows().size(), 1u);
}

void damagedProfileReportedOnce(GameHarness& h)
{
    ASSERT_TRUE(toMenu(h));
    auto* box = shownDialog<TMessageBox>(h);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->mTextKey, L"profile_corrupt");
    EXPECT_EQ(box->mSecondButton, nullptr) << "a plain message";
    EXPECT_EQ(dialogs<TMessageBox>(h).size(), 1u);
    // The box is modal: the menu's play below it does nothing.
    h.click(kMenuX, kPlayY);
    EXPECT_EQ(h.map()->mState, kStateMainMenu);
    h.click(kBoxSingleX, kBoxButtonY);
    EXPECT_TRUE(stepUntil(h, [&] { return dialogs<TMessageBox>(h).empty(); }));
    // Back to the menu a second time: no second message.
    h.map()->mHud->closeTopWindow();
    h.map()->mHud->openMainMenu();
    h.step(30);
    EXPECT_TRUE(dialogs<TMessageBox>(h).empty());
}

void optionsInertUntilShownAndADragSavedOnce(GameHarness& h)
{
    ASSERT_TRUE(toMenu(h));
    SoundSystem* sound = SoundSystem::Instance();
    h.click(kMenuX, kOptionsY);
    h.step();
    std::vector<OptionsDialog*> open = dialogs<OptionsDialog>(h);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(h.map()->mState, kStateMainMenu) << "the dialog does not change the state";
    EXPECT_TRUE(open[0]->IsDisabled()) << "its show effect runs";
    h.click(kMusicDownX, kMusicY);
    EXPECT_FLOAT_EQ(sound->GetMusicVolume(), 1.0f) << "a click during the show effect does nothing";

    OptionsDialog* options = shownDialog<OptionsDialog>(h);
    ASSERT_NE(options, nullptr);
    const ino_t before = profileFile(h);
    h.move(kMusicThumbX, kMusicY);
    h.press(kMusicThumbX, kMusicY);
    h.drag(kMusicMiddleX, kMusicY);
    h.step();
    EXPECT_FLOAT_EQ(sound->GetMusicVolume(), 1.0f) << "the music plays on at the old volume while dragged";
    EXPECT_EQ(profileFile(h), before) << "nothing saved during the drag";
    h.release(kMusicMiddleX, kMusicY);
    const float dropped = sound->GetMusicVolume();
    EXPECT_NEAR(dropped, 0.5f, 0.03f);
    EXPECT_FLOAT_EQ(h.map()->mProfile->getMusicVolume(), dropped);
    const ino_t saved = profileFile(h);
    EXPECT_NE(saved, before) << "saved at the release";
    h.step(5);
    EXPECT_EQ(profileFile(h), saved) << "and only then";

    // The bug button turns the developer keys on.
    EXPECT_FALSE(h.map()->mDeveloperMode);
    h.click(kMenuX, kCheatY);
    EXPECT_TRUE(h.map()->mDeveloperMode);

    // The stepper moves by a quarter at once and clamps at 0.
    h.click(kMusicDownX, kMusicY);
    EXPECT_NEAR(sound->GetMusicVolume(), dropped - 0.25f, 1e-5f);
    h.click(kMusicDownX, kMusicY);
    h.click(kMusicDownX, kMusicY);
    EXPECT_FLOAT_EQ(sound->GetMusicVolume(), 0.0f);
    EXPECT_FLOAT_EQ(h.map()->mProfile->getMusicVolume(), 0.0f);
}

void clozeEndsTheGameAndSaves(GameHarness& h)
{
    ASSERT_TRUE(toMenu(h));
    h.map()->mProfile->setSoundVolume(0.75f);
    std::filesystem::remove(h.userFolder() / "profiles.xml");
    h.click(kMenuX, kClozeY);
    EXPECT_TRUE(h.game()->IsFinished());
    EXPECT_EQ(h.game()->GetExitCode(), 0);
    // The harness keeps a test's profiles from being written at exit; this one is about that write. The
    // process's singletons go after its main loop, the profile store among them.
    file::Profiles::mNoSaveAtExit = false;
    h.end();
    delete file::Profiles::Instance();
    std::ifstream file(h.userFolder() / "profiles.xml");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("0.75"), std::string::npos) << "the profile is written at exit: " << text;
}

void playAsksANewPlayerForANameThenOpensTheEpisodes(GameHarness& h)
{
    ASSERT_TRUE(toMenu(h));
    h.click(kMenuX, kPlayY);
    EXPECT_EQ(h.map()->mState, kStateNewProfileName);
    h.step();
    // A named player goes straight on to the episodes.
    h.map()->mHud->closeTopWindow();
    h.map()->mProfile->createProfile(L"Anna");
    h.map()->mState = kStateMainMenu;
    h.step(2);
    h.click(kMenuX, kPlayY);
    EXPECT_EQ(h.map()->mState, kStateEpisodeSelect);
}

void focusLossPauses(GameHarness& h)
{
    ASSERT_EQ(h.map()->mState, kStatePlaying);
    h.game()->OnDeactivate();
    h.step();
    EXPECT_EQ(h.map()->mState, kStateIngameMenu);
    EXPECT_EQ(h.map()->mSpeed, 0.0f);
    EXPECT_NE(topWindow<HUDIngameMenu>(h), nullptr);
    const float clock = h.map()->mGameTime;
    h.game()->OnDeactivate();
    h.step(30);
    EXPECT_EQ(h.map()->mHud->getWindows().size(), 1u) << "losing the focus again changes nothing";
    EXPECT_EQ(h.map()->mGameTime, clock) << "the level is frozen";
    h.click(kMenuX, kResumeY);
    EXPECT_EQ(h.map()->mState, kStatePlaying);
    EXPECT_EQ(h.map()->mSpeed, 0.0f) << "it waits for the play button";
    h.step();
    EXPECT_TRUE(h.map()->mHud->getWindows().empty());
}

void restartConfirmedCancelKeepsTheMenu(GameHarness& h)
{
    TDEconomy& purse = *h.map()->mEconomy;
    const int budget = purse.mMoney;
    purse.addMoney(500);
    h.game()->OnDeactivate();
    h.step();
    h.click(kMenuX, kRestartY);
    TMessageBox* box = shownDialog<TMessageBox>(h);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->mTextKey, L"progress_confirm_text");
    EXPECT_EQ(box->mCommand, L"restart");
    h.click(kBoxCancelX, kBoxButtonY);
    EXPECT_TRUE(stepUntil(h, [&] { return dialogs<TMessageBox>(h).empty(); }));
    EXPECT_EQ(h.map()->mState, kStateIngameMenu);
    EXPECT_NE(topWindow<HUDIngameMenu>(h), nullptr);
    EXPECT_EQ(purse.mMoney, budget + 500);

    h.click(kMenuX, kRestartY);
    ASSERT_NE(shownDialog<TMessageBox>(h), nullptr);
    h.click(kBoxOkX, kBoxButtonY);
    EXPECT_EQ(h.map()->mState, kStateUnlockMessage) << "1-1 starts again with its news";
    EXPECT_EQ(purse.mMoney, budget);
    h.step();
    EXPECT_EQ(h.map()->mHud->getWindows().size(), 1u) << "the in-game menu went; the news came";
}

void mainMenuConfirmedLeavesTheLevel(GameHarness& h)
{
    h.game()->OnDeactivate();
    h.step();
    h.click(kMenuX, kMainMenuY);
    ASSERT_NE(shownDialog<TMessageBox>(h), nullptr);
    h.click(kBoxOkX, kBoxButtonY);
    EXPECT_EQ(h.map()->mState, kStateMainMenu);
    h.step();
    EXPECT_NE(topWindow<HUDMainMenu>(h), nullptr);
    EXPECT_EQ(h.map()->mHud->getWindows().size(), 1u);
}

void developerWinShowsThreeStarsAndStoresTheGems(GameHarness& h)
{
    TDMap& map = *h.map();
    const int gems = map.mProfile->getGems();
    h.key('w');
    EXPECT_EQ(map.mState, kStatePlaying) << "the developer keys are off until the cheat button";
    map.mDeveloperMode = true;
    h.key('w');
    EXPECT_EQ(map.mState, kStateWon);
    EXPECT_EQ(map.mResultAction, 2);
    h.step();
    auto* result = topWindow<HUDLevelResultWindow>(h);
    ASSERT_NE(result, nullptr);
    for (const wchar_t* star : {L"star0", L"star1", L"star2"})
        EXPECT_TRUE(imageVisible(*result, star)) << star;
    EXPECT_FALSE(imageVisible(*result, L"back_lose"));
    EXPECT_TRUE(imageVisible(*result, L"back_win"));
    EXPECT_EQ(map.mProfile->getGems(), gems + 13) << "3 + 5 + 5 for three new stars";
    EXPECT_EQ(map.mProfile->getLevelResult(0, 0, map.mMode).stars, 3);
    EXPECT_LT(result->mScale, 1.0f);
    h.step(20);
    EXPECT_FLOAT_EQ(result->mScale, 1.0f) << "grown in after a quarter second";
}

void theBannerFades(GameHarness& h)
{
    // The first levels bring new towers (the unlock message's turn); level 2-4 brings nothing new.
    h.loadLevel(h.map()->mMode, 1, 3);
    h.step();
    GameWindow* board = h.game()->GetGameWindow();
    auto* banner = dynamic_cast<HUDLevelName*>(board->mLevelBanner);
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(h.map()->mHud->getWindows().empty()) << "not on the HUD's stack";
    EXPECT_EQ(banner->mTitle, LocalStrings::Instance()->get(L"episode1"));
    EXPECT_EQ(banner->mLevelLine, LocalStrings::Instance()->get(L"level_d") + L" 4");
    // Half a second fading in, two seconds shown, half a second fading out, then gone. Counted frame by frame
    // from where the banner stands now, reading it afresh each frame (it deletes itself at the end).
    const int start = banner->mPhase;
    ASSERT_EQ(start, 0);
    int phaseOneAt = -1;
    int phaseTwoAt = -1;
    int goneAt = -1;
    float lastAlpha = banner->alpha();
    for (int frame = 1; frame <= 4 * 60 && goneAt < 0; ++frame)
    {
        h.step();
        auto* now = dynamic_cast<HUDLevelName*>(board->mLevelBanner);
        if (!now)
        {
            goneAt = frame;
            break;
        }
        if (now->mPhase == 1 && phaseOneAt < 0)
            phaseOneAt = frame;
        if (now->mPhase == 2 && phaseTwoAt < 0)
            phaseTwoAt = frame;
        if (now->mPhase == 0)
        {
            EXPECT_GE(now->alpha(), lastAlpha) << "fading in";
        }
        else if (now->mPhase == 1)
        {
            EXPECT_FLOAT_EQ(now->alpha(), 1.0f);
        }
        else
        {
            EXPECT_LE(now->alpha(), lastAlpha) << "fading out";
        }
        lastAlpha = now->alpha();
    }
    ASSERT_GT(phaseOneAt, 0);
    EXPECT_NEAR(phaseTwoAt - phaseOneAt, 120, 2) << "two seconds shown";
    EXPECT_NEAR(goneAt - phaseTwoAt, 30, 3) << "half a second fading out, then gone";
    EXPECT_LE(phaseOneAt, 31) << "at most half a second fading in";
}

TEST(Screens, Scenarios)
{
    using O = GameHarness::Opening;
    const Scenario scenarios[] = {
        {"two logos then the menu", O::Splash, nullptr, twoLogosThenTheMenu},
        {"presses skip the logos", O::Splash, nullptr, pressesSkipTheLogos},
        {"a damaged profile shows profile_corrupt once", O::Splash,
         [](GameHarness& h) { std::ofstream(h.userFolder() / "profiles.xml") << "<Profiles><Profile"; },
         damagedProfileReportedOnce},
        {"options inert until shown, a volume drag saved once", O::Splash, nullptr,
         optionsInertUntilShownAndADragSavedOnce},
        {"cloze exits with code 0 and saves", O::Splash, nullptr, clozeEndsTheGameAndSaves},
        {"play asks a new player for a name, a named one goes to the episodes", O::Splash, nullptr,
         playAsksANewPlayerForANameThenOpensTheEpisodes},
        {"focus loss pauses", O::FirstLevel, nullptr, focusLossPauses},
        {"restart confirmed restarts with the budget, cancel keeps the menu", O::FirstLevel, nullptr,
         restartConfirmedCancelKeepsTheMenu},
        {"main menu confirmed leaves the level", O::FirstLevel, nullptr, mainMenuConfirmedLeavesTheLevel},
        {"a developer win shows 3 stars and stores the gems", O::FirstLevel, nullptr,
         developerWinShowsThreeStarsAndStoresTheGems},
        {"the banner fades", O::FirstLevel, nullptr, theBannerFades},
    };
    for (const Scenario& scenario : scenarios)
    {
        SCOPED_TRACE(scenario.name);
        GameHarness harness;
        if (scenario.before)
            scenario.before(harness);
        ASSERT_TRUE(harness.start(scenario.opening));
        scenario.play(harness);
    }
}

} // namespace
