#pragma once

#include "Core/App/MonitorInfo.h"
#include "Core/Base/Task.h"

#include <cstdint>
#include <string>

namespace input
{
class Input;
}

namespace app
{
class CriticalSection;

// The main window of the process, a task ticked by the application: each tick it takes the window
// events, keeps activation, minimised and position state, catches Alt+Enter and a close request,
// and hands mouse, key and text events to the input. There is one window per process.
class WindowLinux : public base::Task
{
public:
    // The application passes (false, false, true); a window task always has a lock.
    WindowLinux(input::Input* input, bool autoDelete, bool finishWhenChildrenDone, bool keepParentAlive);
    // Frees the native window.
    ~WindowLinux() override;

    // Creates and shows the native window (with an OpenGL 4.5 core, double-buffered, depth 24,
    // stencil 8 pixel format) at the outer position and size, with the given client size.
    VNResultEnum Create(int32_t x, int32_t y, int32_t outerWidth, int32_t outerHeight, int32_t clientWidth,
                        int32_t clientHeight, bool windowed, const std::wstring& caption);
    // Changes between windowed (at the remembered windowed position) and full screen.
    VNResultEnum SwitchWindowMode(int32_t outerWidth, int32_t outerHeight, bool windowed);
    // Resizes the windowed window, style unchanged.
    VNResultEnum SetWindowedSize(int32_t outerWidth, int32_t outerHeight);
    // Un-minimises the window and brings it to the front.
    void Restore();

    // The SDL_Window* (the renderer creates its GL context on it); null before Create.
    void* GetNativeHandle() const { return mWindow; }

    bool IsCreated() const { return mCreated; }
    // Closed: the native window is hidden and gets no more events.
    bool IsDestroyed() const { return mDestroyed; }
    bool IsWindowed() const { return mWindowed; }
    bool IsActive() const { return mActive; }
    bool IsMinimized() const { return mMinimized; }
    bool IsSwitchRequested() const { return mSwitchRequested; }
    void ClearSwitchRequest() { mSwitchRequested = false; }
    // A window created full screen has no windowed place of its own until it is given one.
    bool HasWindowedPosition() const { return mWindowedPlaced; }
    void SetWindowedPosition(int32_t x, int32_t y)
    {
        mWindowedX = x;
        mWindowedY = y;
        mWindowedPlaced = true;
    }
    int32_t GetWindowedX() const { return mWindowedX; }
    int32_t GetWindowedY() const { return mWindowedY; }

    // Takes every pending window event now (normally done by OnUpdate).
    void PumpEvents();

    // The frame the window manager reports around this window while it is windowed; the last one
    // reported (or a typical frame before any) otherwise.
    FrameExtents ReadFrameExtents();

    // Held while a native window is created; the window being created is published meanwhile, as
    // window-system callbacks may run before the creation returns.
    static CriticalSection& GetCreationLock();
    static WindowLinux* GetWindowBeingCreated();

protected:
    VNResultEnum OnUpdate(float dt) override;
    // Closing: the next tick hides the window and stops the task.
    void OnFinish() override;
    virtual bool CanClose();
    virtual void OnActivate();
    virtual void OnDeactivate();
    virtual void OnCreated();

    void* mWindow = nullptr; // SDL_Window*
    uint32_t mWindowId = 0;
    std::wstring mCaptionText;
    bool mCreated = false;
    bool mAppActive = true;
    bool mMinimized = false;
    bool mActive = true;
    bool mWindowed = true;
    int32_t mWindowedX = 0;
    int32_t mWindowedY = 0;
    bool mWindowedPlaced = false;
    int32_t mWidth = 800;
    int32_t mHeight = 600;
    int32_t mClientWidth = 800;
    int32_t mClientHeight = 600;
    bool mCloseRequested = false;
    bool mDestroyed = false;
    bool mSwitchRequested = false;
    bool mMouseInside = false;
    input::Input* mInput; // not owned

private:
    friend struct WindowEvents;
    void UpdateActivation();
    void RequestClose();
    bool mVideoStarted = false;
    FrameExtents mFrame;
    bool mFrameReported = false;
};

} // namespace app
