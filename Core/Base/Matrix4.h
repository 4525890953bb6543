#pragma once

#include "Core/Base/MathTypes.h"

namespace math
{

// 4 × 4 matrix in row-major order for row vectors (p' = p × M); elements 12, 13, 14 hold the translation.
class Matrix4
{
public:
    // Identity when asked, else uninitialised.
    explicit Matrix4(bool identity = true);

    void SetIdentity();
    // this × other.
    Matrix4 Multiply(const Matrix4& other) const;
    Matrix4& operator*=(const Matrix4& other);
    // Adds t to the translation row.
    void Translate(const Point3& t)
    {
        m[12] += t.x;
        m[13] += t.y;
        m[14] += t.z;
    }
    // Multiplies the first three elements of every row by s (this × S).
    void Scale(const Point3& s);
    // this = this × R(angles); the fourth column stays.
    void Rotate(const Point3& angles);
    // Writes the upper 3 × 3 block with the yaw (y), pitch (x), roll (z) rotation.
    void SetRotation(const Point3& angles);
    // The yaw (y), pitch (x), roll (z) rotation block in rows: r[0..2], r[3..5], r[6..8]. An angle of 0 costs
    // no sine or cosine, so the common roll-only rotation of 2D drawing takes one of each.
    static void RotationBlock(const Point3& angles, float (&r)[9]);
    // Writes the diagonal elements 0, 5, 10 only.
    void SetScale(const Point3& s);
    // Writes elements 12, 13, 14 only.
    void SetTranslation(const Point3& t)
    {
        m[12] = t.x;
        m[13] = t.y;
        m[14] = t.z;
    }
    // p' = p × M without division by w. Inline: every vertex of a world-transformed draw goes through it.
    void TransformPoint(Point3& p) const
    {
        const Point3 source = p;
        TransformPoint(source, p);
    }
    void TransformPoint(const Point3& source, Point3& destination) const
    {
        const float x = source.x, y = source.y, z = source.z;
        destination.x = x * m[0] + y * m[4] + z * m[8] + m[12];
        destination.y = x * m[1] + y * m[5] + z * m[9] + m[13];
        destination.z = x * m[2] + y * m[6] + z * m[10] + m[14];
    }

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }

    float m[16];
};

} // namespace math
