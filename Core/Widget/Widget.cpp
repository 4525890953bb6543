#include "Core/Widget/Widget.h"

#include "Core/Layer/Layer.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"

#include <algorithm>

namespace widget
{

using DrawHook = base::MemberDelegate2<WidgetListener, render::Graphics*, layer::Layer*, VNResultEnum>;

VNResultEnum WidgetContainer::Add(Widget* child)
{
    mChildren.push_back(child);
    return VN_OK;
}

VNResultEnum WidgetContainer::Remove(Widget* child)
{
    const auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end())
        return VN_FAIL;
    mChildren.erase(it);
    return VN_OK;
}

VNResultEnum WidgetContainer::Clear(bool deleteChildren, bool recursive, void*)
{
    if (deleteChildren || recursive)
    {
        // A copy: deleted children take themselves out of the live list.
        const std::vector<Widget*> children = mChildren;
        for (Widget* child : children)
        {
            if (recursive)
            {
                if (const VNResultEnum r = child->Clear(deleteChildren, recursive); r != VN_OK)
                    return r;
            }
            if (deleteChildren)
            {
                child->mParent = nullptr;
                delete child;
            }
        }
    }
    mChildren.clear();
    return VN_OK;
}

WidgetTypeId& Widget::ClassTypeId()
{
    static WidgetTypeId id;
    return id;
}

Widget::~Widget()
{
    if (mParent)
    {
        auto& siblings = mParent->mChildren;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        mParent = nullptr;
    }
    // No listener is told here: the listener may be part of this object and already gone.
    if (mFrame && mFrame != this)
    {
        if (mFrame->mHoverWidget == this)
            mFrame->mHoverWidget = nullptr;
        if (mFrame->mFocusWidget == this)
            mFrame->mFocusWidget = nullptr;
        if (FrameManager* manager = mFrame->mManager; manager && manager->GetCapture().widget == this)
        {
            manager->GetCapture().widget = nullptr;
            manager->GetCapture().layer = nullptr;
        }
    }
    for (Widget* child : mChildren)
    {
        if (child->mParent == this)
            child->mParent = nullptr;
    }
    if (mLayer)
    {
        if (mOwnsLayer)
        {
            delete mLayer;
        }
        else if (mDrawHooks)
        {
            // The hooks call into this widget's listener, which may die with it.
            mLayer->SetPreDraw({});
            mLayer->SetPostDraw({});
        }
    }
}

VNResultEnum Widget::Clear(bool deleteChildren, bool recursive, void* unused)
{
    return WidgetContainer::Clear(deleteChildren, recursive, unused);
}

FrameManager* Widget::GetFrameManager() const
{
    return mFrame ? mFrame->mManager : nullptr;
}

bool Widget::Contains(const Widget* widget) const
{
    for (const Widget* w = widget; w; w = w->mParent)
    {
        if (w == this)
            return true;
    }
    return false;
}

VNResultEnum Widget::SetInheritedDisabled(Widget* child, bool value)
{
    child->mInheritedDisabled = value;
    if (child->mListener)
    {
        const VNResultEnum r = child->mSelector ? child->mListener->OnParentDisabledFlagged(value)
                                                : child->mListener->OnParentDisabled(value);
        if (r != VN_OK)
            return r;
    }
    return child->PropagateDisabled();
}

VNResultEnum Widget::PropagateDisabled()
{
    const bool value = IsDisabled();
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        Widget* child = mChildren[i];
        if (child->mInheritedDisabled == value)
            continue;
        if (const VNResultEnum r = SetInheritedDisabled(child, value); r != VN_OK)
            return r;
    }
    return VN_OK;
}

VNResultEnum Widget::SetDisabled(bool disabled)
{
    mOwnDisabled = disabled;
    return PropagateDisabled();
}

VNResultEnum Widget::AddWidget(Widget* child, layer::Layer* parentLayer)
{
    if (!child || child == this)
        return VN_FAIL;
    mChildren.push_back(child);
    child->mParent = this;
    if (mFrame)
    {
        if (const VNResultEnum r = child->SetFrame(mFrame); r != VN_OK)
            return r;
        if (mFrame->mManager)
        {
            if (const VNResultEnum r = child->NotifyFrameManager(mFrame->mManager); r != VN_OK)
                return r;
        }
    }
    layer::Layer* target = parentLayer ? parentLayer : mLayer;
    if (target && child->mLayer)
        target->AddChild(child->mLayer);
    if (IsDisabled() && !child->mInheritedDisabled)
        return SetInheritedDisabled(child, true);
    return VN_OK;
}

VNResultEnum Widget::RemoveWidget(Widget* child, bool clearFrameRefs)
{
    // Checked first: a widget of another tree must not be told anything.
    if (!child || std::find(mChildren.begin(), mChildren.end(), child) == mChildren.end())
        return VN_FAIL;
    if (IsDisabled() && child->mInheritedDisabled)
    {
        if (const VNResultEnum r = SetInheritedDisabled(child, false); r != VN_OK)
            return r;
    }
    if (mFrame)
    {
        if (clearFrameRefs)
        {
            if (const VNResultEnum r = child->ClearFrameRefs(); r != VN_OK)
                return r;
        }
        if (mFrame->mManager)
        {
            if (child->mListener)
            {
                if (const VNResultEnum r = child->mListener->OnRemovedFromFrameManager(); r != VN_OK)
                    return r;
            }
            for (Widget* grandchild : child->mChildren)
            {
                if (const VNResultEnum r = grandchild->NotifyFrameManager(nullptr); r != VN_OK)
                    return r;
            }
        }
        if (!child->mListener || child->mListener->OnDetachedFromFrame() == VN_OK)
        {
            child->mFrame = nullptr;
            for (Widget* grandchild : child->mChildren)
            {
                if (grandchild->SetFrame(nullptr) != VN_OK)
                    break;
            }
        }
    }
    const auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end())
        return VN_FAIL;
    mChildren.erase(it);
    child->mParent = nullptr;
    if (child->mLayer && child->mLayer->GetParent())
        child->mLayer->GetParent()->RemoveChild(child->mLayer);
    return VN_OK;
}

VNResultEnum Widget::ClearFrameRefs()
{
    if (!mFrame)
        return VN_OK;
    Frame* frame = mFrame;
    if (FrameManager* manager = frame->mManager; manager && Contains(manager->GetCapture().widget))
        manager->ReleaseCapture();
    if (frame->mFocusWidget && Contains(frame->mFocusWidget))
        frame->mFocusWidget = nullptr;
    if (frame->mHoverWidget && Contains(frame->mHoverWidget))
        return frame->SetHoverWidget(nullptr);
    return VN_OK;
}

VNResultEnum Widget::SetFrame(Frame* frame)
{
    if (frame)
    {
        mFrame = frame;
        if (mListener)
        {
            if (const VNResultEnum r = mListener->OnAttachedToFrame(); r != VN_OK)
                return r;
        }
    }
    else
    {
        if (mListener)
        {
            if (const VNResultEnum r = mListener->OnDetachedFromFrame(); r != VN_OK)
                return r;
        }
        mFrame = nullptr;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const VNResultEnum r = mChildren[i]->SetFrame(frame); r != VN_OK)
            return r;
    }
    return VN_OK;
}

VNResultEnum Widget::NotifyFrameManager(FrameManager* manager)
{
    if (mListener)
    {
        const VNResultEnum r =
            manager ? mListener->OnAddedToFrameManager() : mListener->OnRemovedFromFrameManager();
        if (r != VN_OK)
            return r;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const VNResultEnum r = mChildren[i]->NotifyFrameManager(manager); r != VN_OK)
            return r;
    }
    return VN_OK;
}

VNResultEnum Widget::Update(float dt)
{
    if (mListener)
    {
        if (const VNResultEnum r = mListener->Update(dt); r != VN_OK)
            return r;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const VNResultEnum r = mChildren[i]->Update(dt); r != VN_OK)
            return r;
    }
    return VN_OK;
}

void Widget::SetListener(WidgetListener* listener, bool drawHooks)
{
    mListener = listener;
    mDrawHooks = drawHooks && listener;
    if (!mLayer)
        return;
    if (mDrawHooks)
    {
        CountedHandle<layer::Layer::DrawDelegate> pre;
        pre.Reset(new DrawHook(listener, &WidgetListener::PreDraw));
        CountedHandle<layer::Layer::DrawDelegate> post;
        post.Reset(new DrawHook(listener, &WidgetListener::PostDraw));
        mLayer->SetPreDraw(pre);
        mLayer->SetPostDraw(post);
    }
    else
    {
        mLayer->SetPreDraw({});
        mLayer->SetPostDraw({});
    }
}

void Widget::SetLayer(layer::Layer* layer, bool owns, bool drawHooks)
{
    if (mLayer && mLayer != layer)
    {
        if (mOwnsLayer)
        {
            delete mLayer;
        }
        else if (mDrawHooks)
        {
            mLayer->SetPreDraw({});
            mLayer->SetPostDraw({});
        }
    }
    mLayer = layer;
    mOwnsLayer = owns;
    SetListener(mListener, drawHooks);
}

} // namespace widget
