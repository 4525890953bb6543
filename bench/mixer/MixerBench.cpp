// Mixing 32 playing channels into one 1,024-frame device block (about 23 ms of output): 31 sample channels,
// half of them sliding their volume, and one music stream decoded and resampled from 22,050 Hz WAV on the
// way.
#include "Core/Sound/Mixer/Mixer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{
void Put(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

std::vector<std::uint8_t> Wav(std::uint32_t rate, std::uint32_t frames)
{
    std::vector<std::uint8_t> b{'R', 'I', 'F', 'F'};
    Put(b, 36 + frames * 4, 4);
    for (char c : std::string("WAVEfmt "))
        b.push_back(std::uint8_t(c));
    Put(b, 16, 4);
    Put(b, 1, 2);
    Put(b, 2, 2);
    Put(b, rate, 4);
    Put(b, rate * 4, 4);
    Put(b, 4, 2);
    Put(b, 16, 2);
    for (char c : std::string("data"))
        b.push_back(std::uint8_t(c));
    Put(b, frames * 4, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
    {
        auto s = std::uint16_t(std::int16_t(8000 * std::sin(double(i) * 0.05)));
        Put(b, s, 2);
        Put(b, s, 2);
    }
    return b;
}

struct MemFile
{
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
};

void BM_Mix32Channels(benchmark::State& state)
{
    mixer::Mixer mix;
    mix.Init(mixer::kDeviceNone, mixer::kOutputRate, 0);
    std::vector<std::uint8_t> effect = Wav(44100, 44100 * 2);
    mixer::Handle sample =
        mix.SampleLoad(mixer::kSampleFromMemory, effect.data(), 0, std::uint32_t(effect.size()), 64, 0);
    std::vector<mixer::Handle> channels;
    for (int i = 0; i < 31; ++i)
        channels.push_back(mix.SampleGetChannel(sample, true));
    MemFile music{Wav(22050, 22050 * 600)};
    mixer::FileProcs procs{
        [](void*) {},
        [](void* u) -> std::uint64_t { return static_cast<MemFile*>(u)->bytes.size(); },
        [](void* buf, std::uint32_t len, void* u) -> std::uint32_t
        {
            auto* f = static_cast<MemFile*>(u);
            std::size_t n = std::min<std::size_t>(len, f->bytes.size() - f->pos);
            std::memcpy(buf, f->bytes.data() + f->pos, n);
            f->pos += n;
            return std::uint32_t(n);
        },
        [](std::uint64_t off, void* u)
        {
            static_cast<MemFile*>(u)->pos = std::size_t(off);
            return true;
        },
    };
    mixer::Handle stream = mix.StreamCreateFileUser(1, 0, procs, &music);
    mix.ChannelPlay(stream, true);
    std::vector<float> block(2 * 1024);
    std::int64_t n = 0;
    for (auto _ : state)
    {
        // Keep all 32 playing: restart the effects before they end, and keep half of them sliding.
        if (n % 64 == 0)
            for (std::size_t i = 0; i < channels.size(); ++i)
            {
                mix.ChannelPlay(channels[i], true);
                if (i % 2)
                    mix.ChannelSlideAttribute(channels[i], mixer::kAttribVolume, (n / 64) % 2 ? 1.0f : 0.2f,
                                              1000);
            }
        mix.Mix(block.data(), 1024);
        benchmark::DoNotOptimize(block.data());
        ++n;
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 32);
}
BENCHMARK(BM_Mix32Channels);
} // namespace

BENCHMARK_MAIN();
