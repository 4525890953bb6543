#include "Core/App/Application.h"
#include "Core/App/InstanceLock.h"
#include "Core/App/TimerLocal.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <fstream>
#include <iterator>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// Set by the test of the process entry; the other tests construct their applications directly.
app::Application* (*gMakeApplication)() = nullptr;
} // namespace

app::Application* app::CreateApplication()
{
    return gMakeApplication != nullptr ? gMakeApplication() : nullptr;
}

namespace
{

std::vector<std::string> gEvents;

// A task that records its life and stops itself after a number of ticks.
class CountingTask : public base::Task
{
public:
    CountingTask(std::string name, int ticks, bool keepParentAlive)
        : base::Task(false, false, keepParentAlive, false), mName(std::move(name)), mTicks(ticks)
    {
    }
    int updates = 0;

protected:
    VNResultEnum OnStart() override
    {
        gEvents.push_back(mName + " start");
        return VN_OK;
    }
    VNResultEnum OnUpdate(float dt) override
    {
        EXPECT_GE(dt, 0.0f);
        EXPECT_LE(dt, app::TimerLocal::kMaxStep);
        ++updates;
        if (updates == mTicks)
        {
            gEvents.push_back(mName + " done");
            mStop = true;
        }
        return VN_OK;
    }
    void OnFinish() override
    {
        gEvents.push_back(mName + " finish");
        base::Task::OnFinish();
    }

private:
    std::string mName;
    int mTicks;
};

class TestApplication : public app::Application
{
public:
    int ticks = 0;

protected:
    VNResultEnum OnUpdate(float dt) override
    {
        ++ticks;
        gEvents.push_back("app update");
        return app::Application::OnUpdate(dt);
    }
    void OnFinish() override
    {
        gEvents.push_back("app finish");
        app::Application::OnFinish();
    }
};

TEST(ApplicationLinux, RunLoopEndsOnTheTickTheWindowTaskIsRemoved)
{
    gEvents.clear();
    TestApplication application;
    CountingTask window("window", 3, true);
    application.AddChild(&window);
    EXPECT_EQ(application.Run(), VN_OK);
    // A child added before the first tick joins at its end; the window stops on its third update,
    // that tick removes it and the application finishes.
    EXPECT_EQ(window.updates, 3);
    EXPECT_EQ(application.ticks, 4);
    EXPECT_TRUE(application.IsFinished());
    EXPECT_TRUE(application.IsDone());
    const std::vector<std::string> expected = {
        "app update", "window start", "app update", "app update", "window done", "app update", "app finish",
    };
    EXPECT_EQ(gEvents, expected);
}

TEST(ApplicationLinux, WithoutChildrenTheLoopEndsAfterOneTick)
{
    gEvents.clear();
    TestApplication application;
    EXPECT_EQ(application.Run(), VN_OK);
    EXPECT_EQ(application.ticks, 1);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"app update", "app finish"}));
}

TEST(ApplicationLinux, FinishedApplicationSkipsTheLoop)
{
    // Main returns Init's result without a tick once Init finished the application (another instance).
    class Finishing : public TestApplication
    {
    public:
        VNResultEnum InitHook() override
        {
            Finish();
            return VN_OK;
        }
    };
    gEvents.clear();
    Finishing application;
    EXPECT_EQ(application.Main(), VN_OK);
    EXPECT_EQ(application.ticks, 0);
}

TEST(TimerLocal, StepsAreClampedToASaneRange)
{
    struct Case
    {
        double raw;
        float step;
    };
    const Case cases[] = {
        {0.016, 0.016f},
        {0.25, 0.25f},
        {0.2500001, 0.25f},
        {120.0, 0.25f},
        {0.0, 0.0f},
        {-1.0, 0.0f},
        {std::numeric_limits<double>::quiet_NaN(), 0.0f},
        {std::numeric_limits<double>::infinity(), 0.25f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(app::TimerLocal::ClampStep(c.raw), c.step) << c.raw;
    app::TimerLocal timer;
    timer.Start();
    const float dt = timer.Tick();
    EXPECT_GE(dt, 0.0f);
    EXPECT_LE(dt, app::TimerLocal::kMaxStep);
}

TEST(ApplicationLinux, UserDataFolderFollowsTheXdgRule)
{
    struct Case
    {
        const char* xdg;
        const char* home;
        VNResultEnum result;
        std::wstring folder;
    };
    const Case cases[] = {
        {"/x/data", "/home/p", VN_OK, L"/x/data/"},
        {"/x/data//", "/home/p", VN_OK, L"/x/data/"},
        {nullptr, "/home/p", VN_OK, L"/home/p/.local/share/"},
        {"", "/home/p", VN_OK, L"/home/p/.local/share/"},
        {"relative/data", "/home/p", VN_OK, L"/home/p/.local/share/"}, // relative values are ignored
        {nullptr, "/home/p/", VN_OK, L"/home/p/.local/share/"},
        {nullptr, nullptr, VN_FAIL, L""},
        {nullptr, "relative", VN_FAIL, L""},
    };
    for (const Case& c : cases)
    {
        std::wstring folder;
        EXPECT_EQ(app::ApplicationLinux::FindAppDataFolder(c.xdg, c.home, folder), c.result)
            << (c.xdg ? c.xdg : "null") << " " << (c.home ? c.home : "null");
        if (c.result == VN_OK)
        {
            EXPECT_EQ(folder, c.folder);
        }
    }
}

TEST(ApplicationLinux, ExecutableFolderIsThisProgramsFolder)
{
    std::wstring folder;
    ASSERT_EQ(app::ApplicationLinux::FindExeFolder(folder), VN_OK);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'/');
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "test_app_linux"));
}

struct InstanceLockFixture : ::testing::Test
{
    std::filesystem::path dir;
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("corv-lock-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::wstring Folder() const { return dir.wstring() + L"/"; }
};

TEST_F(InstanceLockFixture, SecondHolderIsRefusedUntilTheFirstReleases)
{
    app::InstanceLock first;
    app::InstanceLock second;
    EXPECT_EQ(first.Acquire(Folder()), app::InstanceLock::Result::Acquired);
    EXPECT_EQ(second.Acquire(Folder()), app::InstanceLock::Result::OtherRunning);
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    EXPECT_EQ(second.Acquire(Folder()), app::InstanceLock::Result::Acquired);
}

TEST_F(InstanceLockFixture, MissingFolderMakesTheLockUnavailable)
{
    app::InstanceLock lock;
    EXPECT_EQ(lock.Acquire(Folder() + L"missing/"), app::InstanceLock::Result::Unavailable);
    EXPECT_FALSE(lock.IsHeld());
}

TEST_F(InstanceLockFixture, LaterProcessAsksTheHolderToShowItsWindow)
{
    app::InstanceLock holder;
    ASSERT_EQ(holder.Acquire(Folder()), app::InstanceLock::Result::Acquired);
    (void)app::InstanceLock::TakeShowRequest();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        app::InstanceLock later;
        _exit(later.Acquire(Folder()) == app::InstanceLock::Result::OtherRunning ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The signal was delivered before the child exited.
    EXPECT_TRUE(app::InstanceLock::TakeShowRequest());
    EXPECT_FALSE(app::InstanceLock::TakeShowRequest());
}

TEST_F(InstanceLockFixture, LockIsReleasedWhenTheHolderDies)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        // Exits without releasing: the system drops the lock with the process.
        app::InstanceLock* leaked = new app::InstanceLock;
        _exit(leaked->Acquire(Folder()) == app::InstanceLock::Result::Acquired ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    app::InstanceLock next;
    EXPECT_EQ(next.Acquire(Folder()), app::InstanceLock::Result::Acquired);
}

// A file-size limit reached during a save: the started application's write fails like any other and the
// previous file stays, where the default action of SIGXFSZ would kill the process mid-save.
TEST_F(InstanceLockFixture, SaveBeyondTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    const std::filesystem::path profiles = dir / "profiles.xml";
    const std::string old = "<Profiles currentProfile=\"Ann\"><Profile name=\"Ann\"/></Profiles>";
    std::ofstream(profiles) << old;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        TestApplication application;
        if (application.PreInit() != VN_OK)
            _exit(10);
        file::UserDataFileContainer::Instance()->SetPath(Folder());
        file::Profiles store;
        store.Load();
        store.SelectProfile(std::wstring(300, L'x'));
        const rlimit limit{200, 200};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(11);
        const int saved = store.Save();
        file::Profiles::mNoSaveAtExit = true;
        _exit(saved != 0 ? 0 : 12);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::ifstream in(profiles);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().rfind("profiles.xml.tmp", 0), std::string::npos) << e.path();
}

// A singleton made before the application that the application depends on: teardown must take
// the application first all the same.
class Witness : public base::Singletone<Witness>
{
public:
    ~Witness() override { gEvents.push_back("witness destroyed"); }
};

// The process entry tears the singletons down before it returns, while the statics they may use
// still live; the exit-time pass then finds nothing left. Run last: it ends this process's singletons.
TEST(ZProcessEntry, SingletonsAreDestroyedInOrderBeforeRunApplicationReturns)
{
    class EntryApplication : public TestApplication
    {
    public:
        ~EntryApplication() override { gEvents.push_back("application destroyed"); }
        std::vector<base::SingletoneBase*> GetDependencies() override { return {Witness::Instance()}; }
    };
    struct Case
    {
        const char* name;
        app::Application* (*make)();
        int exitCode;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"normal run",
         [] { return static_cast<app::Application*>(new EntryApplication); },
         0,
         {"app update", "app finish", "application destroyed", "witness destroyed"}},
        {"no application", [] { return static_cast<app::Application*>(nullptr); }, 1, {"witness destroyed"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        gEvents.clear();
        gMakeApplication = c.make;
        (void)Witness::Instance();
        char program[] = "test";
        char* argv[] = {program, nullptr};
        EXPECT_EQ(app::RunApplication(1, argv), c.exitCode);
        EXPECT_EQ(gEvents, c.events);
        EXPECT_TRUE(base::SingletoneBase::GetRegistered().empty());
        EXPECT_FALSE(base::Singletone<app::Application>::Exists());
    }
    gMakeApplication = nullptr;
}

} // namespace
