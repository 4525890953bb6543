#include "Core/Widget/Slider.h"

namespace widget
{

WidgetTypeId& Slider::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(Widget::ClassTypeId());
    return id;
}

Slider::Slider() : mSliderListener(this)
{
    mCapturesOnPress = true;
    mTracksWhileCaptured = true;
}

VNResultEnum Slider::OnSliderValueChanged(Slider* slider, float value)
{
    return mChanged ? mChanged->Invoke(slider, value) : VN_OK;
}

VNResultEnum Slider::OnSliderValueChanging(Slider* slider, float value)
{
    return mChanging ? mChanging->Invoke(slider, value) : VN_OK;
}

VNResultEnum Slider::SetValue(float value, bool updateView)
{
    if (mSliderListener)
    {
        if (const VNResultEnum r = mSliderListener->OnSliderValueChanged(this, value); r != VN_OK)
            return r;
    }
    mValue = value;
    return updateView ? UpdateView() : VN_OK;
}

VNResultEnum Slider::SetDragValue(float value, bool updateView)
{
    if (mSliderListener)
    {
        if (const VNResultEnum r = mSliderListener->OnSliderValueChanging(this, value); r != VN_OK)
            return r;
    }
    mValue = value;
    return updateView ? UpdateView() : VN_OK;
}

VNResultEnum Slider::SetValueSilently(float value, bool updateView)
{
    mValue = value;
    return updateView ? UpdateView() : VN_OK;
}

} // namespace widget
