#pragma once

#include "Core/Base/Result.h"
#include "Core/Base/MathTypes.h"

#include <vector>

namespace input
{

// One finger of a touch event, in logical coordinates.
struct Touch
{
    int id = 0;
    math::Point2 point;
};
using TouchList = std::vector<Touch>;

// Receiver of input in logical coordinates. Buttons: 1 left, 3 right. Every handler defaults to VN_OK.
class InputListener
{
public:
    virtual ~InputListener() = default;

    virtual VNResultEnum OnMouseDown(const math::Point2& point, int button);
    virtual VNResultEnum OnMouseUp(const math::Point2& point, int button);
    virtual VNResultEnum OnMouseDoubleClick(const math::Point2& point, int button);
    virtual VNResultEnum OnMouseMove(const math::Point2& point);
    // A move while a button is held.
    virtual VNResultEnum OnMouseDrag(const math::Point2& point);
    // +120 per notch away from the user, -120 per notch towards.
    virtual VNResultEnum OnMouseWheel(const math::Point2& point, int wheel);
    virtual VNResultEnum OnMouseLeave(const math::Point2& point);
    // Engine key codes (KeyCodes.h).
    virtual VNResultEnum OnKeyDown(int key);
    virtual VNResultEnum OnKeyUp(int key);
    virtual VNResultEnum OnChar(wchar_t character);
    // Never produced by the desktop input; kept so touch platforms share the listener.
    virtual VNResultEnum OnTouchBegin(const TouchList& touches);
    virtual VNResultEnum OnTouchMove(const TouchList& touches);
    virtual VNResultEnum OnTouchEnd(const TouchList& touches);
    virtual VNResultEnum OnTouchCancel(const TouchList& touches);
};

// Maps window pixels to logical points.
class CoordConverter
{
public:
    virtual ~CoordConverter() = default;

    virtual void ScreenToLogical(math::Point2& out, const math::Point2& window) = 0;
    // Orientation 1 and 3 turn the point a quarter; any other copies it.
    virtual void ApplyOrientation(math::Point2& out, const math::Point2& in, int orientation) = 0;
};

} // namespace input
