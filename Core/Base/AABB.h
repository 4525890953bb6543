#pragma once

#include "Core/Base/MathTypes.h"

namespace math
{

// Axis-aligned box; the empty box has min at +FLT_MAX and max at -FLT_MAX so the first merge sets it.
class AABB
{
public:
    AABB();
    AABB(const Point3& min, const Point3& max) : mMin(min), mMax(max) {}

    // Back to the empty box.
    void Clear();
    bool IsEmpty() const;
    // Corners 0-3 walk the low-y face, 4-7 the high-y face in the same order; other indices give (0, 0, 0).
    Point3 GetCorner(int index) const;
    void Merge(const AABB& other);
    void Extend(const Point3& p);

    Point3 mMin;
    Point3 mMax;
};

} // namespace math
