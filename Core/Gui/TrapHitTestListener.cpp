#include "Core/Gui/TrapHitTestListener.h"

#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"

namespace widget
{

VNResultEnum TrapHitTestListener::OnMouseDown(const math::Point3&, int32_t)
{
    mState = layer::HitConsumed;
    Frame* frame = mOwner ? mOwner->GetFrame() : nullptr;
    FrameManager* manager = frame ? frame->GetManager() : nullptr;
    return manager ? manager->ActivateFrame(frame) : VN_OK;
}

VNResultEnum TrapHitTestListener::OnMouseDoubleClick(const math::Point3& point, int32_t button)
{
    return OnMouseDown(point, button);
}

VNResultEnum TrapHitTestListener::OnMouseUp(const math::Point3&, int32_t)
{
    mState = layer::HitConsumed;
    return VN_OK;
}

VNResultEnum TrapHitTestListener::OnMouseMove(const math::Point3&)
{
    mState = layer::HitConsumed;
    Frame* frame = mOwner ? mOwner->GetFrame() : nullptr;
    return frame ? frame->SetHoverWidget(nullptr) : VN_OK;
}

VNResultEnum TrapHitTestListener::OnMouseDrag(const math::Point3& point)
{
    return OnMouseMove(point);
}

VNResultEnum TrapHitTestListener::OnMouseWheel(const math::Point3&, uint16_t)
{
    mState = layer::HitConsumed;
    return VN_OK;
}

} // namespace widget
