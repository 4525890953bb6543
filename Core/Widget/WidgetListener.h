#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"
#include "Core/Layer/HitTest.h"

#include <cstdint>

namespace render
{
class Graphics;
}
namespace layer
{
class Layer;
}

namespace widget
{

class Widget;

// The frame manager's record of the widget holding the mouse.
struct CaptureInfo
{
    Widget* widget = nullptr;
    layer::Layer* layer = nullptr;
    // Where the press hit.
    math::Point3 point;
    // Captured points are given in the space of the layer's parent rather than of the layer itself.
    bool parentSpace = true;

    void Set(Widget* w, layer::Layer* l, const math::Point3& p, bool inParentSpace)
    {
        widget = w;
        layer = l;
        point = p;
        parentSpace = inParentSpace;
    }
};

// Receives a widget's notifications. Every operation returns 0 by default; a non-zero answer stops the tree
// walk that called it.
class WidgetListener
{
public:
    virtual ~WidgetListener() = default;

    virtual VNResultEnum Update(float dt);
    virtual VNResultEnum PreDraw(render::Graphics* graphics, layer::Layer* layer);
    virtual VNResultEnum PostDraw(render::Graphics* graphics, layer::Layer* layer);
    virtual VNResultEnum OnAttachedToFrame();
    virtual VNResultEnum OnDetachedFromFrame();
    virtual VNResultEnum OnAddedToFrameManager();
    virtual VNResultEnum OnRemovedFromFrameManager();
    // The widget became / stopped being its frame's hovered widget.
    virtual VNResultEnum OnMouseOver(bool over);
    // The hover entered / left the subtree below the widget.
    virtual VNResultEnum OnMouseInside(bool inside);
    virtual VNResultEnum OnParentDisabled(bool disabled);
    virtual VNResultEnum OnParentDisabledFlagged(bool disabled);
    // Reserved: nothing calls it.
    virtual VNResultEnum Reserved(void*);
    virtual VNResultEnum OnKeyDown(int32_t key);
    virtual VNResultEnum OnKeyUp(int32_t key);
    virtual VNResultEnum OnChar(wchar_t character);
    virtual VNResultEnum OnCapturedMouseDown(CaptureInfo* capture, const math::Point3& point, int32_t button);
    // Ends the capture and refreshes the hover at the cursor.
    virtual VNResultEnum OnCapturedMouseUp(CaptureInfo* capture, const math::Point3& point, int32_t button);
    virtual VNResultEnum OnCapturedMouseDoubleClick(CaptureInfo* capture, const math::Point3& point,
                                                    int32_t button);
    // Hit-tests the captured widget's own layer when it tracks while captured.
    virtual VNResultEnum OnCapturedMouseMove(CaptureInfo* capture, const math::Point3& point);
    // Same, and clears the frame's hover when nothing of the widget is under the point.
    virtual VNResultEnum OnCapturedMouseDrag(CaptureInfo* capture, const math::Point3& point);
    virtual VNResultEnum OnCapturedMouseWheel(CaptureInfo* capture, const math::Point3& point,
                                              uint16_t wheel);
};

// The hit-test listener of a widget's layers: activates the frame, captures, hovers, then the widget
// operations.
class WidgetHitTestListener : public layer::HitTestListener
{
public:
    explicit WidgetHitTestListener(Widget* widget = nullptr) : mWidget(widget) {}

    VNResultEnum OnMouseDown(const math::Point3& point, int32_t button) override;
    VNResultEnum OnMouseUp(const math::Point3& point, int32_t button) override;
    VNResultEnum OnMouseDoubleClick(const math::Point3& point, int32_t button) override;
    VNResultEnum OnMouseMove(const math::Point3& point) override;
    VNResultEnum OnMouseDrag(const math::Point3& point) override;
    VNResultEnum OnMouseWheel(const math::Point3& point, uint16_t wheel) override;

    virtual VNResultEnum OnWidgetMouseDown(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnWidgetMouseUp(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnWidgetMouseDoubleClick(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnWidgetMouseMove(const math::Point3& point);
    virtual VNResultEnum OnWidgetMouseDrag(const math::Point3& point);
    virtual VNResultEnum OnWidgetMouseWheel(const math::Point3& point, uint16_t wheel);
    // Default: {the widget, the current layer, the point, parent space}.
    virtual VNResultEnum GetCaptureInfo(const math::Point3& point, CaptureInfo& out);

    void SetWidget(Widget* widget) { mWidget = widget; }
    Widget* GetWidget() const { return mWidget; }

protected:
    Widget* mWidget = nullptr;
};

} // namespace widget
