#pragma once

#include "Core/Base/Delegate.h"
#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"
#include "Core/Resource/CountedHandle.h"

#include <cstdint>

namespace layer
{

class Layer;
class HitTestListener;

// Mouse buttons of the press and release events.
inline constexpr int32_t kMouseLeft = 1;
inline constexpr int32_t kMouseRight = 3;

// What a listener answers through its state.
enum HitResult : int32_t
{
    HitConsumed = 0,
    HitPassThrough = 1,
    HitClaimed = 2,
};

// Event records; the type also selects the listener operation.
struct OnMouseDown
{
    int32_t button = kMouseLeft;
};
struct OnMouseUp
{
    int32_t button = kMouseLeft;
};
struct OnMouseMove
{
};
struct OnMouseDrag
{
};
struct OnMouseWheel
{
    uint16_t wheel = 0;
};

// One delivery of an event to a listener.
struct HitTestParam
{
    Layer* targetLayer = nullptr;
    math::Point3 targetPoint;
    Layer* layer = nullptr;
    math::Point3 point;
    HitTestListener* listener = nullptr;
    int32_t state = HitPassThrough;
    bool bubbled = false;
    bool handledBelow = false;
};

// Receives the mouse events of a layer and of its listener-less descendants. The event's context is copied
// into the fields before each call; a handler that returns 0 leaves its answer in mState (0 consumed, 1 pass
// through, 2 claimed by this listener's layer).
class HitTestListener
{
public:
    virtual ~HitTestListener() = default;

    virtual VNResultEnum OnMouseDown(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnMouseUp(const math::Point3& point, int32_t button);
    // Never delivered by the walk: a double click is dispatched as a press.
    virtual VNResultEnum OnMouseDoubleClick(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnMouseMove(const math::Point3& point);
    virtual VNResultEnum OnMouseDrag(const math::Point3& point);
    virtual VNResultEnum OnMouseWheel(const math::Point3& point, uint16_t wheel);
    // The bubbled forms, for ancestors whose bubble mask asks for them.
    virtual VNResultEnum OnChildMouseDown(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnChildMouseUp(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnChildMouseDoubleClick(const math::Point3& point, int32_t button);
    virtual VNResultEnum OnChildMouseMove(const math::Point3& point);
    virtual VNResultEnum OnChildMouseDrag(const math::Point3& point);
    virtual VNResultEnum OnChildMouseWheel(const math::Point3& point, uint16_t wheel);

    // Copies the delivery's context into the fields.
    void TakeContext(const HitTestParam& param);

    Layer* mTargetLayer = nullptr;
    Layer* mLayer = nullptr;
    math::Point3 mPoint;
    int32_t mState = HitPassThrough;
    bool mHandledBelow = false;
    // Bits of the kinds delivered in bubbled form: 1 down, 2 up, 8 move, 16 drag, 32 wheel.
    uint32_t mBubbleMask = 0;
};

inline constexpr uint32_t kBubbleDown = 1;
inline constexpr uint32_t kBubbleUp = 2;
inline constexpr uint32_t kBubbleMove = 8;
inline constexpr uint32_t kBubbleDrag = 16;
inline constexpr uint32_t kBubbleWheel = 32;

// The shared delivery delegate of one event kind.
template <class Event>
using MouseDelegate = base::Delegate2<HitTestParam&, const Event&, VNResultEnum>;

// Made on first use, kept until exit.
const CountedHandle<MouseDelegate<OnMouseDown>>& GetMouseDownDelegate();
const CountedHandle<MouseDelegate<OnMouseUp>>& GetMouseUpDelegate();
const CountedHandle<MouseDelegate<OnMouseMove>>& GetMouseMoveDelegate();
const CountedHandle<MouseDelegate<OnMouseDrag>>& GetMouseDragDelegate();
const CountedHandle<MouseDelegate<OnMouseWheel>>& GetMouseWheelDelegate();

// One visited layer of a walk.
struct HitTestContext
{
    math::Point3* point = nullptr;
    Layer* layer = nullptr;
    HitTestListener* listener = nullptr;
    // The nearest enclosing context with a listener.
    HitTestContext* enclosing = nullptr;
};

// The dispatch record of one test.
template <class Event>
struct HitTestState
{
    const Event* event = nullptr;
    MouseDelegate<Event>* delegate = nullptr;
    int32_t result = HitPassThrough;
    math::Point3* hitPoint = nullptr;
    Layer* hitLayer = nullptr;
    Layer* claimer = nullptr;
};

} // namespace layer
