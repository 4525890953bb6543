#pragma once

#include "Core/Base/AABB.h"
#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"
#include "Core/Base/Transform3D.h"

namespace render
{
class Graphics;
}

namespace layer
{

// Rotations up to this size count as none.
inline constexpr float kRotationEpsilon = 0.0002f;

// The state of one scene node: local transform, appearance, the world transform and three lazily refreshed
// boxes.
class Drawable
{
public:
    Drawable() = default;
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;
    virtual ~Drawable() = default;

    // Draws the node's own content.
    virtual VNResultEnum DrawSelf(render::Graphics* graphics) = 0;
    // Recomputes the content box; nothing by default.
    virtual void UpdateContentBounds() {}

    // Stores only when a component differs by more than the point tolerance.
    void SetPosition(const math::Point3& position);
    void SetRotation(const math::Point3& rotation);
    void SetScale(const math::Point3& scale);
    // Per-component setters compare exactly.
    void SetX(float x);
    void SetY(float y);
    void SetZ(float z);
    void SetRotationX(float angle);
    void SetRotationY(float angle);
    void SetRotationZ(float angle);
    void SetScaleX(float s);
    void SetScaleY(float s);
    void SetScaleZ(float s);

    void SetAlpha(float alpha) { mAlpha = alpha; }
    void SetVisible(bool visible) { mVisible = visible; }
    void SetHitEnabled(bool enabled) { mHitEnabled = enabled; }
    void SetColor(float r, float g, float b, float a);
    void SetTinted(bool tinted) { mTinted = tinted; }
    void SetTintAmount(float amount) { mTintAmount = amount; }
    void SetAdditive(bool additive) { mAdditive = additive; }
    // The content box must be measured again at the next bounds refresh.
    void InvalidateContent() { mContentValid = false; }

    const math::Point3& GetPosition() const { return mPosition; }
    const math::Point3& GetRotation() const { return mRotation; }
    const math::Point3& GetScale() const { return mScale; }
    float GetAlpha() const { return mAlpha; }
    bool IsVisible() const { return mVisible; }
    bool IsHitEnabled() const { return mHitEnabled; }
    bool IsTransformChanged() const { return mTransformChanged; }
    bool IsTinted() const { return mTinted; }
    const float* GetColor() const { return mColor; }
    float GetTintAmount() const { return mTintAmount; }
    bool IsAdditive() const { return mAdditive; }
    const math::Transform3D& GetTransform() const { return mTransform; }
    bool HasContent() const { return mHasContent; }
    bool IsContentValid() const { return mContentValid; }
    bool IsParentBoxValid() const { return mParentBoxValid; }
    const math::AABB& GetContentBox() const { return mContentBox; }
    const math::AABB& GetLocalBox() const { return mLocalBox; }
    const math::AABB& GetParentBox() const { return mParentBox; }
    // Rotations about x and y both within the tolerance.
    bool HasFlatRotation() const;

    // Rebuilds the world transform from the local one and the parent's (identity without).
    void BuildMatrix(const math::Transform3D* parent);
    // Maps the local box into the parent's space.
    void UpdateParentBounds();

protected:
    void MarkTransform()
    {
        mTransformChanged = true;
        mParentBoxValid = false;
    }

    math::Point3 mPosition;
    math::Point3 mRotation;
    math::Point3 mScale{1.0f, 1.0f, 1.0f};
    float mAlpha = 1.0f;
    bool mVisible = true;
    bool mHitEnabled = true;
    bool mTransformChanged = false;
    bool mTinted = false;
    float mColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float mTintAmount = 0.0f;
    bool mAdditive = false;
    math::Transform3D mTransform;
    bool mHasContent = false;
    bool mContentValid = true;
    math::AABB mContentBox;
    math::AABB mLocalBox;
    bool mParentBoxValid = true;
    math::AABB mParentBox;
};

} // namespace layer
