#include "Core/Sound/Mixer/Resampler.h"

#include <cmath>
#include <cstring>

namespace mixer
{
namespace
{
constexpr std::uint32_t kChunkFrames = 2048;
}

void Resampler::Reset(std::uint32_t sourceRate, std::uint32_t targetRate)
{
    mBuffer.clear();
    mFrames = 0;
    mPos = 0.0;
    mStep = targetRate ? double(sourceRate) / double(targetRate) : 1.0;
    mEnded = false;
    mDamaged = false;
}

bool Resampler::Refill(const Pull& pull)
{
    // Keep the frame under the read position: interpolation needs it together with the next one.
    std::size_t keep = std::size_t(mPos);
    if (keep > mFrames)
        keep = mFrames;
    if (keep > 0)
    {
        std::memmove(mBuffer.data(), mBuffer.data() + keep * 2, (mFrames - keep) * 2 * sizeof(float));
        mFrames -= keep;
        mPos -= double(keep);
    }
    mBuffer.resize((mFrames + kChunkFrames) * 2);
    long got = pull(mBuffer.data() + mFrames * 2, kChunkFrames);
    if (got <= 0)
    {
        mEnded = true;
        mDamaged = got < 0;
        return false;
    }
    mFrames += std::size_t(got);
    return true;
}

std::uint32_t Resampler::Produce(float* out, std::uint32_t frames, const Pull& pull)
{
    std::uint32_t produced = 0;
    if (mStep == 1.0)
    {
        // Same rate: copy through without interpolation.
        while (produced < frames)
        {
            std::size_t pos = std::size_t(mPos);
            if (pos >= mFrames)
            {
                if (mEnded || !Refill(pull))
                    break;
                continue;
            }
            std::size_t n = std::min<std::size_t>(frames - produced, mFrames - pos);
            std::memcpy(out + produced * 2, mBuffer.data() + pos * 2, n * 2 * sizeof(float));
            produced += std::uint32_t(n);
            mPos += double(n);
        }
        return produced;
    }
    while (produced < frames)
    {
        std::size_t i0 = std::size_t(mPos);
        if (i0 + 1 >= mFrames)
        {
            if (!mEnded && Refill(pull))
                continue;
            // At the end the last frame has no successor; it is played as it is.
            if (i0 < mFrames)
            {
                out[produced * 2] = mBuffer[i0 * 2];
                out[produced * 2 + 1] = mBuffer[i0 * 2 + 1];
                ++produced;
                mPos += mStep;
                continue;
            }
            break;
        }
        float t = float(mPos - double(i0));
        const float* a = mBuffer.data() + i0 * 2;
        out[produced * 2] = a[0] + (a[2] - a[0]) * t;
        out[produced * 2 + 1] = a[1] + (a[3] - a[1]) * t;
        ++produced;
        mPos += mStep;
    }
    return produced;
}
} // namespace mixer
