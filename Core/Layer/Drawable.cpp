#include "Core/Layer/Drawable.h"

#include <cmath>

namespace layer
{

namespace
{

bool IsUnit(const math::Point3& s)
{
    return s.x == 1.0f && s.y == 1.0f && s.z == 1.0f;
}
bool IsZero(const math::Point3& p)
{
    return p.x == 0.0f && p.y == 0.0f && p.z == 0.0f;
}

} // namespace

void Drawable::SetPosition(const math::Point3& position)
{
    if (position != mPosition)
    {
        mPosition = position;
        MarkTransform();
    }
}

void Drawable::SetRotation(const math::Point3& rotation)
{
    if (rotation != mRotation)
    {
        mRotation = rotation;
        MarkTransform();
    }
}

void Drawable::SetScale(const math::Point3& scale)
{
    if (scale != mScale)
    {
        mScale = scale;
        MarkTransform();
    }
}

#define CORV_LAYER_SETTER(Name, field)                                                                       \
    void Drawable::Name(float v)                                                                             \
    {                                                                                                        \
        if (field != v)                                                                                      \
        {                                                                                                    \
            field = v;                                                                                       \
            MarkTransform();                                                                                 \
        }                                                                                                    \
    }

CORV_LAYER_SETTER(SetX, mPosition.x)
CORV_LAYER_SETTER(SetY, mPosition.y)
CORV_LAYER_SETTER(SetZ, mPosition.z)
CORV_LAYER_SETTER(SetRotationX, mRotation.x)
CORV_LAYER_SETTER(SetRotationY, mRotation.y)
CORV_LAYER_SETTER(SetRotationZ, mRotation.z)
CORV_LAYER_SETTER(SetScaleX, mScale.x)
CORV_LAYER_SETTER(SetScaleY, mScale.y)
CORV_LAYER_SETTER(SetScaleZ, mScale.z)

#undef CORV_LAYER_SETTER

void Drawable::SetColor(float r, float g, float b, float a)
{
    mColor[0] = r;
    mColor[1] = g;
    mColor[2] = b;
    mColor[3] = a;
}

bool Drawable::HasFlatRotation() const
{
    return std::fabs(mRotation.x) <= kRotationEpsilon && std::fabs(mRotation.y) <= kRotationEpsilon;
}

void Drawable::BuildMatrix(const math::Transform3D* parent)
{
    mTransform.Reset();
    if (!IsUnit(mScale))
        mTransform.Scale(mScale.x, mScale.y, mScale.z);
    if (!IsZero(mRotation))
        mTransform.Rotate(mRotation.x, mRotation.y, mRotation.z);
    if (!IsZero(mPosition))
        mTransform.Translate(mPosition.x, mPosition.y, mPosition.z);
    if (parent)
        mTransform.Combine(*parent);
    // Left set on purpose: the node and its subtree are rebuilt at every later draw, which keeps children
    // added later in step with a parent that has been placed.
    mTransformChanged = true;
}

void Drawable::UpdateParentBounds()
{
    mParentBox = mLocalBox;
    if (mParentBox.IsEmpty())
        return;
    math::Point3& lo = mParentBox.mMin;
    math::Point3& hi = mParentBox.mMax;
    if (mScale.x != 1.0f)
    {
        lo.x *= mScale.x;
        hi.x *= mScale.x;
    }
    if (mScale.y != 1.0f)
    {
        lo.y *= mScale.y;
        hi.y *= mScale.y;
    }
    if (mScale.z != 1.0f)
    {
        lo.z *= mScale.z;
        hi.z *= mScale.z;
    }
    // A negative scale swaps the ends of that axis.
    math::AABB scaled;
    scaled.Extend(lo);
    scaled.Extend(hi);
    mParentBox = scaled;

    if (HasFlatRotation())
    {
        if (std::fabs(mRotation.z) > kRotationEpsilon)
        {
            const float c = std::cos(mRotation.z);
            const float s = std::sin(mRotation.z);
            const math::Point3 a = mParentBox.mMin;
            const math::Point3 b = mParentBox.mMax;
            const math::Point3 corners[4] = {math::Point3(a.x, a.y, a.z), math::Point3(b.x, a.y, a.z),
                                             math::Point3(b.x, b.y, b.z), math::Point3(a.x, b.y, b.z)};
            mParentBox.Clear();
            for (const math::Point3& p : corners)
                mParentBox.Extend(math::Point3(p.x * c - p.y * s, p.x * s + p.y * c, p.z));
        }
    }
    else
    {
        math::Transform3D rotation;
        rotation.Rotate(mRotation.x, mRotation.y, mRotation.z);
        const math::Matrix4& m = rotation.GetMatrix();
        const math::AABB box = mParentBox;
        mParentBox.Clear();
        for (int i = 0; i < 8; ++i)
        {
            math::Point3 p = box.GetCorner(i);
            m.TransformPoint(p);
            mParentBox.Extend(p);
        }
    }

    if (mPosition.x != 0.0f)
    {
        lo.x += mPosition.x;
        hi.x += mPosition.x;
    }
    if (mPosition.y != 0.0f)
    {
        lo.y += mPosition.y;
        hi.y += mPosition.y;
    }
    if (mPosition.z != 0.0f)
    {
        lo.z += mPosition.z;
        hi.z += mPosition.z;
    }
}

} // namespace layer
