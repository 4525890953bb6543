#include "Core/Base/Matrix4.h"

#include <cmath>
#include <cstring>

namespace math
{

Matrix4::Matrix4(bool identity)
{
    if (identity)
        SetIdentity();
}

namespace
{

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// sin and cos of an angle; 0 keeps its sign in the sine, as std::sin would.
void SinCos(float a, float& s, float& c)
{
    if (a == 0.0f)
    {
        s = a;
        c = 1.0f;
        return;
    }
    s = std::sin(a);
    c = std::cos(a);
}

} // namespace

void Matrix4::SetIdentity()
{
    std::memcpy(m, kIdentity, sizeof m);
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
    float r[9];
    RotationBlock(angles, r);
    // Only the upper 3 × 3 block and the translation row change; the fourth column stays.
    for (int row = 0; row < 4; ++row)
    {
        const float a = m[row * 4 + 0], b = m[row * 4 + 1], c = m[row * 4 + 2];
        for (int col = 0; col < 3; ++col)
            m[row * 4 + col] = a * r[col] + b * r[3 + col] + c * r[6 + col];
    }
}

void Matrix4::SetRotation(const Point3& angles)
{
    float r[9];
    RotationBlock(angles, r);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m[row * 4 + col] = r[row * 3 + col];
}

void Matrix4::RotationBlock(const Point3& angles, float (&r)[9])
{
    if (angles.x == 0.0f && angles.y == 0.0f)
    {
        // A roll alone, the rotation of 2D drawing: the block below with sx = sy = 0, cx = cy = 1.
        float sz, cz;
        SinCos(angles.z, sz, cz);
        r[0] = cz;
        r[1] = sz;
        r[2] = 0.0f;
        r[3] = -sz;
        r[4] = cz;
        r[5] = 0.0f;
        r[6] = 0.0f;
        r[7] = 0.0f;
        r[8] = 1.0f;
        return;
    }
    float sx, cx, sy, cy, sz, cz;
    SinCos(angles.x, sx, cx);
    SinCos(angles.y, sy, cy);
    SinCos(angles.z, sz, cz);
    r[0] = sz * sx * sy + cz * cy;
    r[1] = sz * cx;
    r[2] = sz * sx * cy - cz * sy;
    r[3] = cz * sx * sy - sz * cy;
    r[4] = cz * cx;
    r[5] = sz * sy + cz * sx * cy;
    r[6] = cx * sy;
    r[7] = -sx;
    r[8] = cx * cy;
}

void Matrix4::SetScale(const Point3& s)
{
    m[0] = s.x;
    m[5] = s.y;
    m[10] = s.z;
}

} // namespace math
