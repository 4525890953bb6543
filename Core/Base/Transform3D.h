#pragma once

#include "Core/Base/Matrix4.h"

namespace math
{

// A transform kept as translation, scale or rotation and post-translation until a combination needs a
// general matrix. A point maps as ((p + translation) × scale-or-rotation) + post-translation.
class Transform3D
{
public:
    Transform3D();

    void Reset();
    void Translate(float x, float y, float z = 0.0f);
    void Scale(float x, float y, float z = 1.0f);
    void Rotate(float x, float y, float z);
    // Applies other after this.
    void Combine(const Transform3D& other);
    // Rebuilds the matrix when it is stale.
    const Matrix4& GetMatrix() const;

    bool IsMatrixMode() const { return mMatrixMode; }

private:
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
