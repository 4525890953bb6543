#include "Framework/GameApplication.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Gui/GameControlHelper.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Render/Image.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Framework/GameWindow.h"
#include "tests/Core/Sound/AudioFixtures.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tinyxml2.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

// This program constructs its application directly.
app::Application* app::CreateApplication()
{
    return nullptr;
}

namespace
{

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 3 × 2 opaque picture.
void WritePng(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 3;
    image.height = 2;
    image.format = PNG_FORMAT_RGBA;
    const std::vector<std::uint8_t> pixels(3 * 2 * 4, 0xff);
    ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr), 0);
}

std::vector<std::string> gBoardEvents;

class RecordingBoard : public widget::BaseBoard
{
public:
    ~RecordingBoard() override { gBoardEvents.push_back("deleted"); }
    VNResultEnum Init() override
    {
        gBoardEvents.push_back("init");
        return VN_OK;
    }
};

// Records what it finds at each stage of the start and drives a few frames, then closes the window.
class RecordingApplication : public framework::GameApplication
{
public:
    fs::path dataRoot;
    fs::path userData;
    std::vector<std::string> steps;
    int frames = 0;
    RecordingBoard* board = nullptr;
    bool boardListed = false;
    bool tooSmallOnRealDesktop = false;
    bool tooSmallOnLargeDesktop = true;
    std::vector<bool> windowedAfterSwitch;
    std::vector<std::string> notified;
    // The music track the first frame found: a switch the mixer marked as due is carried out by then.
    std::string trackInFirstFrame;

    void OnScreenMode(bool windowed) { notified.push_back(windowed ? "windowed" : "full"); }
    void OnScreenMode2(bool windowed, int zero)
    {
        notified.push_back(std::string(windowed ? "windowed" : "full") + " " + std::to_string(zero));
    }

    RecordingApplication()
    {
        mMakerName = L"Orvalis";
        mProductName = L"Corvantis";
        mCaption = L"Corvantis test";
    }

protected:
    VNResultEnum PreInitGame() override
    {
        steps.push_back("pre-init game");
        // The data root is the working folder, the log is open, the window does not exist yet.
        EXPECT_EQ(fs::current_path(), fs::canonical(dataRoot));
        EXPECT_NE(ReadAll(userData / "log.html").find("<body>"), std::string::npos);
        EXPECT_TRUE(fs::exists(userData / "instance.lock"));
        EXPECT_EQ(mWindow, nullptr);
        // No renderer yet: nothing loads, and the game controls have no image source from us.
        EXPECT_EQ(LoadTexture(L"pics/dot.png", nullptr), nullptr);
        EXPECT_EQ(gui::GetImageLayerFactory(), nullptr);
        return VN_OK;
    }

    VNResultEnum InitGame() override
    {
        steps.push_back("init game");
        EXPECT_NE(mWindow, nullptr);
        EXPECT_TRUE(mWindow->IsCreated());
        EXPECT_NE(mWindow->GetNativeHandle(), nullptr);
        EXPECT_NE(mRender, nullptr);
        tinyxml2::XMLElement* root = mGameConfig ? mGameConfig->RootElement() : nullptr;
        EXPECT_TRUE(root != nullptr && std::string(root->Name()) == "Game");
        // The dialog effects of "data/game.xml" are in, with the renderer for their animations.
        const std::string* binding = widget::DialogEffectsManager::Instance()->FindBinding("options");
        EXPECT_TRUE(binding != nullptr && *binding == "fade");
        EXPECT_EQ(widget::DialogEffectsManager::Instance()->GetRender(), mRender);
        CheckImages();
        StartMusicSwitch();
        // The board rectangle: the widest screen centred on the narrowest.
        EXPECT_EQ(mViewport.x, -171.0f);
        EXPECT_EQ(mViewport.width, 1366.0f);
        EXPECT_EQ(mViewport.height, 768.0f);
        CheckScreenModeSwitches();
        EXPECT_NE(mFrameManager, nullptr);
        board = new RecordingBoard;
        return SetScreen(board);
    }

    void CheckImages()
    {
        render::Image* image = LoadTexture(L"pics/dot.png", nullptr);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetWidth(), 3);
        EXPECT_EQ(image->GetHeight(), 2);
        delete image;
        EXPECT_EQ(LoadTexture(L"pics/missing.png", nullptr), nullptr);

        // The game controls get their image layers from the application.
        ASSERT_NE(gui::GetImageLayerFactory(), nullptr);
        layer::ImageLayer* made = nullptr;
        base::ImageInfo info;
        ASSERT_EQ(gui::GetImageLayerFactory()->CreateImageLayer(L"pics/dot.png", nullptr, &made, &info),
                  VN_OK);
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(made->OwnsImage());
        EXPECT_EQ(made->GetImage()->GetWidth(), 3);
        EXPECT_EQ(info.mRect[2], 3.0f);
        delete made;
        layer::ImageLayer sentinel;
        layer::ImageLayer* untouched = &sentinel;
        EXPECT_NE(CreateImageLayer(L"pics/missing.png", nullptr, &untouched, nullptr), VN_OK);
        EXPECT_EQ(untouched, &sentinel);
    }

    // A fade from one track to the next that ends on the mixer's side (no output device: the test
    // mixes); only the frame's sound update can carry the switch out.
    void StartMusicSwitch()
    {
        SoundSystem::SetOutputDevice(mixer::kDeviceNone);
        SoundSystem* sound = SoundSystem::Instance();
        sound->PlayTrack("music/a.wav");
        sound->PlayTrack("music/b.wav");
        std::vector<float> buffer(2 * 441);
        for (int block = 0; block < 105; ++block)
            sound->GetMixer().Mix(buffer.data(), 441);
        EXPECT_EQ(sound->GetCurrentTrack(), "music/a.wav");
    }

    // Ends windowed: a windowed game draws without the keyboard focus, which the shared test display
    // may hand to another test's window at any time.
    void CheckScreenModeSwitches()
    {
        // The virtual screen of the test display cannot hold a framed 1366 × 768 window, so the
        // game runs full screen and a switch request does nothing.
        tooSmallOnRealDesktop = IsDesktopTooSmall();
        EXPECT_FALSE(mWindow->IsWindowed());
        EXPECT_EQ(SwitchScreenMode(), VN_OK);
        windowedAfterSwitch.push_back(mWindow->IsWindowed());

        // On a large desktop it switches to a centred window, back, and to a window again.
        app::MonitorInfo large;
        large.width = large.workWidth = 1920;
        large.height = 1080;
        large.workHeight = 1040;
        large.primary = true;
        mMonitors = {large};
        tooSmallOnLargeDesktop = IsDesktopTooSmall();
        EXPECT_EQ(SwitchScreenMode(), VN_OK);
        windowedAfterSwitch.push_back(mWindow->IsWindowed());
        EXPECT_EQ(GetScreenSetup().mWidth, 1366u);
        EXPECT_EQ(GetVisibleRect().x, -171.0f);
        // Drawn straight: the projection takes the visible rectangle's corners to the clip corners.
        EXPECT_FALSE(GetScreenSetup().mUseRenderTarget);
        EXPECT_EQ(mRenderTarget, nullptr);
        math::Point3 corner(-171.0f, 0.0f, 0.0f);
        GetScreenSetup().mProjection.TransformPoint(corner);
        EXPECT_NEAR(corner.x, -1.0f, 1e-5);
        EXPECT_NEAR(corner.y, 1.0f, 1e-5);
        corner = math::Point3(1195.0f, 768.0f, 0.0f);
        GetScreenSetup().mProjection.TransformPoint(corner);
        EXPECT_NEAR(corner.x, 1.0f, 1e-5);
        EXPECT_NEAR(corner.y, -1.0f, 1e-5);

        EXPECT_EQ(SwitchScreenMode(), VN_OK);
        windowedAfterSwitch.push_back(mWindow->IsWindowed());
        EXPECT_EQ(GetScreenSetup().mWidth, 1920u);
        // Larger than the logical screen: a 1365 × 768 target whose projection fills it.
        EXPECT_TRUE(GetScreenSetup().mUseRenderTarget);
        EXPECT_NE(mRenderTarget, nullptr);
        corner = math::Point3(-170.5f, 0.0f, 0.0f);
        GetScreenSetup().mTargetProjection.TransformPoint(corner);
        EXPECT_NEAR(corner.x, -1.0f, 1e-5);
        EXPECT_NEAR(corner.y, 1.0f, 1e-5);

        EXPECT_EQ(SwitchScreenMode(), VN_OK);
        windowedAfterSwitch.push_back(mWindow->IsWindowed());
        EXPECT_EQ(mRenderTarget, nullptr);
    }

    VNResultEnum UpdateGame(float dt) override
    {
        // Seconds, unclamped: a loaded machine may take long over a frame, but never minutes.
        EXPECT_GE(dt, 0.0f);
        EXPECT_LT(dt, 30.0f);
        ++frames;
        if (frames == 1 && base::Singletone<SoundSystem>::Exists())
            trackInFirstFrame = SoundSystem::Instance()->GetCurrentTrack();
        if (frames == 2)
        {
            // Added by the frame manager's first update, active, with the board rectangle as hit area.
            for (const auto& entry : mFrameManager->GetFrames())
                boardListed = boardListed || entry.frame == board;
            EXPECT_EQ(mFrameManager->GetActiveFrame(), board);
            EXPECT_EQ(GetCurrentScreen(), board);
        }
        if (frames == 3)
            mWindow->Finish(); // as the close button does
        return VN_OK;
    }
};

TEST(GameApplication, StartsInOrderRunsFramesAndEndsWhenTheWindowCloses)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    const fs::path root = fs::temp_directory_path() / ("corv-gameapp-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "xdg");
    fs::create_directories(root / "data" / "data");
    std::ofstream(root / "data" / "data" / "game.xml")
        << "<Game><DialogEffects><Dialogs><options effects=\"fade\"/></Dialogs></DialogEffects></Game>";
    WritePng(root / "data" / "pics" / "dot.png");
    audiotest::WavLayout wav;
    wav.frames = 44100 * 3;
    WriteFile(root / "data" / "music" / "a.wav", audiotest::MakeWav(wav));
    WriteFile(root / "data" / "music" / "b.wav", audiotest::MakeWav(wav));
    setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);

    auto* application = new RecordingApplication;
    application->dataRoot = root / "data";
    application->userData = root / "xdg" / "Orvalis" / "Corvantis";
    EXPECT_EQ(framework::GetGameApplication(), application);
    framework::ScreenModeRegistry::Slot(application)
        .Reset(new base::MemberDelegate1<RecordingApplication, bool, void>(
            application, &RecordingApplication::OnScreenMode));
    framework::ScreenModeRegistry2::Slot({application, 0})
        .Reset(new base::MemberDelegate2<RecordingApplication, bool, int, void>(
            application, &RecordingApplication::OnScreenMode2));
    application->SetArgs({L"--data_path", (root / "data").wstring()});
    ASSERT_EQ(application->PreInit(), VN_OK);
    EXPECT_EQ(application->GetAppDataFolder(), (root / "xdg").wstring() + L"/");

    EXPECT_EQ(application->Main(), VN_OK);
    EXPECT_EQ(application->steps, (std::vector<std::string>{"pre-init game", "init game"}));
    EXPECT_EQ(gBoardEvents, (std::vector<std::string>{"init"}));
    EXPECT_TRUE(application->boardListed);
    // The frame of the closing tick is not drawn into the closed window.
    EXPECT_EQ(application->frames, 3);
    EXPECT_TRUE(application->GetWindow()->IsDestroyed());
    EXPECT_TRUE(application->IsDone());
    EXPECT_EQ(application->GetExitCode(), 0);
    EXPECT_EQ(application->trackInFirstFrame, "music/b.wav");

    EXPECT_TRUE(application->tooSmallOnRealDesktop);
    EXPECT_FALSE(application->tooSmallOnLargeDesktop);
    EXPECT_EQ(application->windowedAfterSwitch, (std::vector<bool>{false, true, false, true}));
    // Only the switches that changed the mode are told, the two-argument listener first.
    EXPECT_EQ(application->notified, (std::vector<std::string>{"windowed 0", "windowed", "full 0", "full",
                                                               "windowed 0", "windowed"}));
    framework::ScreenModeRegistry::Slot(application).Release();
    framework::ScreenModeRegistry2::Slot({application, 0}).Release();

    // Each switch writes its steps in order; the refused one writes nothing.
    const std::string log = ReadAll(application->userData / "log.html");
    const std::vector<std::string> expected = {
        "mRender->PrepareSwitchScreenMode()",
        "mWindow->SetWindowedSize()",
        "mRender->SwitchScreenMode()",
        "SwitchWindowMode(true)",
        "mRender->PrepareSwitchScreenMode()",
        "SwitchWindowMode(false)",
        "mRender->SwitchScreenMode()",
        "mRender->PrepareSwitchScreenMode()",
        "mWindow->SetWindowedSize()",
        "mRender->SwitchScreenMode()",
        "SwitchWindowMode(true)",
    };
    size_t at = 0;
    for (std::string line : expected)
    {
        // The HTML log escapes markup characters.
        if (const size_t arrow = line.find("->"); arrow != std::string::npos)
            line.replace(arrow, 2, "-&gt;");
        const size_t found = log.find("<div class=\"\">" + line + "\n</div>", at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + 1;
    }
    size_t prepares = 0;
    for (size_t p = log.find("PrepareSwitchScreenMode"); p != std::string::npos;
         p = log.find("PrepareSwitchScreenMode", p + 1))
        ++prepares;
    EXPECT_EQ(prepares, 3u);

    // The current screen goes with the application.
    delete application;
    EXPECT_EQ(framework::GetGameApplication(), nullptr);
    EXPECT_EQ(gui::GetImageLayerFactory(), nullptr);
    EXPECT_EQ(widget::DialogEffectsManager::Instance()->GetRender(), nullptr);
    delete SoundSystem::Instance();
    SoundSystem::SetOutputDevice(mixer::kDeviceDefault);
    EXPECT_EQ(gBoardEvents, (std::vector<std::string>{"init", "deleted"}));
    fs::remove_all(root);
}

} // namespace

namespace
{

// A dialog-effects table that cannot be read fails the start after the window exists: the game's
// own start is skipped and the window shows a black screen until it is closed.
TEST(GameApplication, BrokenDialogEffectsSkipTheGameButKeepTheWindow)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    const fs::path root = fs::temp_directory_path() / ("corv-gameapp-fx-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "xdg");
    fs::create_directories(root / "data" / "data");
    std::ofstream(root / "data" / "data" / "game.xml")
        << "<Game><DialogEffects><Data><Spin name=\"x\"/></Data></DialogEffects></Game>";
    setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);

    auto* application = new RecordingApplication;
    application->dataRoot = root / "data";
    application->userData = root / "xdg" / "Orvalis" / "Corvantis";
    application->SetArgs({L"--data_path", (root / "data").wstring()});
    ASSERT_EQ(application->PreInit(), VN_OK);
    // The loop runs (and reports its own end) although the start failed.
    EXPECT_EQ(application->Main(), VN_OK);
    EXPECT_EQ(application->steps, (std::vector<std::string>{"pre-init game"}));
    EXPECT_EQ(application->frames, 3);
    EXPECT_EQ(application->GetExitCode(), 0);
    EXPECT_NE(ReadAll(application->userData / "log.html").find("dialog effects"), std::string::npos);
    delete application;
    fs::remove_all(root);
}

} // namespace
