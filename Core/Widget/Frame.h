#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Widget/Widget.h"

namespace layer
{
class RectHitLayer;
}

namespace widget
{

class FrameManager;

// The root of a widget tree and what the frame manager lists; keeps the hovered and focused widget.
class Frame : public Widget
{
public:
    // Its own layer is an owned, empty hit rectangle.
    Frame();
    // Leaves its frame manager (list, queues, active, hover, capture) and its widgets without a pointer to
    // it.
    ~Frame() override;

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();
    virtual VNResultEnum OnActivate() { return VN_OK; }
    virtual VNResultEnum OnDeactivate() { return VN_OK; }

    // Copies the rectangle into the hit layer.
    void SetHitRect(const math::Rect& rect);
    // Moves the hover to w (or nothing), telling the widgets that lose and gain it.
    VNResultEnum SetHoverWidget(Widget* w);
    void SetFocusWidget(Widget* w) { mFocusWidget = w; }

    FrameManager* GetManager() const { return mManager; }
    layer::RectHitLayer* GetHitLayer() const { return mHitArea; }
    bool IsActive() const { return mActive; }
    void SetActive(bool active) { mActive = active; }
    Widget* GetHoverWidget() const { return mHoverWidget; }
    Widget* GetFocusWidget() const { return mFocusWidget; }

protected:
    friend class FrameManager;
    friend class Widget;

    FrameManager* mManager = nullptr;
    layer::RectHitLayer* mHitArea = nullptr;
    bool mActive = false;
    Widget* mHoverWidget = nullptr;
    Widget* mFocusWidget = nullptr;
};

// The full-screen frame of a screen: its own listener, and its hit-test part on its root layer so a press
// anywhere in its rectangle reaches it.
class BaseBoard : public Frame, public WidgetListener, public WidgetHitTestListener
{
public:
    BaseBoard();

    // Run when the board becomes the current screen.
    virtual VNResultEnum Init() { return VN_OK; }
};

} // namespace widget
