#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace render::test
{

inline void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A DDS file: 128-byte header, then data. fourCC empty: uncompressed 32-bit (bit count given).
inline std::vector<uint8_t> MakeDDS(uint32_t w, uint32_t h, uint32_t mips, const char* fourCC,
                                    const std::vector<uint8_t>& data, uint32_t bitCount = 32)
{
    std::vector<uint8_t> b(128, 0);
    std::memcpy(b.data(), "DDS ", 4);
    PutU32(b, 4, 124);
    PutU32(b, 12, h);
    PutU32(b, 16, w);
    PutU32(b, 28, mips);
    PutU32(b, 76, 32);
    if (fourCC && *fourCC)
    {
        PutU32(b, 80, 4);
        std::memcpy(b.data() + 84, fourCC, 4);
    }
    else
    {
        PutU32(b, 80, 0x41);
        PutU32(b, 88, bitCount);
    }
    b.resize(128 + data.size());
    for (size_t i = 0; i < data.size(); ++i)
        b[128 + i] = data[i];
    return b;
}

// An uncompressed 32-bit TGA; pixels 0xAARRGGBB given top row first, stored top-down or bottom-up.
inline std::vector<uint8_t> MakeTGA(uint16_t w, uint16_t h, const std::vector<uint32_t>& pixels, bool topDown)
{
    std::vector<uint8_t> b(18, 0);
    b[2] = 2;
    b[12] = static_cast<uint8_t>(w);
    b[13] = static_cast<uint8_t>(w >> 8);
    b[14] = static_cast<uint8_t>(h);
    b[15] = static_cast<uint8_t>(h >> 8);
    b[16] = 32;
    b[17] = static_cast<uint8_t>(8 | (topDown ? 0x20 : 0));
    for (uint16_t r = 0; r < h; ++r)
    {
        const uint16_t row = topDown ? r : static_cast<uint16_t>(h - 1 - r);
        for (uint16_t x = 0; x < w; ++x)
        {
            const uint32_t p = pixels[static_cast<size_t>(row) * w + x];
            b.push_back(static_cast<uint8_t>(p));
            b.push_back(static_cast<uint8_t>(p >> 8));
            b.push_back(static_cast<uint8_t>(p >> 16));
            b.push_back(static_cast<uint8_t>(p >> 24));
        }
    }
    return b;
}

// A 24-bit BMP stored bottom-up; pixels 0xRRGGBB top row first.
inline std::vector<uint8_t> MakeBMP(uint32_t w, uint32_t h, const std::vector<uint32_t>& pixels)
{
    const uint32_t rowBytes = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2, 54 + rowBytes * h);
    PutU32(b, 10, 54);
    PutU32(b, 14, 40);
    PutU32(b, 18, w);
    PutU32(b, 22, h);
    b[26] = 1;
    b[28] = 24;
    PutU32(b, 34, rowBytes * h);
    for (uint32_t r = 0; r < h; ++r)
    {
        const uint32_t row = h - 1 - r;
        size_t start = b.size();
        for (uint32_t x = 0; x < w; ++x)
        {
            const uint32_t p = pixels[row * w + x];
            b.push_back(static_cast<uint8_t>(p));
            b.push_back(static_cast<uint8_t>(p >> 8));
            b.push_back(static_cast<uint8_t>(p >> 16));
        }
        b.resize(start + rowBytes, 0);
    }
    return b;
}

} // namespace render::test
