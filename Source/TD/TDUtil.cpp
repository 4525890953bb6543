#include "Source/TD/TDUtil.h"

#include "Core/Base/MathUtil.h"

#include <cmath>

float pointDistance(float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    return std::sqrt(dy * dy + dx * dx);
}

float clampNonNegative(float v)
{
    return v < 0.0f ? 0.0f : v;
}

float minOf(float a, float b)
{
    return a > b ? b : a;
}

float wrapAngleMinus90(float degrees)
{
    return degrees >= 90.0f ? degrees - 90.0f : degrees + 270.0f;
}

math::Point2 randomPointInRing(float centreX, float centreY, float outerRadius, float innerRadius)
{
    const float angle = math::Random() * 360.0f * 3.1415927f / 180.0f;
    const float radius = math::Random() * (outerRadius - innerRadius) + innerRadius;
    return math::Point2(centreX + std::cos(angle) * radius, centreY + std::sin(angle) * radius);
}
