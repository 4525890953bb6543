// Runs the real executable: start, single instance, command line, pack mode, clean close, a data root
// without the game's data, a system without OpenGL 4.5, the display going away.
#include "Support/XWindows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Generous limits: a sanitizer build on a busy machine starts and ends the game many times slower.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 60s)
{
    return xtest::WaitUntil(condition, timeout);
}

class Corvantis : public ::testing::Test
{
protected:
    fs::path root;
    fs::path xdg;
    fs::path data;
    fs::path log;
    std::vector<pid_t> running;

    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (run under xvfb-run)";
        root = fs::temp_directory_path() / ("corv-exe-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        xdg = root / "xdg";
        data = root / "data";
        fs::create_directories(xdg);
        // The least data root the game accepts: its configuration and its "td/" folder.
        fs::create_directories(data / "data");
        fs::create_directories(data / "td");
        std::ofstream(data / "data" / "game.xml") << "<Game/>";
        log = xdg / "Orvalis" / "Corvantis" / "log.html";
    }

    void TearDown() override
    {
        for (pid_t pid : running)
        {
            // The whole group: a message box the game shows runs in a child of its own.
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (!root.empty())
            fs::remove_all(root);
    }

    // The game's stderr goes to root/"stderr"; env adds to or replaces the test's environment.
    pid_t Start(const std::vector<std::string>& args, const std::string& path = "",
                const std::vector<std::pair<std::string, std::string>>& env = {})
    {
        const std::string errors = (root / "stderr").string();
        const pid_t pid = fork();
        if (pid == 0)
        {
            setpgid(0, 0);
            setenv("XDG_DATA_HOME", xdg.c_str(), 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            if (!path.empty())
                setenv("PATH", path.c_str(), 1);
            for (const auto& [name, value] : env)
                setenv(name.c_str(), value.c_str(), 1);
            const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd >= 0)
                dup2(fd, 2);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(CORVANTIS_EXE));
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(CORVANTIS_EXE, argv.data());
            _exit(127);
        }
        running.push_back(pid);
        return pid;
    }

    // The exit code, or -1 when the process did not exit by itself in time (or died of a signal).
    int WaitExit(pid_t pid, std::chrono::milliseconds timeout = 60s)
    {
        int status = 0;
        const bool exited = WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeout);
        if (!exited)
            return -1;
        std::erase(running, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // A display of the test's own; the server picks a free number itself, so tests running side by side
    // never race for one. "" when Xvfb did not start.
    std::string StartDisplay(pid_t* serverOut = nullptr)
    {
        int server = -1;
        const std::string name = xtest::StartXvfb("1024x768x24", server);
        if (server > 0)
            running.push_back(server);
        if (serverOut != nullptr)
            *serverOut = server;
        return name;
    }

    bool LogHas(const std::string& text) const { return ReadAll(log).find(text) != std::string::npos; }
};

TEST_F(Corvantis, ClosedRunLeavesACompleteLog)
{
    const pid_t game = Start({"--data_path", data.string()});
    ASSERT_TRUE(WaitFor([&] { return LogHas("<body>\n"); })) << "no log.html";
    // Running: the data root is the working folder and the process stays until closed.
    std::this_thread::sleep_for(500ms);
    std::error_code gone;
    const fs::path cwd = fs::read_symlink("/proc/" + std::to_string(game) + "/cwd", gone);
    ASSERT_FALSE(gone) << "the game ended early:\n" << ReadAll(log);
    EXPECT_EQ(cwd, fs::canonical(data));

    // The session ending (SIGTERM) closes the window like its close button.
    ASSERT_EQ(kill(game, SIGTERM), 0);
    EXPECT_EQ(WaitExit(game), 0);
    const std::string text = ReadAll(log);
    EXPECT_EQ(text.rfind("<html><head>", 0), 0u);
    ASSERT_GE(text.size(), 14u);
    EXPECT_EQ(text.substr(text.size() - 14), "</body></html>");
    // The debug-output statement naming the log never goes into the log itself.
    EXPECT_EQ(text.find("Html log file"), std::string::npos);
    // The profiles were loaded at start (a fresh store has the default player) and saved at exit.
    EXPECT_NE(
        ReadAll(log.parent_path() / "profiles.xml").find("currentProfile=\"Player01234567890123456789\""),
        std::string::npos);
}

TEST_F(Corvantis, SecondStartShowsTheFirstAndLeavesItsLogAlone)
{
    const fs::path profiles = log.parent_path() / "profiles.xml";
    fs::create_directories(log.parent_path());
    const std::string seeded =
        "<Profiles currentProfile=\"Ben\"><Profile name=\"Anna\"/><Profile name=\"Ben\"/></Profiles>";
    // The game fills the screen, and a full-screen game stops drawing while another window has the focus:
    // on the shared display another test's window would hold up the first start's frames.
    const std::string display = StartDisplay();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    std::ofstream(profiles, std::ios::binary) << seeded;
    const pid_t first = Start({"--data_path", data.string()}, "", {{"DISPLAY", display}});
    // The game writes its data into the current profile as it starts; it has started once it opened its
    // main menu (whose layout this empty data folder lacks).
    ASSERT_TRUE(WaitFor([&] { return LogHas("<body>\n") && LogHas("td/main_menu"); }))
        << ReadAll(log) << ReadAll(root / "stderr");
    // The level and the sound settle their sections in the frames after that line: wait until the
    // profiles have been quiet for a while before taking them as the first start's own.
    std::string started = ReadAll(profiles);
    for (int quiet = 0; quiet < 10;)
    {
        std::this_thread::sleep_for(50ms);
        const std::string now = ReadAll(profiles);
        quiet = now == started ? quiet + 1 : 0;
        started = now;
    }
    const std::string before = ReadAll(log);

    const pid_t second = Start({"--data_path", data.string()}, "", {{"DISPLAY", display}});
    EXPECT_EQ(WaitExit(second, 10s), 0);

    // The first got the request through its running loop and is still there; its log only grew.
    EXPECT_TRUE(WaitFor([&] { return LogHas("Window shown at the request of a second start"); }));
    EXPECT_EQ(kill(first, 0), 0);
    const std::string after = ReadAll(log);
    EXPECT_EQ(after.compare(0, before.size(), before), 0) << "the second start rewrote the log";
    EXPECT_EQ(ReadAll(profiles), started) << "the second start wrote the profiles";

    ASSERT_EQ(kill(first, SIGTERM), 0);
    EXPECT_EQ(WaitExit(first), 0);
    const std::string last = ReadAll(log);
    ASSERT_GE(last.size(), 14u);
    EXPECT_EQ(last.substr(last.size() - 14), "</body></html>");
    // The first saves the store it loaded: the same players, Ben still current.
    const std::string saved = ReadAll(profiles);
    EXPECT_NE(saved.find("currentProfile=\"Ben\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("name=\"Anna\""), std::string::npos) << saved;

    // With the first gone, a new start runs normally again.
    const pid_t third = Start({"--data_path", data.string()}, "", {{"DISPLAY", display}});
    ASSERT_TRUE(WaitFor([&] { return LogHas("<body>\n") && !LogHas("Window shown"); }));
    ASSERT_EQ(kill(third, SIGTERM), 0);
    EXPECT_EQ(WaitExit(third), 0);
}

TEST_F(Corvantis, OptionWithoutExactlyOneValueFailsBeforeAnythingIsWritten)
{
    const std::vector<std::vector<std::string>> lines = {
        {"--data_path"},
        {"--data_path", "a", "b"},
        {"--pack"},
        {"--pack", "x", "y"},
    };
    for (const auto& args : lines)
    {
        SCOPED_TRACE(args.size());
        EXPECT_EQ(WaitExit(Start(args), 10s), 1);
        EXPECT_FALSE(fs::exists(log));
    }
}

TEST_F(Corvantis, PackModeWritesTheMountedPack)
{
    fs::create_directories(data / "td" / "ui");
    std::ofstream(data / "td" / "a.png", std::ios::binary) << "abc";
    std::ofstream(data / "td" / "ui" / "b.png", std::ios::binary) << "defgh";
    const pid_t game = Start({"--data_path", data.string()});
    ASSERT_TRUE(WaitFor([&] { return LogHas("<body>\n"); }));
    ASSERT_EQ(kill(game, SIGTERM), 0);
    ASSERT_EQ(WaitExit(game), 0);
    EXPECT_FALSE(fs::exists(data / "data.dat")) << "a normal run writes no pack";

    // "--pack" only counts as the first argument, so the data root is the executable's folder there;
    // run it from a copy beside the data instead.
    const fs::path exe = data / "corvantis";
    fs::copy_file(CORVANTIS_EXE, exe);
    const pid_t packer = fork();
    if (packer == 0)
    {
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
        execl(exe.c_str(), exe.c_str(), "--pack", "x", static_cast<char*>(nullptr));
        _exit(127);
    }
    running.push_back(packer);
    ASSERT_TRUE(WaitFor([&] { return LogHas("Packs written"); }));
    ASSERT_EQ(kill(packer, SIGTERM), 0);
    EXPECT_EQ(WaitExit(packer), 0);
    const std::string pack = ReadAll(data / "data.dat");
    ASSERT_EQ(pack.size(), 82u);
    EXPECT_EQ(pack.substr(4, 6), "vnpack");
}

TEST_F(Corvantis, PlayUrlOpensWithTheDesktopOpenerAtExit)
{
    std::ofstream(data / "play.url") << "[InternetShortcut]\nURL=https://example.invalid/\n";
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    const fs::path marker = root / "opened";
    {
        std::ofstream script(bin / "xdg-open");
        script << "#!/bin/sh\necho \"$1\" > " << marker.string() << "\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string path =
        bin.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");

    const pid_t game = Start({"--data_path", data.string()}, path);
    ASSERT_TRUE(WaitFor([&] { return LogHas("<body>\n"); }));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(fs::exists(marker)) << "opened before the game ended";
    ASSERT_EQ(kill(game, SIGTERM), 0);
    ASSERT_EQ(WaitExit(game), 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(marker) && !ReadAll(marker).empty(); }, 10s));
    // No copy beside the executable here, so the data's own file is opened.
    EXPECT_EQ(ReadAll(marker), fs::canonical(data).string() + "/play.url\n");
}

TEST_F(Corvantis, DataRootWithoutTheGameDataIsRefusedWithAMessage)
{
    struct Case
    {
        const char* what;
        std::function<void(const fs::path&)> prepare;
        std::string missing;
    };
    const Case cases[] = {
        {"empty folder", [](const fs::path& d) { fs::create_directories(d); },
         "\"data/game.xml\" is missing, the folder \"td/\" is missing"},
        {"no configuration", [](const fs::path& d) { fs::create_directories(d / "td"); },
         "\"data/game.xml\" is missing"},
        {"no td folder",
         [](const fs::path& d)
         {
             fs::create_directories(d / "data");
             std::ofstream(d / "data" / "game.xml") << "<Game/>";
         },
         "the folder \"td/\" is missing"},
        {"no such folder", [](const fs::path&) {}, "the folder does not exist or cannot be entered"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const fs::path folder = root / "roots" / c.what;
        c.prepare(folder);
        const pid_t game = Start({"--data_path", folder.string()});
        EXPECT_TRUE(xtest::CloseWindowTitled("Game data not found", 60s)) << "no message box";
        EXPECT_EQ(WaitExit(game), 1);
        EXPECT_TRUE(LogHas("No game data in the data folder '" + folder.string() + "': " + c.missing + "\n"))
            << ReadAll(log);
        const std::string errors = ReadAll(root / "stderr");
        EXPECT_NE(errors.find(folder.string()), std::string::npos) << errors;
        EXPECT_NE(errors.find("--data_path"), std::string::npos) << errors;
    }
}

TEST_F(Corvantis, PackInPlaceOfTheTdFolderAndADamagedConfigurationStart)
{
    fs::remove_all(data / "td");
    std::ofstream(data / "data.dat", std::ios::binary) << "";
    std::ofstream(data / "data" / "game.xml") << "<Game><DialogEffects";
    const pid_t game = Start({"--data_path", data.string()});
    ASSERT_TRUE(WaitFor([&] { return LogHas("<body>\n") && LogHas("data/game.xml"); })) << ReadAll(log);
    EXPECT_TRUE(LogHas("&quot;data/game.xml&quot; is damaged") || LogHas("\"data/game.xml\" is damaged"))
        << ReadAll(log);
    EXPECT_TRUE(LogHas("the defaults are used, no dialog effects")) << ReadAll(log);
    ASSERT_EQ(kill(game, SIGTERM), 0);
    EXPECT_EQ(WaitExit(game), 0);
}

TEST_F(Corvantis, WithoutOpenGl45TheMessageNamesWhatTheSystemOffers)
{
    const pid_t game = Start({"--data_path", data.string()}, "", {{"MESA_GL_VERSION_OVERRIDE", "3.3"}});
    EXPECT_TRUE(xtest::CloseWindowTitled("Error", 60s)) << "no message box";
    EXPECT_EQ(WaitExit(game), 1);
    EXPECT_TRUE(LogHas("OpenGL 4.5 is required; this system offers OpenGL 3.3")) << ReadAll(log);
    const std::string errors = ReadAll(root / "stderr");
    EXPECT_NE(errors.find("The game needs OpenGL 4.5 to draw, but this system offers OpenGL 3.3"),
              std::string::npos)
        << errors;
}

// A display of the test's own, killed under the running game.
TEST_F(Corvantis, LosingTheDisplaySavesTheProfilesClosesTheLogAndEnds)
{
    pid_t server = 0;
    const std::string display = StartDisplay(&server);
    if (display.empty())
        GTEST_SKIP() << "Xvfb did not start";

    const pid_t game = Start({"--data_path", data.string()}, "", {{"DISPLAY", display}});
    ASSERT_TRUE(WaitFor([&] { return LogHas("RenderGL::InitDeviceState()"); })) << ReadAll(log);
    std::this_thread::sleep_for(500ms);
    // Whatever the game wrote so far goes; what exists afterwards was saved on the way out.
    const fs::path profiles = log.parent_path() / "profiles.xml";
    fs::remove(profiles);

    ASSERT_EQ(kill(server, SIGKILL), 0);
    waitpid(server, nullptr, 0);
    std::erase(running, server);
    // Seconds normally; the bound only tells an ending game from one that spins for ever.
    const int code = WaitExit(game, 30s);
    EXPECT_NE(code, -1) << "still running, or killed by a signal";
    EXPECT_NE(code, 0);
    EXPECT_TRUE(LogHas("The connection to the display was lost")) << ReadAll(log);
    const std::string text = ReadAll(log);
    ASSERT_GE(text.size(), 14u);
    EXPECT_EQ(text.substr(text.size() - 14), "</body></html>");
    EXPECT_NE(ReadAll(profiles).find("<Profiles"), std::string::npos);
}

} // namespace
