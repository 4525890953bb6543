#include "Core/Base/MathUtil.h"

#include <cmath>
#include <cstdint>

namespace math
{

namespace
{

// The shared running seed of Random and RandomRange (main thread only).
std::uint32_t gRandomCounter = 0;

std::uint32_t HashSeed(unsigned seed)
{
    std::uint32_t s = seed;
    if (s == 0)
        s = gRandomCounter + 1u;
    gRandomCounter = s;
    std::uint32_t h = (s ^ 0x00BC602Fu) * 0x9E3779B9u;
    h = h ^ (h >> 26) ^ (h << 6);
    h = h * 0x9E3779B9u;
    return h + ((h >> 12) ^ (h << 5));
}

// 2^-32 as a float.
constexpr float kInvTwoPow32 = 1.0f / 4294967296.0f;

} // namespace

bool Approach(float* value, float step, float target)
{
    if (*value == target)
        return true;
    if (std::fabs(*value - target) < step)
    {
        *value = target;
        return true;
    }
    if (*value > target)
        *value -= step;
    else
        *value += step;
    return false;
}

float Random(unsigned seed)
{
    const std::uint32_t r = HashSeed(seed);
    return static_cast<float>(r) * kInvTwoPow32;
}

float RandomRange(float low, float high, unsigned seed)
{
    const std::uint32_t r = HashSeed(seed);
    return ((static_cast<float>(r) * (high - low)) * kInvTwoPow32) + low;
}

void SetRandomCounter(unsigned counter)
{
    gRandomCounter = counter;
}

unsigned GetRandomCounter()
{
    return gRandomCounter;
}

} // namespace math
