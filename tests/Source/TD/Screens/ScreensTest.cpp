// The game's screens as a player meets them, on the demo data through the game harness (headless): from
// the splash to the main menu, the name input, the options dialog and the message boxes over it, the in-game
// menu and its confirmations, what passes no dialog, the result windows of a developer win and loss and the
// level name banner. One scenario a row.
#include "Core/File/Profiles.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/FrameManager.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDIngameMenu.h"
#include "Source/TD/HUD/Menus/HUDLevelResultWindow.h"
#include "Source/TD/HUD/Menus/HUDMainMenu.h"
#include "Source/TD/HUD/Menus/HUDModalInput.h"
#include "Source/TD/HUD/Menus/OptionsDialog.h"
#include "Source/TD/HUD/Menus/TDSplashLogo.h"
#include "Source/TD/HUD/Menus/TDSplashScreens.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"
#include "Source/TD/HUD/Play/HUDLevelName.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
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
    return stepUntil(
        harness, [&] { return topWindow<HUDMainMenu>(harness) != nullptr; }, 400);
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
    struct stat info
    {
    };
    return ::stat((harness.userFolder() / "profiles.xml").c_str(), &info) == 0 ? info.st_ino : 0;
}

std::string profilesText(const GameHarness& harness)
{
    std::ifstream file(harness.userFolder() / "profiles.xml");
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::wstring textOf(const HUDWindow& window, const std::wstring& rect)
{
    for (const auto& [name, text] : window.mTexts)
        if (name == rect)
            return text;
    return L"<unset>";
}

std::wstring local(const wchar_t* key)
{
    return LocalStrings::Instance()->get(key);
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

void aTypedNameIsKeptOnlyByOk(GameHarness& h)
{
    ASSERT_TRUE(toMenu(h));
    h.click(kMenuX, kPlayY);
    ASSERT_EQ(h.map()->mState, kStateNewProfileName);
    h.step();
    auto* input = topWindow<HUDModalInput>(h);
    ASSERT_NE(input, nullptr);
    const std::wstring typed = L"01234567890123456789";
    const std::wstring shown = (input->mText + typed).substr(0, HUDModalInput::kMaxLength);
    h.type(typed);
    h.step();
    EXPECT_EQ(input->mText, shown) << "the field stops at 16 characters";
    // The main menu's Quit shows below the panel; a press there, and a key, act on the name input only.
    h.click(kMenuX, kClozeY);
    h.key('w');
    EXPECT_FALSE(h.game()->IsFinished());
    EXPECT_EQ(h.map()->mState, kStateNewProfileName);
    // Nothing is stored while typing: the store keeps only its default profile, the player has no name.
    h.map()->mProfile->save();
    EXPECT_EQ(file::Profiles::Instance()->GetNames().size(), 1u);
    EXPECT_TRUE(h.map()->mProfile->getCurrentName().empty());
    const std::string shownUtf8(shown.begin(), shown.end());
    EXPECT_EQ(profilesText(h).find(shownUtf8), std::string::npos);

    const math::Point2 ok = h.buttonCentre(L"ok");
    ASSERT_GE(ok.x, 0.0f);
    h.click(ok.x, ok.y);
    EXPECT_EQ(h.map()->mState, kStateEpisodeSelect);
    const std::vector<std::wstring> names = file::Profiles::Instance()->GetNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1], shown);
    EXPECT_EQ(h.map()->mProfile->getCurrentName(), shown);
    EXPECT_NE(profilesText(h).find("name=\"" + shownUtf8 + "\""), std::string::npos) << "saved by OK";
}

void keysAndPressesStopAtDialogs(GameHarness& h)
{
    TDMap& map = *h.map();
    map.mDeveloperMode = true;
    const int money = map.mEconomy->mMoney;
    // A message box of the frame manager over the level: the developer keys (money, win) do nothing.
    ASSERT_EQ(TamselDialog::openModal(new TMessageBox(L"progress_confirm_text", L"restart"),
                                      h.game()->GetFrameManager()),
              VN_OK);
    h.key('m');
    h.key('w');
    ASSERT_NE(shownDialog<TMessageBox>(h), nullptr);
    h.key('m');
    h.key('w');
    EXPECT_EQ(map.mState, kStatePlaying);
    EXPECT_EQ(map.mEconomy->mMoney, money);
    h.click(kBoxCancelX, kBoxButtonY);
    EXPECT_TRUE(stepUntil(h, [&] { return dialogs<TMessageBox>(h).empty(); }));

    // The tutorial's confirmation in the board's overlay slot: no key and no press reaches the level.
    map.mHud->showTutorialCancelDialog();
    h.step();
    GameWindow* board = h.game()->GetGameWindow();
    auto* confirm = dynamic_cast<HUDModalMessage*>(board->mOverlayDialog);
    ASSERT_NE(confirm, nullptr);
    h.key('m');
    h.key('w');
    h.click(432.0f, 468.0f); // an owned build spot of level 1-1
    EXPECT_EQ(map.mState, kStatePlaying);
    EXPECT_EQ(map.mEconomy->mMoney, money);
    EXPECT_EQ(map.mContextMenu, nullptr);
    const math::Rect& cancel = confirm->child(0)->mNormal->mRect;
    h.click(cancel.x + cancel.width * 0.5f, cancel.y + cancel.height * 0.5f);
    h.step();
    EXPECT_EQ(board->mOverlayDialog, nullptr);

    // With nothing over it the board takes the keys again.
    h.key('m');
    EXPECT_EQ(map.mEconomy->mMoney, money + 1000);
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

// What one draw of the map plays on the recording back end, the world standing still.
std::vector<std::string> drawnOps(GameHarness& h, const std::function<void(render::Graphics&)>& draw)
{
    render::RecordingRender& record = *h.recording();
    (void)record.TakeLog();
    if (record.BeginFrame() != VN_OK)
        return {};
    {
        render::Graphics graphics(&record);
        draw(graphics);
    }
    (void)record.EndFrame();
    (void)record.Playback();
    // Where in the shared buffers a draw starts depends on what was drawn before it: only its kind and size
    // are kept.
    std::vector<std::string> ops = record.TakeLog();
    for (std::string& op : ops)
    {
        if (op.rfind("Draw", 0) != 0)
            continue;
        std::istringstream fields(op);
        std::vector<std::string> f((std::istream_iterator<std::string>(fields)),
                                   std::istream_iterator<std::string>());
        if (f.size() == 4) // DrawPrimitive type first count
            op = f[0] + " " + f[1] + " " + f[3];
        else if (f.size() == 7) // DrawIndexedPrimitive type size first count minVertex vertexCount
            op = f[0] + " " + f[1] + " " + f[2] + " " + f[4] + " " + f[6];
    }
    return ops;
}

int drawCalls(std::vector<std::string>::const_iterator from, std::vector<std::string>::const_iterator to)
{
    return static_cast<int>(
        std::count_if(from, to, [](const std::string& op) { return op.rfind("Draw", 0) == 0; }));
}

// The level's ambient effects (the petals of episode 1) draw with the level: under the in-game menu that
// pauses it, and not at all once the player has left it for the main menu.
void theLevelsEffectsStayWithTheLevel(GameHarness& h)
{
    TDMap& map = *h.map();
    h.step(10 * 60); // every ambient place has fired
    ASSERT_FALSE(map.mLateEmitters.empty());
    h.game()->OnDeactivate();
    h.step(2);
    auto* menu = topWindow<HUDIngameMenu>(h);
    ASSERT_NE(menu, nullptr);
    h.step(30); // the menu has grown in
    const auto drawMap = [&](render::Graphics& g) { map.draw(&g); };
    std::vector<TDEmitter*> effects;
    const auto withoutEffects = [&](const std::function<void()>& body)
    {
        effects.swap(map.mLateEmitters);
        body();
        effects.swap(map.mLateEmitters);
    };
    const std::vector<std::string> with = drawnOps(h, drawMap);
    std::vector<std::string> without;
    withoutEffects([&] { without = drawnOps(h, drawMap); });
    ASSERT_NE(with, without) << "the paused level shows its effects";
    // Everything after the effects is the same in both: the menu must be part of it.
    std::size_t common = 0;
    while (common < with.size() && common < without.size() &&
           with[with.size() - 1 - common] == without[without.size() - 1 - common])
        ++common;
    const std::vector<std::string> menuAlone = drawnOps(h, [&](render::Graphics& g) { menu->draw(&g); });
    const int menuDraws = drawCalls(menuAlone.begin(), menuAlone.end());
    ASSERT_GT(menuDraws, 0);
    EXPECT_GE(drawCalls(with.end() - static_cast<std::ptrdiff_t>(common), with.end()), menuDraws)
        << "the effects are drawn before the in-game menu";

    // To the main menu: the effects of the level left behind draw nothing there.
    h.click(kMenuX, kMainMenuY);
    ASSERT_NE(shownDialog<TMessageBox>(h), nullptr);
    h.click(kBoxOkX, kBoxButtonY);
    h.step(2);
    ASSERT_EQ(map.mState, kStateMainMenu);
    const std::vector<std::string> menuWith = drawnOps(h, drawMap);
    std::vector<std::string> menuWithout;
    withoutEffects([&] { menuWithout = drawnOps(h, drawMap); });
    EXPECT_EQ(menuWith, menuWithout);
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

// A loss with lives left (the developer key) and kills made: nothing is paid or stored, the window reads as
// a victory's does (same font, the level's name and difficulty, every row with its caption), and its rows
// stay at 0.
void aDefeatPaysAndStoresNothing(GameHarness& h)
{
    TDMap& map = *h.map();
    TDProfile& profile = *map.mProfile;
    const int gems = profile.getGems();
    const int lastEpisode = profile.getLastEpisode();
    map.mEconomy->addKillReward(120, 300.0f, 300.0f);
    map.mDeveloperMode = true;
    h.key('l');
    EXPECT_EQ(map.mState, kStateLost);
    h.step();
    auto* result = topWindow<HUDLevelResultWindow>(h);
    ASSERT_NE(result, nullptr);
    h.step(6 * 60);
    EXPECT_EQ(result->mFont.Get(), boardFont(TDBoardFont::Main42_3).Get()) << "the victory's font";
    const wchar_t* difficulty[] = {L"diff_easy", L"diff_normal", L"diff_hard", L"HardcoreTitle"};
    ASSERT_GE(map.mMode, 0);
    ASSERT_LE(map.mMode, 3);
    EXPECT_EQ(textOf(*result, L"gameName"), local(difficulty[map.mMode]));
    EXPECT_NE(textOf(*result, L"levelName").find(L"1 - 1"), std::wstring::npos);
    const struct
    {
        const wchar_t* rect;
        const wchar_t* caption;
    } rows[] = {{L"killScore", L"game_kill_score"},
                {L"goldBonus", L"game_combo_bonus"},
                {L"lifeBonus", L"game_life_bonus"},
                {L"totalScore", L"game_total_score"}};
    for (const auto& row : rows)
        EXPECT_EQ(textOf(*result, row.rect), local(row.caption) + L"0") << row.rect;
    for (const wchar_t* star : {L"star0", L"star1", L"star2"})
        EXPECT_FALSE(imageVisible(*result, star));
    EXPECT_EQ(textOf(*result, L"gems"), local(L"gems") + L": 0");
    EXPECT_EQ(profile.getGems(), gems);
    EXPECT_EQ(profile.getLastEpisode(), lastEpisode);
    EXPECT_EQ(profile.findLevelElement(map.mEpisode, map.mLevel, map.mMode), nullptr) << "no record made";
}

// The developer win after kills: the window counts the kills made.
void aDeveloperWinCountsTheKills(GameHarness& h)
{
    TDMap& map = *h.map();
    map.mEconomy->addKillReward(45, 300.0f, 300.0f);
    map.mDeveloperMode = true;
    h.key('w');
    h.step();
    auto* result = topWindow<HUDLevelResultWindow>(h);
    ASSERT_NE(result, nullptr);
    h.step(6 * 60);
    EXPECT_EQ(textOf(*result, L"killScore"), local(L"game_kill_score") + L"45");
    EXPECT_EQ(map.mProfile->getLevelResult(map.mEpisode, map.mLevel, map.mMode).kills, 45);
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
        {"a typed name is kept only by ok, at most 16 characters", O::Splash, nullptr,
         aTypedNameIsKeptOnlyByOk},
        {"focus loss pauses", O::FirstLevel, nullptr, focusLossPauses},
        {"keys and presses stop at dialogs", O::FirstLevel, nullptr, keysAndPressesStopAtDialogs},
        {"restart confirmed restarts with the budget, cancel keeps the menu", O::FirstLevel, nullptr,
         restartConfirmedCancelKeepsTheMenu},
        {"main menu confirmed leaves the level", O::FirstLevel, nullptr, mainMenuConfirmedLeavesTheLevel},
        {"the level's effects stay with the level", O::FirstLevel, nullptr, theLevelsEffectsStayWithTheLevel},
        {"a developer win shows 3 stars and stores the gems", O::FirstLevel, nullptr,
         developerWinShowsThreeStarsAndStoresTheGems},
        {"a defeat pays and stores nothing", O::FirstLevel, nullptr, aDefeatPaysAndStoresNothing},
        {"a developer win counts the kills", O::FirstLevel, nullptr, aDeveloperWinCountsTheKills},
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
