// The showcase board in a real application on generated demo data, driven frame by frame with mouse events
// through the application (as the window's input would): hover and click, the modal "Options" dialog with its
// show and hide effects, the slider bound to the music volume, the effect following the cursor, Quit.
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/Dialog.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/Slider.h"
#include "Framework/GameApplication.h"
#include "Source/Showcase/ShowcaseBoard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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

// Logical points of the showcase layout (1024 x 768).
const math::Point2 kPlay(512.0f, 306.0f);
const math::Point2 kQuit(512.0f, 396.0f);
const math::Point2 kClose(512.0f, 510.0f); // the dialog's Close button, dialog centred on the screen
constexpr float kTrackX = 362.0f;
constexpr float kTrackY = 512.0f;

// Runs the steps, one per frame, before the frame manager's update; each step returns true to go on to the
// next one, false to stay (waiting for an effect).
class ScriptedApplication : public framework::GameApplication
{
public:
    std::vector<std::function<bool()>> steps;
    size_t step = 0;
    int frames = 0;

    ScriptedApplication()
    {
        mBaseWidth = 1024;
        mBaseHeight = 768;
        mMaxWidth = 1366;
        mMakerName = L"Orvalis";
        mProductName = L"Corvantis";
        mCaption = L"Corvantis showcase test";
    }

    void Click(const math::Point2& at)
    {
        EXPECT_EQ(OnMouseMove(at), VN_OK);
        EXPECT_EQ(OnMouseDown(at, 1), VN_OK);
        EXPECT_EQ(OnMouseUp(at, 1), VN_OK);
    }

protected:
    VNResultEnum InitGame() override { return SetScreen(new showcase::ShowcaseBoard); }
    VNResultEnum UpdateGame(float) override
    {
        ++frames;
        if (step < steps.size())
        {
            if (steps[step]())
                ++step;
        }
        // A step that never comes true must not hang the test.
        if (frames > 1500 || (step == steps.size() && !IsFinished()))
        {
            ADD_FAILURE() << "stopped at step " << step << " after " << frames << " frames";
            Finish();
        }
        return VN_OK;
    }
};

widget::Dialog* FindDialog(widget::FrameManager* manager)
{
    for (const widget::FrameEntry& entry : manager->GetFrames())
        if (auto* dialog = dynamic_cast<widget::Dialog*>(entry.frame))
            return dialog;
    return nullptr;
}

TEST(ShowcaseBoard, AnswersTheMouseOpensTheDialogDrivesTheMusicAndQuits)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    const fs::path root = fs::temp_directory_path() / ("corv-showcase-board-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "xdg");
    ASSERT_EQ(std::system(
                  (std::string(CORV_DEMODATA_EXE) + " " + (root / "data").string() + " > /dev/null").c_str()),
              0);
    setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
    SoundSystem::SetOutputDevice(mixer::kDeviceNone);

    auto* app = new ScriptedApplication;
    widget::Button* play = nullptr;
    widget::Button* quit = nullptr;
    widget::Slider* slider = nullptr;
    widget::Dialog* dialog = nullptr;
    layer::ParticlesLayer* particles = nullptr;
    auto& steps = app->steps;

    // The board's parts: its three widgets, the effect, the menu music at full volume.
    steps.push_back(
        [&]
        {
            widget::BaseBoard* board = app->GetCurrentScreen();
            EXPECT_NE(dynamic_cast<showcase::ShowcaseBoard*>(board), nullptr);
            if (board == nullptr)
                return true;
            for (widget::Widget* child : board->GetChildren())
            {
                if (auto* button = dynamic_cast<widget::Button*>(child))
                    (play == nullptr ? play : quit) = button;
                else if (auto* s = dynamic_cast<widget::Slider*>(child))
                    slider = s;
            }
            for (layer::Layer* layer : board->GetLayer()->GetChildren())
                if (auto* p = dynamic_cast<layer::ParticlesLayer*>(layer))
                    particles = p;
            EXPECT_EQ(SoundSystem::Instance()->GetCurrentTrack(), "td/data/music/main_menu.ogg");
            EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 1.0f);
            EXPECT_TRUE(particles != nullptr && particles->GetEmitter() != nullptr &&
                        particles->GetEmitter()->GetState() == 1);
            if (!(play && quit && slider && particles))
            {
                ADD_FAILURE() << "the showcase widgets or the effect are missing";
                steps.resize(1);
                app->Finish();
                return true;
            }
            EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
            return true;
        });
    // The screen joins the frame manager at its first update; from then on the mouse reaches it.
    steps.push_back(
        [&]
        {
            // Hover follows the mouse: not on the transparent corner of Play, on its middle.
            EXPECT_EQ(app->OnMouseMove(math::Point2(403.0f, 275.0f)), VN_OK);
            EXPECT_FALSE(play->IsHovered());
            EXPECT_EQ(app->OnMouseMove(kPlay), VN_OK);
            EXPECT_TRUE(play->IsHovered());
            EXPECT_FALSE(quit->IsHovered());
            return true;
        });
    {
        // Play opens the "Options" dialog with the effects bound to it in "data/game.xml".
        steps.push_back(
            [&]
            {
                EXPECT_EQ(app->OnMouseDown(kPlay, 1), VN_OK);
                EXPECT_EQ(play->GetVisualState(), widget::ButtonPressed);
                EXPECT_EQ(app->OnMouseUp(kPlay, 1), VN_OK);
                return true;
            });
        steps.push_back(
            [&]
            {
                dialog = FindDialog(app->GetFrameManager());
                EXPECT_NE(dialog, nullptr);
                if (dialog == nullptr)
                    return true;
                EXPECT_EQ(dialog->GetName(), "Options");
                auto* effects = dynamic_cast<widget::DialogAnimEffects*>(dialog->GetEffects());
                EXPECT_TRUE(effects != nullptr &&
                            effects->GetState() == widget::DialogAnimEffects::StateShowing)
                    << "the dialog shows without its effects, or shows at once";
                return true;
            });
        // Shown after its effect; the dialog is modal: a click where Quit is behind it does not quit.
        steps.push_back(
            [&]
            {
                auto* effects =
                    dialog ? dynamic_cast<widget::DialogAnimEffects*>(dialog->GetEffects()) : nullptr;
                if (effects != nullptr && effects->GetState() != widget::DialogAnimEffects::StateShown)
                    return false;
                app->Click(kQuit);
                return true;
            });
        // Close plays the hide effect, then the dialog leaves the frame manager.
        steps.push_back(
            [&]
            {
                EXPECT_FALSE(app->IsFinished());
                app->Click(kClose);
                auto* effects =
                    dialog ? dynamic_cast<widget::DialogAnimEffects*>(dialog->GetEffects()) : nullptr;
                EXPECT_TRUE(effects != nullptr &&
                            effects->GetState() == widget::DialogAnimEffects::StateHiding);
                return true;
            });
        steps.push_back([&] { return FindDialog(app->GetFrameManager()) == nullptr; });
    }
    // The slider sets the music volume while dragged (even off the track) and at the release.
    steps.push_back(
        [&]
        {
            EXPECT_EQ(app->OnMouseMove(math::Point2(kTrackX + 75.0f, kTrackY)), VN_OK);
            EXPECT_EQ(app->OnMouseDown(math::Point2(kTrackX + 75.0f, kTrackY), 1), VN_OK);
            EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 0.25f);
            EXPECT_EQ(app->OnMouseDrag(math::Point2(kTrackX + 225.0f, kTrackY + 100.0f)), VN_OK);
            EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 0.75f);
            EXPECT_EQ(app->OnMouseUp(math::Point2(kTrackX + 225.0f, kTrackY + 100.0f), 1), VN_OK);
            EXPECT_FLOAT_EQ(slider->GetValue(), 0.75f);
            EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 0.75f);
            // The effect goes where the cursor is.
            EXPECT_EQ(app->OnMouseMove(math::Point2(700.0f, 650.0f)), VN_OK);
            return true;
        });
    steps.push_back(
        [&]
        {
            const math::Point2 at = particles && particles->GetEmitter()
                                        ? particles->GetEmitter()->GetPosition()
                                        : math::Point2();
            EXPECT_FLOAT_EQ(at.x, 700.0f);
            EXPECT_FLOAT_EQ(at.y, 650.0f);
            // Quit ends the application.
            app->Click(kQuit);
            EXPECT_TRUE(app->IsFinished());
            return true;
        });

    app->SetArgs({L"--data_path", (root / "data").wstring()});
    ASSERT_EQ(app->PreInit(), VN_OK);
    EXPECT_EQ(app->Main(), VN_OK);
    EXPECT_EQ(app->step, steps.size());
    EXPECT_EQ(app->GetExitCode(), 0);
    delete app;
    delete SoundSystem::Instance();
    SoundSystem::SetOutputDevice(mixer::kDeviceDefault);
    fs::remove_all(root);
}

} // namespace
