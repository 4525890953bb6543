#include "Core/Animation/Lightwave/Envelope.h"

#include <cmath>
#include <cstddef>

namespace lightwave
{

namespace
{

// A time this close after a key still belongs to the interval that ends at it.
constexpr float kIntervalTolerance = 2e-4f;
constexpr float kBezierTolerance = 1e-4f;
constexpr float kTinyTimeOffset = 1e-5f;
// Each bisection step halves the interval; a float in [0, 1] has run out of bits long before this.
constexpr int kMaxBisectionSteps = 64;

// a / b, or 0 when b is 0: keys stored at equal times make a zero-length span whose tangent does not matter.
float Ratio(float a, float b)
{
    return b != 0.0f ? a / b : 0.0f;
}

// Brings t into [first, last] by whole key ranges; count is how many ranges t was moved (negative before the
// first key). Kept as a float: a far-off time would overflow an integer.
float Wrap(float t, float first, float last, float& count)
{
    const float r = last - first;
    if (r == 0.0f)
    {
        count = 0.0f;
        return first;
    }
    const float v = t - std::floor((t - first) / r) * r;
    count = -std::trunc((v - t) / r + (v > t ? 0.5f : -0.5f));
    return v;
}

bool IsOdd(float count)
{
    return std::fmod(count, 2.0f) != 0.0f;
}

float Outgoing(const Key& k0, const Key& k1, const Key* previous)
{
    const float d = k1.value - k0.value;
    switch (k0.shape)
    {
    case ShapeTCB:
    {
        const float b = (1.0f - k0.p0) * (1.0f - k0.p1) * (1.0f - k0.p2) * d;
        if (!previous)
            return b;
        const float a = (1.0f - k0.p0) * (1.0f + k0.p1) * (1.0f + k0.p2) * (k0.value - previous->value);
        return (a + b) * Ratio(k1.time - k0.time, k1.time - previous->time);
    }
    case ShapeHermite:
    case ShapeBezier:
        return previous ? k0.p1 * Ratio(k1.time - k0.time, k1.time - previous->time) : k0.p1;
    case ShapeLinear:
        if (!previous)
            return d;
        return (k0.value - previous->value + d) * Ratio(k1.time - k0.time, k1.time - previous->time);
    case ShapeBezier2D:
        return std::fabs(k0.p2) > kTinyTimeOffset ? k0.p3 * (k1.time - k0.time) / k0.p2
                                                  : k0.p3 * (k1.time - k0.time) * 100000.0f;
    default:
        return 0.0f;
    }
}

float Incoming(const Key& k0, const Key& k1, const Key* next)
{
    const float d = k1.value - k0.value;
    switch (k1.shape)
    {
    case ShapeTCB:
    {
        const float a = (1.0f - k1.p0) * (1.0f - k1.p1) * (1.0f + k1.p2) * d;
        if (!next)
            return a;
        const float b = (1.0f - k1.p0) * (1.0f + k1.p1) * (1.0f - k1.p2) * (next->value - k1.value);
        return (b + a) * Ratio(k1.time - k0.time, next->time - k0.time);
    }
    case ShapeHermite:
    case ShapeBezier:
        return next ? k1.p0 * Ratio(k1.time - k0.time, next->time - k0.time) : k1.p0;
    case ShapeLinear:
        if (!next)
            return d;
        return (next->value - k1.value + d) * Ratio(k1.time - k0.time, next->time - k0.time);
    case ShapeBezier2D:
        return std::fabs(k1.p0) > kTinyTimeOffset ? k1.p1 * (k1.time - k0.time) / k1.p0
                                                  : k1.p1 * (k1.time - k0.time) * 100000.0f;
    default:
        return 0.0f;
    }
}

float Bezier(float x0, float x1, float x2, float x3, float s)
{
    const float c = 3.0f * (x1 - x0);
    const float b = 3.0f * (x2 - x1) - c;
    const float a = x3 - x0 - c - b;
    return ((a * s + b) * s + c) * s + x0;
}

float Bezier2(const Key& k0, const Key& k1, float t)
{
    const float x0 = k0.time;
    const float x1 = k0.time + (k0.shape == ShapeBezier2D ? k0.p2 : (k1.time - k0.time) / 3.0f);
    const float x2 = k1.time + k1.p0;
    const float x3 = k1.time;

    // Bisection for the curve parameter whose time is t. A t outside the time control points' span (within
    // the interval tolerance, or after an oscillation) is never met: the step limit ends the search at the
    // nearest end instead of looping for ever.
    float lo = 0.0f;
    float hi = 1.0f;
    float s = 0.5f;
    for (int step = 0; step < kMaxBisectionSteps; ++step)
    {
        s = lo + (hi - lo) * 0.5f;
        const float at = Bezier(x0, x1, x2, x3, s);
        if (!(std::fabs(t - at) > kBezierTolerance))
            break;
        if (at > t)
            hi = s;
        else
            lo = s;
    }

    const float y0 = k0.value;
    const float y1 = k0.value + (k0.shape == ShapeBezier2D ? k0.p3 : k0.p1 / 3.0f);
    const float y2 = k1.value + k1.p1;
    const float y3 = k1.value;
    return Bezier(y0, y1, y2, y3, s);
}

} // namespace

float Envelope::Evaluate(float t) const
{
    const std::size_t count = keys.size();
    if (count == 0)
        return 0.0f;
    if (count == 1)
        return keys[0].value;

    const Key& first = keys.front();
    const Key& last = keys.back();
    float offset = 0.0f;
    float n = 0.0f;

    if (t < first.time)
    {
        switch (pre)
        {
        case BehaviourReset:
            return 0.0f;
        case BehaviourConstant:
            return first.value;
        case BehaviourRepeat:
            t = Wrap(t, first.time, last.time, n);
            break;
        case BehaviourOscillate:
            t = Wrap(t, first.time, last.time, n);
            // Every other range runs backwards: mirror t inside [first, last].
            if (IsOdd(n))
                t = first.time + last.time - t;
            break;
        case BehaviourOffsetRepeat:
            t = Wrap(t, first.time, last.time, n);
            offset = n * (last.value - first.value);
            break;
        case BehaviourLinear:
        {
            const Key& second = keys[1];
            const float span = second.time - first.time;
            if (span == 0.0f)
                return first.value;
            return first.value + (t - first.time) * Outgoing(first, second, nullptr) / span;
        }
        default:
            break;
        }
    }
    else if (t > last.time)
    {
        switch (post)
        {
        case BehaviourReset:
            return 0.0f;
        case BehaviourConstant:
            return last.value;
        case BehaviourRepeat:
            t = Wrap(t, first.time, last.time, n);
            break;
        case BehaviourOscillate:
            t = Wrap(t, first.time, last.time, n);
            if (IsOdd(n))
                t = first.time + last.time - t;
            break;
        case BehaviourOffsetRepeat:
            t = Wrap(t, first.time, last.time, n);
            offset = n * (last.value - first.value);
            break;
        case BehaviourLinear:
        {
            const Key& beforeLast = keys[count - 2];
            const float span = last.time - beforeLast.time;
            if (span == 0.0f)
                return last.value;
            return last.value + (t - last.time) * Incoming(beforeLast, last, nullptr) / span;
        }
        default:
            break;
        }
    }

    // The interval holding t; the last two keys (without neighbours) when t lies beyond every key.
    std::size_t i0 = count - 2;
    const Key* previous = nullptr;
    const Key* next = nullptr;
    bool found = false;
    for (std::size_t i = 0; i + 1 < count; ++i)
    {
        if (t <= keys[i + 1].time + kIntervalTolerance)
        {
            i0 = i;
            found = true;
            break;
        }
    }
    const Key& k0 = keys[i0];
    const Key& k1 = keys[i0 + 1];
    if (found)
    {
        previous = i0 > 0 ? &keys[i0 - 1] : nullptr;
        next = i0 + 2 < count ? &keys[i0 + 2] : nullptr;
    }

    if (t == k0.time)
        return k0.value + offset;
    if (t == k1.time)
        return k1.value + offset;

    // Two keys at one time make a jump, not a division by zero.
    const float span = k1.time - k0.time;
    if (span == 0.0f)
        return (t < k0.time ? k0.value : k1.value) + offset;

    const float u = (t - k0.time) / span;
    switch (k1.shape)
    {
    case ShapeTCB:
    case ShapeHermite:
    case ShapeBezier:
    {
        const float u2 = u * u;
        const float u3 = u2 * u;
        const float h2 = 3.0f * u2 - 2.0f * u3;
        const float h1 = 1.0f - h2;
        const float h4 = u3 - u2;
        const float h3 = h4 - u2 + u;
        return h1 * k0.value + h2 * k1.value + h3 * Outgoing(k0, k1, previous) + h4 * Incoming(k0, k1, next) +
               offset;
    }
    case ShapeLinear:
        return k0.value + u * (k1.value - k0.value) + offset;
    case ShapeStepped:
        return k0.value + offset;
    case ShapeBezier2D:
        return Bezier2(k0, k1, t) + offset;
    default:
        return offset;
    }
}

} // namespace lightwave
