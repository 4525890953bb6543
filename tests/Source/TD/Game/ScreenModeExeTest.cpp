// The screen mode of build/corvantis on the demo data, played with the mouse and keys on a 1920 x 1080
// display of the test's own, once on a bare X server and once under a window manager (openbox): the options
// dialog's two switches both ways (the window's place and size after each switch, clicks that still land
// after it, a picture that keeps being drawn, the mode kept in the profile), and a new player's name that
// leaves the mode as it is, in a window and in full screen, with the game drawing on. Screens of the steps
// are kept as screen_mode_<display>_<step>.png in the test's build folder.
#include "Source/TD/Harness/PlayerDriver.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kDisplayWidth = 1920;
constexpr int kDisplayHeight = 1080;

// The demo's green buttons and selected switches; the switch that is not chosen is slate.
bool IsGreen(uint32_t c)
{
    using namespace tdtest;
    return green(c) > red(c) + 40 && green(c) > blue(c) + 40;
}

// The options dialog's switches (middles of the 240 x 64 faces), near their tops, above their captions,
// where their faces are lightest.
constexpr float kWindowSwitchX = 382.0f;
constexpr float kFullScreenSwitchX = 642.0f;
constexpr float kSwitchY = 541.0f;
// The main menu's play button, which the name dialog's dark field covers.
constexpr float kPlayX = 380.0f;
constexpr float kPlayY = 300.0f;

bool SwitchesShow(const tdtest::Shot& shot, bool windowed)
{
    return IsGreen(shot.at(kWindowSwitchX, kSwitchY)) == windowed &&
           IsGreen(shot.at(kFullScreenSwitchX, kSwitchY)) == !windowed;
}

enum class Manager
{
    None,
    Openbox
};

class ScreenModeExe : public ::testing::TestWithParam<Manager>
{
protected:
    fs::path folder;
    std::unique_ptr<tdtest::PlayerDriver> player;
    tdtest::Shot shot; // the grab that met the last wait

    void SetUp() override { ASSERT_FALSE(tdtest::demoDataRoot().empty()); }

    void TearDown() override
    {
        player.reset();
        if (!folder.empty())
            fs::remove_all(folder);
    }

    // A driver on a fresh folder, not started yet: what the test stores in its user folder first is the
    // player's profile.
    void Make()
    {
        player.reset();
        folder = fs::temp_directory_path() / ("corv-screen-mode-" + std::to_string(getpid()));
        fs::remove_all(folder);
        tdtest::PlayerDriver::Options options;
        options.dataRoot = tdtest::demoDataRoot();
        options.folder = folder;
        options.shotFolder = CORV_SHOT_DIR;
        options.screenWidth = kDisplayWidth;
        options.screenHeight = kDisplayHeight;
        if (GetParam() == Manager::Openbox)
            options.windowManager = "openbox";
        player = std::make_unique<tdtest::PlayerDriver>(options);
    }

    // Ends the game as the system does; its log and profiles stay readable.
    void End() { EXPECT_EQ(player->quit(), 0) << player->output(); }

    bool FullScreen() const
    {
        return player->windowX() == 0 && player->windowY() == 0 && player->windowWidth() == kDisplayWidth &&
               player->windowHeight() == kDisplayHeight;
    }
    bool Windowed() const { return player->windowWidth() == 1366 && player->windowHeight() == 768; }

    // Until the game's window is in the mode and its picture meets the condition; the last grab is kept
    // under step's name when it never does.
    bool WaitFor(const std::string& step, bool fullScreen, const std::function<bool(const tdtest::Shot&)>& shown)
    {
        return player->waitForShot(Kept(step),
                                   [&](const tdtest::Shot& grabbed)
                                   {
                                       shot = grabbed;
                                       return (fullScreen ? FullScreen() : Windowed()) && shown(grabbed);
                                   },
                                   120s);
    }

    // The window's place and size, for a failure message.
    std::string Where() const
    {
        return "window " + std::to_string(player->windowX()) + "," + std::to_string(player->windowY()) + " " +
               std::to_string(player->windowWidth()) + "x" + std::to_string(player->windowHeight());
    }

    std::string Kept(const std::string& step) const
    {
        return std::string("screen_mode_") + (GetParam() == Manager::Openbox ? "openbox_" : "bare_") + step;
    }
    void Keep(const std::string& step) const { shot.save(fs::path(CORV_SHOT_DIR) / (Kept(step) + ".png")); }

    // The stored "fs" value's first four letters.
    std::string StoredFullScreen() const
    {
        const std::string profiles = player->profiles();
        const size_t fs = profiles.find("<fs v=\"");
        return fs == std::string::npos ? std::string("none") : profiles.substr(fs + 7, 4);
    }
};

TEST_P(ScreenModeExe, TheOptionsSwitchBetweenAWindowAndFullScreenBothWaysAndClicksStillLand)
{
    Make();
    ASSERT_EQ(player->start(), "");

    // A new player starts in full screen; the main menu shows its green play button after the splash.
    ASSERT_TRUE(WaitFor("failed_menu", true, [](const tdtest::Shot& s) { return IsGreen(s.at(kPlayX, kPlayY)); }))
        << "no main menu in full screen; " << Where() << "\n" << player->output();
    player->click(512.0f, 504.0f);
    ASSERT_TRUE(WaitFor("failed_options", true, [](const tdtest::Shot& s) { return SwitchesShow(s, false); }))
        << "the options dialog did not open";
    Keep("1_fullscreen");

    player->click(kWindowSwitchX, kSwitchY);
    ASSERT_TRUE(WaitFor("failed_window", false, [](const tdtest::Shot& s) { return SwitchesShow(s, true); }))
        << "no window with the window switch chosen: " << Where();
    Keep("2_window");
    // Centred on the display.
    EXPECT_NEAR(player->windowX() + player->windowWidth() / 2, kDisplayWidth / 2, 40);
    EXPECT_EQ(StoredFullScreen(), "fals");

    player->click(kFullScreenSwitchX, kSwitchY);
    ASSERT_TRUE(WaitFor("failed_fullscreen", true, [](const tdtest::Shot& s) { return SwitchesShow(s, false); }))
        << "not back in full screen with its switch chosen: " << Where();
    Keep("3_fullscreen");
    EXPECT_EQ(StoredFullScreen(), "true");

    // Full screen again, the window switch takes the click where it shows, and the game keeps drawing.
    player->click(kWindowSwitchX, kSwitchY);
    ASSERT_TRUE(WaitFor("failed_window_again", false, [](const tdtest::Shot& s) { return SwitchesShow(s, true); }))
        << "the second switch to a window failed: " << Where();
    // The dialog's OK closes it: clicks land in the window too.
    player->click(512.0f, 661.0f);
    ASSERT_TRUE(WaitFor("failed_close", false,
                        [](const tdtest::Shot& s) { return !IsGreen(s.at(kWindowSwitchX, kSwitchY)); }))
        << "the options dialog did not close";
    Keep("4_window_menu");

    End();
    const std::string log = player->log();
    // Three switches, each once.
    size_t switches = 0;
    for (size_t at = log.find("PrepareSwitchScreenMode()"); at != std::string::npos;
         at = log.find("PrepareSwitchScreenMode()", at + 1))
        ++switches;
    EXPECT_EQ(switches, 3u) << log;
}

TEST_P(ScreenModeExe, ANewPlayersNameKeepsTheScreenModeAndTheGameDrawing)
{
    for (const bool windowed : {true, false})
    {
        SCOPED_TRACE(windowed ? "in a window" : "in full screen");
        Make();
        const fs::path user = player->userFolder();
        fs::create_directories(user);
        // The store's unnamed profile, as a player who chose a window before naming himself leaves it.
        if (windowed)
            std::ofstream(user / "profiles.xml")
                << "<Profiles currentProfile=\"Player01234567890123456789\">"
                   "<Profile name=\"Player01234567890123456789\"><fs v=\"0\"/></Profile></Profiles>";
        ASSERT_EQ(player->start(), "");

        ASSERT_TRUE(WaitFor("failed_menu", !windowed,
                            [](const tdtest::Shot& s) { return IsGreen(s.at(kPlayX, kPlayY)); }))
            << "no main menu: " << Where();
        player->click(kPlayX, kPlayY);
        ASSERT_TRUE(WaitFor("failed_name", !windowed,
                            [](const tdtest::Shot& s) { return !IsGreen(s.at(kPlayX, kPlayY)); }))
            << "no name dialog";
        player->type("anna");
        player->click(396.0f, 521.0f);
        // The episode select's green play button, at the bottom: the game went on drawing in its mode.
        ASSERT_TRUE(WaitFor("failed_episodes", !windowed,
                            [](const tdtest::Shot& s) { return IsGreen(s.at(490.0f, 700.0f)); }))
            << "no episode select after the name: " << Where();
        Keep(windowed ? "named_in_window" : "named_in_fullscreen");

        End();
        const std::string log = player->log();
        const std::string profiles = player->profiles();
        EXPECT_EQ(log.find("PrepareSwitchScreenMode()"), std::string::npos) << log;
        EXPECT_EQ(log.find("LostDevice()"), std::string::npos) << log;
        const size_t anna = profiles.find("name=\"Player0anna\"");
        ASSERT_NE(anna, std::string::npos) << profiles;
        const size_t end = profiles.find("</Profile>", anna);
        EXPECT_NE(profiles.substr(anna, end - anna).find(windowed ? "<fs v=\"false\"/>" : "<fs v=\"true\"/>"),
                  std::string::npos)
            << profiles;
    }
}

INSTANTIATE_TEST_SUITE_P(Displays, ScreenModeExe, ::testing::Values(Manager::None, Manager::Openbox),
                         [](const auto& info) { return info.param == Manager::None ? "Bare" : "Openbox"; });

} // namespace
