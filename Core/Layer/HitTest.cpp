#include "Core/Layer/HitTest.h"

namespace layer
{

VNResultEnum HitTestListener::OnMouseDown(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnMouseUp(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnMouseDoubleClick(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnMouseMove(const math::Point3&)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnMouseDrag(const math::Point3&)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnMouseWheel(const math::Point3&, uint16_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnChildMouseDown(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnChildMouseUp(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnChildMouseDoubleClick(const math::Point3&, int32_t)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnChildMouseMove(const math::Point3&)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnChildMouseDrag(const math::Point3&)
{
    return VN_OK;
}
VNResultEnum HitTestListener::OnChildMouseWheel(const math::Point3&, uint16_t)
{
    return VN_OK;
}

void HitTestListener::TakeContext(const HitTestParam& param)
{
    mTargetLayer = param.targetLayer;
    mLayer = param.layer;
    mPoint = param.point;
    mState = param.state;
    mHandledBelow = param.handledBelow;
}

namespace
{

// Calls the listener operation of one kind and, when it succeeded, takes its answer back.
template <class Call>
VNResultEnum Deliver(HitTestParam& param, Call call)
{
    HitTestListener* listener = param.listener;
    if (!listener)
        return VN_OK;
    listener->TakeContext(param);
    const VNResultEnum r = call(*listener, param.point);
    if (r == VN_OK)
        param.state = listener->mState;
    return r;
}

VNResultEnum DeliverDown(HitTestParam& param, const OnMouseDown& e)
{
    return Deliver(param, [&](HitTestListener& l, const math::Point3& p)
                   { return param.bubbled ? l.OnChildMouseDown(p, e.button) : l.OnMouseDown(p, e.button); });
}

VNResultEnum DeliverUp(HitTestParam& param, const OnMouseUp& e)
{
    return Deliver(param, [&](HitTestListener& l, const math::Point3& p)
                   { return param.bubbled ? l.OnChildMouseUp(p, e.button) : l.OnMouseUp(p, e.button); });
}

VNResultEnum DeliverMove(HitTestParam& param, const OnMouseMove&)
{
    return Deliver(param, [&](HitTestListener& l, const math::Point3& p)
                   { return param.bubbled ? l.OnChildMouseMove(p) : l.OnMouseMove(p); });
}

VNResultEnum DeliverDrag(HitTestParam& param, const OnMouseDrag&)
{
    return Deliver(param, [&](HitTestListener& l, const math::Point3& p)
                   { return param.bubbled ? l.OnChildMouseDrag(p) : l.OnMouseDrag(p); });
}

VNResultEnum DeliverWheel(HitTestParam& param, const OnMouseWheel& e)
{
    return Deliver(param, [&](HitTestListener& l, const math::Point3& p)
                   { return param.bubbled ? l.OnChildMouseWheel(p, e.wheel) : l.OnMouseWheel(p, e.wheel); });
}

template <class Event>
const CountedHandle<MouseDelegate<Event>>& MakeShared(VNResultEnum (*function)(HitTestParam&, const Event&))
{
    // One per kind (each instantiation has its own static), alive until exit.
    static const CountedHandle<MouseDelegate<Event>> handle = [function]
    {
        CountedHandle<MouseDelegate<Event>> h;
        h.Reset(new base::StaticDelegate2<HitTestParam&, const Event&, VNResultEnum>(function));
        return h;
    }();
    return handle;
}

} // namespace

const CountedHandle<MouseDelegate<OnMouseDown>>& GetMouseDownDelegate()
{
    return MakeShared(&DeliverDown);
}
const CountedHandle<MouseDelegate<OnMouseUp>>& GetMouseUpDelegate()
{
    return MakeShared(&DeliverUp);
}
const CountedHandle<MouseDelegate<OnMouseMove>>& GetMouseMoveDelegate()
{
    return MakeShared(&DeliverMove);
}
const CountedHandle<MouseDelegate<OnMouseDrag>>& GetMouseDragDelegate()
{
    return MakeShared(&DeliverDrag);
}
const CountedHandle<MouseDelegate<OnMouseWheel>>& GetMouseWheelDelegate()
{
    return MakeShared(&DeliverWheel);
}

} // namespace layer
