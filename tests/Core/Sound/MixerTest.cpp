#include "Core/Sound/Mixer/Mixer.h"
#include "Core/Sound/Mixer/Decoder.h"

#include "Core/Sound/AudioFixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace mixer;
using audiotest::MakeOgg;
using audiotest::MakeWav;
using audiotest::WavLayout;

namespace
{
struct MixerFixture : ::testing::Test
{
    Mixer mix;
    std::vector<float> buf;

    void SetUp() override { ASSERT_TRUE(mix.Init(kDeviceNone, kOutputRate, 0)); }

    Handle Load(const std::vector<std::uint8_t>& bytes)
    {
        return mix.SampleLoad(kSampleFromMemory, bytes.data(), 0, std::uint32_t(bytes.size()), 65535, 0);
    }

    // Mixes n frames and returns the left channel of the first frame.
    float MixFrames(std::uint32_t n)
    {
        buf.assign(std::size_t(n) * 2, 9.0f);
        mix.Mix(buf.data(), n);
        return buf[0];
    }
};

// Frames of output a sample produces when played to its end.
std::uint64_t PlayedLength(Mixer& mix, Handle channel)
{
    std::vector<float> b(2 * 4096);
    while (mix.ChannelIsActive(channel))
        mix.Mix(b.data(), 4096);
    return mix.ChannelGetPosition(channel);
}

// A user stream over bytes in memory, with counts of what the mixer did through its callbacks.
struct MemFile
{
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    int closes = 0;

    static FileProcs Procs()
    {
        return FileProcs{
            [](void* u) { ++static_cast<MemFile*>(u)->closes; },
            [](void* u) -> std::uint64_t { return static_cast<MemFile*>(u)->bytes.size(); },
            [](void* b, std::uint32_t len, void* u) -> std::uint32_t
            {
                auto* f = static_cast<MemFile*>(u);
                std::size_t n = std::min<std::size_t>(len, f->bytes.size() - f->pos);
                std::memcpy(b, f->bytes.data() + f->pos, n);
                f->pos += n;
                return std::uint32_t(n);
            },
            [](std::uint64_t off, void* u)
            {
                auto* f = static_cast<MemFile*>(u);
                if (off > f->bytes.size())
                    return false;
                f->pos = std::size_t(off);
                return true;
            },
        };
    }
};

void CountSync(Handle, Handle, std::uint32_t, void* user)
{
    ++*static_cast<std::atomic<int>*>(user);
}
} // namespace

TEST_F(MixerFixture, SampleFormatsDecodeToTheirLevelAndLengthAtTheOutputRate)
{
    struct Case
    {
        const char* name;
        WavLayout layout;
        std::uint64_t frames; // expected output frames
    };
    const Case cases[] = {
        {"16-bit mono", {44100, 1, 16, false, false, 4410, 0.5f}, 4410},
        {"8-bit mono", {44100, 1, 8, false, false, 4410, 0.5f}, 4410},
        {"24-bit stereo", {44100, 2, 24, false, false, 4410, 0.5f}, 4410},
        {"32-bit int", {44100, 1, 32, false, false, 4410, 0.5f}, 4410},
        {"float", {44100, 2, 32, true, false, 4410, 0.5f}, 4410},
        {"extensible 16-bit", {44100, 2, 16, false, true, 4410, 0.5f}, 4410},
        {"22050 Hz doubles", {22050, 1, 16, false, false, 2205, 0.5f}, 4410},
        {"48000 Hz shrinks", {48000, 1, 16, false, false, 4800, 0.5f}, 4410},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Handle s = Load(MakeWav(c.layout));
        ASSERT_NE(s, 0u);
        Handle ch = mix.SampleGetChannel(s, true);
        ASSERT_TRUE(mix.ChannelPlay(ch, true));
        float first = MixFrames(16);
        EXPECT_NEAR(first, 0.5f, 0.01f);
        EXPECT_NEAR(buf[1], 0.5f, 0.01f); // mono is heard on both sides
        EXPECT_NEAR(double(PlayedLength(mix, ch)), double(c.frames), 3.0);
        EXPECT_TRUE(mix.SampleFree(s));
    }
    EXPECT_EQ(mix.GetSampleCount(), 0u);
    EXPECT_EQ(mix.GetChannelCount(), 0u);
}

TEST_F(MixerFixture, OggSampleDecodesAndIsResampled)
{
    Handle s = Load(MakeOgg(22050, 1, 0.5));
    ASSERT_NE(s, 0u);
    Handle ch = mix.SampleGetChannel(s, true);
    mix.ChannelPlay(ch, true);
    EXPECT_NEAR(double(PlayedLength(mix, ch)), 22050.0, 64.0);
}

TEST_F(MixerFixture, UndecodableDataIsRefused)
{
    std::vector<std::uint8_t> ogg = MakeOgg(44100, 2, 0.5);
    std::vector<std::uint8_t> cut(ogg.begin(), ogg.begin() + std::ptrdiff_t(ogg.size() / 2));
    std::vector<std::uint8_t> bitFlipped = ogg;
    for (std::size_t i = ogg.size() / 3; i < ogg.size(); i += 97)
        bitFlipped[i] ^= 0x5A;
    std::vector<std::uint8_t> wavBadBits = MakeWav({44100, 1, 12, false, false, 100, 0.5f});
    std::vector<std::uint8_t> wavNoData = MakeWav({});
    wavNoData.resize(36); // header and format only
    std::vector<std::uint8_t> wavZeroRate = MakeWav({0, 1, 16, false, false, 100, 0.5f});
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
        {"ogg cut in half", cut},
        {"ogg with damaged pages", bitFlipped},
        {"wav with 12-bit samples", wavBadBits},
        {"wav without data chunk", wavNoData},
        {"wav with rate 0", wavZeroRate},
        {"magic only", {'O', 'g', 'g', 'S'}},
    };
    for (const auto& [name, bytes] : cases)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(Load(bytes), 0u);
    }
    EXPECT_EQ(mix.GetSampleCount(), 0u);
}

TEST_F(MixerFixture, RestartPlaysFromTheBeginningOnTheSameChannel)
{
    Handle s = Load(MakeWav({44100, 1, 16, false, false, 44100, 0.25f}));
    Handle a = mix.SampleGetChannel(s, true);
    mix.ChannelPlay(a, true);
    MixFrames(30000);
    EXPECT_EQ(mix.ChannelGetPosition(a), 30000u);
    mix.ChannelPlay(a, true);
    EXPECT_NEAR(MixFrames(1000), 0.25f, 0.01f); // one sound, not two overlapping
    EXPECT_EQ(mix.ChannelGetPosition(a), 1000u);

    // Two channels of one sample sound together.
    Handle b = mix.SampleGetChannel(s, true);
    ASSERT_NE(b, a);
    mix.ChannelPlay(b, true);
    EXPECT_NEAR(MixFrames(10), 0.5f, 0.01f);
    mix.ChannelStop(a);
    EXPECT_EQ(mix.ChannelIsActive(a), kActiveStopped);
    EXPECT_NEAR(MixFrames(10), 0.25f, 0.01f);
}

TEST_F(MixerFixture, VolumeScalesTheChannelAndSlideEndsInItsCallbackAfterOneSecond)
{
    Handle s = Load(MakeWav({44100, 1, 16, false, false, 44100 * 3, 0.5f}));
    Handle ch = mix.SampleGetChannel(s, true);
    mix.ChannelPlay(ch, true);
    mix.ChannelSetAttribute(ch, kAttribVolume, 0.5f);
    EXPECT_NEAR(MixFrames(100), 0.25f, 0.01f);

    std::atomic<int> slides{0};
    ASSERT_NE(mix.ChannelSetSync(ch, kSyncSlide, 0, CountSync, &slides), 0u);
    mix.ChannelSetAttribute(ch, kAttribVolume, 1.0f);
    ASSERT_TRUE(mix.ChannelSlideAttribute(ch, kAttribVolume, 0.0f, 1000));
    MixFrames(22050);
    float half = 0;
    mix.ChannelGetAttribute(ch, kAttribVolume, &half);
    EXPECT_NEAR(half, 0.5f, 0.01f);
    MixFrames(22049);
    EXPECT_EQ(slides.load(), 0);
    MixFrames(1);
    EXPECT_EQ(slides.load(), 1);
    EXPECT_NEAR(MixFrames(100), 0.0f, 1e-6f);
    EXPECT_EQ(slides.load(), 1); // once per slide
}

TEST_F(MixerFixture, StreamReadsThroughCallbacksAndSignalsItsEnd)
{
    MemFile file{MakeOgg(44100, 2, 0.3), 0, 0};
    Handle st = mix.StreamCreateFileUser(1, 0, MemFile::Procs(), &file);
    ASSERT_NE(st, 0u);
    std::atomic<int> ends{0};
    mix.ChannelSetSync(st, kSyncEnd, 0, CountSync, &ends);
    mix.ChannelPlay(st, true);
    EXPECT_NEAR(double(PlayedLength(mix, st)), 0.3 * 44100, 64.0);
    EXPECT_EQ(ends.load(), 1);
    // Played again from the start, it ends again.
    mix.ChannelPlay(st, true);
    PlayedLength(mix, st);
    EXPECT_EQ(ends.load(), 2);
    EXPECT_EQ(file.closes, 0);
    EXPECT_TRUE(mix.StreamFree(st));
    EXPECT_EQ(file.closes, 1);
    EXPECT_EQ(mix.GetChannelCount(), 0u);
}

TEST_F(MixerFixture, StreamThatCannotBeDecodedClosesItsFileAndLeavesNothing)
{
    MemFile file{{'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'}, 0, 0};
    EXPECT_EQ(mix.StreamCreateFileUser(1, 0, MemFile::Procs(), &file), 0u);
    EXPECT_EQ(file.closes, 1);
    EXPECT_EQ(mix.GetChannelCount(), 0u);
}

TEST_F(MixerFixture, PauseHoldsEverythingAndStartResumes)
{
    Handle s = Load(MakeWav({44100, 1, 16, false, false, 44100, 0.5f}));
    Handle ch = mix.SampleGetChannel(s, true);
    mix.ChannelPlay(ch, true);
    mix.Pause();
    EXPECT_EQ(MixFrames(500), 0.0f);
    EXPECT_EQ(mix.ChannelGetPosition(ch), 0u);
    mix.Start();
    EXPECT_NEAR(MixFrames(500), 0.5f, 0.01f);
    EXPECT_EQ(mix.ChannelGetPosition(ch), 500u);
}

TEST_F(MixerFixture, FreeingASampleDuringPlaybackSilencesItsChannels)
{
    Handle s = Load(MakeWav({44100, 1, 16, false, false, 44100, 0.5f}));
    Handle ch = mix.SampleGetChannel(s, true);
    mix.ChannelPlay(ch, true);
    MixFrames(100);
    EXPECT_TRUE(mix.SampleFree(s));
    EXPECT_EQ(MixFrames(100), 0.0f);
    EXPECT_EQ(mix.ChannelIsActive(ch), kActiveStopped);
    EXPECT_FALSE(mix.ChannelPlay(ch, true));
    EXPECT_EQ(mix.SampleGetChannel(s, true), 0u);
}

TEST_F(MixerFixture, SampleChannelLimitIsKept)
{
    std::vector<std::uint8_t> wav = MakeWav({});
    Handle s = mix.SampleLoad(kSampleFromMemory, wav.data(), 0, std::uint32_t(wav.size()), 2, 0);
    Handle a = mix.SampleGetChannel(s, true);
    EXPECT_NE(mix.SampleGetChannel(s, true), 0u);
    EXPECT_EQ(mix.SampleGetChannel(s, true), 0u);
    EXPECT_TRUE(mix.ChannelFree(a));
    EXPECT_NE(mix.SampleGetChannel(s, true), 0u);
}

// Freeing a stream while another thread mixes: once StreamFree returns no callback of that stream may run,
// since its user data is about to be deleted.
TEST(MixerThreads, StreamFreeWaitsForCallbacksOfTheMixingThread)
{
    Mixer mix;
    ASSERT_TRUE(mix.Init(kDeviceNone, kOutputRate, 0));
    std::atomic<bool> stop{false};
    std::thread mixing(
        [&]
        {
            std::vector<float> b(2 * 256);
            while (!stop)
                mix.Mix(b.data(), 256);
        });
    struct Guarded
    {
        MemFile file;
        std::atomic<bool> freed{false};
        std::atomic<int> lateCalls{0};
    };
    std::vector<std::uint8_t> ogg = MakeOgg(44100, 1, 0.01);
    for (int i = 0; i < 200; ++i)
    {
        auto g = std::make_unique<Guarded>();
        g->file.bytes = ogg;
        Handle st = mix.StreamCreateFileUser(1, 0, MemFile::Procs(), &g->file);
        ASSERT_NE(st, 0u);
        auto onEnd = [](Handle, Handle, std::uint32_t, void* u)
        {
            auto* gu = static_cast<Guarded*>(u);
            if (gu->freed)
                ++gu->lateCalls;
        };
        mix.ChannelSetSync(st, kSyncEnd, 0, onEnd, g.get());
        mix.ChannelSlideAttribute(st, kAttribVolume, 0.0f, 1);
        mix.ChannelSetSync(st, kSyncSlide, 0, onEnd, g.get());
        mix.ChannelPlay(st, true);
        std::this_thread::sleep_for(std::chrono::microseconds(50 * (i % 7)));
        mix.StreamFree(st);
        g->freed = true;
        EXPECT_EQ(g->lateCalls.load(), 0);
    }
    stop = true;
    mixing.join();
    EXPECT_EQ(mix.GetChannelCount(), 0u);
}

TEST(MixerDevice, PlaysThroughTheAudioDevice)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Mixer mix;
    ASSERT_TRUE(mix.Init(kDeviceDefault, kOutputRate, 0));
    ASSERT_TRUE(mix.HasDevice());
    std::vector<std::uint8_t> wav = MakeWav({44100, 1, 16, false, false, 2205, 0.5f});
    Handle s = mix.SampleLoad(kSampleFromMemory, wav.data(), 0, std::uint32_t(wav.size()), 4, 0);
    Handle ch = mix.SampleGetChannel(s, true);
    mix.ChannelPlay(ch, true);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (mix.ChannelIsActive(ch) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(mix.ChannelIsActive(ch), kActiveStopped);
    EXPECT_EQ(mix.ChannelGetPosition(ch), 2205u);
}

// A WAV sample is decoded at its first play; what it plays is what decoding it at its load gave, frame for
// frame, and a sample freed unplayed or played on two channels at once is no different.
TEST_F(MixerFixture, WavSamplesDecodedAtTheirFirstPlayPlayTheSameFrames)
{
    const WavLayout layouts[] = {
        {44100, 2, 16, false, false, 5000, 0.25f},
        {22050, 1, 8, false, false, 3000, 0.5f},
        {48000, 2, 32, true, false, 4800, 0.75f},
    };
    for (const WavLayout& layout : layouts)
    {
        SCOPED_TRACE(layout.rate);
        const std::vector<std::uint8_t> wav = MakeWav(layout);
        std::vector<float> expected;
        ASSERT_TRUE(DecodeAll(wav.data(), wav.size(), kOutputRate * 600ull, expected));
        Handle unplayed = Load(wav);
        ASSERT_NE(unplayed, 0u);
        EXPECT_TRUE(mix.SampleFree(unplayed));
        Handle s = Load(wav);
        ASSERT_NE(s, 0u);
        Handle first = mix.SampleGetChannel(s, true);
        Handle second = mix.SampleGetChannel(s, true);
        ASSERT_TRUE(mix.ChannelPlay(first, true));
        std::vector<float> heard;
        std::vector<float> block(2 * 1024);
        while (mix.ChannelIsActive(first))
        {
            mix.Mix(block.data(), 1024);
            heard.insert(heard.end(), block.begin(), block.end());
        }
        ASSERT_GE(heard.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_FLOAT_EQ(heard[i], expected[i]) << i;
        EXPECT_EQ(mix.ChannelGetPosition(first), expected.size() / 2);
        // The second channel finds the sample decoded and plays it whole.
        ASSERT_TRUE(mix.ChannelPlay(second, true));
        EXPECT_EQ(PlayedLength(mix, second), expected.size() / 2);
        EXPECT_TRUE(mix.SampleFree(s));
    }
    EXPECT_EQ(mix.GetSampleCount(), 0u);
    EXPECT_EQ(mix.GetChannelCount(), 0u);
}
