#include "Core/App/Linux/TimerLocalLinux.h"

#include <time.h>

namespace app
{

int64_t TimerLocalLinux::NowNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void TimerLocalLinux::Start()
{
    mLast = NowNanoseconds();
    mDelta = 0.0f;
}

float TimerLocalLinux::ClampStep(double seconds)
{
    if (!(seconds > 0.0))
        return 0.0f;
    return seconds > kMaxStep ? kMaxStep : static_cast<float>(seconds);
}

float TimerLocalLinux::Tick()
{
    const int64_t now = NowNanoseconds();
    mDelta = ClampStep(static_cast<double>(now - mLast) * 1e-9);
    mLast = now;
    return mDelta;
}

} // namespace app
