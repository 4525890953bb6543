#include "Core/Widget/Button.h"

namespace widget
{

WidgetTypeId& Button::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(Widget::ClassTypeId());
    return id;
}

Button::Button()
{
    mCapturesOnPress = true;
    mTracksWhileCaptured = true;
}

Button::~Button()
{
    ButtonMediator* mediator = mMediator;
    mMediator = nullptr;
    if (mOwnsMediator)
    {
        // The listener dies here; the widget part must not reach it any more.
        if (mListener == mediator)
            SetListener(nullptr, false);
        delete mediator;
    }
}

void Button::SetMediator(ButtonMediator* mediator, bool owns)
{
    if (mOwnsMediator && mMediator && mMediator != mediator)
        delete mMediator;
    mMediator = mediator;
    mOwnsMediator = owns;
}

VNResultEnum Button::Click()
{
    if (mClick)
    {
        if (const VNResultEnum r = mClick->Invoke(this); r != VN_OK)
            return r;
    }
    if (mButtonListener)
        return mButtonListener->OnButtonClick(this);
    return VN_OK;
}

VNResultEnum ButtonMediator::Attach(Button* button, bool owned)
{
    mButton = button;
    WidgetHitTestListener::mWidget = button;
    mMediatedWidget = button;
    if (button)
    {
        button->SetListener(this, true);
        button->SetMediator(this, owned);
    }
    return VN_OK;
}

VNResultEnum ButtonMediator::SetVisualState(int32_t)
{
    return VN_OK;
}

VNResultEnum ButtonMediator::ChangeState(int32_t state)
{
    if (!mButton || mButton->GetVisualState() == state)
        return VN_OK;
    if (const VNResultEnum r = SetVisualState(state); r != VN_OK)
        return r;
    mButton->SetVisualStateValue(state);
    return VN_OK;
}

VNResultEnum ButtonMediator::OnMouseOver(bool over)
{
    if (!mButton)
        return VN_OK;
    int32_t state = ButtonNormal;
    if (over && !mButton->IsDisabled())
        state = mButton->IsCaptured() ? ButtonPressed : ButtonHover;
    return ChangeState(state);
}

VNResultEnum ButtonMediator::OnParentDisabled(bool disabled)
{
    if (!mButton)
        return VN_OK;
    if (disabled)
        return ChangeState(ButtonNormal);
    return ChangeState(mButton->IsHovered() ? ButtonHover : ButtonNormal);
}

VNResultEnum ButtonMediator::OnCapturedMouseUp(CaptureInfo* capture, const math::Point3& point,
                                               int32_t button)
{
    if (const VNResultEnum r = WidgetListener::OnCapturedMouseUp(capture, point, button); r != VN_OK)
        return r;
    if (!mButton)
        return VN_OK;
    if (mButton->IsHovered())
    {
        if (const VNResultEnum r = ChangeState(ButtonHover); r != VN_OK)
            return r;
        return mButton->Click();
    }
    return ChangeState(ButtonNormal);
}

VNResultEnum ButtonMediator::OnWidgetMouseDown(const math::Point3&, int32_t)
{
    return ChangeState(ButtonPressed);
}

VNResultEnum ButtonMediator::GetCaptureInfo(const math::Point3& point, CaptureInfo& out)
{
    out.Set(mButton, mButton ? mButton->GetLayer() : nullptr, point, true);
    return VN_OK;
}

} // namespace widget
