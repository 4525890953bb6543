#pragma once

#include <cstdint>
#include <vector>

namespace render
{

// One bit per pixel, set where the pixel is solid for hit testing. Bit i is bit (i & 7) of byte i >> 3.
class HitMask
{
public:
    // New storage of (count + 7) / 8 zeroed bytes; keep copies the old bytes that fit. Count 0 frees it.
    void Resize(uint32_t count, bool keep);
    // 0 or 1; 0 outside the mask.
    uint32_t Get(uint32_t index) const;
    // Sets or clears a bit; ignored outside the mask.
    void Set(bool value, uint32_t index);

    uint32_t GetCount() const { return mCount; }
    const uint8_t* GetBits() const { return mBits.data(); }
    // Hands the bytes over (a texture keeps them) and leaves the mask empty.
    std::vector<uint8_t> Take();

private:
    std::vector<uint8_t> mBits;
    uint32_t mCount = 0;
};

} // namespace render
