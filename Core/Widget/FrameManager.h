#pragma once

#include "Core/Base/DeferredDelete.h"
#include "Core/Base/MathTypes.h"
#include "Core/Base/Task.h"
#include "Core/Widget/WidgetListener.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace render
{
class Graphics;
}

namespace widget
{

class Frame;

enum FrameTier : int32_t
{
    FrameTierNormal = 0,
    FrameTierTop = 1,
    FrameTierModal = 2,
};

struct FrameEntry
{
    Frame* frame = nullptr;
    FrameTier tier = FrameTierNormal;
};

// Every frame on screen in three tiers: updated, drawn and given the mouse from the top. Keeps the active
// frame, the hover frame and the mouse capture; additions and removals asked for during a dispatch wait for
// the next update.
class FrameManager : public base::Task, public base::DeferredDeleteManager
{
public:
    FrameManager();
    // Flushes deferred deletions, deletes child tasks and an owned cursor frame; listed frames are only
    // forgotten.
    ~FrameManager() override;

    VNResultEnum AddFrame(Frame* frame, bool top, bool activate, bool deferred);
    // On top of everything and always activated; frames below take no input.
    VNResultEnum AddModal(Frame* frame, bool deferred);
    VNResultEnum RemoveFrame(Frame* frame, bool deleteFrame, bool deferred);
    VNResultEnum Clear(bool deleteFrames, bool clearWidgets);
    VNResultEnum ActivateFrame(Frame* frame);

    // Every frame's layer in list order, then the cursor frame's.
    VNResultEnum Draw(render::Graphics* graphics);

    VNResultEnum OnMouseDown(const math::Point2& position, int32_t button);
    VNResultEnum OnMouseUp(const math::Point2& position, int32_t button);
    VNResultEnum OnMouseDoubleClick(const math::Point2& position, int32_t button);
    VNResultEnum OnMouseMove(const math::Point2& position);
    VNResultEnum OnMouseDrag(const math::Point2& position);
    VNResultEnum OnMouseWheel(const math::Point2& position, uint16_t wheel);
    // The move handling again at the last cursor position.
    VNResultEnum RefreshHover();
    // Keys go to the focused widget of the active frame; while a modal frame is up or waiting, only to it.
    VNResultEnum OnKeyDown(int32_t key);
    VNResultEnum OnKeyUp(int32_t key);
    VNResultEnum OnChar(wchar_t character);

    CaptureInfo& GetCapture() { return mCapture; }
    // Clears the capture and the captured widget's flag.
    void ReleaseCapture();
    void SetCursorFrame(Frame* frame, bool owns);

    Frame* GetActiveFrame() const { return mActive; }
    Frame* GetHoverFrame() const { return mHoverFrame; }
    void SetHoverFrame(Frame* frame) { mHoverFrame = frame; }
    const std::vector<FrameEntry>& GetFrames() const { return mFrames; }
    bool IsListed(const Frame* frame) const;
    // A modal frame is listed or waiting to be added: what lies below it must take no input, keys included.
    bool HasModal() const;
    math::Point2 GetCursorPosition() const { return math::Point2(mCursorX, mCursorY); }
    // Drops every reference to a frame that is being destroyed.
    void ForgetFrame(Frame* frame);

protected:
    // Frames and widgets, then the queued additions and removals, then deferred deletions.
    VNResultEnum OnUpdate(float dt) override;

private:
    WidgetListener* KeyListener() const;
    struct PendingAdd
    {
        Frame* frame;
        FrameTier tier;
        bool activate;
    };
    struct PendingRemove
    {
        Frame* frame;
        bool deleteFrame;
    };

    VNResultEnum Insert(Frame* frame, FrameTier tier);
    VNResultEnum DeactivateActive();
    void ToCaptureSpace(const math::Point2& position, math::Point3& out) const;
    // Cursor, capture and frame walk shared by the mouse handlers.
    template <class Event, class Captured, class Test>
    VNResultEnum Dispatch(const math::Point2& position, const Event& event, Captured captured, Test test,
                          bool& handled);

    Frame* mActive = nullptr;
    Frame* mHoverFrame = nullptr;
    std::vector<FrameEntry> mFrames;
    std::deque<PendingAdd> mPendingAdds[2];
    int mAddIndex = 0;
    std::deque<PendingRemove> mPendingRemoves[2];
    int mRemoveIndex = 0;
    CaptureInfo mCapture;
    float mCursorX = 0.0f;
    float mCursorY = 0.0f;
    Frame* mCursorFrame = nullptr;
    bool mOwnsCursorFrame = false;
};

} // namespace widget
