#pragma once
// Synthesised sound: a mono float buffer, simple instruments, and WAV / Ogg Vorbis encoders.
#include <cstdint>
#include <vector>

#include "tools/demodata/Output.h"

namespace demodata
{

struct Sound
{
    int rate = 22050;
    std::vector<float> samples; // mono, -1..1
};

// Fixed-seed generator so noise is the same on every run.
class Random
{
public:
    explicit Random(std::uint32_t seed) : mState(seed ? seed : 1) {}
    std::uint32_t Next()
    {
        mState ^= mState << 13;
        mState ^= mState >> 17;
        mState ^= mState << 5;
        return mState;
    }
    float Signed() { return static_cast<float>(Next() & 0xFFFFFF) / 8388608.0f - 1.0f; }

private:
    std::uint32_t mState;
};

enum class Wave
{
    Sine,
    Square,
    Triangle,
    Saw,
    Noise
};

struct Note
{
    float start = 0;     // seconds
    float length = 0.2f; // seconds
    float frequency = 440;
    float volume = 0.5f;
    Wave wave = Wave::Sine;
    float slide = 0; // frequency change per second (for zaps and drops)
};

// Mixes notes into a buffer of the given length with short attack/release ramps.
Sound Render(float seconds, const std::vector<Note>& notes, int rate = 22050, std::uint32_t seed = 1);
float MidiToFrequency(int midi);

Bytes EncodeWav(const Sound& sound);
// Vorbis in Ogg with a fixed stream serial, so the bytes repeat from run to run.
Bytes EncodeOgg(const Sound& sound, float quality, int serial);

} // namespace demodata
