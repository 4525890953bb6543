#include "Framework/GameApplication.h"

#include "Core/App/InstanceLock.h"
#include "Core/App/Shell.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Core/File/ReadFile.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Input/Input.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Render/Color.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/GL/RenderGL.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Framework/CommandLine.h"
#include "Framework/GameWindow.h"
#include "Framework/PackScreen.h"

#include <tinyxml2.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

namespace framework
{

namespace
{

GameApplication* gGameApplication = nullptr;

// Held until the process ends: the profiles are saved and the log closed after the application is
// gone, and a new start must not read or truncate them before that.
app::InstanceLock& ProcessInstanceLock()
{
    static app::InstanceLock* lock = new app::InstanceLock;
    return *lock;
}

void LogLine(const wchar_t* text)
{
    base::LogMessage(*base::MainLog::Instance(), text);
}

} // namespace

GameApplication* GetGameApplication()
{
    return gGameApplication;
}

GameApplication::GameApplication()
{
    gGameApplication = this;
    AddDependency(this, resource::ResourceManager::Instance());
}

GameApplication::~GameApplication()
{
    Flush();
    // Neither may reach the renderer or this object once they are gone.
    if (gui::GetImageLayerFactory() == &mImageLayers)
        gui::SetImageLayerFactory(nullptr);
    if (base::Singletone<widget::DialogEffectsManager>::Exists() &&
        widget::DialogEffectsManager::Instance()->GetRender() == mRender)
        widget::DialogEffectsManager::Instance()->SetRender(nullptr);
    delete mRenderTarget;
    mRenderTarget = nullptr;
    delete mInput;
    mInput = nullptr;
    if (mFrameManager != nullptr)
    {
        // Frames the game did not take down itself (the current screen) have no other owner; neither
        // has a current screen that never made it into the list (failed Init, no update since).
        bool listed = false;
        for (const widget::FrameEntry& entry : mFrameManager->GetFrames())
            listed = listed || entry.frame == mCurrentScreen;
        (void)mFrameManager->Clear(true, false);
        if (!listed)
            delete mCurrentScreen;
        mCurrentScreen = nullptr;
        delete mFrameManager;
        mFrameManager = nullptr;
    }
    delete mRender;
    mRender = nullptr;
    delete mWindow;
    mWindow = nullptr;
    delete mGameConfig;
    mGameConfig = nullptr;

    // A link left in the data ("play.url") opens after the window is gone; not for a process that
    // only handed over to the running game.
    if (!mAlreadyRunning && base::Singletone<file::FileManager>::Exists() &&
        file::FileManager::Instance()->Exists(L"play.url"))
    {
        std::wstring path = mExeFolder + L"play.url";
        std::error_code error;
        if (!std::filesystem::exists(base::ToNativePath(path), error))
            path = std::filesystem::current_path(error).wstring() + L"/play.url";
        (void)app::OpenWithShell(path);
    }
    if (gGameApplication == this)
        gGameApplication = nullptr;
}

VNResultEnum GameApplication::PreInit()
{
    return app::Application::PreInit();
}

VNResultEnum GameApplication::Init()
{
    const VNResultEnum result = InitSteps();
    // Stopping before the window exists is a failed start, not a normal end.
    if (result != VN_OK && !mWindowAdded && !mAlreadyRunning)
        mExitCode = 1;
    return result;
}

VNResultEnum GameApplication::InitSteps()
{
    // Data root.
    const CommandLine line = ParseCommandLine(mArgs);
    if (line.mode == CommandLine::Mode::Invalid)
    {
        std::fprintf(stderr, "%s needs exactly one value: corvantis [--data_path DIR | --pack X]\n",
                     base::ToNarrow(line.option, base::kEncodingUtf8).c_str());
        return VN_FAIL;
    }
    const std::wstring root = line.mode == CommandLine::Mode::DataPath ? line.value : mExeFolder;
    mDataRoot = root;
    mDataRootFound = file::FileManager::Instance()->SetRootPath(root) == VN_OK;
    mPackMode = line.mode == CommandLine::Mode::Pack;

    // User-data folder.
    const std::wstring userData = mAppDataFolder + mMakerName + L"/" + mProductName + L"/";
    (void)file::UserDataFileContainer::Instance()->SetPath(userData);

    // One game per user: checked before anything is written into the folder, so a second start
    // leaves the running game's log and profiles alone.
    const app::InstanceLock::Result lock = ProcessInstanceLock().Acquire(userData);
    if (lock == app::InstanceLock::Result::OtherRunning)
    {
        mAlreadyRunning = true;
        file::Profiles::mNoSaveAtExit = true;
        LogLine(L"Another instance is running: it was asked to show its window\n");
        Finish();
        return VN_OK;
    }

    // Log file.
    (void)InitLogFile(userData);
    if (lock == app::InstanceLock::Result::Unavailable)
        LogLine(L"Single-instance lock unavailable in the user-data folder\n");

    (void)app::Application::InitHook();
    if (const VNResultEnum r = PreInitGame(); r != VN_OK)
        return r;

    mViewport = math::Rect((static_cast<float>(mBaseWidth) - static_cast<float>(mMaxWidth)) * 0.5f, 0.0f,
                           static_cast<float>(mMaxWidth), static_cast<float>(mBaseHeight));
    mInput = new input::Input(this, this);
    mWindow = new GameWindow(this, mInput, false, false, true);
    app::EnumMonitors(mMonitors);

    ScreenSetup setup;
    mRender = new render::RenderGL;
    if (const VNResultEnum r = ComputeViewport(mWindowed, setup); r != VN_OK)
    {
        LogLine(L"No display to fit the screen to\n");
        return r;
    }
    if (const VNResultEnum r = mWindow->Create(
            setup.x, setup.y, setup.outerWidth, setup.outerHeight, static_cast<int32_t>(setup.mWidth),
            static_cast<int32_t>(setup.mHeight), setup.mWindowed, mCaption);
        r != VN_OK)
    {
        LogLine(L"The window cannot be created\n");
        return r;
    }
    if (const VNResultEnum r = mRender->InitRender(mWindow, setup); r != VN_OK)
    {
        LogLine(L"The renderer cannot be initialised on the window\n");
        if (const auto* gl = dynamic_cast<const render::RenderGL*>(mRender);
            gl != nullptr && !gl->GetOfferedInstead().empty())
        {
            // The player learns at exit, in a message box, what is missing.
            mRendererUnsupported = true;
            mRendererUnsupportedText =
                L"The game needs OpenGL 4.5 to draw, but this system offers " + gl->GetOfferedInstead() +
                L".\n\nInstall or update the graphics driver, then start the game again.";
            Finish();
        }
        return r;
    }
    mWindowed = mWindow->IsWindowed();
    if (const VNResultEnum r = CreateRenderTarget(setup); r != VN_OK)
        return r;
    mSetup = setup;
    gui::SetImageLayerFactory(&mImageLayers);

    AddChild(mWindow);
    mWindowAdded = true;
    mFrameManager = new widget::FrameManager;

    if (line.mode == CommandLine::Mode::Pack)
        return SetScreen(new gui::PackScreen(line.value));

    if (const VNResultEnum r = LoadGameConfig(); r != VN_OK)
        return r;
    return InitGame();
}

VNResultEnum GameApplication::LoadGameConfig()
{
    const std::string text = base::ReadTextFile(L"data/game.xml");
    delete mGameConfig;
    mGameConfig = new tinyxml2::XMLDocument;
    // A missing or malformed file leaves an empty document: the engine's defaults apply.
    if (mGameConfig->Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
        mGameConfig->Clear();
    const tinyxml2::XMLElement* root = mGameConfig->RootElement();
    if (root == nullptr || std::strcmp(root->Name(), "Game") != 0)
    {
        if (file::FileManager::Instance()->Exists(L"data/game.xml"))
            LogLine(L"\"data/game.xml\" is damaged (no <Game> document): the defaults are used, no dialog "
                    L"effects (dialogs show and hide at once)\n");
        return VN_OK;
    }
    const tinyxml2::XMLElement* effects = root->FirstChildElement("DialogEffects");
    if (effects == nullptr)
        return VN_OK;
    // The effects' animations (and their mesh libraries) load through the application's renderer.
    widget::DialogEffectsManager* manager = widget::DialogEffectsManager::Instance();
    manager->SetRender(mRender);
    if (const VNResultEnum r = manager->Load(effects); r != VN_OK)
    {
        LogLine(L"The dialog effects of \"data/game.xml\" cannot be loaded\n");
        return r;
    }
    return VN_OK;
}

VNResultEnum GameApplication::PreInitGame()
{
    return VN_OK;
}

VNResultEnum GameApplication::RefuseDataRoot(const std::wstring& missing)
{
    std::wstring folder = mDataRoot;
    if (mDataRootFound)
    {
        std::error_code error;
        folder = std::filesystem::current_path(error).wstring();
    }
    base::LogMessage(*base::MainLog::Instance(), L"No game data in the data folder '%s': %s\n") % folder %
        missing;
    const std::wstring text =
        L"The game's data were not found in the folder\n" + folder + L"\n(" + missing +
        L").\n\nStart the game with the folder that holds \"data/game.xml\" and \"td/\", "
        L"for example:\ncorvantis --data_path /path/to/demo";
    (void)app::ShowErrorMessage(mCaption.empty() ? std::wstring(L"Game data not found") : mCaption, text);
    return VN_FAIL;
}

VNResultEnum GameApplication::DrawBorders(render::Graphics* graphics)
{
    graphics->SetColor(0.0f, 0.0f, 0.0f, 1.0f);
    // Each bar is submitted at the end of its statement.
    graphics->FillRect(mBar1);
    graphics->FillRect(mBar2);
    return VN_OK;
}

VNResultEnum GameApplication::UpdateFrame(float dt)
{
    // Track switches of play lists and fades are due on the main thread every tick, also while the
    // frame itself is skipped (minimised window).
    if (base::Singletone<SoundSystem>::Exists())
        SoundSystem::Instance()->Update();
    // A lost device, a minimised window or an inactive full-screen window skips the frame.
    if (mRender != nullptr && !mRender->CheckDevice())
        return VN_OK;
    if (mInput != nullptr)
    {
        if (const VNResultEnum r = mInput->Update(); r != VN_OK)
            return r;
    }
    if (const VNResultEnum r = UpdateGame(dt); r != VN_OK)
        return r;
    if (mFrameManager != nullptr)
    {
        if (const VNResultEnum r = mFrameManager->Update(dt); r != VN_OK)
            return r;
    }
    Flush();
    if (mRender == nullptr)
    {
        // Nothing presents, so nothing paces the loop: keep it from spinning a core.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return VN_OK;
    }
    return DrawFrame();
}

VNResultEnum GameApplication::DrawFrame()
{
    if (const VNResultEnum r = mRender->BeginFrame(); r != VN_OK)
        return r;
    render::Graphics screen(mRender);
    const render::Color black(0.0f, 0.0f, 0.0f, 1.0f);
    if (const VNResultEnum r = screen.Clear(1, black, 1.0f, 0); r != VN_OK)
        return r;
    if (const VNResultEnum r = DrawFrames(&screen); r != VN_OK)
        return r;
    if (mBarsVisible)
    {
        if (const VNResultEnum r = DrawBorders(&screen); r != VN_OK)
            return r;
    }
    if (const VNResultEnum r = mRender->EndFrame(); r != VN_OK)
        return r;
    if (const VNResultEnum r = mRender->Present(); r != VN_OK)
        return r;
    return mRender->Playback();
}

VNResultEnum GameApplication::DrawFrames(render::Graphics* screen)
{
    if (mRenderTarget == nullptr)
        return mFrameManager != nullptr ? mFrameManager->Draw(screen) : VN_OK;
    {
        render::Graphics target(mRenderTarget);
        const render::Color black(0.0f, 0.0f, 0.0f, 1.0f);
        if (const VNResultEnum r = target.Clear(1, black, 1.0f, 0); r != VN_OK)
            return r;
        if (mFrameManager != nullptr)
        {
            if (const VNResultEnum r = mFrameManager->Draw(&target); r != VN_OK)
                return r;
        }
    }
    // The target, scaled, centred on the screen.
    const float w = static_cast<float>(mRenderTarget->GetWidth()) * mTargetDrawScaleX;
    const float h = static_cast<float>(mRenderTarget->GetHeight()) * mTargetDrawScaleY;
    screen->DrawImage(mRenderTarget,
                      render::DestRect(mScreenCentreX - w * 0.5f, mScreenCentreY - h * 0.5f, w, h));
    return VN_OK;
}

void GameApplication::OnActivate() {}

void GameApplication::OnDeactivate() {}

VNResultEnum GameApplication::ComputeViewport(bool windowed, ScreenSetup& setup)
{
    ScreenFit fit;
    const LogicalScreen screen{mBaseWidth, mBaseHeight, mMaxWidth};
    if (const VNResultEnum r =
            ComputeScreenFit(mMonitors, screen, windowed, app::GetWindowFrameExtents(), setup, fit);
        r != VN_OK)
        return r;
    if (mRender != nullptr)
    {
        // The renderer's orthographic projections turn the logical-to-pixel parts into clip space.
        math::Matrix4 ortho(true);
        if (setup.mUseRenderTarget)
        {
            if (const VNResultEnum r =
                    mRender->SetOrthoProjection(static_cast<float>(setup.mTargetWidth),
                                                static_cast<float>(setup.mTargetHeight), 0.0f, &ortho);
                r != VN_OK)
                return r;
            setup.mTargetProjection = setup.mTargetProjection.Multiply(ortho);
        }
        else
        {
            if (const VNResultEnum r = mRender->SetOrthoProjection(
                    static_cast<float>(setup.mWidth), static_cast<float>(setup.mHeight), 0.0f, &ortho);
                r != VN_OK)
                return r;
            setup.mProjection = setup.mProjection.Multiply(ortho);
        }
    }
    mFit = fit;
    mInputScaleX = fit.inputScaleX;
    mInputScaleY = fit.inputScaleY;
    mInputOffsetX = fit.inputOffsetX;
    mInputOffsetY = fit.inputOffsetY;
    mVisibleRect = fit.visibleRect;
    mBarsVisible = fit.barsVisible;
    mBarsAtSides = fit.barsAtSides;
    mBar1 = fit.bar1;
    mBar2 = fit.bar2;
    mTargetDrawScaleX = fit.targetDrawScaleX;
    mTargetDrawScaleY = fit.targetDrawScaleY;
    mScreenCentreX = fit.screenCentreX;
    mScreenCentreY = fit.screenCentreY;
    return VN_OK;
}

VNResultEnum GameApplication::CreateRenderTarget(const ScreenSetup& setup)
{
    if (!setup.mUseRenderTarget || mRender == nullptr)
        return VN_OK;
    render::Image* image = nullptr;
    if (const VNResultEnum r =
            mRender->CreateRenderTarget(static_cast<int32_t>(setup.mTargetWidth),
                                        static_cast<int32_t>(setup.mTargetHeight), &image, false);
        r != VN_OK)
        return r;
    mRenderTarget = static_cast<render::RenderTarget*>(image);
    mRenderTarget->mProjection = setup.mTargetProjection;
    mRenderTarget->mScaleX = setup.mTargetScaleX;
    mRenderTarget->mScaleY = setup.mTargetScaleY;
    mRenderTarget->mOffsetX = setup.mTargetOffsetX;
    mRenderTarget->mOffsetY = setup.mTargetOffsetY;
    return VN_OK;
}

bool GameApplication::IsDesktopTooSmall() const
{
    return framework::IsDesktopTooSmall(mMonitors, LogicalScreen{mBaseWidth, mBaseHeight, mMaxWidth},
                                        app::GetWindowFrameExtents());
}

VNResultEnum GameApplication::SwitchScreenMode()
{
    if (mWindow == nullptr)
        return VN_FAIL;
    const bool wasWindowed = mWindow->IsWindowed();
    ScreenSetup setup;
    if (const VNResultEnum r = ComputeViewport(!wasWindowed, setup); r != VN_OK)
        return r;
    if (setup.mWindowDoesNotFit)
        return VN_OK;
    delete mRenderTarget;
    mRenderTarget = nullptr;
    LogLine(L"mRender->PrepareSwitchScreenMode()\n");
    if (mRender != nullptr)
    {
        if (const VNResultEnum r = mRender->PrepareSwitchScreenMode(); r != VN_OK)
            return r;
    }
    if (wasWindowed)
    {
        LogLine(L"SwitchWindowMode(false)\n");
        if (const VNResultEnum r = mWindow->SwitchWindowMode(setup.outerWidth, setup.outerHeight, false);
            r != VN_OK)
            return r;
        LogLine(L"mRender->SwitchScreenMode()\n");
        if (mRender != nullptr)
        {
            if (const VNResultEnum r = mRender->SwitchScreenMode(setup); r != VN_OK)
                return r;
        }
    }
    else
    {
        // A game started full screen opens its first window centred, where the fit placed it.
        if (!mWindow->HasWindowedPosition())
            mWindow->SetWindowedPosition(setup.x, setup.y);
        LogLine(L"mWindow->SetWindowedSize()\n");
        (void)mWindow->SetWindowedSize(setup.outerWidth, setup.outerHeight);
        LogLine(L"mRender->SwitchScreenMode()\n");
        if (mRender != nullptr)
        {
            if (const VNResultEnum r = mRender->SwitchScreenMode(setup); r != VN_OK)
                return r;
        }
        LogLine(L"SwitchWindowMode(true)\n");
        if (const VNResultEnum r = mWindow->SwitchWindowMode(setup.outerWidth, setup.outerHeight, true);
            r != VN_OK)
            return r;
    }
    if (const VNResultEnum r = CreateRenderTarget(setup); r != VN_OK)
        return r;
    mSetup = setup;
    mWindowed = mWindow->IsWindowed();
    if (mWindowed != wasWindowed)
        NotifyScreenModeListeners(mWindowed);
    return VN_OK;
}

void GameApplication::NotifyScreenModeListeners(const bool& windowed)
{
    // A copy, so a listener may subscribe or unsubscribe while being told; each handle is copied
    // before the call so an unsubscribing listener stays alive until it returns.
    const ScreenModeRegistry::Slots owners = ScreenModeRegistry::Copy();
    for (const auto& entry : owners)
    {
        const void* owner = entry.first;
        if (CountedHandle<ScreenModeListener2> two = ScreenModeRegistry2::Slot({owner, 0}); two)
            two->Invoke(windowed, 0);
        if (CountedHandle<ScreenModeListener> one = ScreenModeRegistry::Slot(owner); one)
            one->Invoke(windowed);
    }
}

render::Image* GameApplication::LoadTexture(const std::wstring& name, file::ImageContainer* container)
{
    if (mRender == nullptr)
        return nullptr;
    render::Image* image = nullptr;
    if (mRender->LoadTexture(name, container, &image, nullptr) != VN_OK)
    {
        delete image;
        return nullptr;
    }
    return image;
}

VNResultEnum GameApplication::CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                               layer::ImageLayer** out, base::ImageInfo* info)
{
    if (mRender == nullptr || out == nullptr)
        return VN_FAIL;
    render::Image* image = nullptr;
    base::ImageInfo loaded;
    if (const VNResultEnum r = mRender->LoadTexture(name, container, &image, &loaded); r != VN_OK)
    {
        delete image;
        return r;
    }
    auto* made = new layer::ImageLayer(image, true);
    made->SetPosition(math::Point3(loaded.mRect[0], loaded.mRect[1], 0.0f));
    *out = made;
    if (info != nullptr)
        *info = loaded;
    return VN_OK;
}

VNResultEnum GameApplication::SetScreen(widget::BaseBoard* board)
{
    if (mFrameManager == nullptr || board == nullptr)
        return VN_FAIL;
    // Both changes happen at the frame manager's next update.
    if (mCurrentScreen != nullptr)
        (void)mFrameManager->RemoveFrame(mCurrentScreen, true, true);
    mCurrentScreen = board;
    board->SetHitRect(mViewport);
    if (const VNResultEnum r = board->Init(); r != VN_OK)
        return r;
    return mFrameManager->AddFrame(board, false, true, true);
}

void GameApplication::ScreenToLogical(math::Point2& out, const math::Point2& window)
{
    out = math::Point2(mInputScaleX * (mInputOffsetX + window.x), mInputScaleY * (mInputOffsetY + window.y));
}

void GameApplication::ApplyOrientation(math::Point2& out, const math::Point2& in, int orientation)
{
    const float width = mWindow != nullptr ? static_cast<float>(mWindow->GetWidth()) : 0.0f;
    const float height = mWindow != nullptr ? static_cast<float>(mWindow->GetHeight()) : 0.0f;
    if (orientation == 1)
        out = math::Point2(width - in.y, in.x);
    else if (orientation == 3)
        out = math::Point2(in.y, height - in.x);
    else
        out = in;
}

// Mouse events go to the frame manager, keys and characters to its active frame's focused widget.
VNResultEnum GameApplication::OnMouseDown(const math::Point2& point, int button)
{
    return mFrameManager ? mFrameManager->OnMouseDown(point, button) : VN_OK;
}

VNResultEnum GameApplication::OnMouseUp(const math::Point2& point, int button)
{
    return mFrameManager ? mFrameManager->OnMouseUp(point, button) : VN_OK;
}

VNResultEnum GameApplication::OnMouseDoubleClick(const math::Point2& point, int button)
{
    return mFrameManager ? mFrameManager->OnMouseDoubleClick(point, button) : VN_OK;
}

VNResultEnum GameApplication::OnMouseMove(const math::Point2& point)
{
    return mFrameManager ? mFrameManager->OnMouseMove(point) : VN_OK;
}

VNResultEnum GameApplication::OnMouseDrag(const math::Point2& point)
{
    return mFrameManager ? mFrameManager->OnMouseDrag(point) : VN_OK;
}

VNResultEnum GameApplication::OnMouseWheel(const math::Point2& point, int wheel)
{
    // The frames take the wheel as the 16-bit value of the desktop message (65416 for -120).
    return mFrameManager ? mFrameManager->OnMouseWheel(point, static_cast<uint16_t>(wheel)) : VN_OK;
}

VNResultEnum GameApplication::OnMouseLeave(const math::Point2&)
{
    return VN_OK;
}

VNResultEnum GameApplication::OnKeyDown(int key)
{
    return mFrameManager ? mFrameManager->OnKeyDown(key) : VN_OK;
}

VNResultEnum GameApplication::OnKeyUp(int key)
{
    return mFrameManager ? mFrameManager->OnKeyUp(key) : VN_OK;
}

VNResultEnum GameApplication::OnChar(wchar_t character)
{
    return mFrameManager ? mFrameManager->OnChar(character) : VN_OK;
}

// Touches act as the left mouse button at the first finger.
VNResultEnum GameApplication::OnTouchBegin(const input::TouchList& touches)
{
    return touches.empty() ? VN_OK : OnMouseDown(touches.front().point, 1);
}

VNResultEnum GameApplication::OnTouchMove(const input::TouchList& touches)
{
    return touches.empty() ? VN_OK : OnMouseDrag(touches.front().point);
}

VNResultEnum GameApplication::OnTouchEnd(const input::TouchList& touches)
{
    return touches.empty() ? VN_OK : OnMouseUp(touches.front().point, 1);
}

VNResultEnum GameApplication::OnTouchCancel(const input::TouchList& touches)
{
    return touches.empty() ? VN_OK : OnMouseUp(touches.front().point, 1);
}

} // namespace framework
