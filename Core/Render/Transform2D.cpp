#include "Core/Render/Transform2D.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace math
{

Matrix3 Matrix3::Identity()
{
    return Scaling(1.0f, 1.0f);
}

Matrix3 Matrix3::Translation(float x, float y)
{
    Matrix3 r = Identity();
    r.m[2] = x;
    r.m[5] = y;
    return r;
}

Matrix3 Matrix3::Scaling(float sx, float sy)
{
    Matrix3 r;
    r.m[0] = sx;
    r.m[4] = sy;
    r.m[8] = 1.0f;
    return r;
}

Matrix3 Matrix3::Rotation(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix3 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[3] = -s;
    r.m[4] = c;
    r.m[8] = 1.0f;
    return r;
}

Matrix3 Matrix3::operator*(const Matrix3& o) const
{
    Matrix3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
        {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += m[i * 3 + k] * o.m[k * 3 + j];
            r.m[i * 3 + j] = sum;
        }
    return r;
}

} // namespace math

namespace render
{
namespace
{
constexpr float kTinyTranslation = 0.0002f;
}

void Transform2D::Reset()
{
    *this = Transform2D();
}

void Transform2D::Translate(float x, float y)
{
    if (mMatrixMode)
    {
        mMatrix = math::Matrix3::Translation(x, y) * mMatrix;
        return;
    }
    mDirty = true;
    float* target = (mHasRotation || mHasScale) ? mPost : mPre;
    target[0] += x;
    target[1] += y;
}

void Transform2D::Scale(float sx, float sy)
{
    // A translation already past the scale must be scaled too; the lazy form cannot express that, so it goes
    // to the matrix, which composes every step.
    if (!mMatrixMode && (mHasRotation || mPre[0] != 0.0f || mPre[1] != 0.0f || mPost[0] != 0.0f ||
                         mPost[1] != 0.0f || (sx < 0.0f && mScale[0] * sx != -1.0f) || sy < 0.0f))
        SwitchToMatrixMode();
    if (mMatrixMode)
    {
        mMatrix = math::Matrix3::Scaling(sx, sy) * mMatrix;
        return;
    }
    mDirty = true;
    mHasScale = true;
    mScale[0] *= sx;
    mScale[1] *= sy;
}

void Transform2D::Rotate(float radians)
{
    if (!mMatrixMode && (mHasScale || mPost[0] != 0.0f || mPost[1] != 0.0f))
        SwitchToMatrixMode();
    if (mMatrixMode)
    {
        mMatrix = math::Matrix3::Rotation(radians) * mMatrix;
        return;
    }
    mDirty = true;
    mHasRotation = true;
    mRotation += radians;
}

void Transform2D::RotateDegrees(float degrees)
{
    Rotate(degrees * 3.1415927f / 180.0f);
}

void Transform2D::SwitchToMatrixMode()
{
    GetMatrix();
    mMatrixMode = true;
}

const math::Matrix3& Transform2D::GetMatrix()
{
    if (!mDirty || mMatrixMode)
        return mMatrix;
    mDirty = false;
    mMatrix = math::Matrix3::Translation(mPre[0], mPre[1]);
    if (mHasScale)
    {
        mMatrix.m[0] = mScale[0];
        mMatrix.m[4] = mScale[1];
    }
    else if (mHasRotation)
        mMatrix = math::Matrix3::Rotation(mRotation) * mMatrix;
    if (mPost[0] != 0.0f || mPost[1] != 0.0f)
        mMatrix = math::Matrix3::Translation(mPost[0], mPost[1]) * mMatrix;
    return mMatrix;
}

void Transform2D::Apply(float& x, float& y)
{
    float p[2] = {x, y};
    Apply(p, 0, 1);
    x = p[0];
    y = p[1];
}

void Transform2D::Apply(float* firstPosition, unsigned stride, unsigned count)
{
    auto* bytes = reinterpret_cast<uint8_t*>(firstPosition);
    auto at = [&](unsigned i) { return reinterpret_cast<float*>(bytes + static_cast<size_t>(i) * stride); };
    if (mMatrixMode || mHasRotation)
    {
        const math::Matrix3& m = GetMatrix();
        for (unsigned i = 0; i < count; ++i)
        {
            float* p = at(i);
            const float x = p[0];
            const float y = p[1];
            p[0] = m.m[0] * x + m.m[1] * y + m.m[2];
            p[1] = m.m[3] * x + m.m[4] * y + m.m[5];
        }
        return;
    }
    const bool pre = std::fabs(mPre[0]) > kTinyTranslation || std::fabs(mPre[1]) > kTinyTranslation;
    const bool post = std::fabs(mPost[0]) > kTinyTranslation || std::fabs(mPost[1]) > kTinyTranslation;
    for (unsigned i = 0; i < count; ++i)
    {
        float* p = at(i);
        if (pre)
        {
            p[0] += mPre[0];
            p[1] += mPre[1];
        }
        if (mHasScale)
        {
            p[0] *= mScale[0];
            p[1] *= mScale[1];
        }
        if (post)
        {
            p[0] += mPost[0];
            p[1] += mPost[1];
        }
    }
}

} // namespace render
