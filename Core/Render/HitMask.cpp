#include "Core/Render/HitMask.h"

#include <algorithm>
#include <utility>

namespace render
{

void HitMask::Resize(uint32_t count, bool keep)
{
    const size_t bytes = (static_cast<size_t>(count) + 7) / 8;
    std::vector<uint8_t> fresh(bytes, 0);
    if (keep && count > 0 && mCount > 0)
        std::copy_n(mBits.begin(), std::min(bytes, mBits.size()), fresh.begin());
    mBits = std::move(fresh);
    mCount = count;
}

uint32_t HitMask::Get(uint32_t index) const
{
    if (index >= mCount)
        return 0;
    return (mBits[index >> 3] >> (index & 7)) & 1u;
}

void HitMask::Set(bool value, uint32_t index)
{
    if (index >= mCount)
        return;
    const auto bit = static_cast<uint8_t>(1u << (index & 7));
    if (value)
        mBits[index >> 3] |= bit;
    else
        mBits[index >> 3] &= static_cast<uint8_t>(~bit);
}

std::vector<uint8_t> HitMask::Take()
{
    mCount = 0;
    return std::exchange(mBits, {});
}

} // namespace render
