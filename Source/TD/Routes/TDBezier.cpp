#include "Source/TD/Routes/TDBezier.h"

#include <cmath>

namespace
{
// Step of the fine walks along a lane, and how far a walk may go before it gives up: four times the
// steps of the whole lane, far beyond what any advance by a fraction of the lane's length needs.
constexpr float kLaneStep = 0.0001f;
constexpr int kMaxLaneSteps = 40000;
constexpr float kLinkStep = 0.001f;
// Shorter than this a curve is a point: a hundredth of a map unit, far below a pixel.
constexpr float kMinCurveLength = 0.01f;

float length(const math::Point2& d)
{
    return std::sqrt(d.x * d.x + d.y * d.y);
}

bool isFinite(const TDLaneSample& s)
{
    return std::isfinite(s.nx) && std::isfinite(s.ny) && std::isfinite(s.x) && std::isfinite(s.y);
}

TDLaneSample makeSample(const TDCurve& curve, float t, float offset)
{
    const math::Point2 n = bezierNormal(curve, t);
    const math::Point2 p = bezierPoint(curve, t);
    TDLaneSample s;
    s.nx = n.x;
    s.ny = n.y;
    s.x = p.x + n.x * offset;
    s.y = p.y + n.y * offset;
    return s;
}

math::Point2 displacedPoint(const TDCurve& curve, float t, float offset)
{
    const math::Point2 p = bezierPoint(curve, t);
    const math::Point2 n = linkNormal(curve, t);
    return math::Point2(p.x + n.x * offset, p.y + n.y * offset);
}
} // namespace

math::Point2 bezierPoint(const TDCurve& c, float t)
{
    const float u = 1.0f - t;
    const float a = u * u;
    const float b = 2.0f * t * u;
    const float e = t * t;
    return math::Point2(a * c.sx + b * c.cx + e * c.ex, a * c.sy + b * c.cy + e * c.ey);
}

math::Point2 bezierNormal(const TDCurve& curve, float t)
{
    if (t > 1.0f)
        t = 1.0f;
    float t2 = t + 0.01f;
    bool reversed = false;
    if (t2 >= 1.0f)
    {
        t2 = 0.98f;
        reversed = true;
    }
    math::Point2 d = bezierPoint(curve, t2) - bezierPoint(curve, t);
    const float len = length(d);
    if (len > 0.0f)
        d = math::Point2(d.x / len, d.y / len);
    else
        d = math::Point2();
    return reversed ? math::Point2(d.y, -d.x) : math::Point2(-d.y, d.x);
}

math::Point2 lanePointAt(const TDCurve& curve, float t, float offset)
{
    const math::Point2 p = bezierPoint(curve, t);
    const math::Point2 n = bezierNormal(curve, t);
    return math::Point2(p.x + n.x * offset, p.y + n.y * offset);
}

float laneLength(const TDCurve& curve, float offset)
{
    math::Point2 previous = lanePointAt(curve, 0.0f, offset);
    float sum = 0.0f;
    for (float t = 0.0f; t <= 1.0f; t += kLaneStep)
    {
        const math::Point2 p = lanePointAt(curve, t, offset);
        sum += length(p - previous);
        previous = p;
    }
    return sum;
}

float laneAdvance(const TDCurve& curve, float t0, float distance, float offset)
{
    // A distance that is not a number would never be reached.
    if (!(distance > 0.0f))
        return t0;
    float t = t0;
    math::Point2 previous = lanePointAt(curve, t, offset);
    float travelled = 0.0f;
    for (int step = 0; step < kMaxLaneSteps; ++step)
    {
        const math::Point2 p = lanePointAt(curve, t, offset);
        travelled += length(p - previous);
        if (travelled >= distance)
            return t;
        previous = p;
        t += kLaneStep;
    }
    return t;
}

bool curveHasLength(const TDCurve& curve)
{
    return curveArcLength(curve) >= kMinCurveLength;
}

void sampleLane(float sx, float sy, float cx, float cy, float ex, float ey, float offset, int n,
                TDLaneSamples& out)
{
    const TDCurve curve{sx, sy, cx, cy, ex, ey};
    const std::size_t first = out.size();
    if (n < 1)
        n = 1;
    if (!curveHasLength(curve))
    {
        // A link whose points coincide has no direction to offset along, only rounding noise: its lane is
        // its two ends, so walkers pass it instead of dividing by zero.
        for (float t : {0.0f, 1.0f})
        {
            const math::Point2 p = bezierPoint(curve, t);
            TDLaneSample s;
            s.x = p.x;
            s.y = p.y;
            out.push_back(s);
        }
    }
    else
    {
        const float step = laneLength(curve, offset) / static_cast<float>(n);
        if (!(step > 0.0f) || !std::isfinite(step))
            return;
        float t = 0.0f;
        while (t <= 1.0f)
        {
            out.push_back(makeSample(curve, t, offset));
            const float next = laneAdvance(curve, t, step, offset);
            if (!(next > t))
                break;
            t = next;
        }
        // One piece (n = 1) can lose its end to rounding; a lane needs both ends to be walked.
        if (out.size() - first < 2)
            out.push_back(makeSample(curve, 1.0f, offset));
    }
    for (std::size_t i = first; i < out.size(); ++i)
    {
        if (!isFinite(out[i]))
        {
            out.resize(first);
            return;
        }
    }
}

math::Point2 linkNormal(const TDCurve& curve, float t)
{
    if (t > 1.0f)
        t = 1.0f;
    const math::Point2 d = bezierPoint(curve, t + 0.01f) - bezierPoint(curve, t);
    const float len = length(d);
    if (!(len > 0.0f))
        return math::Point2();
    return math::Point2(-d.y / len, d.x / len);
}

float curveArcLength(const TDCurve& curve)
{
    // Steps of 0.1 added up in single precision: the tenth sum lies just above 1, so the last point taken is
    // t = 0.9 and a link measures about nine tenths of its length. Units keep the value as their link length
    // and walk by their lane samples, so it moves nobody.
    math::Point2 previous = bezierPoint(curve, 0.0f);
    float sum = 0.0f;
    for (float t = 0.1f; t <= 1.0f; t += 0.1f)
    {
        const math::Point2 p = bezierPoint(curve, t);
        sum += length(p - previous);
        previous = p;
    }
    return sum;
}

float advanceOnCurve(const TDCurve& curve, float t0, float distance, float offset)
{
    float t = t0 >= 0.0f ? t0 : 0.0f; // also a t0 that is not a number
    if (t > 1.0f)
        return 1.0f;
    math::Point2 previous = displacedPoint(curve, t, offset);
    float travelled = 0.0f;
    while (!(travelled >= distance))
    {
        t += kLinkStep;
        if (t > 1.0f)
            return 1.0f;
        const math::Point2 p = displacedPoint(curve, t, offset);
        travelled += length(p - previous);
        previous = p;
    }
    return t;
}

math::Point2 getLanePosition(const TDLaneSamples& samples, float t)
{
    const std::size_t n = samples.size();
    if (n == 0)
        return math::Point2();
    const float f = static_cast<float>(n - 1) * t;
    if (!(f > 0.0f))
        return math::Point2(samples[0].x, samples[0].y);
    if (f >= static_cast<float>(n - 1))
        return math::Point2(samples[n - 1].x, samples[n - 1].y);
    const std::size_t c = static_cast<std::size_t>(f);
    const float k = f - static_cast<float>(c);
    const TDLaneSample& a = samples[c];
    const TDLaneSample& b = samples[c + 1];
    return math::Point2(a.x + (b.x - a.x) * k, a.y + (b.y - a.y) * k);
}

float advanceOnLane(const TDLaneSamples& samples, float t, float distance)
{
    if (samples.size() < 2)
        return 1.0f;
    const float piece = std::sqrt((samples[1].x - samples[0].x) * (samples[1].x - samples[0].x) +
                                  (samples[1].y - samples[0].y) * (samples[1].y - samples[0].y));
    if (!(piece > 0.0f) || !std::isfinite(piece))
        return 1.0f;
    return t + distance / (piece * static_cast<float>(samples.size() - 1));
}
