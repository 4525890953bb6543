#include "Core/Base/Matrix4.h"

#include <cmath>

namespace math
{

Matrix4::Matrix4(bool identity)
{
    if (identity)
        SetIdentity();
}

void Matrix4::SetIdentity()
{
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

Matrix4 Matrix4::Multiply(const Matrix4& other) const
{
    Matrix4 result(false);
    for (int row = 0; row < 4; ++row)
    {
        for (int col = 0; col < 4; ++col)
        {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[row * 4 + k] * other.m[k * 4 + col];
            result.m[row * 4 + col] = sum;
        }
    }
    return result;
}

Matrix4& Matrix4::operator*=(const Matrix4& other)
{
    *this = Multiply(other);
    return *this;
}

void Matrix4::Translate(const Point3& t)
{
    m[12] += t.x;
    m[13] += t.y;
    m[14] += t.z;
}

void Matrix4::Scale(const Point3& s)
{
    for (int row = 0; row < 4; ++row)
    {
        m[row * 4 + 0] *= s.x;
        m[row * 4 + 1] *= s.y;
        m[row * 4 + 2] *= s.z;
    }
}

void Matrix4::Rotate(const Point3& angles)
{
    Matrix4 r(true);
    r.SetRotation(angles);
    // Only the upper 3 × 3 block and the translation row change; the fourth column stays.
    float result[4][3];
    for (int row = 0; row < 4; ++row)
    {
        for (int col = 0; col < 3; ++col)
        {
            result[row][col] = m[row * 4 + 0] * r.m[0 * 4 + col] + m[row * 4 + 1] * r.m[1 * 4 + col] +
                               m[row * 4 + 2] * r.m[2 * 4 + col];
        }
    }
    for (int row = 0; row < 4; ++row)
    {
        for (int col = 0; col < 3; ++col)
            m[row * 4 + col] = result[row][col];
    }
}

void Matrix4::SetRotation(const Point3& angles)
{
    const float sx = std::sin(angles.x), cx = std::cos(angles.x);
    const float sy = std::sin(angles.y), cy = std::cos(angles.y);
    const float sz = std::sin(angles.z), cz = std::cos(angles.z);
    m[0] = sz * sx * sy + cz * cy;
    m[1] = sz * cx;
    m[2] = sz * sx * cy - cz * sy;
    m[4] = cz * sx * sy - sz * cy;
    m[5] = cz * cx;
    m[6] = sz * sy + cz * sx * cy;
    m[8] = cx * sy;
    m[9] = -sx;
    m[10] = cx * cy;
}

void Matrix4::SetScale(const Point3& s)
{
    m[0] = s.x;
    m[5] = s.y;
    m[10] = s.z;
}

void Matrix4::SetTranslation(const Point3& t)
{
    m[12] = t.x;
    m[13] = t.y;
    m[14] = t.z;
}

void Matrix4::TransformPoint(Point3& p) const
{
    const Point3 source = p;
    TransformPoint(source, p);
}

void Matrix4::TransformPoint(const Point3& source, Point3& destination) const
{
    const float x = source.x, y = source.y, z = source.z;
    destination.x = x * m[0] + y * m[4] + z * m[8] + m[12];
    destination.y = x * m[1] + y * m[5] + z * m[9] + m[13];
    destination.z = x * m[2] + y * m[6] + z * m[10] + m[14];
}

} // namespace math
