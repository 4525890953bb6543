#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace mixer
{
// Linear-interpolating rate converter for interleaved stereo floats, fed on demand.
class Resampler
{
public:
    // pull(out, frames) returns frames written, 0 at the end, negative on damage (treated as the end).
    using Pull = std::function<long(float* out, std::uint32_t frames)>;

    void Reset(std::uint32_t sourceRate, std::uint32_t targetRate);
    // Writes up to frames output frames; fewer only when the source has ended.
    std::uint32_t Produce(float* out, std::uint32_t frames, const Pull& pull);
    bool Ended() const { return mEnded; }
    // The source reported damage rather than a clean end.
    bool Damaged() const { return mDamaged; }

private:
    bool Refill(const Pull& pull);

    std::vector<float> mBuffer; // buffered source frames
    std::size_t mFrames = 0;    // frames in mBuffer
    double mPos = 0.0;          // read position in source frames, relative to mBuffer
    double mStep = 1.0;
    bool mEnded = false;
    bool mDamaged = false;
};
} // namespace mixer
