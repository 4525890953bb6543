#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Sound files built in memory for the tests: WAV in any PCM layout and Ogg Vorbis through the encoder
// library.
namespace audiotest
{
inline void Put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A constant level in every sample (so resampled output keeps the exact level) unless sine is set.
struct WavLayout
{
    std::uint32_t rate = 44100;
    std::uint16_t channels = 1;
    std::uint16_t bits = 16;
    bool isFloat = false;
    bool extensible = false;
    std::uint32_t frames = 4410;
    float level = 0.5f;
};

inline std::vector<std::uint8_t> MakeWav(const WavLayout& s)
{
    std::vector<std::uint8_t> data;
    for (std::uint32_t f = 0; f < s.frames; ++f)
        for (std::uint16_t c = 0; c < s.channels; ++c)
        {
            float v = s.level;
            if (s.isFloat)
            {
                std::uint32_t bits;
                std::memcpy(&bits, &v, 4);
                Put32(data, bits);
            }
            else if (s.bits == 8)
                data.push_back(std::uint8_t(128 + int(v * 127)));
            else if (s.bits == 16)
                Put16(data, std::uint16_t(std::int16_t(v * 32767)));
            else if (s.bits == 24)
            {
                std::int32_t i = std::int32_t(v * 8388607);
                data.push_back(std::uint8_t(i));
                data.push_back(std::uint8_t(i >> 8));
                data.push_back(std::uint8_t(i >> 16));
            }
            else
                Put32(data, std::uint32_t(std::int32_t(double(v) * 2147483647.0)));
        }
    std::vector<std::uint8_t> fmt;
    std::uint16_t block = std::uint16_t(s.channels * s.bits / 8);
    Put16(fmt, s.extensible ? 0xFFFE : (s.isFloat ? 3 : 1));
    Put16(fmt, s.channels);
    Put32(fmt, s.rate);
    Put32(fmt, s.rate * block);
    Put16(fmt, block);
    Put16(fmt, s.bits);
    if (s.extensible)
    {
        Put16(fmt, 22);
        Put16(fmt, s.bits);
        Put32(fmt, 0);
        Put16(fmt, s.isFloat ? 3 : 1);
        for (int i = 0; i < 14; ++i)
            fmt.push_back(0);
    }
    std::vector<std::uint8_t> out{'R', 'I', 'F', 'F'};
    Put32(out, std::uint32_t(4 + 8 + fmt.size() + 8 + data.size()));
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, std::uint32_t(fmt.size()));
    out.insert(out.end(), fmt.begin(), fmt.end());
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, std::uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// An Ogg Vorbis file of a sine tone; implemented in AudioFixtures.cpp (the encoder stays out of the test
// headers).
std::vector<std::uint8_t> MakeOgg(std::uint32_t rate, int channels, double seconds, double frequency = 440.0);
} // namespace audiotest
