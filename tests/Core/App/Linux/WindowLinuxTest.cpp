#include "Core/App/MonitorInfo.h"
#include "Core/App/Window.h"
#include "Core/Input/Input.h"
#include "Core/Input/InputListener.h"

#include "Core/App/CriticalSection.h"
#include "FrameReport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace
{

class Recorder : public input::InputListener, public input::CoordConverter
{
public:
    std::vector<std::string> calls;

    void ScreenToLogical(math::Point2& out, const math::Point2& in) override
    {
        out = math::Point2(in.x + 1000, in.y);
    }
    void ApplyOrientation(math::Point2& out, const math::Point2& in, int) override { out = in; }

    static std::string P(const math::Point2& p)
    {
        return std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y));
    }
    VNResultEnum OnMouseDown(const math::Point2& p, int b) override
    {
        return Add("down " + P(p) + " " + std::to_string(b));
    }
    VNResultEnum OnMouseUp(const math::Point2& p, int b) override
    {
        return Add("up " + P(p) + " " + std::to_string(b));
    }
    VNResultEnum OnMouseDoubleClick(const math::Point2& p, int b) override
    {
        return Add("dbl " + P(p) + " " + std::to_string(b));
    }
    VNResultEnum OnMouseMove(const math::Point2& p) override { return Add("move " + P(p)); }
    VNResultEnum OnMouseWheel(const math::Point2& p, int w) override
    {
        return Add("wheel " + P(p) + " " + std::to_string(w));
    }
    VNResultEnum OnMouseLeave(const math::Point2&) override { return Add("leave"); }
    VNResultEnum OnKeyDown(int key) override { return Add("keydown " + std::to_string(key)); }
    VNResultEnum OnKeyUp(int key) override { return Add("keyup " + std::to_string(key)); }
    VNResultEnum OnChar(wchar_t c) override { return Add("char " + std::to_string(static_cast<int>(c))); }

private:
    VNResultEnum Add(std::string s)
    {
        calls.push_back(std::move(s));
        return VN_OK;
    }
};

class TestWindow : public app::Window
{
public:
    using app::Window::Window;
    int activations = 0;
    int deactivations = 0;
    bool allowClose = true;
    std::vector<std::string> history;

protected:
    void OnActivate() override
    {
        ++activations;
        history.push_back("activate");
    }
    void OnDeactivate() override
    {
        ++deactivations;
        history.push_back("deactivate");
    }
    bool CanClose() override { return allowClose; }
};

struct WindowFixture : ::testing::Test
{
    Recorder recorder;
    input::Input in{&recorder, &recorder};
    TestWindow window{&in, false, false, true};
    Uint32 id = 0;

    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (run under xvfb-run)";
        ASSERT_EQ(window.Create(10, 20, 644, 512, 640, 480, true, L"Caption \u00e9"), VN_OK);
        ASSERT_NE(window.GetNativeHandle(), nullptr);
        id = SDL_GetWindowID(static_cast<SDL_Window*>(window.GetNativeHandle()));
        // Let the window system's own start-up events pass, then start from an active window.
        for (int i = 0; i < 5; ++i)
        {
            window.PumpEvents();
            SDL_Delay(10);
        }
        Push(WindowEvent(SDL_WINDOWEVENT_RESTORED));
        Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
        window.PumpEvents();
        window.activations = window.deactivations = 0;
        recorder.calls.clear();
    }

    SDL_Event WindowEvent(Uint8 event)
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = id;
        e.window.event = event;
        return e;
    }
    static SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod, Uint8 repeat = 0)
    {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
        return e;
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }
};

TEST_F(WindowFixture, AltEnterRequestsTheSwitchAndReachesNoOne)
{
    Push(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
    window.PumpEvents();
    EXPECT_TRUE(window.IsSwitchRequested());
    EXPECT_TRUE(recorder.calls.empty());
    window.ClearSwitchRequest();

    // Without Alt, Return is an ordinary key.
    Push(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE));
    Push(Key(SDL_KEYUP, SDLK_RETURN, KMOD_NONE));
    window.PumpEvents();
    EXPECT_FALSE(window.IsSwitchRequested());
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"keydown 271", "char 13", "keyup 271"}));
}

TEST_F(WindowFixture, MouseAndTextEventsReachTheInputInLogicalUnits)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 5;
    e.motion.y = 6;
    Push(e);
    e = SDL_Event{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.clicks = 1;
    e.button.x = 5;
    e.button.y = 6;
    Push(e);
    e.type = SDL_MOUSEBUTTONUP;
    Push(e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.clicks = 2;
    Push(e);
    e.type = SDL_MOUSEBUTTONUP;
    Push(e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_MIDDLE; // never handled
    Push(e);
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.clicks = 1;
    Push(e);
    e = SDL_Event{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = -1;
    e.wheel.mouseX = 7;
    e.wheel.mouseY = 8;
    Push(e);
    e = SDL_Event{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, "\xC3\xA9", sizeof(e.text.text));
    Push(e);
    window.PumpEvents();
    const std::vector<std::string> expected = {
        "move 1005,6", "down 1005,6 1", "up 1005,6 1",       "dbl 1005,6 1",
        "up 1005,6 1", "down 1005,6 3", "wheel 1007,8 -120", "char 233",
    };
    EXPECT_EQ(recorder.calls, expected);
}

TEST_F(WindowFixture, ActivationFollowsFocusAndMinimise)
{
    // The shared test display may move the real focus at any time; its events queue up behind ours.
    // While the window is minimised no focus change can activate it, which keeps this exact.
    window.history.clear();
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(WindowEvent(SDL_WINDOWEVENT_RESTORED));
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    Push(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)); // still minimised: stays inactive
    window.PumpEvents();
    if (!window.history.empty() && window.history.front() == "activate")
        window.history.erase(window.history.begin());
    EXPECT_EQ(window.history, (std::vector<std::string>{"deactivate"}));
    EXPECT_FALSE(window.IsActive());

    Push(WindowEvent(SDL_WINDOWEVENT_RESTORED));
    window.PumpEvents();
    ASSERT_GE(window.history.size(), 2u);
    EXPECT_EQ(window.history[1], "activate");
}

TEST_F(WindowFixture, CloseEndsTheTaskOnTheNextTick)
{
    window.allowClose = false;
    Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
    EXPECT_EQ(window.Update(0.01f), VN_OK);
    EXPECT_FALSE(window.IsFinished());

    window.allowClose = true;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    EXPECT_EQ(window.Update(0.01f), VN_OK); // takes the request
    EXPECT_TRUE(window.IsFinished());
    EXPECT_FALSE(window.IsDestroyed());
    EXPECT_EQ(window.Update(0.01f), VN_OK); // closes the native window
    EXPECT_TRUE(window.IsDestroyed());
    EXPECT_TRUE(window.IsDone());
    EXPECT_FALSE(SDL_GetWindowFlags(static_cast<SDL_Window*>(window.GetNativeHandle())) & SDL_WINDOW_SHOWN);
}

TEST_F(WindowFixture, LeavingReportsAMoveToTheOutsidePointThenTheLeave)
{
    // The pointer goes to the screen's corner, outside the window whatever the screen's size; the
    // events of its own move are drained first.
    int wx = 0;
    int wy = 0;
    SDL_GetWindowPosition(static_cast<SDL_Window*>(window.GetNativeHandle()), &wx, &wy);
    ASSERT_TRUE(wx > 0 || wy > 0) << "the window must leave the corner free";
    ASSERT_EQ(SDL_WarpMouseGlobal(0, 0), 0);
    for (int i = 0; i < 5; ++i)
    {
        window.PumpEvents();
        SDL_Delay(10);
    }
    Push(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    window.PumpEvents();
    recorder.calls.clear();

    Push(WindowEvent(SDL_WINDOWEVENT_LEAVE)); // not inside: nothing
    Push(WindowEvent(SDL_WINDOWEVENT_ENTER));
    Push(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    window.PumpEvents();
    const std::vector<std::string> expected = {"move " + std::to_string(1000 - wx) + "," + std::to_string(-wy),
                                               "leave"};
    EXPECT_EQ(recorder.calls, expected);
}

TEST_F(WindowFixture, MovesOfTheWindowedWindowAreRemembered)
{
    const app::FrameExtents frame = app::GetWindowFrameExtents();
    SDL_Event e = WindowEvent(SDL_WINDOWEVENT_MOVED);
    e.window.data1 = 300 + frame.left;
    e.window.data2 = 200 + frame.top;
    Push(e);
    window.PumpEvents();
    EXPECT_EQ(window.GetWindowedX(), 300);
    EXPECT_EQ(window.GetWindowedY(), 200);
}

TEST_F(WindowFixture, ModeSwitchKeepsTheWindowedPosition)
{
    EXPECT_TRUE(window.IsWindowed());
    EXPECT_EQ(window.SwitchWindowMode(1366, 768, false), VN_OK);
    EXPECT_FALSE(window.IsWindowed());
    EXPECT_EQ(window.GetWidth(), 1366);
    EXPECT_NE(SDL_GetWindowFlags(static_cast<SDL_Window*>(window.GetNativeHandle())) & SDL_WINDOW_FULLSCREEN,
              0u);
    EXPECT_EQ(window.SwitchWindowMode(644, 512, true), VN_OK);
    EXPECT_TRUE(window.IsWindowed());
    EXPECT_EQ(window.GetWindowedX(), 10);
    EXPECT_EQ(window.GetWindowedY(), 20);
    EXPECT_EQ(SDL_GetWindowFlags(static_cast<SDL_Window*>(window.GetNativeHandle())) & SDL_WINDOW_FULLSCREEN,
              0u);
}

bool SameFrame(const app::FrameExtents& a, const app::FrameExtents& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(WindowFixture, FrameExtentsAreTheOnesTheWindowManagerReports)
{
    const app::FrameExtents typical{2, 30, 2, 2};
    EXPECT_TRUE(SameFrame(app::GetWindowFrameExtents(), typical)) << "no window manager has reported one yet";
    ASSERT_TRUE(apptest::ReportFrame(window.GetNativeHandle(), 4, 6, 28, 8));
    const app::FrameExtents reported{4, 28, 6, 8};
    for (int i = 0; i < 100 && !SameFrame(app::GetWindowFrameExtents(), reported); ++i)
    {
        window.PumpEvents();
        SDL_Delay(10);
    }
    EXPECT_TRUE(SameFrame(app::GetWindowFrameExtents(), reported));

    // The windowed position follows the reported frame: a move reports the client origin.
    SDL_Event e = WindowEvent(SDL_WINDOWEVENT_MOVED);
    e.window.data1 = 104;
    e.window.data2 = 228;
    Push(e);
    window.PumpEvents();
    EXPECT_EQ(window.GetWindowedX(), 100);
    EXPECT_EQ(window.GetWindowedY(), 200);

    // Full screen has no frame; the windowed layout keeps using the last one reported.
    ASSERT_EQ(window.SwitchWindowMode(1366, 768, false), VN_OK);
    window.PumpEvents();
    EXPECT_TRUE(SameFrame(app::GetWindowFrameExtents(), reported));
}

TEST(WindowCreation, TheWindowIsPublishedAndTheLockHeldWhileTheNativeWindowIsMade)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    Recorder recorder;
    input::Input in{&recorder, &recorder};
    TestWindow window{&in, false, false, true};
    struct Seen
    {
        app::WindowLinux* published = nullptr;
        bool otherGotTheLock = true;
        std::atomic<bool> taken{false};
        std::thread other;
    } seen;
    // Runs inside the creation, on the events the new window sends at once.
    auto watch = [](void* data, SDL_Event*) -> int
    {
        Seen& s = *static_cast<Seen*>(data);
        if (app::WindowLinux::GetWindowBeingCreated() == nullptr || s.other.joinable())
            return 0;
        s.published = app::WindowLinux::GetWindowBeingCreated();
        s.other = std::thread(
            [&s]
            {
                app::WindowLinux::GetCreationLock().Lock();
                s.taken = true;
                app::WindowLinux::GetCreationLock().Unlock();
            });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        s.otherGotTheLock = s.taken;
        return 0;
    };
    SDL_AddEventWatch(watch, &seen);
    const VNResultEnum created = window.Create(10, 20, 644, 512, 640, 480, true, L"Creation");
    SDL_DelEventWatch(watch, &seen);
    ASSERT_EQ(created, VN_OK);
    ASSERT_TRUE(seen.other.joinable()) << "no event arrived during the creation";
    seen.other.join();
    EXPECT_EQ(seen.published, &window);
    EXPECT_FALSE(seen.otherGotTheLock);
    EXPECT_TRUE(seen.taken) << "released after the creation";
    EXPECT_EQ(app::WindowLinux::GetWindowBeingCreated(), nullptr);
}
} // namespace
