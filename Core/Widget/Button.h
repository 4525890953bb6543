#pragma once

#include "Core/Base/Delegate.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Widget/Widget.h"

#include <cstdint>

namespace widget
{

class Button;
class ButtonMediator;

// Told when a button is clicked.
class ButtonListener
{
public:
    virtual ~ButtonListener() = default;
    virtual VNResultEnum OnButtonClick(Button*) { return VN_OK; }
};

// The look of a button.
enum ButtonState : int32_t
{
    ButtonNormal = 0,
    ButtonHover = 1,
    ButtonPressed = 2,
};

// A widget that is clicked: a press captures the mouse, the release over the button clicks it.
class Button : public Widget
{
public:
    using ClickDelegate = base::Delegate1<Button*, VNResultEnum>;

    Button();
    // Deletes an owned mediator and releases the click delegate.
    ~Button() override;

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();
    // The click delegate, then the listener; the first non-zero result stops it.
    virtual VNResultEnum Click();

    void SetMediator(ButtonMediator* mediator, bool owns);
    ButtonMediator* GetMediator() const { return mMediator; }
    void SetButtonListener(ButtonListener* listener) { mButtonListener = listener; }
    ButtonListener* GetButtonListener() const { return mButtonListener; }
    void SetClickDelegate(const CountedHandle<ClickDelegate>& d) { mClick = d; }
    int32_t GetVisualState() const { return mVisualState; }
    void SetVisualStateValue(int32_t state) { mVisualState = state; }

private:
    ButtonMediator* mMediator = nullptr;
    bool mOwnsMediator = false;
    ButtonListener* mButtonListener = nullptr;
    CountedHandle<ClickDelegate> mClick;
    int32_t mVisualState = ButtonNormal;
};

// Holds the widget a mediator drives.
class WidgetMediator
{
public:
    virtual ~WidgetMediator() = default;
    Widget* GetMediatedWidget() const { return mMediatedWidget; }

protected:
    Widget* mMediatedWidget = nullptr;
};

// Listens to a button's widget and mouse events and turns them into its visual state (normal, hover,
// pressed); subclasses change the look in SetVisualState.
class ButtonMediator : public WidgetListener, public WidgetHitTestListener, public WidgetMediator
{
public:
    ButtonMediator() = default;

    // Becomes the button's listener (with draw hooks) and mediator.
    virtual VNResultEnum Attach(Button* button, bool owned);
    // Called on every change of the state before it is stored; a non-zero result keeps the old state.
    virtual VNResultEnum SetVisualState(int32_t state);

    VNResultEnum OnMouseOver(bool over) override;
    VNResultEnum OnParentDisabled(bool disabled) override;
    VNResultEnum OnCapturedMouseUp(CaptureInfo* capture, const math::Point3& point, int32_t button) override;
    VNResultEnum OnWidgetMouseDown(const math::Point3& point, int32_t button) override;
    VNResultEnum GetCaptureInfo(const math::Point3& point, CaptureInfo& out) override;

    Button* GetButton() const { return mButton; }

protected:
    VNResultEnum ChangeState(int32_t state);

    Button* mButton = nullptr;
};

} // namespace widget
