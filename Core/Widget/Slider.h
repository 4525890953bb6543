#pragma once

#include "Core/Base/Delegate.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Widget/Widget.h"

namespace widget
{

class Slider;

// Told when a slider's value is set or dragged.
class SliderListener
{
public:
    virtual ~SliderListener() = default;
    virtual VNResultEnum OnSliderValueChanged(Slider*, float) { return VN_OK; }
    virtual VNResultEnum OnSliderValueChanging(Slider*, float) { return VN_OK; }
};

// A widget holding a float value; it tells a listener (itself by default, which forwards to two delegates)
// before storing a new value. It neither clamps nor draws: the range is for the view of subclasses.
class Slider : public Widget, public SliderListener
{
public:
    using ValueDelegate = base::Delegate2<Slider*, float, VNResultEnum>;

    Slider();

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();
    // Reserved: nothing calls it.
    virtual VNResultEnum ReservedSlider(void*) { return VN_OK; }
    // Redraws from minimum, maximum and value; nothing here.
    virtual VNResultEnum UpdateView() { return VN_OK; }

    // The own listener part: forwards to the delegates.
    VNResultEnum OnSliderValueChanged(Slider* slider, float value) override;
    VNResultEnum OnSliderValueChanging(Slider* slider, float value) override;

    // The listener first (an error keeps the old value), then the value, then the view when asked.
    VNResultEnum SetValue(float value, bool updateView);
    VNResultEnum SetDragValue(float value, bool updateView);
    VNResultEnum SetValueSilently(float value, bool updateView);

    void SetSliderListener(SliderListener* listener) { mSliderListener = listener ? listener : this; }
    void SetChangedDelegate(const CountedHandle<ValueDelegate>& d) { mChanged = d; }
    void SetChangingDelegate(const CountedHandle<ValueDelegate>& d) { mChanging = d; }
    void SetRange(float minimum, float maximum)
    {
        mMinimum = minimum;
        mMaximum = maximum;
    }
    float GetMinimum() const { return mMinimum; }
    float GetMaximum() const { return mMaximum; }
    float GetValue() const { return mValue; }

protected:
    SliderListener* mSliderListener;
    CountedHandle<ValueDelegate> mChanged;
    CountedHandle<ValueDelegate> mChanging;
    float mMinimum = 0.0f;
    float mMaximum = 1.0f;
    float mValue = 0.0f;
};

} // namespace widget
