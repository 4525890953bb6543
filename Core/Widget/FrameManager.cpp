#include "Core/Widget/FrameManager.h"

#include "Core/Layer/Layer.h"
#include "Core/Widget/Frame.h"

#include <algorithm>
#include <deque>

namespace widget
{

namespace
{

// Applies queued requests of a double list: each request leaves its list before it is applied, so a failure
// part-way never replays the ones already applied; requests made while applying land in the other list and
// run in the next pass. Leftovers of a failed update (still in the list that no longer takes requests) go
// first.
template <class Request, class Apply>
VNResultEnum DrainRequests(std::deque<Request> (&lists)[2], int& index, Apply apply)
{
    for (;;)
    {
        int full = index ^ 1;
        if (lists[full].empty())
        {
            if (lists[index].empty())
                return VN_OK;
            full = index;
            index ^= 1;
        }
        while (!lists[full].empty())
        {
            const Request request = lists[full].front();
            lists[full].pop_front();
            if (const VNResultEnum r = apply(request); r != VN_OK)
                return r;
        }
    }
}

} // namespace

FrameManager::FrameManager() : base::Task(false, false, true, false) {}

FrameManager::~FrameManager()
{
    // Listed frames outlive the manager; they must not call back into it.
    for (const FrameEntry& entry : mFrames)
        entry.frame->mManager = nullptr;
    mFrames.clear();
    Flush();
    DeleteChildren();
    if (mCursorFrame)
    {
        mCursorFrame->mManager = nullptr;
        if (mOwnsCursorFrame)
            delete mCursorFrame;
        mCursorFrame = nullptr;
    }
}

bool FrameManager::IsListed(const Frame* frame) const
{
    return std::any_of(mFrames.begin(), mFrames.end(),
                       [frame](const FrameEntry& e) { return e.frame == frame; });
}

bool FrameManager::HasModal() const
{
    const auto modal = [](const auto& e) { return e.tier == FrameTierModal; };
    return std::any_of(mFrames.begin(), mFrames.end(), modal) ||
           std::any_of(std::begin(mPendingAdds), std::end(mPendingAdds),
                       [&modal](const auto& queue)
                       { return std::any_of(queue.begin(), queue.end(), modal); });
}

VNResultEnum FrameManager::Insert(Frame* frame, FrameTier tier)
{
    auto at = mFrames.end();
    if (tier == FrameTierTop)
        at = std::find_if(mFrames.begin(), mFrames.end(),
                          [](const FrameEntry& e) { return e.tier == FrameTierModal; });
    else if (tier == FrameTierNormal)
        at = std::find_if(mFrames.begin(), mFrames.end(),
                          [](const FrameEntry& e) { return e.tier != FrameTierNormal; });
    mFrames.insert(at, FrameEntry{frame, tier});
    frame->mManager = this;
    if (frame->mListener)
    {
        if (const VNResultEnum r = frame->mListener->OnAddedToFrameManager(); r != VN_OK)
            return r;
    }
    for (size_t i = 0; i < frame->mChildren.size(); ++i)
    {
        if (const VNResultEnum r = frame->mChildren[i]->NotifyFrameManager(this); r != VN_OK)
            return r;
    }
    return VN_OK;
}

VNResultEnum FrameManager::AddFrame(Frame* frame, bool top, bool activate, bool deferred)
{
    if (!frame)
        return VN_FAIL;
    const FrameTier tier = top ? FrameTierTop : FrameTierNormal;
    if (deferred)
    {
        mPendingAdds[mAddIndex].push_back(PendingAdd{frame, tier, activate});
        return VN_OK;
    }
    if (const VNResultEnum r = Insert(frame, tier); r != VN_OK)
        return r;
    return activate ? ActivateFrame(frame) : VN_OK;
}

VNResultEnum FrameManager::AddModal(Frame* frame, bool deferred)
{
    if (!frame)
        return VN_FAIL;
    if (deferred)
    {
        mPendingAdds[mAddIndex].push_back(PendingAdd{frame, FrameTierModal, true});
        return VN_OK;
    }
    if (const VNResultEnum r = Insert(frame, FrameTierModal); r != VN_OK)
        return r;
    return ActivateFrame(frame);
}

VNResultEnum FrameManager::ActivateFrame(Frame* frame)
{
    if (frame == mActive)
        return VN_OK;
    if (Frame* previous = mActive; previous && previous->mActive)
    {
        previous->mActive = false;
        if (const VNResultEnum r = previous->OnDeactivate(); r != VN_OK)
            return r;
    }
    mActive = frame;
    if (frame && !frame->mActive)
    {
        frame->mActive = true;
        return frame->OnActivate();
    }
    return VN_OK;
}

VNResultEnum FrameManager::DeactivateActive()
{
    Frame* frame = mActive;
    mActive = nullptr;
    if (frame && frame->mActive)
    {
        frame->mActive = false;
        return frame->OnDeactivate();
    }
    return VN_OK;
}

void FrameManager::ReleaseCapture()
{
    if (mCapture.widget)
        mCapture.widget->SetCaptured(false);
    mCapture.widget = nullptr;
    mCapture.layer = nullptr;
}

VNResultEnum FrameManager::RemoveFrame(Frame* frame, bool deleteFrame, bool deferred)
{
    if (deferred)
    {
        mPendingRemoves[mRemoveIndex].push_back(PendingRemove{frame, deleteFrame});
        return VN_OK;
    }
    if (!frame || !IsListed(frame))
    {
        const VNResultEnum r = RefreshHover();
        return r != VN_OK ? r : VN_FAIL;
    }
    if (mHoverFrame == frame)
        mHoverFrame = nullptr;
    if (mActive == frame)
        mActive = nullptr;
    // A capture held inside the frame would keep sending the mouse to a widget that is no longer on screen.
    if (mCapture.widget && frame->Contains(mCapture.widget))
        ReleaseCapture();
    if (frame->mListener)
    {
        if (const VNResultEnum r = frame->mListener->OnRemovedFromFrameManager(); r != VN_OK)
            return r;
    }
    for (size_t i = 0; i < frame->mChildren.size(); ++i)
    {
        if (const VNResultEnum r = frame->mChildren[i]->NotifyFrameManager(nullptr); r != VN_OK)
            return r;
    }
    frame->mManager = nullptr;
    mFrames.erase(std::remove_if(mFrames.begin(), mFrames.end(),
                                 [frame](const FrameEntry& e) { return e.frame == frame; }),
                  mFrames.end());
    if (deleteFrame)
        delete frame;
    return VN_OK;
}

VNResultEnum FrameManager::Clear(bool deleteFrames, bool clearWidgets)
{
    if (deleteFrames || clearWidgets)
    {
        const std::vector<FrameEntry> frames = mFrames;
        for (const FrameEntry& entry : frames)
        {
            Frame* frame = entry.frame;
            if (!IsListed(frame))
                continue;
            if (frame->mListener)
            {
                if (const VNResultEnum r = frame->mListener->OnRemovedFromFrameManager(); r != VN_OK)
                    return r;
            }
            for (size_t i = 0; i < frame->mChildren.size(); ++i)
            {
                if (const VNResultEnum r = frame->mChildren[i]->NotifyFrameManager(nullptr); r != VN_OK)
                    return r;
            }
            frame->mManager = nullptr;
            if (mCapture.widget && frame->Contains(mCapture.widget))
                ReleaseCapture();
            if (mActive == frame)
                mActive = nullptr;
            if (mHoverFrame == frame)
                mHoverFrame = nullptr;
            if (clearWidgets)
            {
                if (const VNResultEnum r = frame->Clear(deleteFrames, clearWidgets); r != VN_OK)
                    return r;
            }
            if (deleteFrames)
            {
                mFrames.erase(std::remove_if(mFrames.begin(), mFrames.end(),
                                             [frame](const FrameEntry& e) { return e.frame == frame; }),
                              mFrames.end());
                delete frame;
            }
        }
    }
    for (const FrameEntry& entry : mFrames)
        entry.frame->mManager = nullptr;
    mFrames.clear();
    mActive = nullptr;
    mHoverFrame = nullptr;
    return VN_OK;
}

void FrameManager::ForgetFrame(Frame* frame)
{
    mFrames.erase(std::remove_if(mFrames.begin(), mFrames.end(),
                                 [frame](const FrameEntry& e) { return e.frame == frame; }),
                  mFrames.end());
    for (auto& list : mPendingAdds)
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [frame](const PendingAdd& a) { return a.frame == frame; }),
                   list.end());
    for (auto& list : mPendingRemoves)
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [frame](const PendingRemove& a) { return a.frame == frame; }),
                   list.end());
    if (mActive == frame)
        mActive = nullptr;
    if (mHoverFrame == frame)
        mHoverFrame = nullptr;
    if (mCapture.widget && frame->Contains(mCapture.widget))
    {
        if (mCapture.widget != frame)
            mCapture.widget->SetCaptured(false);
        mCapture.widget = nullptr;
        mCapture.layer = nullptr;
    }
    if (mCursorFrame == frame)
    {
        mCursorFrame = nullptr;
        mOwnsCursorFrame = false;
    }
}

void FrameManager::SetCursorFrame(Frame* frame, bool owns)
{
    if (mCursorFrame && mOwnsCursorFrame && mCursorFrame != frame)
    {
        mCursorFrame->mManager = nullptr;
        delete mCursorFrame;
    }
    mCursorFrame = frame;
    mOwnsCursorFrame = owns;
}

VNResultEnum FrameManager::Draw(render::Graphics* graphics)
{
    for (size_t i = 0; i < mFrames.size(); ++i)
    {
        if (layer::Layer* l = mFrames[i].frame->GetLayer())
        {
            if (const VNResultEnum r = l->Draw(graphics); r != VN_OK)
                return r;
        }
    }
    if (mCursorFrame && mCursorFrame->GetLayer())
        return mCursorFrame->GetLayer()->Draw(graphics);
    return VN_OK;
}

void FrameManager::ToCaptureSpace(const math::Point2& position, math::Point3& out) const
{
    const math::Point3 p(position.x, position.y, 0.0f);
    out = p;
    if (!mCapture.layer)
        return;
    if (mCapture.parentSpace)
    {
        if (layer::Layer* parent = mCapture.layer->GetParent())
            parent->ToLayerSpace(p, out);
    }
    else
    {
        mCapture.layer->ToLayerSpace(p, out);
    }
}

template <class Event, class Captured, class Test>
VNResultEnum FrameManager::Dispatch(const math::Point2& position, const Event& event, Captured captured,
                                    Test test, bool& handled)
{
    handled = true;
    mCursorX = position.x;
    mCursorY = position.y;
    if (mCursorFrame && mCursorFrame->GetLayer())
    {
        mCursorFrame->GetLayer()->SetX(position.x);
        mCursorFrame->GetLayer()->SetY(position.y);
    }
    if (mCapture.widget)
    {
        WidgetListener* listener = mCapture.widget->GetListener();
        if (!listener)
            return VN_OK;
        math::Point3 p;
        ToCaptureSpace(position, p);
        return captured(*listener, p);
    }
    const math::Point3 p(position.x, position.y, 0.0f);
    // By index, re-seated after each frame: a handler may change the list.
    for (size_t i = mFrames.size(); i-- > 0;)
    {
        if (i >= mFrames.size())
            continue;
        const FrameEntry entry = mFrames[i];
        if (layer::Layer* root = entry.frame->GetLayer())
        {
            bool consumed = false;
            if (const VNResultEnum r = (root->*test)(p, event, consumed); r != VN_OK)
                return r;
            if (consumed)
                return VN_OK;
        }
        if (entry.tier == FrameTierModal)
            break;
        if (const auto it = std::find_if(mFrames.begin(), mFrames.end(),
                                         [&entry](const FrameEntry& e) { return e.frame == entry.frame; });
            it != mFrames.end())
            i = static_cast<size_t>(it - mFrames.begin());
        else if (i > mFrames.size())
            i = mFrames.size();
    }
    handled = false;
    return VN_OK;
}

VNResultEnum FrameManager::OnMouseDown(const math::Point2& position, int32_t button)
{
    bool handled = false;
    const VNResultEnum r = Dispatch(
        position, layer::OnMouseDown{button},
        [&](WidgetListener& l, const math::Point3& p) { return l.OnCapturedMouseDown(&mCapture, p, button); },
        &layer::Layer::HitTestDownFrom, handled);
    if (handled || r != VN_OK)
        return r;
    // A press on nothing deactivates a non-modal active frame.
    if (mActive)
    {
        const bool modal = std::any_of(mFrames.begin(), mFrames.end(),
                                       [this](const FrameEntry& e)
                                       { return e.frame == mActive && e.tier == FrameTierModal; });
        if (!modal)
            return DeactivateActive();
    }
    return VN_OK;
}

VNResultEnum FrameManager::OnMouseDoubleClick(const math::Point2& position, int32_t button)
{
    bool handled = false;
    const VNResultEnum r = Dispatch(
        position, layer::OnMouseDown{button},
        [&](WidgetListener& l, const math::Point3& p)
        { return l.OnCapturedMouseDoubleClick(&mCapture, p, button); },
        &layer::Layer::HitTestDownFrom, handled);
    return r;
}

VNResultEnum FrameManager::OnMouseUp(const math::Point2& position, int32_t button)
{
    bool handled = false;
    const VNResultEnum r = Dispatch(
        position, layer::OnMouseUp{button},
        [&](WidgetListener& l, const math::Point3& p) { return l.OnCapturedMouseUp(&mCapture, p, button); },
        &layer::Layer::HitTestUpFrom, handled);
    return r;
}

VNResultEnum FrameManager::OnMouseWheel(const math::Point2& position, uint16_t wheel)
{
    bool handled = false;
    const VNResultEnum r = Dispatch(
        position, layer::OnMouseWheel{wheel},
        [&](WidgetListener& l, const math::Point3& p) { return l.OnCapturedMouseWheel(&mCapture, p, wheel); },
        &layer::Layer::HitTestWheelFrom, handled);
    return r;
}

VNResultEnum FrameManager::OnMouseMove(const math::Point2& position)
{
    bool handled = false;
    const VNResultEnum r = Dispatch(
        position, layer::OnMouseMove{},
        [&](WidgetListener& l, const math::Point3& p) { return l.OnCapturedMouseMove(&mCapture, p); },
        &layer::Layer::HitTestMoveFrom, handled);
    if (handled || r != VN_OK)
        return r;
    // Over nothing: the hover goes away.
    Frame* frame = mHoverFrame;
    mHoverFrame = nullptr;
    return frame ? frame->SetHoverWidget(nullptr) : VN_OK;
}

VNResultEnum FrameManager::OnMouseDrag(const math::Point2& position)
{
    bool handled = false;
    const VNResultEnum r = Dispatch(
        position, layer::OnMouseDrag{},
        [&](WidgetListener& l, const math::Point3& p) { return l.OnCapturedMouseDrag(&mCapture, p); },
        &layer::Layer::HitTestDragFrom, handled);
    if (handled || r != VN_OK)
        return r;
    Frame* frame = mHoverFrame;
    mHoverFrame = nullptr;
    return frame ? frame->SetHoverWidget(nullptr) : VN_OK;
}

VNResultEnum FrameManager::RefreshHover()
{
    return OnMouseMove(math::Point2(mCursorX, mCursorY));
}

namespace
{

WidgetListener* FocusedListener(Frame* active)
{
    Widget* focused = active ? active->GetFocusWidget() : nullptr;
    return focused ? focused->GetListener() : nullptr;
}

} // namespace

WidgetListener* FrameManager::KeyListener() const
{
    // A modal frame waiting to be added is not active yet: the frame below must not take the key meanwhile.
    const bool activeIsModal =
        std::any_of(mFrames.begin(), mFrames.end(),
                    [this](const FrameEntry& e) { return e.frame == mActive && e.tier == FrameTierModal; });
    if (!activeIsModal && HasModal())
        return nullptr;
    return FocusedListener(mActive);
}

VNResultEnum FrameManager::OnKeyDown(int32_t key)
{
    WidgetListener* l = KeyListener();
    return l ? l->OnKeyDown(key) : VN_OK;
}

VNResultEnum FrameManager::OnKeyUp(int32_t key)
{
    WidgetListener* l = KeyListener();
    return l ? l->OnKeyUp(key) : VN_OK;
}

VNResultEnum FrameManager::OnChar(wchar_t character)
{
    WidgetListener* l = KeyListener();
    return l ? l->OnChar(character) : VN_OK;
}

VNResultEnum FrameManager::OnUpdate(float dt)
{
    for (size_t i = 0; i < mFrames.size(); ++i)
    {
        if (const VNResultEnum r = mFrames[i].frame->Update(dt); r != VN_OK)
            return r;
    }
    if (mCursorFrame)
    {
        if (const VNResultEnum r = mCursorFrame->Update(dt); r != VN_OK)
            return r;
    }

    // Deferred adds, then deferred removes.
    if (const VNResultEnum r = DrainRequests(mPendingAdds, mAddIndex,
                                             [this](const PendingAdd& add)
                                             {
                                                 return add.tier == FrameTierModal
                                                            ? AddModal(add.frame, false)
                                                            : AddFrame(add.frame, add.tier == FrameTierTop,
                                                                       add.activate, false);
                                             });
        r != VN_OK)
        return r;
    if (const VNResultEnum r = DrainRequests(mPendingRemoves, mRemoveIndex,
                                             [this](const PendingRemove& remove) {
                                                 return RemoveFrame(remove.frame, remove.deleteFrame, false);
                                             });
        r != VN_OK)
        return r;
    Flush();
    return VN_OK;
}

} // namespace widget
