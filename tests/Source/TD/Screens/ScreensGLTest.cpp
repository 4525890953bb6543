// The screens on the GL back end in a window (under Xvfb), photographed as a player meets them: a splash
// logo, the main menu, the options dialog over it, the name input shading the menu, and the result windows of
// a won and a lost level 1-1. The pictures are kept as screen_*.png in the test's build folder.
#include "Core/Widget/FrameManager.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDLevelResultWindow.h"
#include "Source/TD/HUD/Menus/HUDMainMenu.h"
#include "Source/TD/HUD/Menus/OptionsDialog.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/Controls/TamselSwitchButton.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Data/TDProfile.h"
#include "Framework/GameWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace
{
using tdtest::GameHarness;

using tdtest::blue;
using tdtest::green;
using tdtest::Picture;
using tdtest::red;
using tdtest::takePicture;

template <typename Dialog>
Dialog* shownDialog(const GameHarness& harness)
{
    for (const widget::FrameEntry& entry : harness.game()->GetFrameManager()->GetFrames())
        if (auto* dialog = dynamic_cast<Dialog*>(entry.frame); dialog && !dialog->IsDisabled())
            return dialog;
    return nullptr;
}

bool optionsShown(const GameHarness& harness)
{
    return shownDialog<OptionsDialog>(harness) != nullptr;
}

// Steps until the dialog is up and takes input, or is gone; false when that does not come within two seconds.
template <typename Dialog>
bool awaitDialog(GameHarness& harness, bool shown)
{
    for (int i = 0; i < 120 && (shownDialog<Dialog>(harness) != nullptr) != shown; ++i)
        harness.step();
    harness.step(10);
    return (shownDialog<Dialog>(harness) != nullptr) == shown;
}

TEST(ScreensGL, SplashMenuOptionsAndResult)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start(GameHarness::Opening::Splash))
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();

    // The first logo, held: a picture on black.
    harness.step(60);
    const Picture splash = takePicture(harness);
    splash.save(std::string(CORV_SHOT_DIR) + "/screen_splash.png");
    EXPECT_EQ(splash.at(5.0f, 5.0f) & 0xFFFFFF, 0u);
    EXPECT_NE(splash.at(512.0f, 384.0f) & 0xFFFFFF, 0u);

    // Two presses skip both logos; the menu's green play button over the night sky.
    harness.click(500.0f, 500.0f);
    harness.click(500.0f, 500.0f);
    harness.step(30);
    ASSERT_EQ(map->mState, kStateMainMenu);
    const Picture menu = takePicture(harness);
    menu.save(std::string(CORV_SHOT_DIR) + "/screen_menu.png");
    const uint32_t play = menu.at(512.0f, 300.0f);
    EXPECT_TRUE(green(play) > red(play) && green(play) > blue(play)) << std::hex << play;
    const uint32_t sky = menu.at(100.0f, 200.0f);
    EXPECT_TRUE(blue(sky) > red(sky)) << std::hex << sky;

    // The options dialog over the menu: its panel covers the play button.
    harness.click(512.0f, 504.0f);
    for (int i = 0; i < 120 && !optionsShown(harness); ++i)
        harness.step();
    harness.step(10);
    ASSERT_TRUE(optionsShown(harness));
    const Picture options = takePicture(harness);
    options.save(std::string(CORV_SHOT_DIR) + "/screen_options.png");
    EXPECT_NE(options.at(512.0f, 300.0f), play);

    // Closed; play; a developer win: the result window with its stars.
    harness.click(772.0f, 78.0f);
    for (int i = 0; i < 120 && optionsShown(harness); ++i)
        harness.step();
    harness.step(30);
    // An unnamed player's play asks for a name over the shaded menu: the Quit button peeking out below the
    // panel is dimmed. Back returns to the menu.
    harness.click(512.0f, 300.0f);
    harness.step(5);
    ASSERT_EQ(map->mState, kStateNewProfileName);
    const Picture naming = takePicture(harness);
    naming.save(std::string(CORV_SHOT_DIR) + "/screen_name_input.png");
    const auto brightness = [](uint32_t p) { return red(p) + green(p) + blue(p); };
    EXPECT_LT(brightness(naming.at(512.0f, 615.0f)) * 10, brightness(menu.at(512.0f, 615.0f)) * 7)
        << std::hex << naming.at(512.0f, 615.0f) << " " << menu.at(512.0f, 615.0f);
    const math::Point2 back = harness.buttonCentre(L"cancel");
    harness.click(back.x, back.y);
    harness.step(2);
    ASSERT_EQ(map->mState, kStateMainMenu);
    // A named player's play opens the episodes; the first level is started from there.
    map->mProfile->createProfile(L"Anna");
    harness.click(512.0f, 300.0f);
    ASSERT_EQ(map->mState, kStateEpisodeSelect);
    harness.step();
    harness.loadLevel(map->mMode, 0, 0);
    harness.step();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.step(10);
    map->mDeveloperMode = true;
    harness.key('w');
    harness.step(300);
    ASSERT_EQ(map->mState, kStateWon);
    const Picture result = takePicture(harness);
    result.save(std::string(CORV_SHOT_DIR) + "/screen_result.png");
    EXPECT_NE(dynamic_cast<HUDLevelResultWindow*>(map->mHud->getWindows().back()), nullptr);

    // Restarted and lost: the defeat window names the difficulty on its plaque, as the victory's does.
    harness.click(512.0f, 665.0f);
    harness.step(10);
    harness.dismissUnlockMessage();
    ASSERT_EQ(map->mState, kStatePlaying);
    harness.key('l');
    harness.step(300);
    ASSERT_EQ(map->mState, kStateLost);
    const Picture defeat = takePicture(harness);
    defeat.save(std::string(CORV_SHOT_DIR) + "/screen_defeat.png");
    int lettering = 0;
    for (float x = 400.0f; x < 624.0f; x += 2.0f)
        for (float y = 334.0f; y < 372.0f; y += 2.0f)
            if (brightness(defeat.at(x, y)) > 3 * 200)
                ++lettering;
    EXPECT_GT(lettering, 20) << "the difficulty's name in white on the plaque";
}

// The options dialog's two switches show the mode the game is in, and the one not chosen switches it: both
// ways, each switch taking the next click, the mode kept in the profile. A desktop that cannot hold the
// window refuses windowed mode with a message and leaves full screen chosen.
TEST(ScreensGL, OptionsSwitchesFollowTheScreenModeBothWays)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start(GameHarness::Opening::Splash))
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    framework::GameWindow* window = harness.game()->GetWindow();
    harness.click(500.0f, 500.0f);
    harness.click(500.0f, 500.0f);
    harness.step(30);
    ASSERT_EQ(map->mState, kStateMainMenu);
    harness.click(512.0f, 504.0f);
    ASSERT_TRUE(awaitDialog<OptionsDialog>(harness, true));
    OptionsDialog* options = shownDialog<OptionsDialog>(harness);
    // Near the top of the switches, above their captions, where their faces are lightest.
    constexpr float kWindowX = 382.0f, kFullScreenX = 642.0f, kSwitchY = 541.0f;
    auto expectChosen = [&](bool windowed, const char* when)
    {
        SCOPED_TRACE(when);
        EXPECT_EQ(window->IsWindowed(), windowed);
        EXPECT_EQ(harness.game()->IsWindowed(), windowed);
        EXPECT_EQ(options->mWindowSwitch->mSelected, windowed);
        EXPECT_EQ(options->mFullscreenSwitch->mSelected, !windowed);
    };
    // The test display cannot hold a framed 1366 x 768 window: the game runs full screen.
    expectChosen(false, "at the start");
    harness.click(kWindowX, kSwitchY);
    ASSERT_TRUE(awaitDialog<TMessageBox>(harness, true)) << "no message on a desktop too small";
    expectChosen(false, "refused");
    harness.click(512.0f, 520.0f);
    ASSERT_TRUE(awaitDialog<TMessageBox>(harness, false));

    harness.useDesktop(1920, 1080);
    harness.click(kWindowX, kSwitchY);
    harness.step(30);
    expectChosen(true, "after the window switch");
    EXPECT_FALSE(map->mProfile->getFullscreen());
    const Picture windowed = takePicture(harness);
    windowed.save(std::string(CORV_SHOT_DIR) + "/screen_options_windowed.png");
    const uint32_t chosen = windowed.at(kWindowX, kSwitchY);
    EXPECT_GT(green(chosen), red(chosen) + 40) << "the window switch shows chosen: " << std::hex << chosen;

    harness.click(kFullScreenX, kSwitchY);
    harness.step(30);
    expectChosen(false, "after the full-screen switch");
    EXPECT_TRUE(map->mProfile->getFullscreen());
    const Picture full = takePicture(harness);
    full.save(std::string(CORV_SHOT_DIR) + "/screen_options_fullscreen.png");
    const uint32_t other = full.at(kWindowX, kSwitchY);
    EXPECT_LT(green(other), red(other) + 40) << "the window switch shows not chosen: " << std::hex << other;

    // The chosen switch ignores clicks; the other one takes the next.
    harness.click(kFullScreenX, kSwitchY);
    harness.step(5);
    expectChosen(false, "a click on the chosen switch");
    harness.click(kWindowX, kSwitchY);
    harness.step(5);
    expectChosen(true, "the window switch once more");
}

// Each switch on its own, from either mode, on a desktop that can or cannot hold the largest window: the
// switch not chosen plays "simple", switches the mode at once and writes the new "fs" to the profile file;
// the chosen one takes no click (no sound, nothing written). The window switch on a desktop too small shows
// the plain message "IllegalResolutionMessage" over the dialog, leaves full screen and the file alone, and the
// dialog takes input again once the message is closed; the full-screen switch is never refused.
TEST(ScreensGL, EachOptionsSwitchFromEachModeAndDesktop)
{
    constexpr float kWindowX = 382.0f, kFullScreenX = 642.0f, kSwitchY = 541.0f;
    struct Case
    {
        const char* name;
        bool windowedBefore;
        bool bigDesktop; // 1920 x 1080, else 1366 x 768: no room for the frame of a 1366 x 768 window
        bool windowSwitch; // the switch clicked; else the full-screen one
        bool windowedAfter;
        bool refused;
    };
    const Case cases[] = {
        {"full screen to a window", false, true, true, true, false},
        {"a window refused on a small desktop", false, false, true, false, true},
        {"a window to full screen", true, true, false, false, false},
        {"a window to full screen on a small desktop", true, false, false, false, false},
        {"full screen: its own switch", false, true, false, false, false},
        {"a window: its own switch", true, true, true, true, false},
    };
    // One game for every case: each sets the mode and the desktop it starts from, opens the dialog from the
    // main menu and closes it at the end.
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start(GameHarness::Opening::Splash))
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    framework::GameWindow* window = harness.game()->GetWindow();
    harness.click(500.0f, 500.0f);
    harness.click(500.0f, 500.0f);
    harness.step(30);
    ASSERT_EQ(map->mState, kStateMainMenu);
    const auto profileFile = [&]
    {
        std::ifstream file(harness.userFolder() / "profiles.xml");
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (window->IsWindowed() != c.windowedBefore)
        {
            harness.useDesktop(1920, 1080);
            ASSERT_EQ(harness.game()->SwitchScreenMode(), VN_OK);
            harness.step(5);
        }
        ASSERT_EQ(window->IsWindowed(), c.windowedBefore);
        if (c.bigDesktop)
            harness.useDesktop(1920, 1080);
        else
            harness.useDesktop(1366, 768);
        harness.click(512.0f, 504.0f);
        ASSERT_TRUE(awaitDialog<OptionsDialog>(harness, true));
        OptionsDialog* options = shownDialog<OptionsDialog>(harness);
        ASSERT_NE(options, nullptr);
        ASSERT_EQ(options->mWindowSwitch->mSelected, c.windowedBefore);
        ASSERT_EQ(options->mFullscreenSwitch->mSelected, !c.windowedBefore);

        const std::string before = profileFile();
        harness.sounds().clear();
        harness.click(c.windowSwitch ? kWindowX : kFullScreenX, kSwitchY);
        const std::vector<std::wstring>& tags = harness.sounds().tags;
        const bool chosen = c.windowSwitch == c.windowedBefore;
        EXPECT_EQ(std::count(tags.begin(), tags.end(), L"simple"), chosen ? 0 : 1);
        // The mode changes within the click.
        EXPECT_EQ(window->IsWindowed(), c.windowedAfter);
        EXPECT_EQ(harness.game()->IsWindowed(), c.windowedAfter);
        EXPECT_EQ(options->mWindowSwitch->mSelected, c.windowedAfter);
        EXPECT_EQ(options->mFullscreenSwitch->mSelected, !c.windowedAfter);
        const std::string after = profileFile();
        if (chosen || c.refused)
        {
            EXPECT_EQ(after, before) << "nothing written";
        }
        else
        {
            const std::string stored = c.windowedAfter ? "<fs v=\"false\"/>" : "<fs v=\"true\"/>";
            EXPECT_NE(after.find(stored), std::string::npos) << after;
            EXPECT_EQ(map->mProfile->getFullscreen(), !c.windowedAfter);
        }

        harness.step(5);
        std::vector<TMessageBox*> boxes;
        for (const widget::FrameEntry& entry : harness.game()->GetFrameManager()->GetFrames())
            if (auto* box = dynamic_cast<TMessageBox*>(entry.frame))
                boxes.push_back(box);
        ASSERT_EQ(boxes.size(), c.refused ? 1u : 0u);
        if (c.refused)
        {
            EXPECT_EQ(boxes[0]->mTextKey, L"IllegalResolutionMessage");
            EXPECT_TRUE(boxes[0]->mCommand.empty());
            EXPECT_EQ(boxes[0]->mSecondButton, nullptr) << "a plain message";
            ASSERT_TRUE(awaitDialog<TMessageBox>(harness, true));
            harness.click(512.0f, 520.0f);
            ASSERT_TRUE(awaitDialog<TMessageBox>(harness, false));
            EXPECT_FALSE(window->IsWindowed());
            EXPECT_EQ(profileFile(), before);
            // The dialog below has the input again: on a desktop that now has room, its window switch works.
            harness.useDesktop(1920, 1080);
            harness.click(kWindowX, kSwitchY);
            EXPECT_TRUE(window->IsWindowed());
        }
        // Closed as its buttons close it; the next case opens a new one once this one has left the frames.
        ASSERT_EQ(options->Hide(true), VN_OK);
        const auto open = [&]
        {
            const auto& frames = harness.game()->GetFrameManager()->GetFrames();
            return std::any_of(frames.begin(), frames.end(), [](const widget::FrameEntry& entry)
                               { return dynamic_cast<OptionsDialog*>(entry.frame) != nullptr; });
        };
        for (int i = 0; i < 120 && open(); ++i)
            harness.step();
        ASSERT_FALSE(open());
    }
}

} // namespace
