#include "Core/Layer/RectHitLayer.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/Slider.h"
#include "Core/Widget/WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace widget;
using test::Log;
using test::MakeButton;

namespace
{

class ButtonFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(manager.AddFrame(&frame, false, true, false), VN_OK);
        panel = new test::Panel("panel", &log);
        frame.AddWidget(panel);
        button = MakeButton(*panel, "b", &log, math::Rect(100, 100, 50, 20));
        button->SetButtonListener(&clicks);
        log.clear();
    }
    void TearDown() override { frame.Clear(true, true); }

    void Move(float x, float y) { ASSERT_EQ(manager.OnMouseMove(math::Point2(x, y)), VN_OK); }
    void Drag(float x, float y) { ASSERT_EQ(manager.OnMouseDrag(math::Point2(x, y)), VN_OK); }
    void Down(float x, float y) { ASSERT_EQ(manager.OnMouseDown(math::Point2(x, y), 1), VN_OK); }
    void Up(float x, float y) { ASSERT_EQ(manager.OnMouseUp(math::Point2(x, y), 1), VN_OK); }

    Log log;
    FrameManager manager;
    test::LogFrame frame{"frame", &log};
    test::Panel* panel = nullptr;
    Button* button = nullptr;
    test::ClickCounter clicks;
};

} // namespace

TEST_F(ButtonFixture, ClickThroughTheFrameManager)
{
    Move(110, 110);
    Down(110, 110);
    EXPECT_TRUE(button->IsCaptured());
    EXPECT_EQ(button->GetVisualState(), ButtonPressed);
    Up(112, 111);
    EXPECT_EQ(clicks.clicks, 1);
    EXPECT_FALSE(button->IsCaptured());
    EXPECT_EQ(button->GetVisualState(), ButtonHover);
    EXPECT_EQ(log, (Log{"b:state1", "panel:inside", "frame:inside", "b:state2", "b:state1"}));
}

TEST_F(ButtonFixture, DragOffAndReleaseDoesNotClick)
{
    Move(110, 110);
    Down(110, 110);
    Drag(300, 300);
    EXPECT_EQ(button->GetVisualState(), ButtonNormal);
    Up(300, 300);
    EXPECT_EQ(clicks.clicks, 0);
    EXPECT_EQ(button->GetVisualState(), ButtonNormal);
    EXPECT_EQ(manager.GetCapture().widget, nullptr);
}

TEST_F(ButtonFixture, DragOffAndBackClicksOnce)
{
    Move(110, 110);
    Down(110, 110);
    Drag(300, 300);
    Drag(120, 105);
    EXPECT_EQ(button->GetVisualState(), ButtonPressed);
    Up(120, 105);
    EXPECT_EQ(clicks.clicks, 1);
    EXPECT_EQ(button->GetVisualState(), ButtonHover);
    EXPECT_EQ(log, (Log{"b:state1", "panel:inside", "frame:inside", "b:state2", "b:state0", "panel:outside",
                        "frame:outside", "b:state2", "panel:inside", "frame:inside", "b:state1"}));
}

TEST_F(ButtonFixture, DisablingTheParentOfAHoveredButton)
{
    Move(110, 110);
    ASSERT_EQ(panel->SetDisabled(true), VN_OK);
    EXPECT_EQ(button->GetVisualState(), ButtonNormal);
    // Disabled: hovering and pressing change nothing and click nothing.
    Down(110, 110);
    Up(110, 110);
    EXPECT_EQ(clicks.clicks, 0);
    EXPECT_EQ(button->GetVisualState(), ButtonNormal);
    ASSERT_EQ(panel->SetDisabled(false), VN_OK);
    EXPECT_EQ(button->GetVisualState(), ButtonHover);
}

TEST_F(ButtonFixture, ClickDelegateErrorStopsTheClick)
{
    struct Failing : Button::ClickDelegate
    {
        const void* GetObject() const override { return this; }
        const void* GetMethod() const override { return nullptr; }
        VNResultEnum Invoke(Button*) override
        {
            ++calls;
            return VN_FAIL;
        }
        int calls = 0;
    };
    auto* d = new Failing;
    CountedHandle<Button::ClickDelegate> h;
    h.Reset(d);
    button->SetClickDelegate(h);
    EXPECT_EQ(button->Click(), VN_FAIL);
    EXPECT_EQ(d->calls, 1);
    EXPECT_EQ(clicks.clicks, 0);
}

namespace
{

// A horizontal slider over a track rectangle: a press or drag sets the dragged value from x (clamped to the
// range), the release sets the final value. The look is left out.
class TrackSlider : public Slider, public WidgetListener, public WidgetHitTestListener
{
public:
    TrackSlider(const math::Rect& track) : WidgetHitTestListener(this), mTrack(track)
    {
        auto* layer = new layer::RectHitLayer(track);
        SetLayer(layer, true, false);
        SetListener(static_cast<WidgetListener*>(this), false);
        layer->SetHitTestListener(static_cast<WidgetHitTestListener*>(this));
    }

    float ValueAt(float x) const
    {
        const float t = std::clamp((x - mTrack.x) / mTrack.width, 0.0f, 1.0f);
        return GetMinimum() + t * (GetMaximum() - GetMinimum());
    }
    VNResultEnum OnWidgetMouseDown(const math::Point3& p, int32_t) override
    {
        return SetDragValue(ValueAt(p.x), true);
    }
    VNResultEnum OnCapturedMouseDrag(CaptureInfo* c, const math::Point3& p) override
    {
        if (const VNResultEnum r = WidgetListener::OnCapturedMouseDrag(c, p); r != VN_OK)
            return r;
        return SetDragValue(ValueAt(p.x), true);
    }
    VNResultEnum OnCapturedMouseUp(CaptureInfo* c, const math::Point3& p, int32_t b) override
    {
        if (const VNResultEnum r = WidgetListener::OnCapturedMouseUp(c, p, b); r != VN_OK)
            return r;
        return SetValue(ValueAt(p.x), true);
    }
    VNResultEnum UpdateView() override
    {
        ++views;
        return VN_OK;
    }

    math::Rect mTrack;
    int views = 0;
};

// Writes what a slider tells it.
class SliderLog : public SliderListener
{
public:
    VNResultEnum OnSliderValueChanged(Slider*, float v) override
    {
        changed.push_back(v);
        return answer;
    }
    VNResultEnum OnSliderValueChanging(Slider*, float v) override
    {
        changing.push_back(v);
        return VN_OK;
    }
    std::vector<float> changed, changing;
    VNResultEnum answer = VN_OK;
};

} // namespace

TEST(Slider, DragThroughTheFrameManager)
{
    Log log;
    FrameManager manager;
    test::LogFrame frame("frame", &log);
    ASSERT_EQ(manager.AddFrame(&frame, false, true, false), VN_OK);
    auto* slider = new TrackSlider(math::Rect(100, 50, 200, 10));
    SliderLog listener;
    slider->SetSliderListener(&listener);
    frame.AddWidget(slider);

    ASSERT_EQ(manager.OnMouseDown(math::Point2(150, 55), 1), VN_OK);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
    // Off the track (below it and past its end) the capture keeps the drag going.
    ASSERT_EQ(manager.OnMouseDrag(math::Point2(250, 200)), VN_OK);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.75f);
    ASSERT_EQ(manager.OnMouseDrag(math::Point2(900, 200)), VN_OK);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    ASSERT_EQ(manager.OnMouseUp(math::Point2(200, 300), 1), VN_OK);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
    EXPECT_EQ(listener.changing, (std::vector<float>{0.25f, 0.75f, 1.0f}));
    EXPECT_EQ(listener.changed, std::vector<float>{0.5f});
    EXPECT_EQ(manager.GetCapture().widget, nullptr);
    EXPECT_EQ(slider->views, 4);
    frame.Clear(true, true);
}

TEST(Slider, RefusedValueIsNotStored)
{
    TrackSlider slider(math::Rect(0, 0, 10, 10));
    SliderLog listener;
    slider.SetSliderListener(&listener);
    ASSERT_EQ(slider.SetValue(0.3f, true), VN_OK);
    listener.answer = VN_FAIL;
    EXPECT_EQ(slider.SetValue(0.6f, true), VN_FAIL);
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.3f);
    EXPECT_EQ(slider.views, 1);
    ASSERT_EQ(slider.SetValueSilently(0.9f, false), VN_OK);
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.9f);
    EXPECT_EQ(listener.changed.size(), 2u);
}

TEST(Slider, OwnListenerForwardsToTheDelegates)
{
    Slider slider;
    struct Recorder : Slider::ValueDelegate
    {
        const void* GetObject() const override { return this; }
        const void* GetMethod() const override { return nullptr; }
        VNResultEnum Invoke(Slider*, float v) override
        {
            last = v;
            return VN_OK;
        }
        float last = -1.0f;
    };
    auto* changed = new Recorder;
    auto* changing = new Recorder;
    CountedHandle<Slider::ValueDelegate> a, b;
    a.Reset(changed);
    b.Reset(changing);
    slider.SetChangedDelegate(a);
    slider.SetChangingDelegate(b);
    ASSERT_EQ(slider.SetValue(0.4f, false), VN_OK);
    ASSERT_EQ(slider.SetDragValue(0.7f, false), VN_OK);
    EXPECT_FLOAT_EQ(changed->last, 0.4f);
    EXPECT_FLOAT_EQ(changing->last, 0.7f);
}
