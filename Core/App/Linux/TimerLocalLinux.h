#pragma once

#include <cstdint>

namespace app
{

// Measures the step between two ticks with the monotonic clock.
class TimerLocalLinux
{
public:
    // The longest step handed on: a stall (debugger, suspended laptop, dragged window) must not jump
    // the game forward by minutes.
    static constexpr float kMaxStep = 0.25f;

    // Reads the clock; the first Tick measures from here.
    void Start();
    // Seconds since the previous Start or Tick, clamped to [0, kMaxStep].
    float Tick();
    float GetDelta() const { return mDelta; }

    // The clamping rule of Tick, for a raw step in seconds.
    static float ClampStep(double seconds);

private:
    static int64_t NowNanoseconds();

    int64_t mLast = 0;
    float mDelta = 0.0f;
};

} // namespace app
