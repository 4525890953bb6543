// How long the game takes to show itself, measured against the floor of any program that opens a GL window:
//   Start   the real executable (build/corvantis) on the demo data, with a fresh user folder (a new player,
//           full screen), with the frame-counting shim preloaded. It reports the CPU time of the whole
//           process and the wall time from the spawn to
//             first: the first frame presented with the splash screens loaded (the first real picture;
//                    the renderer's start-up clear before it does not count),
//             menu:  the first frame presented after the main menu's layout was read (ready to click),
//                    when the player clicks the splash screens away as soon as they show (the shim clicks
//                    twice, one frame apart, from the second splash frame; left alone they last 5 s);
//           and beside them, measured in the same round, a bare SDL window with a GL 4.5 context presenting
//           one cleared frame (floor), and the ratios first/floor and menu/floor.
//   Level   a level start in the game's own code on GL (the test harness's game in this process): from the
//           click on the first level's plate in the level select to the end of the level's first frame.
//           CPU of the whole process and wall time.
// Run under Xvfb at the size the figures are quoted for:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/startup
// (and pinned, `taskset -c 0,1 xvfb-run ...`, for a two-core machine). Each benchmark iteration is one round;
// the counters are means over the rounds (--benchmark_repetitions for spread).
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Select/HUDLevelPlate.h"
#include "Source/TD/HUD/Select/HUDLevelSelect.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
namespace fs = std::filesystem;

double Now(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One line of the shim: a presented frame, or the first open of a marked file.
struct ShimEvent
{
    std::string kind;
    unsigned swaps = 0;
    double cpu = 0.0;
    double wall = 0.0;
    std::string mark;
};

std::vector<ShimEvent> ReadShim(const fs::path& file)
{
    std::vector<ShimEvent> events;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
    {
        std::istringstream fields(line);
        ShimEvent e;
        if (fields >> e.kind >> e.swaps >> e.cpu >> e.wall >> e.mark)
            events.push_back(e);
    }
    return events;
}

// The first frame presented after the marked file was first opened; null when none yet.
const ShimEvent* FrameAfter(const std::vector<ShimEvent>& events, const char* mark)
{
    bool opened = false;
    for (const ShimEvent& e : events)
    {
        if (e.kind == "open" && e.mark == mark)
            opened = true;
        else if (opened && e.kind == "swap")
            return &e;
    }
    return nullptr;
}

struct Times
{
    double cpu = 0.0;
    double wall = 0.0;
};

constexpr const char* kSplashMark = "logo/";
constexpr const char* kMenuMark = "td/main_menu/";

fs::path ScratchFolder()
{
    static const fs::path folder = []
    {
        fs::path p = fs::temp_directory_path() / ("corv-startup-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

struct ScratchCleanup
{
    ~ScratchCleanup()
    {
        std::error_code error;
        fs::remove_all(ScratchFolder(), error);
    }
};

// Runs a program with the shim until the frame after the last mark was presented (or a time-out), then ends
// it. The shim's lines, or none when it did not get that far.
std::vector<ShimEvent> RunWithShim(const std::vector<std::string>& argv, const std::string& marks,
                                   const char* lastMark, int clicks, double* spawnedAt)
{
    const fs::path out = ScratchFolder() / "shim.txt";
    const fs::path user = ScratchFolder() / "user";
    std::error_code error;
    fs::remove(out, error);
    fs::remove_all(user, error);
    fs::create_directories(user, error);
    *spawnedAt = Now(CLOCK_MONOTONIC);
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::setenv("LD_PRELOAD", CORV_STARTUP_SHIM, 1);
        ::setenv("CORV_SHIM_OUT", out.c_str(), 1);
        ::setenv("CORV_SHIM_MARKS", marks.c_str(), 1);
        ::setenv("CORV_SHIM_CLICKS", std::to_string(clicks).c_str(), 1);
        ::setenv("XDG_DATA_HOME", user.c_str(), 1);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        std::_Exit(127);
    }
    std::vector<ShimEvent> events;
    const double deadline = *spawnedAt + 60.0;
    int status = 0;
    bool exited = false;
    while (Now(CLOCK_MONOTONIC) < deadline)
    {
        events = ReadShim(out);
        if (lastMark ? FrameAfter(events, lastMark) != nullptr : !events.empty())
            break;
        if (::waitpid(pid, &status, WNOHANG) == pid)
        {
            exited = true;
            events = ReadShim(out);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!exited)
    {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return events;
}

// The child's side of the floor: a window with a GL 4.5 core context presenting one cleared frame, at the
// size the game takes (the display's, full screen).
int BareWindow()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("floor", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 0, 0,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!window)
        return 1;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
        return 1;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

std::string gSelf;
std::string gDemoData;

bool MakeDemoData()
{
    gDemoData = (ScratchFolder() / "demo").string();
    const std::string command = std::string(CORV_DEMODATA_EXE) + " " + gDemoData + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void Start(benchmark::State& state)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("needs a display (run under xvfb-run)");
        return;
    }
    if (gDemoData.empty() && !MakeDemoData())
    {
        state.SkipWithError("the demo data could not be generated");
        return;
    }
    Times floor, first, menu;
    int rounds = 0;
    for (auto _ : state)
    {
        double spawned = 0.0;
        const std::vector<ShimEvent> bare = RunWithShim({gSelf, "--bare"}, "", nullptr, 0, &spawned);
        const ShimEvent* bareFrame = nullptr;
        for (const ShimEvent& e : bare)
            if (!bareFrame && e.kind == "swap")
                bareFrame = &e;
        const std::vector<ShimEvent> game =
            RunWithShim({CORV_GAME_EXE, "--data_path", gDemoData}, std::string(kSplashMark) + ";" + kMenuMark,
                        kMenuMark, 2, &spawned);
        const ShimEvent* splashFrame = FrameAfter(game, kSplashMark);
        const ShimEvent* menuFrame = FrameAfter(game, kMenuMark);
        if (!bareFrame || !splashFrame || !menuFrame)
        {
            state.SkipWithError("a program did not present the awaited frame within 60 s");
            return;
        }
        floor.cpu += bareFrame->cpu;
        first.cpu += splashFrame->cpu;
        first.wall += splashFrame->wall - spawned;
        menu.cpu += menuFrame->cpu;
        menu.wall += menuFrame->wall - spawned;
        state.SetIterationTime(menuFrame->wall - spawned);
        ++rounds;
    }
    const double n = rounds > 0 ? rounds : 1;
    state.counters["floor_cpu_s"] = floor.cpu / n;
    state.counters["first_cpu_s"] = first.cpu / n;
    state.counters["first_wall_s"] = first.wall / n;
    state.counters["menu_cpu_s"] = menu.cpu / n;
    state.counters["menu_wall_s"] = menu.wall / n;
    state.counters["first/floor"] = floor.cpu > 0 ? first.cpu / floor.cpu : 0.0;
    state.counters["menu/floor"] = floor.cpu > 0 ? menu.cpu / floor.cpu : 0.0;
}

void Level(benchmark::State& state)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("needs a display (run under xvfb-run)");
        return;
    }
    Times level;
    int rounds = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        tdtest::GameHarness harness(tdtest::GameHarness::Backend::GL);
        if (!harness.start(tdtest::GameHarness::Opening::Splash))
        {
            state.SkipWithError("the game did not start on GL");
            return;
        }
        TDMap* map = harness.map();
        map->mHud->openLevelSelect();
        harness.step();
        const auto* screen = dynamic_cast<const HUDLevelSelect*>(map->mHud->getWindows().back());
        if (!screen || screen->mPlates.empty())
        {
            state.SkipWithError("the level select did not open");
            return;
        }
        const HUDLevelPlate* plate = screen->mPlates[0];
        const float x = static_cast<float>(plate->mX) + static_cast<float>(plate->mWidth) / 2.0f;
        const float y = static_cast<float>(plate->mY) + static_cast<float>(plate->mHeight) / 2.0f;
        harness.move(x, y);
        state.ResumeTiming();
        const double cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
        const double wall = Now(CLOCK_MONOTONIC);
        harness.press(x, y);
        harness.release(x, y);
        harness.step();
        level.cpu += Now(CLOCK_PROCESS_CPUTIME_ID) - cpu;
        level.wall += Now(CLOCK_MONOTONIC) - wall;
        state.SetIterationTime(Now(CLOCK_MONOTONIC) - wall);
        if (map->mState == kStateLevelSelect)
        {
            state.SkipWithError("the plate did not start its level");
            return;
        }
        state.PauseTiming();
        harness.end();
        state.ResumeTiming();
        ++rounds;
    }
    const double n = rounds > 0 ? rounds : 1;
    state.counters["level_cpu_s"] = level.cpu / n;
    state.counters["level_wall_s"] = level.wall / n;
}

BENCHMARK(Start)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Level)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return BareWindow();
    gSelf = fs::canonical("/proc/self/exe").string();
    ScratchCleanup cleanup;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
