#include "Source/TD/Harness/TDGameHarness.h"

#include "Source/TD/HUD/HUD.h"

#include "Core/Base/MathUtil.h"
#include "Core/File/FileManager.h"
#include "Core/Gui/GameControlHelper.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Render/Color.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"
#include "Framework/GameWindow.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/Menus/HUDMenuWindow.h"
#include "Source/TD/HUD/Menus/HUDModalMessage.h"
#include "Source/TD/HUD/Select/HUDProfiles.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Support/DemoTreeCache.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <system_error>

#include <unistd.h>

// Programs built on the harness construct their game themselves.
app::Application* app::CreateApplication()
{
    return nullptr;
}

namespace tdtest
{

namespace
{
// Removes the program's copy of the tree at exit.
struct DataCopy
{
    fs::path root;
    ~DataCopy()
    {
        std::error_code ignored;
        if (!root.empty())
            fs::remove_all(root.parent_path(), ignored);
    }
};

int gHarnessCount = 0;
} // namespace

const fs::path& demoDataRoot()
{
    static DataCopy copy = []
    {
        DataCopy made;
        const fs::path tree = testsupport::CachedDemoTree(CORV_DEMODATA_CACHE, CORV_DEMODATA_EXE);
        if (tree.empty())
        {
            ADD_FAILURE() << "the demo data generator failed";
            return made;
        }
        const fs::path folder = fs::temp_directory_path() / ("corv-td-game-" + std::to_string(::getpid()));
        std::error_code error;
        fs::remove_all(folder, error);
        fs::create_directories(folder / "data", error);
        // A copy: the game may write into its data (missing strings are appended to the strings sheet).
        fs::copy(tree, folder / "data", fs::copy_options::recursive, error);
        if (error)
            ADD_FAILURE() << "the demo data could not be copied: " << error.message();
        else
            made.root = folder / "data";
        return made;
    }();
    return copy.root;
}

void SoundLog::onSoundTag(const std::wstring& tag, bool known)
{
    (known ? tags : unknownTags).push_back(tag);
}

void SoundLog::onMusic(const std::wstring& file)
{
    music.push_back(file);
}

void SoundLog::clear()
{
    tags.clear();
    unknownTags.clear();
    music.clear();
}

// The game with the harness's start-up: the engine's own on GL, a window-less one on the recording back end.
class GameHarness::Application : public Game
{
public:
    explicit Application(bool gl) : mGL(gl) {}

    VNResultEnum PreInitGame() override
    {
        const VNResultEnum result = Game::PreInitGame();
        // A window for the test whatever the profile says (a screen too small for a framed window still gets
        // full screen).
        if (mGL)
            mWindowed = true;
        return result;
    }

    // What the engine's start-up does before the game's own, without a window: data root, user data, the
    // game's pre-initialisation, the widest logical screen, a recording renderer, the frame manager; then the
    // game.
    VNResultEnum startHeadless(const fs::path& root, const fs::path& user)
    {
        (void)file::FileManager::Instance()->SetRootPath(root.wstring() + L"/");
        (void)file::UserDataFileContainer::Instance()->SetPath(user.wstring() + L"/");
        if (const VNResultEnum r = PreInitGame(); r != VN_OK)
            return r;
        mViewport = math::Rect(-171.0f, 0.0f, 1366.0f, 768.0f);
        mVisibleRect = mViewport;
        auto* recording = new render::RecordingRender;
        recording->mShaderConstants["color2"] = 1;
        render::RenderInitParam param;
        param.mWidth = 1366;
        param.mHeight = 768;
        mRender = recording;
        if (const VNResultEnum r = recording->InitRender(nullptr, param); r != VN_OK)
            return r;
        // The game's widget dialogs take their images through the factory the windowed start-up sets.
        mImageLayerFactory = std::make_unique<gui::RenderImageLayerFactory>(mRender);
        gui::SetImageLayerFactory(mImageLayerFactory.get());
        mFrameManager = new widget::FrameManager;
        if (const VNResultEnum r = LoadGameConfig(); r != VN_OK)
            return r;
        return InitGame();
    }

    ~Application() override
    {
        if (gui::GetImageLayerFactory() == mImageLayerFactory.get())
            gui::SetImageLayerFactory(nullptr);
    }

    render::RecordingRender* recording() const
    {
        return mGL ? nullptr : static_cast<render::RecordingRender*>(mRender);
    }

    void useDesktop(int width, int height)
    {
        app::MonitorInfo monitor;
        monitor.width = monitor.workWidth = width;
        monitor.height = monitor.workHeight = height;
        monitor.primary = true;
        mMonitors = {monitor};
    }

    // The frame drawn once more as the engine draws it, played back without being presented, so it stays in
    // the back buffer to be read.
    VNResultEnum drawUnpresented()
    {
        if (!mRender || !mFrameManager)
            return VN_FAIL;
        if (const VNResultEnum r = mRender->BeginFrame(); r != VN_OK)
            return r;
        {
            render::Graphics screen(mRender);
            const render::Color black(0.0f, 0.0f, 0.0f, 1.0f);
            (void)screen.Clear(1, black, 1.0f, 0);
            if (mRenderTarget)
            {
                {
                    render::Graphics target(mRenderTarget);
                    (void)target.Clear(1, black, 1.0f, 0);
                    (void)mFrameManager->Draw(&target);
                }
                const float w = static_cast<float>(mRenderTarget->GetWidth()) * mTargetDrawScaleX;
                const float h = static_cast<float>(mRenderTarget->GetHeight()) * mTargetDrawScaleY;
                screen.DrawImage(mRenderTarget, render::DestRect(mScreenCentreX - w * 0.5f,
                                                                 mScreenCentreY - h * 0.5f, w, h));
            }
            else
            {
                (void)mFrameManager->Draw(&screen);
            }
            if (mBarsVisible)
                (void)DrawBorders(&screen);
        }
        if (const VNResultEnum r = mRender->EndFrame(); r != VN_OK)
            return r;
        return mRender->Playback();
    }

private:
    bool mGL;
    std::unique_ptr<gui::RenderImageLayerFactory> mImageLayerFactory;
};

GameHarness::GameHarness(Backend backend) : mBackend(backend)
{
    // Sounds go nowhere; the sound system is made with its first user.
    SoundSystem::SetOutputDevice(mixer::kDeviceNone);
    file::Profiles::mNoSaveAtExit = true;
    mUserData = fs::temp_directory_path() /
                ("corv-td-user-" + std::to_string(::getpid()) + "-" + std::to_string(++gHarnessCount));
    std::error_code error;
    fs::remove_all(mUserData, error);
    fs::create_directories(userFolder(), error);
}

GameHarness::~GameHarness()
{
    end();
    std::error_code error;
    fs::remove_all(mUserData, error);
}

void GameHarness::end()
{
    delete mGame;
    mGame = nullptr;
    mApp = nullptr;
    // The dialog effects were loaded through that game's renderer; the next game loads its own.
    if (base::Singletone<widget::DialogEffectsManager>::Exists())
        delete widget::DialogEffectsManager::Instance();
    if (base::Singletone<w7::SoundTags>::Exists() && w7::SoundTags::Instance()->GetObserver() == &mSounds)
        w7::SoundTags::Instance()->SetObserver(nullptr);
}

bool GameHarness::start(Opening opening)
{
    const fs::path& root = demoDataRoot();
    if (root.empty() || mGame)
        return false;
    if (mBackend == Backend::GL && std::getenv("DISPLAY") == nullptr)
        return false;
    ::setenv("XDG_DATA_HOME", mUserData.c_str(), 1);
    math::SetRandomCounter(0);
    mSounds.clear();
    w7::SoundTags::Instance()->SetObserver(&mSounds);
    mApp = new Application(mBackend == Backend::GL);
    mGame = mApp;
    mApp->SetArgs({L"--data_path", root.wstring()});
    if (mApp->PreInit() != VN_OK)
        return false;
    const VNResultEnum result =
        mBackend == Backend::GL ? mApp->Init() : mApp->startHeadless(root, userFolder());
    if (result != VN_OK || mApp->GetCurrentScreen() == nullptr || map() == nullptr)
        return false;
    if (!mTutorial)
        TDTutorial::Instance()->setEnabled(false);
    // The board joins the frame manager in the first frame; from then on it is updated and takes the pointer.
    // The splash screens it queued join the HUD at the end of the board's first update, the next frame.
    step();
    for (int frame = 0; frame < 3 && map()->mHud->getWindows().empty(); ++frame)
        step();
    if (opening == Opening::FirstLevel)
    {
        // The level's music starts at once, as when the game opened its first level directly, instead of
        // fading over the splash's.
        w7::StopMusic();
        mSounds.clear();
        loadLevel(map()->mMode, 0, 0);
        step();
    }
    return true;
}

void GameHarness::step(int frames)
{
    for (int i = 0; i < frames && mGame; ++i)
    {
        // What was played between frames (a level start's loading picture, its route layer) is not the frame.
        if (render::RecordingRender* record = recording())
            (void)record->TakeLog();
        // On GL the window task takes the window's events first (focus, activation), as in the run loop.
        if (mBackend == Backend::GL && mGame->GetWindow())
            (void)mGame->GetWindow()->Update(kStep);
        else
            (void)mGame->UpdateFrame(kStep);
        // The recording of one frame is enough to look at; earlier ones would only pile up.
        if (render::RecordingRender* record = recording())
            mLastFrame = record->TakeLog();
    }
}

void GameHarness::move(float x, float y)
{
    if (mGame)
        (void)mGame->OnMouseMove(math::Point2(x, y));
}

void GameHarness::press(float x, float y)
{
    if (mGame)
        (void)mGame->OnMouseDown(math::Point2(x, y), 1);
}

void GameHarness::release(float x, float y)
{
    if (mGame)
        (void)mGame->OnMouseUp(math::Point2(x, y), 1);
}

void GameHarness::drag(float x, float y)
{
    if (mGame)
        (void)mGame->OnMouseDrag(math::Point2(x, y));
}

void GameHarness::click(float x, float y)
{
    move(x, y);
    press(x, y);
    release(x, y);
}

void GameHarness::key(int code)
{
    if (mGame)
        (void)mGame->OnKeyDown(code);
}

void GameHarness::type(const std::wstring& text)
{
    if (!mGame)
        return;
    for (wchar_t c : text)
        (void)mGame->OnChar(c);
}

void GameHarness::wheel(float x, float y, int delta)
{
    if (mGame)
        (void)mGame->OnMouseWheel(math::Point2(x, y), delta);
}

void GameHarness::loadLevel(int mode, int episode, int level, bool keepNotice)
{
    TDMap* played = map();
    if (!played)
        return;
    played->mMode = mode;
    played->mEpisode = episode;
    played->mLevel = level;
    played->loadLevel();
    if (!keepNotice)
        (void)dismissUnlockMessage();
}

bool GameHarness::dismissUnlockMessage()
{
    TDMap* played = map();
    if (!played || played->mState != kStateUnlockMessage)
        return false;
    // The message joins the screens at the end of the next frame; each "ok" shows the next item.
    for (int guard = 0; guard < 64 && played->mState == kStateUnlockMessage; ++guard)
    {
        step();
        const math::Point2 ok = buttonCentre(L"ok");
        if (ok.x < 0.0f)
            continue;
        click(ok.x, ok.y);
    }
    step();
    return played->mState != kStateUnlockMessage;
}

math::Point2 GameHarness::buttonCentre(const std::wstring& name) const
{
    TDMap* played = map();
    if (played == nullptr)
        return math::Point2(-1.0f, -1.0f);
    // With no screen up, the HUD's own buttons answer.
    HUDWindow* top = played->mHud->topWindow();
    if (top == nullptr)
        top = played->mHud.get();
    for (const TDButtonFrame* button : top->mButtons)
        if (button->mName == name && button->mVisible)
            return math::Point2(button->mRect.x + button->mRect.width * 0.5f,
                                button->mRect.y + button->mRect.height * 0.5f);
    const auto* menu = dynamic_cast<const HUDMenuWindow*>(top);
    if (menu == nullptr)
        return math::Point2(-1.0f, -1.0f);
    for (const HUDButtonOver* child : menu->mChildButtons)
    {
        if (child->mName != name || child->mVisible == 0 || child->mNormal == nullptr)
            continue;
        const math::Rect& r = child->mNormal->mRect;
        return math::Point2(r.x + child->mXOffset + r.width * 0.5f, r.y + r.height * 0.5f);
    }
    return math::Point2(-1.0f, -1.0f);
}

TDMap* GameHarness::map() const
{
    return Game::GetMap();
}

void GameHarness::useDesktop(int width, int height)
{
    if (mApp)
        mApp->useDesktop(width, height);
}

render::RecordingRender* GameHarness::recording() const
{
    return mApp ? mApp->recording() : nullptr;
}

std::vector<uint32_t> GameHarness::readFrame(int& width, int& height) const
{
    width = 0;
    height = 0;
    if (!mGame || mBackend != Backend::GL)
        return {};
    if (mApp->drawUnpresented() != VN_OK)
        return {};
    width = static_cast<int>(mGame->GetScreenSetup().mWidth);
    height = static_cast<int>(mGame->GetScreenSetup().mHeight);
    std::vector<uint8_t> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint8_t* p = &rgba[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
            pixels[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
        }
    return pixels;
}

} // namespace tdtest
