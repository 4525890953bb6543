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
    void Translate(const Point3& t);
    // Multiplies the first three elements of every row by s (this × S).
    void Scale(const Point3& s);
    // this = this × R(angles); the fourth column stays.
    void Rotate(const Point3& angles);
    // Writes the upper 3 × 3 block with the yaw (y), pitch (x), roll (z) rotation.
    void SetRotation(const Point3& angles);
    // Writes the diagonal elements 0, 5, 10 only.
    void SetScale(const Point3& s);
    // Writes elements 12, 13, 14 only.
    void SetTranslation(const Point3& t);
    // p' = p × M without division by w.
    void TransformPoint(Point3& p) const;
    void TransformPoint(const Point3& source, Point3& destination) const;

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }

    float m[16];
};

} // namespace math
