#include "Core/Sound/SoundSystem.h"

#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/AudioFixtures.h"
#include "Core/Sound/ResourceSound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using audiotest::MakeOgg;
using audiotest::MakeWav;
using audiotest::WavLayout;
namespace fs = std::filesystem;

namespace
{
// Constant-level tracks, so the mixed output tells which track plays and at what volume.
constexpr float kLevelA = 0.1f, kLevelB = 0.2f, kLevelC = 0.3f;

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> Tone(float level, double seconds)
{
    return MakeWav({44100, 1, 16, false, false, std::uint32_t(seconds * 44100), level});
}

class SoundSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOldDir = fs::current_path();
        char templ[] = "/tmp/corv-sound-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        mRoot = templ;
        WriteFile(mRoot / "music/a.wav", Tone(kLevelA, 0.1));
        WriteFile(mRoot / "music/b.wav", Tone(kLevelB, 0.1));
        WriteFile(mRoot / "music/c.wav", Tone(kLevelC, 0.1));
        WriteFile(mRoot / "music/long_a.wav", Tone(kLevelA, 3.0));
        WriteFile(mRoot / "music/long_b.wav", Tone(kLevelB, 3.0));
        WriteFile(mRoot / "music/song.ogg", MakeOgg(22050, 2, 0.3));
        WriteFile(mRoot / "sfx/hit.wav", Tone(0.25f, 0.5));
        WriteFile(mRoot / "sfx/pick", Tone(0.3f, 0.1)); // found before pick.ogg and pick.wav
        WriteFile(mRoot / "sfx/pick.wav", Tone(0.6f, 0.1));
        WriteFile(mRoot / "sfx/broken.ogg", {'O', 'g', 'g', 'S', 1, 2, 3});
        ASSERT_EQ(file::FileManager::Instance()->SetRootPath(mRoot.wstring()), VN_OK);
        SoundSystem::SetOutputDevice(mixer::kDeviceNone);
        mSys = SoundSystem::Instance();
    }

    void TearDown() override
    {
        delete SoundSystem::Instance();
        SoundSystem::SetOutputDevice(mixer::kDeviceDefault);
        fs::current_path(mOldDir);
        fs::remove_all(mRoot);
    }

    // Mixes seconds of output in blocks as a device would, running the main thread's per-frame Update between
    // blocks; returns the left level of the last frame.
    float Run(double seconds, bool update = true)
    {
        auto frames = std::uint32_t(seconds * 44100 + 0.5);
        std::vector<float> buf(2 * 441);
        float last = 0.0f;
        while (frames > 0)
        {
            std::uint32_t n = std::min<std::uint32_t>(frames, 441);
            mSys->GetMixer().Mix(buf.data(), n);
            last = buf[(n - 1) * 2];
            frames -= n;
            if (update)
                mSys->Update();
        }
        return last;
    }

    fs::path mOldDir, mRoot;
    SoundSystem* mSys = nullptr;
};
} // namespace

TEST_F(SoundSystemTest, NewTrackFadesTheOldOneOutOverOneSecondThenStarts)
{
    mSys->PlayTrack("music/long_a.wav");
    EXPECT_NEAR(Run(0.01), kLevelA, 1e-3);
    mSys->PlayTrack("music/long_b.wav");
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/long_a.wav"); // until the fade has run
    EXPECT_NEAR(Run(0.5), kLevelA * 0.5f, 2e-3);
    Run(0.49);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/long_a.wav");
    EXPECT_NEAR(Run(0.02), kLevelB, 1e-3);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/long_b.wav");

    // The same track while it plays changes nothing; an empty name stops at once, without a fade.
    mixer::Handle stream = mSys->GetMusicStream();
    std::uint64_t pos = mSys->GetMixer().ChannelGetPosition(stream);
    mSys->PlayTrack("music/long_b.wav");
    EXPECT_EQ(mSys->GetMusicStream(), stream);
    EXPECT_EQ(mSys->GetMixer().ChannelGetPosition(stream), pos);
    mSys->PlayMusic("");
    EXPECT_EQ(mSys->GetMusicStream(), 0u);
    EXPECT_EQ(mSys->GetCurrentTrack(), "");
    EXPECT_EQ(Run(0.01), 0.0f);
}

TEST_F(SoundSystemTest, TrackEndOnlyMarksTheSwitchUntilTheMainThreadRunsUpdate)
{
    mSys->PlayTrack("music/long_a.wav");
    mSys->PlayTrack("music/long_b.wav");
    Run(1.05, false); // the fade ends on the mixer side
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/long_a.wav");
    EXPECT_EQ(Run(0.01, false), 0.0f);
    mSys->Update();
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/long_b.wav");
    EXPECT_NEAR(Run(0.01), kLevelB, 1e-3);
}

TEST_F(SoundSystemTest, SecondRequestDuringAFadeReplacesThePendingTrack)
{
    mSys->PlayTrack("music/long_a.wav");
    mSys->PlayTrack("music/long_b.wav");
    Run(0.3);
    mSys->PlayTrack("music/c.wav");
    Run(0.3);
    EXPECT_NEAR(Run(0.01), kLevelA * 0.39f, 3e-3); // still the one fade, not restarted
    Run(0.4);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/c.wav");
    EXPECT_NEAR(Run(0.01), kLevelC, 1e-3);
    Run(0.5);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/c.wav"); // no second switch follows
    EXPECT_EQ(Run(0.01), 0.0f);

    // A stop during a fade wins over the switch already marked.
    mSys->PlayTrack("music/long_a.wav");
    mSys->PlayTrack("music/long_b.wav");
    Run(1.05, false);
    mSys->PlayMusic("");
    Run(0.1);
    EXPECT_EQ(mSys->GetCurrentTrack(), "");
    EXPECT_EQ(mSys->GetMusicStream(), 0u);
}

TEST_F(SoundSystemTest, PlaylistAdvancesAndWrapsSingleTrackLoopsAndPlayMusicPlaysOnce)
{
    mSys->SetPlaylist({"music/a.wav", "music/b.wav", "music/c.wav"});
    std::vector<std::string> heard{mSys->GetCurrentTrack()};
    for (int i = 0; i < 45; ++i)
    {
        Run(0.01);
        if (heard.back() != mSys->GetCurrentTrack())
            heard.push_back(mSys->GetCurrentTrack());
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"music/a.wav", "music/b.wav", "music/c.wav", "music/a.wav",
                                               "music/b.wav"}));

    mSys->SetPlaylist({});
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/b.wav"); // an empty list leaves the music alone

    mSys->PlayMusic("");
    mSys->SetPlaylist({"music/a.wav"});
    Run(0.35);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/a.wav");
    EXPECT_NEAR(Run(0.01), kLevelA, 1e-3); // fourth time round

    mSys->PlayMusic("music/c.wav"); // a ends within its fade; c follows and plays once
    Run(0.3);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/c.wav");
    EXPECT_EQ(Run(0.01), 0.0f);
    // The same track after it ended starts again from the beginning.
    mSys->PlayTrack("music/c.wav");
    EXPECT_NEAR(Run(0.01), kLevelC, 1e-3);
}

TEST_F(SoundSystemTest, OggMusicStreamsThroughTheFileLayer)
{
    mSys->PlayMusic("music/song.ogg");
    ASSERT_NE(mSys->GetMusicStream(), 0u);
    Run(0.2);
    EXPECT_EQ(mSys->GetMixer().ChannelIsActive(mSys->GetMusicStream()), mixer::kActivePlaying);
    Run(0.2);
    EXPECT_EQ(mSys->GetMixer().ChannelIsActive(mSys->GetMusicStream()), mixer::kActiveStopped);
}

TEST_F(SoundSystemTest, MissingOrUndecodableTracksLeaveSilenceAndDoNotBlockLaterTries)
{
    mSys->PlayMusic("music/a.wav");
    mSys->PlayMusic("");
    mSys->PlayMusic("music/a.wav");
    Run(0.2);
    mSys->PlayTrack("music/missing.ogg");
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/a.wav"); // not found: the name stays
    EXPECT_EQ(mSys->GetMusicStream(), 0u);

    WriteFile(mRoot / "music/late.ogg", {'j', 'u', 'n', 'k'});
    mSys->PlayTrack("music/late.ogg");
    EXPECT_EQ(mSys->GetMusicStream(), 0u);
    EXPECT_EQ(Run(0.01), 0.0f);
    // The file is fixed: asking for the same name again tries again.
    WriteFile(mRoot / "music/late.ogg", MakeOgg(44100, 1, 0.2));
    mSys->PlayTrack("music/late.ogg");
    EXPECT_NE(mSys->GetMusicStream(), 0u);
    EXPECT_EQ(mSys->GetMixer().GetChannelCount(), 1u);
}

TEST_F(SoundSystemTest, VolumesApplyToMusicAndLiveSounds)
{
    mSys->SetMusicVolume(0.5f);
    EXPECT_EQ(mSys->GetMusicVolume(), 0.5f);
    mSys->PlayMusic("music/long_a.wav");
    EXPECT_NEAR(Run(0.01), kLevelA * 0.5f, 1e-3);
    mSys->SetMusicVolume(1.0f);
    EXPECT_NEAR(Run(0.01), kLevelA, 1e-3);

    // During a fade the slide keeps the stream's volume; the next track takes the new value.
    mSys->PlayTrack("music/long_b.wav");
    Run(0.5);
    mSys->SetMusicVolume(0.25f);
    Run(0.55);
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/long_b.wav");
    EXPECT_NEAR(Run(0.01), kLevelB * 0.25f, 1e-3);

    std::unique_ptr<Sound> hit(mSys->CreateSound("sfx/hit"));
    hit->Play();
    mSys->PlayMusic("");
    EXPECT_NEAR(Run(0.01), 0.25f, 1e-3);
    mSys->SetSoundVolume(0.5f);
    EXPECT_EQ(mSys->GetSoundVolume(), 0.5f);
    EXPECT_NEAR(Run(0.01), 0.125f, 1e-3);
    hit->SetVolume(0.0f, 0.1f);
    EXPECT_NEAR(Run(0.05), 0.0625f, 2e-3);
}

TEST_F(SoundSystemTest, SoundsRestartPlayTogetherAndFindTheirFileByExtensionOrder)
{
    std::unique_ptr<Sound> a(mSys->CreateSound("sfx/hit"));
    std::unique_ptr<Sound> b(mSys->CreateSound("sfx/hit"));
    a->Play();
    Run(0.2);
    a->Play(); // restarts on its own channel instead of overlapping
    EXPECT_NEAR(Run(0.01), 0.25f, 1e-3);
    EXPECT_EQ(mSys->GetMixer().ChannelGetPosition(a->GetChannel()), 441u);
    b->Play();
    EXPECT_NEAR(Run(0.01), 0.5f, 1e-3);
    EXPECT_TRUE(a->IsPlaying());
    Run(0.5);
    EXPECT_FALSE(a->IsPlaying());

    std::unique_ptr<Sound> pick(mSys->CreateSound("sfx/pick"));
    pick->Play();
    EXPECT_NEAR(Run(0.01), 0.3f, 1e-3);
}

TEST_F(SoundSystemTest, UndecodableSampleFailsToLoadAndPlaysSilently)
{
    auto handle = resource::ResourceManager::Instance()->Get<resource::ResourceSound>(L"sfx/broken");
    EXPECT_EQ(handle->Load(), VN_FAIL);
    EXPECT_FALSE(handle->IsLoaded());
    auto missing = resource::ResourceManager::Instance()->Get<resource::ResourceSound>(L"sfx/none");
    EXPECT_EQ(missing->Load(), VN_FAIL);
    std::unique_ptr<Sound> s(mSys->CreateSound("sfx/broken"));
    s->Play();
    EXPECT_FALSE(s->IsPlaying());
    EXPECT_EQ(Run(0.01), 0.0f);
}

TEST_F(SoundSystemTest, FreeingSoundsDuringPlaybackReturnsEverything)
{
    Sound* a = mSys->CreateSound("sfx/hit");
    Sound* b = mSys->CreateSound("sfx/hit");
    a->Play();
    b->Play();
    Run(0.05);
    EXPECT_EQ(mSys->GetMixer().GetSampleCount(), 1u);
    delete a;
    EXPECT_NEAR(Run(0.01), 0.25f, 1e-3);
    delete b; // the last handle unloads the sample
    EXPECT_EQ(Run(0.01), 0.0f);
    EXPECT_EQ(mSys->GetMixer().GetSampleCount(), 0u);
    EXPECT_EQ(mSys->GetMixer().GetChannelCount(), 0u);
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<resource::ResourceSound>().empty());
}

TEST_F(SoundSystemTest, PauseHoldsMusicAndStartResumes)
{
    mSys->PlayMusic("music/long_a.wav");
    Run(0.1);
    mSys->Pause();
    EXPECT_EQ(Run(0.1), 0.0f);
    mSys->Start();
    EXPECT_NEAR(Run(0.01), kLevelA, 1e-3);
    EXPECT_EQ(mSys->GetMixer().ChannelGetPosition(mSys->GetMusicStream()), std::uint64_t(0.11 * 44100 + 0.5));
}

TEST_F(SoundSystemTest, MusicPlaysThroughTheAudioDevice)
{
    delete SoundSystem::Instance();
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SoundSystem::SetOutputDevice(mixer::kDeviceDefault);
    mSys = SoundSystem::Instance();
    ASSERT_TRUE(mSys->GetMixer().HasDevice());
    mSys->SetPlaylist({"music/a.wav", "music/b.wav"});
    // The device thread ends the track; the main loop's Update moves the play list on.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (mSys->GetCurrentTrack() != "music/b.wav" && std::chrono::steady_clock::now() < until)
    {
        mSys->Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(mSys->GetCurrentTrack(), "music/b.wav");
}

TEST_F(SoundSystemTest, SoundThatOutlivesTheSystemIsASilentShell)
{
    std::unique_ptr<Sound> s(mSys->CreateSound("sfx/hit"));
    s->Play();
    delete SoundSystem::Instance();
    mSys = nullptr;
    s->Play();
    s->SetVolume(0.5f, 0.0f);
    EXPECT_FALSE(s->IsPlaying());
    s.reset(); // drops the sample without reaching the destroyed mixer
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<resource::ResourceSound>().empty());
}
