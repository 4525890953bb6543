#include "Source/TD/TDUtil.h"

#include <cmath>

float pointDistance(float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    return std::sqrt(dy * dy + dx * dx);
}
