#include "Core/Widget/Frame.h"

#include "Core/Layer/RectHitLayer.h"
#include "Core/Widget/FrameManager.h"

#include <vector>

namespace widget
{

namespace
{

// The widget and its ancestors up to the root, nearest first.
std::vector<Widget*> Chain(Widget* w)
{
    std::vector<Widget*> chain;
    for (Widget* p = w ? w->GetParent() : nullptr; p; p = p->GetParent())
        chain.push_back(p);
    return chain;
}

} // namespace

WidgetTypeId& Frame::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(Widget::ClassTypeId());
    return id;
}

Frame::Frame()
{
    mHitArea = new layer::RectHitLayer(math::Rect(0.0f, 0.0f, 0.0f, 0.0f));
    SetLayer(mHitArea, true, true);
    mFrame = this;
    mFocusWidget = this;
}

Frame::~Frame()
{
    if (mManager)
        mManager->ForgetFrame(this);
    mManager = nullptr;
    mHoverWidget = nullptr;
    mFocusWidget = nullptr;
    // The widgets outlive their frame here; they must not reach back into it. Nobody is told: listeners may
    // be parts of objects that are being destroyed.
    std::vector<Widget*> stack(mChildren.begin(), mChildren.end());
    while (!stack.empty())
    {
        Widget* w = stack.back();
        stack.pop_back();
        if (w->mFrame == this)
            w->mFrame = nullptr;
        stack.insert(stack.end(), w->mChildren.begin(), w->mChildren.end());
    }
}

void Frame::SetHitRect(const math::Rect& rect)
{
    if (mHitArea)
        mHitArea->SetRect(rect);
}

VNResultEnum Frame::SetHoverWidget(Widget* w)
{
    if (w == mHoverWidget)
        return VN_OK;
    const std::vector<Widget*> oldChain = Chain(mHoverWidget);
    const std::vector<Widget*> newChain = Chain(w);
    size_t common = 0;
    while (common < oldChain.size() && common < newChain.size() &&
           oldChain[oldChain.size() - 1 - common] == newChain[newChain.size() - 1 - common])
        ++common;

    if (Widget* old = mHoverWidget)
    {
        old->mHovered = false;
        if (old->mListener)
        {
            if (const VNResultEnum r = old->mListener->OnMouseOver(false); r != VN_OK)
                return r;
        }
        for (size_t i = 0; i + common < oldChain.size(); ++i)
        {
            Widget* a = oldChain[i];
            a->mMouseInside = false;
            if (a->mListener)
            {
                if (const VNResultEnum r = a->mListener->OnMouseInside(false); r != VN_OK)
                    return r;
            }
        }
    }
    mHoverWidget = w;
    if (!w)
        return VN_OK;
    if (mManager && mManager->GetHoverFrame() != this)
    {
        if (Frame* other = mManager->GetHoverFrame())
        {
            if (const VNResultEnum r = other->SetHoverWidget(nullptr); r != VN_OK)
                return r;
        }
        mManager->SetHoverFrame(this);
    }
    w->mHovered = true;
    if (w->mListener)
    {
        if (const VNResultEnum r = w->mListener->OnMouseOver(true); r != VN_OK)
            return r;
    }
    for (size_t i = 0; i + common < newChain.size(); ++i)
    {
        Widget* a = newChain[i];
        a->mMouseInside = true;
        if (a->mListener)
        {
            if (const VNResultEnum r = a->mListener->OnMouseInside(true); r != VN_OK)
                return r;
        }
    }
    return VN_OK;
}

BaseBoard::BaseBoard()
{
    SetListener(static_cast<WidgetListener*>(this), true);
    WidgetHitTestListener::SetWidget(this);
    Widget::mLayer->SetHitTestListener(static_cast<WidgetHitTestListener*>(this));
}

} // namespace widget
