#include "Core/Layer/Layer.h"

#include <algorithm>
#include <cmath>

namespace layer
{

namespace
{

// Half-open in x and y, no upper limit in z.
bool BoxHolds(const math::AABB& box, const math::Point3& p)
{
    return box.mMin.x <= p.x && p.x < box.mMax.x && box.mMin.y <= p.y && p.y < box.mMax.y &&
           box.mMin.z <= p.z;
}

template <class Event>
constexpr uint32_t BubbleBit();
template <>
constexpr uint32_t BubbleBit<OnMouseDown>()
{
    return kBubbleDown;
}
template <>
constexpr uint32_t BubbleBit<OnMouseUp>()
{
    return kBubbleUp;
}
template <>
constexpr uint32_t BubbleBit<OnMouseMove>()
{
    return kBubbleMove;
}
template <>
constexpr uint32_t BubbleBit<OnMouseDrag>()
{
    return kBubbleDrag;
}
template <>
constexpr uint32_t BubbleBit<OnMouseWheel>()
{
    return kBubbleWheel;
}

template <class Event>
VNResultEnum DeliverOnce(HitTestContext& context, HitTestState<Event>& state, bool bubbled, bool handledBelow)
{
    HitTestParam param;
    param.targetLayer = state.hitLayer;
    param.targetPoint = state.hitPoint ? *state.hitPoint : math::Point3();
    param.layer = context.layer;
    param.point = *context.point;
    param.listener = context.listener;
    param.state = state.result;
    param.bubbled = bubbled;
    param.handledBelow = handledBelow;
    if (const VNResultEnum r = state.delegate->Invoke(param, *state.event); r != VN_OK)
        return r;
    state.result = param.state;
    if (state.result == HitClaimed)
        state.claimer = context.layer;
    return VN_OK;
}

// Delivers to the context's listener, then in bubbled form to each enclosing listener that asks for this
// kind, nearest first.
template <class Event>
VNResultEnum Deliver(HitTestContext& context, HitTestState<Event>& state)
{
    if (const VNResultEnum r = DeliverOnce(context, state, false, false); r != VN_OK)
        return r;
    for (HitTestContext* up = context.enclosing; up; up = up->enclosing)
    {
        if (up->listener && (up->listener->mBubbleMask & BubbleBit<Event>()) != 0)
        {
            if (const VNResultEnum r = DeliverOnce(*up, state, true, state.result == HitConsumed); r != VN_OK)
                return r;
        }
    }
    return VN_OK;
}

} // namespace

Layer::~Layer()
{
    if (mParent)
        mParent->RemoveChild(this);
    for (Layer* child : mChildren)
    {
        if (child->mParent == this)
            child->mParent = nullptr;
    }
}

VNResultEnum Layer::DrawSelf(render::Graphics*)
{
    return VN_OK;
}

bool Layer::HitTest(const math::Point3&)
{
    return false;
}

void Layer::Attach(Layer* child, bool atFront)
{
    if (!child || child == this)
        return;
    if (child->mParent)
        child->mParent->RemoveChild(child);
    if (mTransformChanged)
        child->mParentTransformChanged = true;
    if (atFront)
        mChildren.insert(mChildren.begin(), child);
    else
        mChildren.push_back(child);
    child->mParent = this;
    mChildrenChanged = true;
}

void Layer::AddChild(Layer* child)
{
    Attach(child, false);
}

void Layer::AddChildAtFront(Layer* child)
{
    Attach(child, true);
}

void Layer::RemoveChild(Layer* child)
{
    const auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end())
        return;
    mChildren.erase(it);
    child->mParent = nullptr;
    mChildrenChanged = true;
}

void Layer::UpdateTransform()
{
    if (!mTransformChanged && !mParentTransformChanged)
        return;
    BuildMatrix(mParent ? &mParent->GetTransform() : nullptr);
    for (Layer* child : mChildren)
        child->mParentTransformChanged = true;
    mParentTransformChanged = false;
}

VNResultEnum Layer::Draw(render::Graphics* graphics)
{
    if (!mVisible)
        return VN_OK;
    if (mPreDraw)
    {
        if (const VNResultEnum r = mPreDraw->Invoke(graphics, this); r != VN_OK)
            return r;
    }
    UpdateTransform();
    if (mMultiplyParentAlpha)
    {
        mBaseAlpha = mAlpha;
        mEffectiveAlpha = mAlpha * (mParent ? mParent->mEffectiveAlpha : 1.0f);
    }
    else
    {
        mBaseAlpha = mParent ? mParent->mBaseAlpha : 1.0f;
        mEffectiveAlpha = mAlpha * mBaseAlpha;
    }
    if (const VNResultEnum r = DrawSelf(graphics); r != VN_OK)
        return r;
    // By index: a draw hook may take children out of the list.
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const VNResultEnum r = mChildren[i]->Draw(graphics); r != VN_OK)
            return r;
    }
    if (mPostDraw)
        return mPostDraw->Invoke(graphics, this);
    return VN_OK;
}

bool Layer::UpdateBounds()
{
    bool changed = mChildrenChanged;
    mChildrenChanged = false;
    if (mHasContent && !mContentValid)
    {
        UpdateContentBounds();
        mContentValid = true;
        changed = true;
    }
    for (Layer* child : mChildren)
    {
        if (child->UpdateBounds())
            changed = true;
    }
    if (changed)
    {
        mLocalBox.Clear();
        for (Layer* child : mChildren)
            mLocalBox.Merge(child->GetParentBox());
        if (mHasContent)
            mLocalBox.Merge(mContentBox);
        UpdateParentBounds();
        mParentBoxValid = true;
        return true;
    }
    if (mParentBoxValid)
        return false;
    UpdateParentBounds();
    mParentBoxValid = true;
    return true;
}

void Layer::ParentToLocal(const math::Point3& in, math::Point3& out) const
{
    float x = in.x - mPosition.x;
    float y = in.y - mPosition.y;
    float z = in.z - mPosition.z;
    if (std::fabs(mRotation.z) > kRotationEpsilon)
    {
        const float c = std::cos(mRotation.z);
        const float s = std::sin(mRotation.z);
        const float rx = x * c + y * s;
        const float ry = y * c - x * s;
        x = rx;
        y = ry;
    }
    if (mScale.x != 1.0f)
        x /= mScale.x;
    if (mScale.y != 1.0f)
        y /= mScale.y;
    if (mScale.z != 1.0f)
        z /= mScale.z;
    out = math::Point3(x, y, z);
}

void Layer::ToLayerSpace(const math::Point3& in, math::Point3& out) const
{
    // The root's step comes first: each layer's step undoes its own transform, which sits inside its
    // parent's.
    std::vector<const Layer*> chain;
    for (const Layer* l = this; l; l = l->mParent)
        chain.push_back(l);
    math::Point3 p = in;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    {
        if ((*it)->HasFlatRotation())
            (*it)->ParentToLocal(p, p);
    }
    out = p;
}

template <class Event>
VNResultEnum Layer::Walk(HitTestContext& parent, HitTestState<Event>& state)
{
    if (!mVisible || (!mHitEnabled && !mChildrenHitEnabled))
        return VN_OK;
    const math::Point3 p = *parent.point;
    if (!BoxHolds(mParentBox, p))
        return VN_OK;
    math::Point3 local(0.0f, 0.0f, 0.0f);
    HitTestContext context;
    context.point = &local;
    context.layer = this;
    context.listener = mListener;
    context.enclosing = parent.listener ? &parent : parent.enclosing;

    if (HasFlatRotation())
    {
        ParentToLocal(p, local);
        // By index, re-seated after each child: a listener may change this list while it is being walked.
        for (size_t i = mChildren.size(); i-- > 0;)
        {
            if (i >= mChildren.size())
                continue;
            Layer* child = mChildren[i];
            if (const VNResultEnum r = child->Walk(context, state); r != VN_OK)
                return r;
            if (const auto it = std::find(mChildren.begin(), mChildren.end(), child); it != mChildren.end())
                i = static_cast<size_t>(it - mChildren.begin());
            else if (i > mChildren.size())
                i = mChildren.size();
            if (state.result == HitClaimed)
            {
                if (state.claimer != this)
                    return VN_OK;
                state.result = HitPassThrough;
                state.claimer = nullptr;
                break;
            }
            if (state.result == HitConsumed)
                return VN_OK;
        }
        if (state.result == HitClaimed)
            state.result = HitPassThrough;
    }

    if (!mListener && !context.enclosing)
        return VN_OK;
    if (!mHasContent || !BoxHolds(mContentBox, local) || !mHitEnabled || !HitTest(local))
        return VN_OK;
    state.result = HitConsumed;
    state.hitPoint = &local;
    state.hitLayer = this;
    state.claimer = nullptr;
    return Deliver(mListener ? context : *context.enclosing, state);
}

VNResultEnum Layer::HitTestDown(HitTestContext& parent, HitTestState<OnMouseDown>& state)
{
    return Walk(parent, state);
}

VNResultEnum Layer::HitTestUp(HitTestContext& parent, HitTestState<OnMouseUp>& state)
{
    return Walk(parent, state);
}

VNResultEnum Layer::HitTestMove(HitTestContext& parent, HitTestState<OnMouseMove>& state)
{
    return Walk(parent, state);
}

VNResultEnum Layer::HitTestDrag(HitTestContext& parent, HitTestState<OnMouseDrag>& state)
{
    return Walk(parent, state);
}

VNResultEnum Layer::HitTestWheel(HitTestContext& parent, HitTestState<OnMouseWheel>& state)
{
    return Walk(parent, state);
}

template <class Event>
VNResultEnum Layer::StartTest(const math::Point3& point, const Event& event, MouseDelegate<Event>* delegate,
                              bool& consumed)
{
    if (!delegate)
        return VN_OK;
    UpdateBounds();
    math::Point3 p = point;
    HitTestContext root;
    root.point = &p;
    root.layer = this;
    HitTestState<Event> state;
    state.event = &event;
    state.delegate = delegate;
    const VNResultEnum r = Walk(root, state);
    consumed = state.result == HitConsumed;
    return r;
}

VNResultEnum Layer::HitTestDownFrom(const math::Point3& point, const OnMouseDown& event, bool& consumed)
{
    return StartTest(point, event, GetMouseDownDelegate().Get(), consumed);
}

VNResultEnum Layer::HitTestUpFrom(const math::Point3& point, const OnMouseUp& event, bool& consumed)
{
    return StartTest(point, event, GetMouseUpDelegate().Get(), consumed);
}

VNResultEnum Layer::HitTestMoveFrom(const math::Point3& point, const OnMouseMove& event, bool& consumed)
{
    return StartTest(point, event, GetMouseMoveDelegate().Get(), consumed);
}

VNResultEnum Layer::HitTestDragFrom(const math::Point3& point, const OnMouseDrag& event, bool& consumed)
{
    return StartTest(point, event, GetMouseDragDelegate().Get(), consumed);
}

VNResultEnum Layer::HitTestWheelFrom(const math::Point3& point, const OnMouseWheel& event, bool& consumed)
{
    return StartTest(point, event, GetMouseWheelDelegate().Get(), consumed);
}

} // namespace layer
