#pragma once

#include "Core/Base/Delegate.h"
#include "Core/Layer/Drawable.h"
#include "Core/Layer/HitTest.h"
#include "Core/Resource/CountedHandle.h"

#include <vector>

namespace layer
{

// A scene node with an ordered child list (later children drawn on top, hit-tested first), inherited alpha,
// pre- and post-draw delegates and a hit-test listener. Parent, children and listener are not owned.
class Layer : public Drawable
{
public:
    using DrawDelegate = base::Delegate2<render::Graphics*, Layer*, VNResultEnum>;
    using ChildList = std::vector<Layer*>;

    Layer() = default;
    // Leaves the parent's list and orphans the children, so neither keeps a pointer to a freed layer.
    ~Layer() override;

    VNResultEnum DrawSelf(render::Graphics* graphics) override;
    void UpdateContentBounds() override {}
    // Pre-draw delegate, transform, alpha, own content, children, post-draw delegate.
    virtual VNResultEnum Draw(render::Graphics* graphics);
    // Reserved: nothing calls it.
    virtual bool ReservedHookA(void*) { return true; }
    // Whether a local point hits the layer's own content; false here.
    virtual bool HitTest(const math::Point3& local);
    // Reserved: nothing calls it.
    virtual bool ReservedHookB(void*, void*) { return false; }
    virtual ChildList::const_iterator ChildrenEnd() const { return mChildren.end(); }
    virtual ChildList::const_iterator ChildrenBegin() const { return mChildren.begin(); }

    // Detaches the child from its old parent and appends it (drawn on top).
    void AddChild(Layer* child);
    // Same, but the child becomes the first (drawn beneath its siblings).
    void AddChildAtFront(Layer* child);
    // Erases the child and clears its parent; nothing when it is not listed.
    void RemoveChild(Layer* child);

    // Refreshes the boxes of the subtree; true when this layer's parent-space box was recomputed.
    bool UpdateBounds();
    // Rebuilds the world transform when this layer or its parent changed.
    void UpdateTransform();

    // A point of the parent's space into this layer's space (rotation about x and y is not undone).
    void ParentToLocal(const math::Point3& in, math::Point3& out) const;
    // A point of the root's parent space into this layer's space.
    void ToLayerSpace(const math::Point3& in, math::Point3& out) const;

    // The recursive walks, one per event kind.
    VNResultEnum HitTestDown(HitTestContext& parent, HitTestState<OnMouseDown>& state);
    VNResultEnum HitTestUp(HitTestContext& parent, HitTestState<OnMouseUp>& state);
    VNResultEnum HitTestMove(HitTestContext& parent, HitTestState<OnMouseMove>& state);
    VNResultEnum HitTestDrag(HitTestContext& parent, HitTestState<OnMouseDrag>& state);
    VNResultEnum HitTestWheel(HitTestContext& parent, HitTestState<OnMouseWheel>& state);

    // A whole test started on this layer (a root, or a captured widget's layer) with a point in its parent's
    // space: boxes refreshed, then the walk; consumed tells whether a listener kept the event.
    VNResultEnum HitTestDownFrom(const math::Point3& point, const OnMouseDown& event, bool& consumed);
    VNResultEnum HitTestUpFrom(const math::Point3& point, const OnMouseUp& event, bool& consumed);
    VNResultEnum HitTestMoveFrom(const math::Point3& point, const OnMouseMove& event, bool& consumed);
    VNResultEnum HitTestDragFrom(const math::Point3& point, const OnMouseDrag& event, bool& consumed);
    VNResultEnum HitTestWheelFrom(const math::Point3& point, const OnMouseWheel& event, bool& consumed);

    void SetHitTestListener(HitTestListener* listener) { mListener = listener; }
    HitTestListener* GetHitTestListener() const { return mListener; }
    void SetPreDraw(const CountedHandle<DrawDelegate>& d) { mPreDraw = d; }
    void SetPostDraw(const CountedHandle<DrawDelegate>& d) { mPostDraw = d; }
    const CountedHandle<DrawDelegate>& GetPreDraw() const { return mPreDraw; }
    const CountedHandle<DrawDelegate>& GetPostDraw() const { return mPostDraw; }
    void SetMultiplyParentAlpha(bool multiply) { mMultiplyParentAlpha = multiply; }
    void SetChildrenHitEnabled(bool enabled) { mChildrenHitEnabled = enabled; }
    bool IsChildrenHitEnabled() const { return mChildrenHitEnabled; }

    Layer* GetParent() const { return mParent; }
    const ChildList& GetChildren() const { return mChildren; }
    bool IsParentTransformChanged() const { return mParentTransformChanged; }
    float GetBaseAlpha() const { return mBaseAlpha; }
    float GetEffectiveAlpha() const { return mEffectiveAlpha; }

private:
    template <class Event>
    VNResultEnum Walk(HitTestContext& parent, HitTestState<Event>& state);
    template <class Event>
    VNResultEnum StartTest(const math::Point3& point, const Event& event, MouseDelegate<Event>* delegate,
                           bool& consumed);
    void Attach(Layer* child, bool atFront);

    Layer* mParent = nullptr;
    ChildList mChildren;
    HitTestListener* mListener = nullptr;
    CountedHandle<DrawDelegate> mPreDraw;
    CountedHandle<DrawDelegate> mPostDraw;
    bool mParentTransformChanged = false;
    bool mMultiplyParentAlpha = true;
    float mBaseAlpha = 1.0f;
    float mEffectiveAlpha = 1.0f;
    bool mChildrenHitEnabled = false;
    // The child list changed since the last bounds refresh, so the local box must be merged again.
    bool mChildrenChanged = false;
};

} // namespace layer
