// The screen mode of build/corvantis on the demo data, played with the mouse and keys on a 1920 x 1080
// display of the test's own, once on a bare X server and once under a window manager (openbox): the options
// dialog's two switches both ways (the window's place and size after each switch, clicks that still land
// after it, a picture that keeps being drawn, the mode kept in the profile), and a new player's name that
// leaves the mode as it is, in a window and in full screen, with the game drawing on. Screens of the steps
// are kept as screen_mode_<display>_<step>.png in the test's build folder.
#include "Source/TD/Harness/TDGameHarness.h"
#include "Support/XPlayer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kDisplayWidth = 1920;
constexpr int kDisplayHeight = 1080;
constexpr const char* kTitle = "Corvantis";

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool HasProgram(const char* name)
{
    return std::system((std::string("command -v ") + name + " > /dev/null 2>&1").c_str()) == 0;
}

int Red(uint32_t c)
{
    return static_cast<int>(c >> 16 & 0xFF);
}
int Green(uint32_t c)
{
    return static_cast<int>(c >> 8 & 0xFF);
}
int Blue(uint32_t c)
{
    return static_cast<int>(c & 0xFF);
}
// The demo's green buttons and selected switches; the switch that is not chosen is slate.
bool IsGreen(uint32_t c)
{
    return Green(c) > Red(c) + 40 && Green(c) > Blue(c) + 40;
}

enum class Manager
{
    None,
    Openbox
};

class ScreenModeExe : public ::testing::TestWithParam<Manager>
{
protected:
    fs::path root;
    std::string display;
    std::vector<pid_t> running;
    pid_t game = 0;

    void SetUp() override
    {
        if (!HasProgram("Xvfb") || (GetParam() == Manager::Openbox && !HasProgram("openbox")))
            GTEST_SKIP() << "needs Xvfb and openbox";
        ASSERT_FALSE(tdtest::demoDataRoot().empty());
        root = fs::temp_directory_path() / ("corv-screen-mode-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "xdg");
        display = StartDisplay();
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        if (GetParam() == Manager::Openbox)
            Spawn({"openbox"});
    }

    void TearDown() override
    {
        // Last started first: the game, then the window manager, then the server.
        for (auto it = running.rbegin(); it != running.rend(); ++it)
        {
            kill(*it, SIGKILL);
            waitpid(*it, nullptr, 0);
        }
        if (!root.empty())
            fs::remove_all(root);
    }

    pid_t Spawn(const std::vector<std::string>& args)
    {
        const std::string output = (root / "output.txt").string();
        const pid_t pid = fork();
        if (pid == 0)
        {
            setenv("DISPLAY", display.c_str(), 1);
            setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd >= 0)
            {
                dup2(fd, 1);
                dup2(fd, 2);
            }
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        running.push_back(pid);
        return pid;
    }

    // A server of its own; it picks a free number itself, so tests side by side never race for one.
    std::string StartDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return "";
        const pid_t server = fork();
        if (server == 0)
        {
            close(fds[0]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            const std::string fd = std::to_string(fds[1]);
            const std::string size =
                std::to_string(kDisplayWidth) + "x" + std::to_string(kDisplayHeight) + "x24";
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (server < 0)
        {
            close(fds[0]);
            return "";
        }
        running.push_back(server);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        return number.empty() ? "" : ":" + number;
    }

    fs::path UserFolder() const { return root / "xdg" / "Orvalis" / "Corvantis"; }

    std::string Kept(const std::string& step) const
    {
        return std::string(CORV_SHOT_DIR) + "/screen_mode_" +
               (GetParam() == Manager::Openbox ? "openbox_" : "bare_") + step + ".png";
    }
};

// Where a logical point of the game shows on the display: the logical screen is 768 high, fitted to the
// client area's height and centred across its width.
struct Fit
{
    xtest::ClientArea area;

    void ToScreen(float lx, float ly, int& x, int& y) const
    {
        const float scale = static_cast<float>(area.height) / 768.0f;
        const float visibleWidth = static_cast<float>(area.width) / scale;
        x = area.x + static_cast<int>((lx - (1024.0f - visibleWidth) / 2.0f) * scale);
        y = area.y + static_cast<int>(ly * scale);
    }
    bool FullScreen() const
    {
        return area.x == 0 && area.y == 0 && area.width == kDisplayWidth && area.height == kDisplayHeight;
    }
    bool Windowed() const { return area.width == 1366 && area.height == 768; }
};

// The options dialog's switches (middles of the 240 x 64 faces) and the main menu's buttons.
constexpr float kWindowSwitchX = 382.0f;
constexpr float kFullScreenSwitchX = 642.0f;
// Near the top of the switches, above their captions, where their faces are lightest.
constexpr float kSwitchY = 541.0f;

TEST_P(ScreenModeExe, TheOptionsSwitchBetweenAWindowAndFullScreenBothWaysAndClicksStillLand)
{
    xtest::XPlayer player(display);
    ASSERT_TRUE(player.IsOpen()) << "no XTEST on " << display;
    game = Spawn({CORVANTIS_EXE, "--data_path", tdtest::demoDataRoot().string()});

    Fit fit;
    xtest::ScreenShot shot;
    auto pixel = [&](float lx, float ly)
    {
        int x = 0;
        int y = 0;
        fit.ToScreen(lx, ly, x, y);
        return shot.At(x, y);
    };
    auto click = [&](float lx, float ly)
    {
        int x = 0;
        int y = 0;
        fit.ToScreen(lx, ly, x, y);
        player.Click(x, y);
    };
    // The game's window where expected and, on the screen, the condition met.
    auto waitFor = [&](bool fullScreen, const std::function<bool()>& shown)
    {
        return xtest::WaitUntil(120s,
                                [&]
                                {
                                    if (!player.FindClientArea(kTitle, fit.area))
                                        return false;
                                    if (fullScreen ? !fit.FullScreen() : !fit.Windowed())
                                        return false;
                                    shot = player.Shoot();
                                    return shown();
                                });
    };
    auto switchesShow = [&](bool windowed)
    {
        return IsGreen(pixel(kWindowSwitchX, kSwitchY)) == windowed &&
               IsGreen(pixel(kFullScreenSwitchX, kSwitchY)) == !windowed;
    };
    auto storedFullScreen = [&]()
    {
        const std::string profiles = ReadAll(UserFolder() / "profiles.xml");
        const size_t fs = profiles.find("<fs v=\"");
        return fs == std::string::npos ? std::string("none") : profiles.substr(fs + 7, 4);
    };

    // A new player starts in full screen; the main menu shows its green play button after the splash.
    ASSERT_TRUE(waitFor(true, [&] { return IsGreen(pixel(380.0f, 300.0f)); }))
        << "no main menu in full screen; " << ReadAll(root / "output.txt");
    click(512.0f, 504.0f);
    ASSERT_TRUE(waitFor(true, [&] { return switchesShow(false); }))
        << "the options dialog did not open; the screen is kept: " << shot.Save(Kept("failed"));
    shot.Save(Kept("1_fullscreen"));

    click(kWindowSwitchX, kSwitchY);
    ASSERT_TRUE(waitFor(false, [&] { return switchesShow(true); }))
        << "no window with the window switch chosen: client " << fit.area.x << "," << fit.area.y << " "
        << fit.area.width << "x" << fit.area.height;
    shot.Save(Kept("2_window"));
    // Centred on the display.
    EXPECT_NEAR(fit.area.x + fit.area.width / 2, kDisplayWidth / 2, 40);
    EXPECT_EQ(storedFullScreen(), "fals");

    click(kFullScreenSwitchX, kSwitchY);
    ASSERT_TRUE(waitFor(true, [&] { return switchesShow(false); }))
        << "not back in full screen with its switch chosen: client " << fit.area.x << "," << fit.area.y << " "
        << fit.area.width << "x" << fit.area.height;
    shot.Save(Kept("3_fullscreen"));
    EXPECT_EQ(storedFullScreen(), "true");

    // Full screen again, the window switch takes the click where it shows, and the game keeps drawing.
    click(kWindowSwitchX, kSwitchY);
    ASSERT_TRUE(waitFor(false, [&] { return switchesShow(true); })) << "the second switch to a window failed";
    // The dialog's OK closes it: clicks land in the window too.
    click(512.0f, 661.0f);
    ASSERT_TRUE(waitFor(false, [&] { return !IsGreen(pixel(kWindowSwitchX, kSwitchY)); }))
        << "the options dialog did not close";
    shot.Save(Kept("4_window_menu"));

    kill(game, SIGTERM);
    int status = 0;
    ASSERT_TRUE(xtest::WaitUntil(60s, [&] { return waitpid(game, &status, WNOHANG) == game; }));
    std::erase(running, game);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string log = ReadAll(UserFolder() / "log.html");
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
        fs::remove_all(root / "xdg");
        fs::create_directories(UserFolder());
        // The store's unnamed profile, as a player who chose a window before naming himself leaves it.
        if (windowed)
            std::ofstream(UserFolder() / "profiles.xml")
                << "<Profiles currentProfile=\"Player01234567890123456789\">"
                   "<Profile name=\"Player01234567890123456789\"><fs v=\"0\"/></Profile></Profiles>";
        xtest::XPlayer player(display);
        ASSERT_TRUE(player.IsOpen()) << "no XTEST on " << display;
        game = Spawn({CORVANTIS_EXE, "--data_path", tdtest::demoDataRoot().string()});

        Fit fit;
        xtest::ScreenShot shot;
        auto pixel = [&](float lx, float ly)
        {
            int x = 0;
            int y = 0;
            fit.ToScreen(lx, ly, x, y);
            return shot.At(x, y);
        };
        auto click = [&](float lx, float ly)
        {
            int x = 0;
            int y = 0;
            fit.ToScreen(lx, ly, x, y);
            player.Click(x, y);
        };
        auto waitFor = [&](const std::function<bool()>& shown)
        {
            return xtest::WaitUntil(120s,
                                    [&]
                                    {
                                        if (!player.FindClientArea(kTitle, fit.area))
                                            return false;
                                        if (windowed ? !fit.Windowed() : !fit.FullScreen())
                                            return false;
                                        shot = player.Shoot();
                                        return shown();
                                    });
        };
        ASSERT_TRUE(waitFor([&] { return IsGreen(pixel(380.0f, 300.0f)); }))
            << "no main menu: client " << fit.area.x << "," << fit.area.y << " " << fit.area.width << "x"
            << fit.area.height << "; the screen is kept: " << player.Shoot().Save(Kept("failed"));
        click(512.0f, 300.0f);
        // The name dialog's field, dark over the menu's green play button.
        ASSERT_TRUE(waitFor([&] { return !IsGreen(pixel(380.0f, 300.0f)); })) << "no name dialog";
        player.Type("anna");
        click(396.0f, 521.0f);
        // The episode select's green play button, at the bottom: the game went on drawing in its mode.
        ASSERT_TRUE(waitFor([&] { return IsGreen(pixel(490.0f, 700.0f)); }))
            << "no episode select after the name: client " << fit.area.x << "," << fit.area.y << " "
            << fit.area.width << "x" << fit.area.height << "; kept: " << player.Shoot().Save(Kept("failed"));
        shot.Save(Kept(windowed ? "named_in_window" : "named_in_fullscreen"));

        kill(game, SIGTERM);
        int status = 0;
        ASSERT_TRUE(xtest::WaitUntil(60s, [&] { return waitpid(game, &status, WNOHANG) == game; }));
        std::erase(running, game);
        const std::string log = ReadAll(UserFolder() / "log.html");
        EXPECT_EQ(log.find("PrepareSwitchScreenMode()"), std::string::npos) << log;
        EXPECT_EQ(log.find("LostDevice()"), std::string::npos) << log;
        const std::string profiles = ReadAll(UserFolder() / "profiles.xml");
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
