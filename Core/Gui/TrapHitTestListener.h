#pragma once

#include "Core/Layer/HitTest.h"

namespace widget
{

class Widget;

// The listener of decorative layers: swallows every mouse event so clicks stop there; a press activates the
// owner's frame and a move clears its hover.
class TrapHitTestListener : public layer::HitTestListener
{
public:
    explicit TrapHitTestListener(Widget* owner) : mOwner(owner) {}

    VNResultEnum OnMouseDown(const math::Point3& point, int32_t button) override;
    VNResultEnum OnMouseUp(const math::Point3& point, int32_t button) override;
    VNResultEnum OnMouseDoubleClick(const math::Point3& point, int32_t button) override;
    VNResultEnum OnMouseMove(const math::Point3& point) override;
    VNResultEnum OnMouseDrag(const math::Point3& point) override;
    VNResultEnum OnMouseWheel(const math::Point3& point, uint16_t wheel) override;
    // Reserved: nothing calls it.
    virtual VNResultEnum Reserved(void*, void*, void*) { return VN_OK; }

    Widget* GetOwner() const { return mOwner; }

private:
    Widget* mOwner;
};

} // namespace widget
