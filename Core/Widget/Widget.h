#pragma once

#include "Core/Base/DeferredDelete.h"
#include "Core/Base/Result.h"
#include "Core/Widget/WidgetListener.h"
#include "Core/Widget/WidgetTypeId.h"

#include <vector>

namespace layer
{
class Layer;
}

namespace widget
{

class Frame;
class FrameManager;
class Widget;

// An ordered list of child widgets; not owned unless cleared with deletion.
class WidgetContainer
{
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer() = default;

    // Appends; 0.
    virtual VNResultEnum Add(Widget* child);
    // Erases the first occurrence; 1 when the child is not listed.
    virtual VNResultEnum Remove(Widget* child);
    // Clears each child recursively (recursive) and deletes it (deleteChildren), then empties the list.
    virtual VNResultEnum Clear(bool deleteChildren, bool recursive, void* unused = nullptr);

    const std::vector<Widget*>& GetChildren() const { return mChildren; }

protected:
    std::vector<Widget*> mChildren;
};

// A node of a widget tree bound to one layer (its picture and hit area), with a listener, hover, capture and
// disabling.
class Widget : public WidgetContainer, public base::DeferredDeletable
{
public:
    Widget() = default;
    // Leaves its parent and frame (hover, focus, capture) without a pointer to it; deletes an owned layer.
    ~Widget() override;

    // Takes the place of the container's Remove (frame references cleared).
    VNResultEnum Remove(Widget* child) override { return RemoveWidget(child, true); }
    VNResultEnum Clear(bool deleteChildren, bool recursive, void* unused = nullptr) override;
    virtual VNResultEnum RemoveWidget(Widget* child, bool clearFrameRefs);
    // Adds the child, attaches it to this widget's frame and its layer under parentLayer (this widget's layer
    // when null).
    virtual VNResultEnum AddWidget(Widget* child, layer::Layer* parentLayer = nullptr);
    virtual const WidgetTypeId& GetTypeId() const { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();

    // Recursive over the subtree, parents first.
    VNResultEnum SetFrame(Frame* frame);
    VNResultEnum NotifyFrameManager(FrameManager* manager);
    // The listener's update, then the children's.
    VNResultEnum Update(float dt);
    // Stores the listener and installs (or clears) the draw hooks on the layer.
    void SetListener(WidgetListener* listener, bool drawHooks);
    // Replaces the layer (an owned one is deleted); it is not attached anywhere.
    void SetLayer(layer::Layer* layer, bool owns, bool drawHooks);
    // Stores the own flag and pushes the state down the subtree; the own listener is not told.
    VNResultEnum SetDisabled(bool disabled);
    // Moves the frame's hover off and its focus away from anything in this subtree.
    VNResultEnum ClearFrameRefs();
    bool Contains(const Widget* widget) const;

    Widget* GetParent() const { return mParent; }
    Frame* GetFrame() const { return mFrame; }
    FrameManager* GetFrameManager() const;
    WidgetListener* GetListener() const { return mListener; }
    layer::Layer* GetLayer() const { return mLayer; }
    bool IsDisabled() const { return mOwnDisabled || mInheritedDisabled; }
    bool IsOwnDisabled() const { return mOwnDisabled; }
    bool IsInheritedDisabled() const { return mInheritedDisabled; }
    bool IsHovered() const { return mHovered; }
    bool IsMouseInside() const { return mMouseInside; }
    bool IsCaptured() const { return mCaptured; }
    bool CapturesOnPress() const { return mCapturesOnPress; }
    bool TracksWhileCaptured() const { return mTracksWhileCaptured; }
    void SetCapturesOnPress(bool v) { mCapturesOnPress = v; }
    void SetTracksWhileCaptured(bool v) { mTracksWhileCaptured = v; }
    void SetSelector(bool v) { mSelector = v; }
    void SetCaptured(bool v) { mCaptured = v; }

protected:
    VNResultEnum PropagateDisabled();
    VNResultEnum SetInheritedDisabled(Widget* child, bool value);

    friend class WidgetContainer;
    friend class Frame;
    friend class FrameManager;

    bool mSelector = false;
    Widget* mParent = nullptr;
    Frame* mFrame = nullptr;
    WidgetListener* mListener = nullptr;
    layer::Layer* mLayer = nullptr;
    bool mOwnsLayer = false;
    bool mCapturesOnPress = false;
    bool mTracksWhileCaptured = true;
    bool mOwnDisabled = false;
    bool mInheritedDisabled = false;
    bool mHovered = false;
    bool mMouseInside = false;
    bool mCaptured = false;
    bool mDrawHooks = false;
};

} // namespace widget
