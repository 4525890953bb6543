#include "Core/Widget/WidgetListener.h"

#include "Core/Layer/Layer.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/Widget.h"

namespace widget
{

VNResultEnum WidgetListener::Update(float)
{
    return VN_OK;
}
VNResultEnum WidgetListener::PreDraw(render::Graphics*, layer::Layer*)
{
    return VN_OK;
}
VNResultEnum WidgetListener::PostDraw(render::Graphics*, layer::Layer*)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnAttachedToFrame()
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnDetachedFromFrame()
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnAddedToFrameManager()
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnRemovedFromFrameManager()
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnMouseOver(bool)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnMouseInside(bool)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnParentDisabled(bool)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnParentDisabledFlagged(bool)
{
    return VN_OK;
}
VNResultEnum WidgetListener::Reserved(void*)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnKeyDown(int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnKeyUp(int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnChar(wchar_t)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnCapturedMouseDown(CaptureInfo*, const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnCapturedMouseDoubleClick(CaptureInfo*, const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetListener::OnCapturedMouseWheel(CaptureInfo*, const math::Point3&, uint16_t)
{
    return VN_OK;
}

VNResultEnum WidgetListener::OnCapturedMouseUp(CaptureInfo* capture, const math::Point3&, int32_t)
{
    if (!capture)
        return VN_OK;
    FrameManager* manager = capture->widget ? capture->widget->GetFrameManager() : nullptr;
    if (!manager)
    {
        if (capture->widget)
            capture->widget->SetCaptured(false);
        capture->widget = nullptr;
        capture->layer = nullptr;
        return VN_OK;
    }
    manager->ReleaseCapture();
    return manager->RefreshHover();
}

VNResultEnum WidgetListener::OnCapturedMouseMove(CaptureInfo* capture, const math::Point3& point)
{
    Widget* w = capture ? capture->widget : nullptr;
    if (!w || !w->TracksWhileCaptured() || !w->GetLayer())
        return VN_OK;
    bool consumed = false;
    return w->GetLayer()->HitTestMoveFrom(math::Point3(point.x, point.y, 0.0f), layer::OnMouseMove{},
                                          consumed);
}

VNResultEnum WidgetListener::OnCapturedMouseDrag(CaptureInfo* capture, const math::Point3& point)
{
    Widget* w = capture ? capture->widget : nullptr;
    if (!w || !w->TracksWhileCaptured() || !w->GetLayer())
        return VN_OK;
    Frame* frame = w->GetFrame();
    if (frame && frame->GetLayer())
        frame->GetLayer()->UpdateBounds();
    bool consumed = false;
    if (const VNResultEnum r = w->GetLayer()->HitTestDragFrom(math::Point3(point.x, point.y, 0.0f),
                                                              layer::OnMouseDrag{}, consumed);
        r != VN_OK)
        return r;
    if (!consumed && frame)
        return frame->SetHoverWidget(nullptr);
    return VN_OK;
}

VNResultEnum WidgetHitTestListener::OnWidgetMouseDown(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetHitTestListener::OnWidgetMouseUp(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetHitTestListener::OnWidgetMouseDoubleClick(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum WidgetHitTestListener::OnWidgetMouseMove(const math::Point3&)
{
    return VN_OK;
}
VNResultEnum WidgetHitTestListener::OnWidgetMouseDrag(const math::Point3&)
{
    return VN_OK;
}
VNResultEnum WidgetHitTestListener::OnWidgetMouseWheel(const math::Point3&, uint16_t)
{
    return VN_OK;
}

VNResultEnum WidgetHitTestListener::GetCaptureInfo(const math::Point3& point, CaptureInfo& out)
{
    out.Set(mWidget, mLayer, point, true);
    return VN_OK;
}

namespace
{

VNResultEnum ActivateFrameOf(Widget* w)
{
    Frame* frame = w->GetFrame();
    FrameManager* manager = frame ? frame->GetManager() : nullptr;
    return manager ? manager->ActivateFrame(frame) : VN_OK;
}

} // namespace

VNResultEnum WidgetHitTestListener::OnMouseDown(const math::Point3& point, int32_t button)
{
    if (!mWidget)
        return VN_OK;
    if (const VNResultEnum r = ActivateFrameOf(mWidget); r != VN_OK)
        return r;
    if (mWidget->IsDisabled())
        return VN_OK;
    if (mWidget->CapturesOnPress())
    {
        if (FrameManager* manager = mWidget->GetFrameManager())
        {
            if (const VNResultEnum r = GetCaptureInfo(point, manager->GetCapture()); r != VN_OK)
                return r;
            mWidget->SetCaptured(true);
        }
    }
    return OnWidgetMouseDown(point, button);
}

VNResultEnum WidgetHitTestListener::OnMouseUp(const math::Point3& point, int32_t button)
{
    if (!mWidget || mWidget->IsDisabled())
        return VN_OK;
    return OnWidgetMouseUp(point, button);
}

VNResultEnum WidgetHitTestListener::OnMouseDoubleClick(const math::Point3& point, int32_t button)
{
    if (!mWidget)
        return VN_OK;
    if (const VNResultEnum r = ActivateFrameOf(mWidget); r != VN_OK)
        return r;
    if (mWidget->IsDisabled())
        return VN_OK;
    return OnWidgetMouseDoubleClick(point, button);
}

VNResultEnum WidgetHitTestListener::OnMouseMove(const math::Point3& point)
{
    if (!mWidget)
        return VN_OK;
    if (Frame* frame = mWidget->GetFrame())
    {
        if (const VNResultEnum r = frame->SetHoverWidget(mWidget); r != VN_OK)
            return r;
    }
    if (mWidget->IsDisabled())
        return VN_OK;
    return OnWidgetMouseMove(point);
}

VNResultEnum WidgetHitTestListener::OnMouseDrag(const math::Point3& point)
{
    if (!mWidget)
        return VN_OK;
    if (Frame* frame = mWidget->GetFrame())
    {
        if (const VNResultEnum r = frame->SetHoverWidget(mWidget); r != VN_OK)
            return r;
    }
    if (mWidget->IsDisabled())
        return VN_OK;
    return OnWidgetMouseDrag(point);
}

VNResultEnum WidgetHitTestListener::OnMouseWheel(const math::Point3& point, uint16_t wheel)
{
    if (!mWidget || mWidget->IsDisabled())
        return VN_OK;
    return OnWidgetMouseWheel(point, wheel);
}

} // namespace widget
