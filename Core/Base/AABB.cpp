#include "Core/Base/AABB.h"

#include <algorithm>
#include <cfloat>

namespace math
{

AABB::AABB()
{
    Clear();
}

void AABB::Clear()
{
    mMin = Point3(FLT_MAX, FLT_MAX, FLT_MAX);
    mMax = Point3(-FLT_MAX, -FLT_MAX, -FLT_MAX);
}

bool AABB::IsEmpty() const
{
    return mMin.x > mMax.x || mMin.y > mMax.y || mMin.z > mMax.z;
}

Point3 AABB::GetCorner(int index) const
{
    switch (index)
    {
    case 0:
        return Point3(mMin.x, mMin.y, mMin.z);
    case 1:
        return Point3(mMin.x, mMin.y, mMax.z);
    case 2:
        return Point3(mMax.x, mMin.y, mMax.z);
    case 3:
        return Point3(mMax.x, mMin.y, mMin.z);
    case 4:
        return Point3(mMin.x, mMax.y, mMin.z);
    case 5:
        return Point3(mMin.x, mMax.y, mMax.z);
    case 6:
        return Point3(mMax.x, mMax.y, mMax.z);
    case 7:
        return Point3(mMax.x, mMax.y, mMin.z);
    default:
        return Point3(0.0f, 0.0f, 0.0f);
    }
}

void AABB::Merge(const AABB& other)
{
    mMin = Point3(std::min(mMin.x, other.mMin.x), std::min(mMin.y, other.mMin.y),
                  std::min(mMin.z, other.mMin.z));
    mMax = Point3(std::max(mMax.x, other.mMax.x), std::max(mMax.y, other.mMax.y),
                  std::max(mMax.z, other.mMax.z));
}

void AABB::Extend(const Point3& p)
{
    mMin = Point3(std::min(mMin.x, p.x), std::min(mMin.y, p.y), std::min(mMin.z, p.z));
    mMax = Point3(std::max(mMax.x, p.x), std::max(mMax.y, p.y), std::max(mMax.z, p.z));
}

} // namespace math
