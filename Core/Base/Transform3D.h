#pragma once

#include "Core/Base/Matrix4.h"

namespace math
{

// A transform kept as translation, scale or rotation and post-translation until a combination needs a
// general matrix. A point maps as ((p + translation) × scale-or-rotation) + post-translation.
// The common steps are inline: a layer resets and rebuilds its world transform for every sprite it draws.
class Transform3D
{
public:
    Transform3D() { Reset(); }

    void Reset()
    {
        mMatrixMode = false;
        mRotationSet = false;
        mScaleSet = false;
        mTranslation = Point3(0.0f, 0.0f, 0.0f);
        mPostTranslation = Point3(0.0f, 0.0f, 0.0f);
        mScale = Point3(1.0f, 1.0f, 1.0f);
        mRotation = Point3(0.0f, 0.0f, 0.0f);
        mDirty = true;
    }
    void Translate(float x, float y, float z = 0.0f)
    {
        const Point3 v(x, y, z);
        if (mMatrixMode)
        {
            mMatrix.Translate(v);
            return;
        }
        mDirty = true;
        // After a scale or rotation a translation applies to the result, not to the input.
        if (mScaleSet || mRotationSet)
            mPostTranslation += v;
        else
            mTranslation += v;
    }
    void Scale(float x, float y, float z = 1.0f);
    void Rotate(float x, float y, float z)
    {
        if (!mMatrixMode && !mScaleSet && !mRotationSet)
        {
            mRotationSet = true;
            mRotation += Point3(x, y, z);
            mDirty = true;
            return;
        }
        RotateCombined(Point3(x, y, z));
    }
    // Applies other after this.
    void Combine(const Transform3D& other);
    // Rebuilds the matrix when it is stale.
    const Matrix4& GetMatrix() const
    {
        if (mDirty)
            BuildMatrix();
        return mMatrix;
    }

    bool IsMatrixMode() const { return mMatrixMode; }

private:
    // A rotation after a scale or another rotation, or in matrix mode: a general matrix from then on.
    void RotateCombined(const Point3& angles);
    void BuildMatrix() const;
    void SwitchToMatrixMode();

    bool mMatrixMode = false;
    bool mRotationSet = false;
    bool mScaleSet = false;
    Point3 mTranslation;
    Point3 mPostTranslation;
    Point3 mScale;
    Point3 mRotation;
    mutable Matrix4 mMatrix;
    mutable bool mDirty = true;
};

} // namespace math
