#include "Core/App/Linux/WindowLinux.h"

#include "Core/App/CriticalSection.h"
#include "Core/App/InstanceLock.h"
#include "Core/App/Linux/DisplayLossLinux.h"
#include "Core/App/Linux/SignalsLinux.h"
#include "Core/App/Linux/VideoLinux.h"
#include "Core/App/Linux/WindowManagerLinux.h"
#include "Core/App/MonitorInfo.h"
#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Input/Input.h"

#include <SDL.h>

namespace app
{

namespace
{
CriticalSection gCreationLock;
WindowLinux* gBeingCreated = nullptr;
// The live window, whose frame the window manager reports.
WindowLinux* gFrameWindow = nullptr;
// A title bar and thin borders, as common X11 and Wayland window managers draw them.
constexpr FrameExtents kTypicalFrame{2, 30, 2, 2};
} // namespace

FrameExtents GetWindowFrameExtents()
{
    return gFrameWindow != nullptr ? gFrameWindow->ReadFrameExtents() : kTypicalFrame;
}

CriticalSection& WindowLinux::GetCreationLock()
{
    return gCreationLock;
}

WindowLinux* WindowLinux::GetWindowBeingCreated()
{
    return gBeingCreated;
}

FrameExtents WindowLinux::ReadFrameExtents()
{
    SDL_Window* window = static_cast<SDL_Window*>(mWindow);
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    // A full-screen window has no frame; without a window manager none is reported at all.
    if (window != nullptr && mWindowed && !mDestroyed &&
        SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 &&
        (top | left | bottom | right) != 0)
    {
        mFrame = FrameExtents{left, top, right, bottom};
        mFrameReported = true;
    }
    return mFrameReported ? mFrame : kTypicalFrame;
}

// The window messages of the original desktop port and the SDL events that carry the same meaning.
// Every SDL event of the window goes through kRoutes below; events not listed are ignored, as
// unhandled messages went to the default processing.
//
// | window message                        | SDL event                                  | handling |
// |---------------------------------------|--------------------------------------------|--------------------------------|
// | WM_CREATE, WM_SYSCOLORCHANGE,         | SDL_DISPLAYEVENT, SDL_WINDOWEVENT_SHOWN    | nothing | |
// WM_DISPLAYCHANGE                    |                                            | | | WM_ENDSESSION,
// WM_CLOSE               | SDL_QUIT (session end), SIGTERM, SIGINT,   | close request when CanClose    | | |
// SDL_WINDOWEVENT_CLOSE (close button)     |                                | | WM_DESTROY | (none: our own
// close hides the window)     | task stopped in OnUpdate       | | WM_MOVE                               |
// SDL_WINDOWEVENT_MOVED                      | windowed position kept         | | WM_SIZE (SIZE_MINIMIZED or
// not)       | SDL_WINDOWEVENT_MINIMIZED, _RESTORED,      | minimised flag, activation     | | |   _MAXIMIZED
// |                                | | WM_ACTIVATEAPP                        | SDL_WINDOWEVENT_FOCUS_GAINED,
// _FOCUS_LOST  | active flag, activation        | | WM_PAINT                              |
// SDL_WINDOWEVENT_EXPOSED                    | nothing (the loop draws)       | | WM_KEYDOWN, WM_SYSKEYDOWN
// | SDL_KEYDOWN                                | Alt+Enter switch, else input   | | WM_KEYUP, WM_SYSKEYUP |
// SDL_KEYUP                                  | input                          | | WM_CHAR (via key
// translation)         | SDL_TEXTINPUT                              | one OnChar per character       | |
// WM_TIMER mouse-leave check            | SDL_WINDOWEVENT_LEAVE, _ENTER              | move to the outside
// point,     | |                                       |                                            |   then
// leave                   | | WM_MOUSEMOVE                          | SDL_MOUSEMOTION | move or drag | |
// WM_LBUTTONDOWN, WM_RBUTTONDOWN        | SDL_MOUSEBUTTONDOWN, odd click count       | press, buttons 1 and 3
// | | WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK    | SDL_MOUSEBUTTONDOWN, even click count      | double click | |
// WM_LBUTTONUP, WM_RBUTTONUP            | SDL_MOUSEBUTTONUP                          | release | |
// WM_MOUSEWHEEL                         | SDL_MOUSEWHEEL                             | +-120 per notch at the
// cursor  | | WM_ENABLE, WM_QUERYOPEN,              | (no SDL counterpart: SDL windows are never | | |
// WM_SETCURSOR, WM_COMMAND            |   disabled, keep the arrow, have no menu)  | |
struct WindowEvents
{
    using Handler = void (*)(WindowLinux&, const SDL_Event&);
    struct Route
    {
        Uint32 type;
        Uint8 windowEvent; // for SDL_WINDOWEVENT only
        const char* message;
        Handler handler;
    };

    static void Nothing(WindowLinux&, const SDL_Event&) {}

    static void Close(WindowLinux& w, const SDL_Event&) { w.RequestClose(); }

    static void Moved(WindowLinux& w, const SDL_Event& e)
    {
        if (w.mWindowed && !w.mMinimized)
        {
            // The event reports the client origin; the windowed position is that of the frame.
            const FrameExtents frame = GetWindowFrameExtents();
            w.mWindowedX = e.window.data1 - frame.left;
            w.mWindowedY = e.window.data2 - frame.top;
        }
    }

    static void Minimized(WindowLinux& w, const SDL_Event&)
    {
        w.mMinimized = true;
        w.UpdateActivation();
    }

    static void Restored(WindowLinux& w, const SDL_Event&)
    {
        w.mMinimized = false;
        w.UpdateActivation();
    }

    static void FocusGained(WindowLinux& w, const SDL_Event&)
    {
        w.mAppActive = true;
        w.UpdateActivation();
    }

    static void FocusLost(WindowLinux& w, const SDL_Event&)
    {
        w.mAppActive = false;
        w.UpdateActivation();
    }

    static void KeyDown(WindowLinux& w, const SDL_Event& e)
    {
        const SDL_Keycode sym = e.key.keysym.sym;
        if ((e.key.keysym.mod & KMOD_ALT) != 0 && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER))
        {
            // Alt+Enter asks for the screen-mode switch; the key reaches no one else.
            if (e.key.repeat == 0)
                w.mSwitchRequested = true;
            return;
        }
        if (w.mInput != nullptr)
            (void)w.mInput->OnKeyDownMessage(sym, e.key.repeat != 0);
    }

    static void KeyUp(WindowLinux& w, const SDL_Event& e)
    {
        if (w.mInput != nullptr)
            (void)w.mInput->OnKeyUpMessage(e.key.keysym.sym);
    }

    static void Text(WindowLinux& w, const SDL_Event& e)
    {
        if (w.mInput != nullptr)
            (void)w.mInput->OnTextMessage(e.text.text);
    }

    static void Enter(WindowLinux& w, const SDL_Event&) { w.mMouseInside = true; }

    static void Leave(WindowLinux& w, const SDL_Event&)
    {
        if (!w.mMouseInside)
            return;
        w.mMouseInside = false;
        if (w.mInput == nullptr || w.mWindow == nullptr)
            return;
        int gx = 0;
        int gy = 0;
        int wx = 0;
        int wy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        SDL_GetWindowPosition(static_cast<SDL_Window*>(w.mWindow), &wx, &wy);
        const math::Point2 outside(static_cast<float>(gx - wx), static_cast<float>(gy - wy));
        (void)w.mInput->OnMouseMoveMessage(outside);
        (void)w.mInput->OnMouseLeaveMessage(outside);
    }

    static void Motion(WindowLinux& w, const SDL_Event& e)
    {
        w.mMouseInside = true;
        if (w.mInput != nullptr)
            (void)w.mInput->OnMouseMoveMessage(
                math::Point2(static_cast<float>(e.motion.x), static_cast<float>(e.motion.y)));
    }

    // Left and right buttons only; the middle one was never handled.
    static int Button(Uint8 sdlButton)
    {
        return sdlButton == SDL_BUTTON_LEFT ? 1 : sdlButton == SDL_BUTTON_RIGHT ? 3 : 0;
    }

    static void ButtonDown(WindowLinux& w, const SDL_Event& e)
    {
        const int button = Button(e.button.button);
        if (button == 0 || w.mInput == nullptr)
            return;
        const math::Point2 p(static_cast<float>(e.button.x), static_cast<float>(e.button.y));
        // Every second click of a series is the double click, as the desktop reported it.
        if (e.button.clicks >= 2 && e.button.clicks % 2 == 0)
            (void)w.mInput->OnMouseDoubleClickMessage(p, button);
        else
            (void)w.mInput->OnMouseDownMessage(p, button);
    }

    static void ButtonUp(WindowLinux& w, const SDL_Event& e)
    {
        const int button = Button(e.button.button);
        if (button == 0 || w.mInput == nullptr)
            return;
        (void)w.mInput->OnMouseUpMessage(
            math::Point2(static_cast<float>(e.button.x), static_cast<float>(e.button.y)), button);
    }

    static void Wheel(WindowLinux& w, const SDL_Event& e)
    {
        if (w.mInput == nullptr || e.wheel.y == 0)
            return;
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        const math::Point2 p(static_cast<float>(e.wheel.mouseX), static_cast<float>(e.wheel.mouseY));
        (void)w.mInput->OnMouseWheelMessage(p, notches * 120);
    }

    static constexpr Route kRoutes[] = {
        {SDL_DISPLAYEVENT, 0, "WM_DISPLAYCHANGE", &Nothing},
        {SDL_QUIT, 0, "WM_ENDSESSION", &Close},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_SHOWN, "WM_CREATE", &Nothing},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE, "WM_CLOSE", &Close},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MOVED, "WM_MOVE", &Moved},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED, "WM_SIZE", &Minimized},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED, "WM_SIZE", &Restored},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MAXIMIZED, "WM_SIZE", &Restored},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED, "WM_ACTIVATEAPP", &FocusGained},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST, "WM_ACTIVATEAPP", &FocusLost},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED, "WM_PAINT", &Nothing},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_ENTER, "WM_TIMER", &Enter},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_LEAVE, "WM_TIMER", &Leave},
        {SDL_KEYDOWN, 0, "WM_KEYDOWN", &KeyDown},
        {SDL_KEYUP, 0, "WM_KEYUP", &KeyUp},
        {SDL_TEXTINPUT, 0, "WM_CHAR", &Text},
        {SDL_MOUSEMOTION, 0, "WM_MOUSEMOVE", &Motion},
        {SDL_MOUSEBUTTONDOWN, 0, "WM_LBUTTONDOWN", &ButtonDown},
        {SDL_MOUSEBUTTONUP, 0, "WM_LBUTTONUP", &ButtonUp},
        {SDL_MOUSEWHEEL, 0, "WM_MOUSEWHEEL", &Wheel},
    };

    static void Dispatch(WindowLinux& w, const SDL_Event& e)
    {
        for (const Route& r : kRoutes)
        {
            if (r.type != e.type)
                continue;
            if (e.type == SDL_WINDOWEVENT && r.windowEvent != e.window.event)
                continue;
            r.handler(w, e);
            return;
        }
    }
};

WindowLinux::WindowLinux(input::Input* input, bool autoDelete, bool finishWhenChildrenDone,
                         bool keepParentAlive)
    : base::Task(autoDelete, finishWhenChildrenDone, keepParentAlive, true), mInput(input)
{
}

WindowLinux::~WindowLinux()
{
    if (gFrameWindow == this)
        gFrameWindow = nullptr;
    if (mWindow != nullptr)
        SDL_DestroyWindow(static_cast<SDL_Window*>(mWindow));
    if (mVideoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

VNResultEnum WindowLinux::Create(int32_t x, int32_t y, int32_t outerWidth, int32_t outerHeight,
                                 int32_t clientWidth, int32_t clientHeight, bool windowed,
                                 const std::wstring& caption)
{
    mCaptionText = caption;
    mWindowedX = x;
    mWindowedY = y;
    mWindowedPlaced = windowed;
    mWidth = outerWidth;
    mHeight = outerHeight;
    mClientWidth = clientWidth;
    mClientHeight = clientHeight;
    mWindowed = windowed;

    if (!mVideoStarted)
    {
        if (!StartVideo())
        {
            base::LogMessage(*base::MainLog::Instance(), L"No display: %s\n") %
                base::ToWide(SDL_GetError(), base::kEncodingUtf8);
            return VN_FAIL;
        }
        mVideoStarted = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        base::LogMessage(*base::MainLog::Instance(), L"Video driver: %s\n") %
            base::ToWide(driver != nullptr ? driver : "?", base::kEncodingUtf8);
        WatchDisplayLoss();
    }
    // The renderer creates its OpenGL context on this window: the pixel format is chosen now.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    int cx = x;
    int cy = y;
    if (windowed)
    {
        const FrameExtents frame = GetWindowFrameExtents();
        cx += frame.left;
        cy += frame.top;
    }
    else
    {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    const std::string title = base::ToNarrow(caption, base::kEncodingUtf8);
    gCreationLock.Lock();
    gBeingCreated = this;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), cx, cy, clientWidth, clientHeight, flags);
    gBeingCreated = nullptr;
    if (window == nullptr)
    {
        gCreationLock.Unlock();
        base::LogMessage(*base::MainLog::Instance(), L"SDL cannot create the window: %s\n") %
            base::ToWide(SDL_GetError(), base::kEncodingUtf8);
        return VN_FAIL;
    }
    mWindow = window;
    mWindowId = SDL_GetWindowID(window);
    WatchDisplayOf(window);
    gFrameWindow = this;
    gCreationLock.Unlock();
    // A new game window comes to the front with the keyboard; a full-screen one that does not get it
    // would wait, inactive, for a click that a bare X server never delivers.
    SDL_RaiseWindow(window);
    if (!windowed)
        SDL_SetWindowInputFocus(window);
    SDL_StartTextInput();
    mCreated = true;
    OnCreated();
    return VN_OK;
}

VNResultEnum WindowLinux::SwitchWindowMode(int32_t outerWidth, int32_t outerHeight, bool windowed)
{
    if (windowed == mWindowed && outerWidth == mWidth && outerHeight == mHeight)
        return VN_OK;
    mWindowed = windowed;
    mWidth = outerWidth;
    mHeight = outerHeight;
    SDL_Window* window = static_cast<SDL_Window*>(mWindow);
    if (window == nullptr)
        return VN_OK;
    if (windowed)
    {
        const FrameExtents frame = GetWindowFrameExtents();
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, outerWidth - frame.left - frame.right,
                          outerHeight - frame.top - frame.bottom);
        SDL_SetWindowPosition(window, mWindowedX + frame.left, mWindowedY + frame.top);
    }
    else
    {
        // Without a window manager nobody answers the full-screen request of a mapped window: it would
        // stay a window-sized piece of the screen, and clicks fitted to the whole display would miss.
        // Unmanaged, the window takes the display's place itself.
        if (!HasWindowManager(window))
        {
            SDL_Rect bounds;
            if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) == 0)
            {
                SDL_SetWindowPosition(window, bounds.x, bounds.y);
                SDL_SetWindowSize(window, bounds.w, bounds.h);
            }
        }
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    // As at creation: a full-screen window that does not get the keyboard stays inactive and draws
    // nothing, and a bare X server gives it no focus by itself.
    if (!windowed)
        SDL_SetWindowInputFocus(window);
    return VN_OK;
}

VNResultEnum WindowLinux::SetWindowedSize(int32_t outerWidth, int32_t outerHeight)
{
    mWidth = outerWidth;
    mHeight = outerHeight;
    if (SDL_Window* window = static_cast<SDL_Window*>(mWindow))
    {
        const FrameExtents frame = GetWindowFrameExtents();
        SDL_SetWindowSize(window, outerWidth - frame.left - frame.right,
                          outerHeight - frame.top - frame.bottom);
        SDL_SetWindowPosition(window, mWindowedX + frame.left, mWindowedY + frame.top);
    }
    return VN_OK;
}

void WindowLinux::Restore()
{
    if (SDL_Window* window = static_cast<SDL_Window*>(mWindow); window != nullptr && !mDestroyed)
    {
        SDL_RestoreWindow(window);
        SDL_RaiseWindow(window);
    }
}

void WindowLinux::PumpEvents()
{
    SDL_Event e;
    // Every pending event, not one per tick: presenting waits for the display, and one event per
    // frame would let a stream of mouse moves fall seconds behind.
    while (!mDestroyed && SDL_PollEvent(&e) != 0)
    {
        if (e.type == SDL_WINDOWEVENT && e.window.windowID != mWindowId)
            continue;
        WindowEvents::Dispatch(*this, e);
    }
}

VNResultEnum WindowLinux::OnUpdate(float)
{
    if (!mCreated || IsDone())
        return VN_OK;
    if (mCloseRequested && !mDestroyed)
    {
        // The native window goes away from the screen now; it is freed with this object, after the
        // renderer that draws into it.
        mDestroyed = true;
        SDL_HideWindow(static_cast<SDL_Window*>(mWindow));
        mStop = true;
        return VN_OK;
    }
    if (TakeCloseSignal())
        RequestClose();
    if (InstanceLock::TakeShowRequest())
    {
        base::LogMessage(*base::MainLog::Instance(), L"Window shown at the request of a second start\n");
        Restore();
    }
    PumpEvents();
    ProbeDisplay();
    return VN_OK;
}

void WindowLinux::OnFinish()
{
    mCloseRequested = true;
}

bool WindowLinux::CanClose()
{
    return true;
}

void WindowLinux::OnActivate() {}

void WindowLinux::OnDeactivate() {}

void WindowLinux::OnCreated() {}

void WindowLinux::RequestClose()
{
    if (CanClose() && !IsFinished())
        Finish();
}

void WindowLinux::UpdateActivation()
{
    const bool effective = mAppActive && !mMinimized;
    if (effective == mActive)
        return;
    mActive = effective;
    if (effective)
    {
        OnActivate();
    }
    else
    {
        OnDeactivate();
        SDL_CaptureMouse(SDL_FALSE);
    }
}

} // namespace app
