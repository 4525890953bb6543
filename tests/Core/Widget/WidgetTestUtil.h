#pragma once

// Frames, panels and buttons over hit rectangles, with listeners that write down what they are told.

#include "Core/Layer/RectHitLayer.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"

#include <string>
#include <vector>

namespace test
{

using Log = std::vector<std::string>;

// Writes the widget notifications it receives as "name:event".
class LogWidgetListener : public widget::WidgetListener
{
public:
    LogWidgetListener(std::string name, Log* log) : mName(std::move(name)), mLog(log) {}

    VNResultEnum OnMouseOver(bool over) override { return Note(over ? "over" : "out"); }
    VNResultEnum OnMouseInside(bool inside) override { return Note(inside ? "inside" : "outside"); }
    VNResultEnum OnParentDisabled(bool d) override { return Note(d ? "disabled" : "enabled"); }
    VNResultEnum OnAttachedToFrame() override { return Note("attached"); }
    VNResultEnum OnDetachedFromFrame() override { return Note("detached"); }
    VNResultEnum OnAddedToFrameManager() override { return Note(failAdd-- > 0 ? "add-failed" : "added"); }
    VNResultEnum OnRemovedFromFrameManager() override { return Note("removed"); }
    VNResultEnum OnKeyDown(int32_t key) override { return Note("key" + std::to_string(key)); }
    VNResultEnum Update(float) override { return Note("update"); }

    std::string mName;
    Log* mLog;
    bool quietUpdate = true;
    int failAdd = 0;

private:
    VNResultEnum Note(const std::string& what)
    {
        if (what == "update" && quietUpdate)
            return VN_OK;
        mLog->push_back(mName + ":" + what);
        return what == "add-failed" ? VN_FAIL : VN_OK;
    }
};

// A frame that writes its activation changes.
class LogFrame : public widget::Frame
{
public:
    LogFrame(std::string name, Log* log, const math::Rect& rect = math::Rect(0, 0, 0, 0))
        : mListener(name, log), mName(std::move(name)), mLog(log)
    {
        SetListener(&mListener, false);
        SetHitRect(rect);
    }
    VNResultEnum OnActivate() override
    {
        mLog->push_back(mName + ":activate");
        return VN_OK;
    }
    VNResultEnum OnDeactivate() override
    {
        mLog->push_back(mName + ":deactivate");
        return VN_OK;
    }
    // A hit-test listener on the frame's own rectangle, so presses on its empty parts are consumed by it.
    void CatchPresses()
    {
        mCatcher.SetWidget(this);
        GetLayer()->SetHitTestListener(&mCatcher);
    }

    LogWidgetListener mListener;
    widget::WidgetHitTestListener mCatcher;
    std::string mName;
    Log* mLog;
};

// A button mediator that writes the visual states it is asked for and the widget notifications.
class LogMediator : public widget::ButtonMediator
{
public:
    LogMediator(std::string name, Log* log) : mName(std::move(name)), mLog(log) {}
    VNResultEnum SetVisualState(int32_t state) override
    {
        mLog->push_back(mName + ":state" + std::to_string(state));
        return VN_OK;
    }
    VNResultEnum OnMouseInside(bool inside) override
    {
        mLog->push_back(mName + (inside ? ":inside" : ":outside"));
        return VN_OK;
    }
    std::string mName;
    Log* mLog;
};

// Counts the clicks of the buttons it listens to.
class ClickCounter : public widget::ButtonListener
{
public:
    VNResultEnum OnButtonClick(widget::Button*) override
    {
        ++clicks;
        return VN_OK;
    }
    int clicks = 0;
};

// A button over a hit rectangle, driven by a LogMediator; added to parent.
inline widget::Button* MakeButton(widget::Widget& parent, const std::string& name, Log* log,
                                  const math::Rect& rect)
{
    auto* button = new widget::Button;
    auto* layer = new layer::RectHitLayer(rect);
    button->SetLayer(layer, true, false);
    auto* mediator = new LogMediator(name, log);
    mediator->Attach(button, true);
    layer->SetHitTestListener(static_cast<widget::WidgetHitTestListener*>(mediator));
    parent.AddWidget(button);
    return button;
}

// A plain widget with an empty layer and a logging listener.
class Panel : public widget::Widget
{
public:
    Panel(std::string name, Log* log) : mListener(std::move(name), log)
    {
        SetLayer(new layer::Layer, true, false);
        SetListener(&mListener, false);
    }
    LogWidgetListener mListener;
};

} // namespace test
