#pragma once

#include "Core/App/Application.h"
#include "Core/App/MonitorInfo.h"
#include "Core/Base/DeferredDelete.h"
#include "Core/Base/Delegate.h"
#include "Core/Base/ListenerRegistry.h"
#include "Core/Base/MathTypes.h"
#include "Core/Gui/GameControlHelper.h"
#include "Core/Input/InputListener.h"
#include "Core/Resource/CountedHandle.h"
#include "Framework/ScreenFit.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace input
{
class Input;
}
namespace render
{
class Render;
class RenderTarget;
class Graphics;
class Image;
} // namespace render
namespace widget
{
class FrameManager;
class BaseBoard;
} // namespace widget
namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
}
namespace base
{
class ImageInfo;
}
namespace tinyxml2
{
class XMLDocument;
}

namespace framework
{

class GameWindow;

// Told (windowed) after a screen-mode switch changed the mode. Owners subscribe by storing a delegate
// in their slot of the registry.
using ScreenModeListener = base::Delegate1<bool, void>;
using ScreenModeRegistry = base::ListenerRegistry<CountedHandle<ScreenModeListener>>;
// The two-argument form, told (windowed, 0); keyed by (owner, 0).
using ScreenModeListener2 = base::Delegate2<bool, int, void>;
using ScreenModeRegistry2 =
    base::ListenerRegistry<CountedHandle<ScreenModeListener2>, std::pair<const void*, int>>;

// The engine's application: start-up in a fixed order, the window task, one frame from input to
// present, screen fitting and the screen-mode switch. The game derives from it and fills the hooks
// (InitGame, UpdateGame, PreInitGame...). It is its own input listener and coordinate converter.
class GameApplication : public app::Application,
                        public input::InputListener,
                        public input::CoordConverter,
                        public base::DeferredDeleteManager
{
public:
    // Also creates the resource manager, which outlives the application.
    GameApplication();
    // Flushes deferred deletions, then deletes the render target, input, frame manager, renderer
    // and window, in this order.
    ~GameApplication() override;

    VNResultEnum PreInit() override;
    VNResultEnum Init() override;

    // Black bars over mBar1 and mBar2; the game draws its side images instead.
    virtual VNResultEnum DrawBorders(render::Graphics* graphics);
    // One frame: input, game update, frames, deferred deletions, drawing, present.
    virtual VNResultEnum UpdateFrame(float dt);
    virtual void OnActivate();
    virtual void OnDeactivate();
    // Windowed <-> full screen; nothing when the windowed window would not fit the desktop.
    virtual VNResultEnum SwitchScreenMode();
    virtual VNResultEnum InitGame() = 0;
    virtual VNResultEnum UpdateGame(float dt) = 0;
    // Runs after the log is open and before the window exists: mounts, strings, caption, profiles,
    // the requested mode.
    virtual VNResultEnum PreInitGame();

    // A data root without the game's data: the log, a message box naming the folder and what is missing
    // (and how to pass --data_path), then VN_FAIL, so the start fails with a non-zero exit code.
    VNResultEnum RefuseDataRoot(const std::wstring& missing);
    // The data root chdir'ed to at start; false when that folder cannot be entered.
    bool IsDataRootFound() const { return mDataRootFound; }
    // "--pack X": the run writes the packs; the game's data are not needed.
    bool IsPackMode() const { return mPackMode; }

    // Fits the logical screen for the requested mode into setup and the application's mapping fields.
    VNResultEnum ComputeViewport(bool windowed, ScreenSetup& setup);
    // Creates the scaling render target when setup asks for one.
    VNResultEnum CreateRenderTarget(const ScreenSetup& setup);
    // The framed window of the widest logical screen does not fit the primary display's work area.
    bool IsDesktopTooSmall() const;
    // Called by SwitchScreenMode when the windowed state changed: every owner of the one-argument
    // registry, in owner order, gets its two-argument listener (if any) and then its own.
    void NotifyScreenModeListeners(const bool& windowed);

    // The named image through the renderer; null when it cannot be loaded (and while no renderer is
    // attached). The caller owns the returned image.
    render::Image* LoadTexture(const std::wstring& name, file::ImageContainer* container);
    // A new image layer owning the named image, placed at the image's x and y; info (when given) gets the
    // image's record. The load failure is returned unchanged and out is left alone.
    VNResultEnum CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                  layer::ImageLayer** out, base::ImageInfo* info);
    // Makes the board the current screen (the previous one is removed and deleted by the frame manager).
    VNResultEnum SetScreen(widget::BaseBoard* board);

    // Window pixel to logical point with the current fit.
    void ScreenToLogical(math::Point2& out, const math::Point2& window) override;
    void ApplyOrientation(math::Point2& out, const math::Point2& in, int orientation) override;

    // Mouse events go to the frame manager, keys and characters to its active frame's focused widget.
    VNResultEnum OnMouseDown(const math::Point2& point, int button) override;
    VNResultEnum OnMouseUp(const math::Point2& point, int button) override;
    VNResultEnum OnMouseDoubleClick(const math::Point2& point, int button) override;
    VNResultEnum OnMouseMove(const math::Point2& point) override;
    VNResultEnum OnMouseDrag(const math::Point2& point) override;
    VNResultEnum OnMouseWheel(const math::Point2& point, int wheel) override;
    VNResultEnum OnMouseLeave(const math::Point2& point) override;
    VNResultEnum OnKeyDown(int key) override;
    VNResultEnum OnKeyUp(int key) override;
    VNResultEnum OnChar(wchar_t character) override;
    VNResultEnum OnTouchBegin(const input::TouchList& touches) override;
    VNResultEnum OnTouchMove(const input::TouchList& touches) override;
    VNResultEnum OnTouchEnd(const input::TouchList& touches) override;
    VNResultEnum OnTouchCancel(const input::TouchList& touches) override;

    GameWindow* GetWindow() const { return mWindow; }
    input::Input* GetInput() const { return mInput; }
    render::Render* GetRender() const { return mRender; }
    widget::FrameManager* GetFrameManager() const { return mFrameManager; }
    widget::BaseBoard* GetCurrentScreen() const { return mCurrentScreen; }
    // The rectangle every screen board gets: the widest logical screen, centred on the narrowest.
    const math::Rect& GetViewport() const { return mViewport; }
    // The part of the logical plane visible on the screen.
    const math::Rect& GetVisibleRect() const { return mVisibleRect; }
    const ScreenFit& GetScreenFit() const { return mFit; }
    const ScreenSetup& GetScreenSetup() const { return mSetup; }
    const std::vector<app::MonitorInfo>& GetMonitors() const { return mMonitors; }
    tinyxml2::XMLDocument* GetGameConfig() const { return mGameConfig; }
    // The current mode: the requested one until the window exists, then the window's own.
    bool IsWindowed() const { return mWindowed; }

protected:
    GameWindow* mWindow = nullptr;
    render::Render* mRender = nullptr;
    widget::FrameManager* mFrameManager = nullptr;
    input::Input* mInput = nullptr;

    // The user-data folder is mAppDataFolder + mMakerName + "/" + mProductName + "/".
    std::wstring mMakerName;
    std::wstring mProductName;
    std::wstring mCaption;
    // The logical screen: mBaseHeight high, mBaseWidth to mMaxWidth wide.
    uint32_t mBaseWidth = 1024;
    uint32_t mBaseHeight = 768;
    uint32_t mMaxWidth = 1366;
    // The mode requested at start-up; from the window's creation on, the mode it is in (a windowed request
    // that does not fit the desktop makes it full screen).
    bool mWindowed = true;
    std::vector<app::MonitorInfo> mMonitors;

    float mInputScaleX = 1.0f;
    float mInputScaleY = 1.0f;
    float mInputOffsetX = 0.0f;
    float mInputOffsetY = 0.0f;

    tinyxml2::XMLDocument* mGameConfig = nullptr;
    render::RenderTarget* mRenderTarget = nullptr;
    float mTargetDrawScaleX = 1.0f;
    float mTargetDrawScaleY = 1.0f;
    float mScreenCentreX = 0.0f;
    float mScreenCentreY = 0.0f;
    math::Rect mVisibleRect;
    math::Rect mViewport;
    bool mBarsVisible = false;
    bool mBarsAtSides = false;
    math::Rect mBar1;
    math::Rect mBar2;
    widget::BaseBoard* mCurrentScreen = nullptr;

    // The last fit and set-up, as handed to the window and the renderer.
    ScreenFit mFit;
    ScreenSetup mSetup;

    // "data/game.xml": the dialogs' show and hide effects, loaded through the renderer.
    VNResultEnum LoadGameConfig();

private:
    VNResultEnum InitSteps();
    // Clear, frames, bars, end, present and playback of one frame.
    VNResultEnum DrawFrame();
    // The frames into the render target (then drawn onto the screen) or straight onto the screen.
    VNResultEnum DrawFrames(render::Graphics* screen);

    // The game controls' image layers come from the application (the renderer's owner).
    class ImageLayers : public gui::ImageLayerFactory
    {
    public:
        explicit ImageLayers(GameApplication* application) : mApplication(application) {}
        VNResultEnum CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                      layer::ImageLayer** out, base::ImageInfo* info) override
        {
            return mApplication->CreateImageLayer(name, container, out, info);
        }

    private:
        GameApplication* mApplication;
    };

    bool mWindowAdded = false;
    std::wstring mDataRoot;
    bool mDataRootFound = true;
    bool mPackMode = false;
    ImageLayers mImageLayers{this};
};

// The process's application as the framework sees it; null before it is constructed.
GameApplication* GetGameApplication();

} // namespace framework
