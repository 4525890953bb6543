#include "Core/Input/InputListener.h"

namespace input
{

VNResultEnum InputListener::OnMouseDown(const math::Point2&, int)
{
    return VN_OK;
}
VNResultEnum InputListener::OnMouseUp(const math::Point2&, int)
{
    return VN_OK;
}
VNResultEnum InputListener::OnMouseDoubleClick(const math::Point2&, int)
{
    return VN_OK;
}
VNResultEnum InputListener::OnMouseMove(const math::Point2&)
{
    return VN_OK;
}
VNResultEnum InputListener::OnMouseDrag(const math::Point2&)
{
    return VN_OK;
}
VNResultEnum InputListener::OnMouseWheel(const math::Point2&, int)
{
    return VN_OK;
}
VNResultEnum InputListener::OnMouseLeave(const math::Point2&)
{
    return VN_OK;
}
VNResultEnum InputListener::OnKeyDown(int)
{
    return VN_OK;
}
VNResultEnum InputListener::OnKeyUp(int)
{
    return VN_OK;
}
VNResultEnum InputListener::OnChar(wchar_t)
{
    return VN_OK;
}
VNResultEnum InputListener::OnTouchBegin(const TouchList&)
{
    return VN_OK;
}
VNResultEnum InputListener::OnTouchMove(const TouchList&)
{
    return VN_OK;
}
VNResultEnum InputListener::OnTouchEnd(const TouchList&)
{
    return VN_OK;
}
VNResultEnum InputListener::OnTouchCancel(const TouchList&)
{
    return VN_OK;
}

} // namespace input
