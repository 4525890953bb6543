#include "Core/Base/Transform3D.h"

namespace math
{

namespace
{

bool IsZero(const Point3& p)
{
    return p.x == 0.0f && p.y == 0.0f && p.z == 0.0f;
}

} // namespace

void Transform3D::Scale(float x, float y, float z)
{
    const Point3 v(x, y, z);
    if (mMatrixMode)
    {
        mMatrix.Scale(v);
        return;
    }
    if (mRotationSet || !IsZero(mPostTranslation) || x < 0.0f || y < 0.0f || z < 0.0f)
    {
        SwitchToMatrixMode();
        mMatrix.Scale(v);
        return;
    }
    mScaleSet = true;
    mScale.x *= x;
    mScale.y *= y;
    mScale.z *= z;
    mDirty = true;
}

void Transform3D::RotateCombined(const Point3& angles)
{
    if (!mMatrixMode)
        SwitchToMatrixMode();
    mMatrix.Rotate(angles);
}

void Transform3D::Combine(const Transform3D& other)
{
    if (other.mMatrixMode)
    {
        const Matrix4& otherMatrix = other.GetMatrix();
        SwitchToMatrixMode();
        mMatrix *= otherMatrix;
        return;
    }
    if (!IsZero(other.mTranslation))
        Translate(other.mTranslation.x, other.mTranslation.y, other.mTranslation.z);
    if (other.mScaleSet)
        Scale(other.mScale.x, other.mScale.y, other.mScale.z);
    if (other.mRotationSet)
        Rotate(other.mRotation.x, other.mRotation.y, other.mRotation.z);
    if (!IsZero(other.mPostTranslation))
        Translate(other.mPostTranslation.x, other.mPostTranslation.y, other.mPostTranslation.z);
}

void Transform3D::BuildMatrix() const
{
    // Written straight from the lazy parts: the same matrix as translation × (scale or rotation) ×
    // post-translation, without the products (a world transform is often rebuilt for every sprite).
    mDirty = false;
    float* m = mMatrix.m;
    const Point3& t = mTranslation;
    if (mScaleSet)
    {
        const Point3& s = mScale;
        mMatrix.SetIdentity();
        m[0] = s.x;
        m[5] = s.y;
        m[10] = s.z;
        m[12] = t.x * s.x;
        m[13] = t.y * s.y;
        m[14] = t.z * s.z;
    }
    else if (mRotationSet)
    {
        float r[9];
        Matrix4::RotationBlock(mRotation, r);
        for (int row = 0; row < 3; ++row)
        {
            m[row * 4 + 0] = r[row * 3 + 0];
            m[row * 4 + 1] = r[row * 3 + 1];
            m[row * 4 + 2] = r[row * 3 + 2];
            m[row * 4 + 3] = 0.0f;
        }
        m[12] = t.x * r[0] + t.y * r[3] + t.z * r[6];
        m[13] = t.x * r[1] + t.y * r[4] + t.z * r[7];
        m[14] = t.x * r[2] + t.y * r[5] + t.z * r[8];
        m[15] = 1.0f;
    }
    else
    {
        mMatrix.SetIdentity();
        mMatrix.SetTranslation(t);
    }
    if (!IsZero(mPostTranslation))
        mMatrix.Translate(mPostTranslation);
}

void Transform3D::SwitchToMatrixMode()
{
    if (mDirty)
        BuildMatrix();
    mMatrixMode = true;
}

} // namespace math
