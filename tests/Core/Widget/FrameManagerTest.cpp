#include "Core/Widget/Button.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <memory>

using namespace widget;
using test::Log;
using test::LogFrame;
using test::MakeButton;

namespace
{

std::vector<Frame*> Listed(const FrameManager& m)
{
    std::vector<Frame*> out;
    for (const FrameEntry& e : m.GetFrames())
        out.push_back(e.frame);
    return out;
}

// A frame-wide hit listener that answers a set state and result, and writes its calls.
class FrameCatcher : public WidgetHitTestListener
{
public:
    FrameCatcher(std::string name, Log* log, Widget* w)
        : WidgetHitTestListener(w), mName(std::move(name)), mLog(log)
    {
    }
    VNResultEnum OnWidgetMouseDown(const math::Point3&, int32_t) override
    {
        mLog->push_back(mName + ":down");
        mState = state;
        return result;
    }
    std::string mName;
    Log* mLog;
    int32_t state = layer::HitConsumed;
    VNResultEnum result = VN_OK;
};

} // namespace

TEST(FrameManager, TiersKeepTheirOrder)
{
    Log log;
    FrameManager m;
    LogFrame normal1("n1", &log), normal2("n2", &log), top("top", &log), modal("modal", &log),
        top2("top2", &log);
    ASSERT_EQ(m.AddFrame(&normal1, false, false, false), VN_OK);
    ASSERT_EQ(m.AddModal(&modal, false), VN_OK);
    ASSERT_EQ(m.AddFrame(&top, true, false, false), VN_OK);
    ASSERT_EQ(m.AddFrame(&normal2, false, false, false), VN_OK);
    ASSERT_EQ(m.AddFrame(&top2, true, false, false), VN_OK);
    EXPECT_EQ(Listed(m), (std::vector<Frame*>{&normal1, &normal2, &top, &top2, &modal}));
    EXPECT_EQ(m.GetActiveFrame(), &modal);
    EXPECT_TRUE(modal.IsActive());
}

TEST(FrameManager, ModalFrameTakesAllPresses)
{
    Log log;
    FrameManager m;
    LogFrame below("below", &log, math::Rect(0, 0, 100, 100));
    LogFrame modal("modal", &log, math::Rect(50, 50, 10, 10));
    below.CatchPresses();
    modal.CatchPresses();
    ASSERT_EQ(m.AddFrame(&below, false, true, false), VN_OK);
    ASSERT_EQ(m.AddModal(&modal, false), VN_OK);
    log.clear();
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(m.GetActiveFrame(), &modal);
    EXPECT_TRUE(modal.IsActive());
}

TEST(FrameManager, PressOnNothingDeactivatesTheActiveFrame)
{
    Log log;
    FrameManager m;
    LogFrame f("f", &log, math::Rect(0, 0, 10, 10));
    f.CatchPresses();
    ASSERT_EQ(m.AddFrame(&f, false, true, false), VN_OK);
    log.clear();
    ASSERT_EQ(m.OnMouseDown(math::Point2(50, 50), 1), VN_OK);
    EXPECT_EQ(log, Log{"f:deactivate"});
    EXPECT_EQ(m.GetActiveFrame(), nullptr);
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_EQ(m.GetActiveFrame(), &f);
}

// Frames are tried from the top; a pass-through goes on down, a non-zero result ends the dispatch.
TEST(FrameManager, DeliveryOrderAndFirstError)
{
    Log log;
    FrameManager m;
    LogFrame lower("lower", &log, math::Rect(0, 0, 100, 100)),
        upper("upper", &log, math::Rect(0, 0, 100, 100));
    FrameCatcher lowerCatcher("lower", &log, &lower), upperCatcher("upper", &log, &upper);
    lower.GetLayer()->SetHitTestListener(&lowerCatcher);
    upper.GetLayer()->SetHitTestListener(&upperCatcher);
    ASSERT_EQ(m.AddFrame(&lower, false, false, false), VN_OK);
    ASSERT_EQ(m.AddFrame(&upper, false, false, false), VN_OK);
    log.clear();

    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_EQ(log, (Log{"upper:activate", "upper:down"}));

    log.clear();
    upperCatcher.state = layer::HitPassThrough;
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_EQ(log, (Log{"upper:down", "upper:deactivate", "lower:activate", "lower:down"}));

    log.clear();
    upperCatcher.result = static_cast<VNResultEnum>(9);
    EXPECT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), 9);
    EXPECT_EQ(log, (Log{"lower:deactivate", "upper:activate", "upper:down"}));
}

TEST(FrameManager, MoveOverNothingClearsTheHover)
{
    Log log;
    FrameManager m;
    LogFrame f("f", &log);
    ASSERT_EQ(m.AddFrame(&f, false, true, false), VN_OK);
    Button* b = MakeButton(f, "b", &log, math::Rect(0, 0, 10, 10));
    ASSERT_EQ(m.OnMouseMove(math::Point2(5, 5)), VN_OK);
    EXPECT_TRUE(b->IsHovered());
    ASSERT_EQ(m.OnMouseMove(math::Point2(50, 50)), VN_OK);
    EXPECT_FALSE(b->IsHovered());
    EXPECT_EQ(b->GetVisualState(), ButtonNormal);
    EXPECT_EQ(m.GetHoverFrame(), nullptr);
    f.Clear(true, true);
}

// While a widget holds the capture every mouse event goes to it, even over another frame.
TEST(FrameManager, CaptureTakesEverything)
{
    Log log;
    FrameManager m;
    LogFrame f("f", &log), other("other", &log, math::Rect(100, 0, 100, 100));
    FrameCatcher otherCatcher("other", &log, &other);
    other.GetLayer()->SetHitTestListener(&otherCatcher);
    ASSERT_EQ(m.AddFrame(&f, false, true, false), VN_OK);
    ASSERT_EQ(m.AddFrame(&other, true, false, false), VN_OK);
    Button* b = MakeButton(f, "b", &log, math::Rect(0, 0, 10, 10));
    ASSERT_EQ(m.OnMouseMove(math::Point2(5, 5)), VN_OK);
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_EQ(m.GetCapture().widget, b);
    log.clear();
    ASSERT_EQ(m.OnMouseDrag(math::Point2(150, 50)), VN_OK);
    ASSERT_EQ(m.OnMouseDown(math::Point2(150, 50), 3), VN_OK);
    EXPECT_EQ(log, (Log{"b:state0", "f:outside"})); // the drag left the button; "other" heard nothing
    ASSERT_EQ(m.OnMouseUp(math::Point2(150, 50), 1), VN_OK);
    EXPECT_EQ(m.GetCapture().widget, nullptr);
    // Released: the next press reaches the other frame.
    ASSERT_EQ(m.OnMouseDown(math::Point2(150, 50), 1), VN_OK);
    EXPECT_EQ(log.back(), "other:down");
    f.Clear(true, true);
}

TEST(FrameManager, RemovedActiveFrameKeepsItsFlag)
{
    Log log;
    FrameManager m;
    LogFrame f("f", &log);
    ASSERT_EQ(m.AddFrame(&f, false, true, false), VN_OK);
    log.clear();
    ASSERT_EQ(m.RemoveFrame(&f, false, false), VN_OK);
    EXPECT_TRUE(f.IsActive());
    EXPECT_EQ(m.GetActiveFrame(), nullptr);
    EXPECT_EQ(log, Log{"f:removed"});
    EXPECT_EQ(m.RemoveFrame(&f, false, false), VN_FAIL);
}

TEST(FrameManager, DeferredAddThenRemoveEndsRemoved)
{
    Log log;
    FrameManager m;
    LogFrame f("f", &log);
    ASSERT_EQ(m.AddFrame(&f, false, true, true), VN_OK);
    ASSERT_EQ(m.RemoveFrame(&f, false, true), VN_OK);
    EXPECT_TRUE(m.GetFrames().empty());
    ASSERT_EQ(m.Update(0.016f), VN_OK);
    EXPECT_TRUE(m.GetFrames().empty());
    EXPECT_EQ(log, (Log{"f:added", "f:activate", "f:removed"}));
}

// A frame taken out while one of its widgets holds the capture must not keep the mouse.
TEST(FrameManager, RemovedFrameGivesUpTheCapture)
{
    Log log;
    FrameManager m;
    auto* f = new LogFrame("f", &log);
    LogFrame other("other", &log, math::Rect(0, 0, 100, 100));
    other.CatchPresses();
    ASSERT_EQ(m.AddFrame(&other, false, false, false), VN_OK);
    ASSERT_EQ(m.AddFrame(f, true, true, false), VN_OK);
    Button* b = MakeButton(*f, "b", &log, math::Rect(0, 0, 10, 10));
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    ASSERT_EQ(m.GetCapture().widget, b);
    ASSERT_EQ(m.RemoveFrame(f, false, true), VN_OK);
    ASSERT_EQ(m.Update(0.016f), VN_OK);
    EXPECT_EQ(m.GetCapture().widget, nullptr);
    EXPECT_FALSE(b->IsCaptured());
    f->Clear(true, true);
    delete f;
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_EQ(m.GetActiveFrame(), &other);
}

// A request that was applied is never applied again, also when a later one of the same batch fails.
TEST(FrameManager, QueuedChangesAreAppliedOnce)
{
    Log log;
    FrameManager m;
    LogFrame a("a", &log), b("b", &log);
    b.mListener.failAdd = 1;
    ASSERT_EQ(m.AddFrame(&a, false, false, true), VN_OK);
    ASSERT_EQ(m.AddFrame(&b, false, false, true), VN_OK);
    EXPECT_EQ(m.Update(0.016f), VN_FAIL);
    ASSERT_EQ(m.Update(0.016f), VN_OK);
    EXPECT_EQ(Listed(m), (std::vector<Frame*>{&a, &b}));
    EXPECT_EQ(log, (Log{"a:added", "b:add-failed"}));

    // Requests made while the queue is applied run in the same update, after it.
    log.clear();
    LogFrame c("c", &log);
    struct Chain : test::LogWidgetListener
    {
        Chain(Log* l, FrameManager* fm, Frame* next) : LogWidgetListener("d", l), m(fm), n(next) {}
        VNResultEnum OnAddedToFrameManager() override { return m->AddFrame(n, false, false, true); }
        FrameManager* m;
        Frame* n;
    } chain(&log, &m, &c);
    LogFrame d("d", &log);
    d.SetListener(&chain, false);
    ASSERT_EQ(m.AddFrame(&d, false, false, true), VN_OK);
    ASSERT_EQ(m.Update(0.016f), VN_OK);
    EXPECT_EQ(Listed(m), (std::vector<Frame*>{&a, &b, &d, &c}));
}

// A frame destroyed while listed, active, hovered and queued leaves nothing behind in the manager.
TEST(FrameManager, DestroyedFrameIsForgotten)
{
    Log log;
    FrameManager m;
    auto* f = new LogFrame("f", &log);
    ASSERT_EQ(m.AddFrame(f, false, true, false), VN_OK);
    Button* b = MakeButton(*f, "b", &log, math::Rect(0, 0, 10, 10));
    ASSERT_EQ(m.OnMouseMove(math::Point2(5, 5)), VN_OK);
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    ASSERT_EQ(m.RemoveFrame(f, true, true), VN_OK); // queued with deletion
    delete f;
    EXPECT_TRUE(m.GetFrames().empty());
    EXPECT_EQ(m.GetActiveFrame(), nullptr);
    EXPECT_EQ(m.GetHoverFrame(), nullptr);
    EXPECT_EQ(m.GetCapture().widget, nullptr);
    EXPECT_EQ(b->GetFrame(), nullptr);
    ASSERT_EQ(m.Update(0.016f), VN_OK); // the queued removal is gone, nothing deleted twice
    ASSERT_EQ(m.OnMouseMove(math::Point2(5, 5)), VN_OK);
    delete b;
}

TEST(FrameManager, ManagerDestroyedBeforeItsFrames)
{
    Log log;
    LogFrame f("f", &log);
    {
        FrameManager m;
        ASSERT_EQ(m.AddFrame(&f, false, true, false), VN_OK);
    }
    EXPECT_EQ(f.GetManager(), nullptr);
}

TEST(FrameManager, KeysGoToTheFocusedWidgetOfTheActiveFrame)
{
    Log log;
    FrameManager m;
    LogFrame f("f", &log);
    test::Panel* p = new test::Panel("p", &log);
    f.AddWidget(p);
    EXPECT_EQ(m.OnKeyDown(1), VN_OK); // no active frame
    ASSERT_EQ(m.AddFrame(&f, false, true, false), VN_OK);
    log.clear();
    ASSERT_EQ(m.OnKeyDown(2), VN_OK); // the frame focuses itself at first
    f.SetFocusWidget(p);
    ASSERT_EQ(m.OnKeyDown(3), VN_OK);
    EXPECT_EQ(log, (Log{"f:key2", "p:key3"}));
    f.Clear(true, true);
}

// A click handler that closes its own frame (removal with deletion, deferred) and queues a widget for
// deletion.
TEST(FrameManager, DeletionsFromAnEventHandler)
{
    Log log;
    FrameManager m;
    auto* f = new LogFrame("f", &log);
    ASSERT_EQ(m.AddFrame(f, false, true, false), VN_OK);
    Button* b = MakeButton(*f, "b", &log, math::Rect(0, 0, 10, 10));
    auto* extra = new test::Panel("extra", &log);
    f->AddWidget(extra);
    struct Closer : ButtonListener
    {
        VNResultEnum OnButtonClick(Button* button) override
        {
            Frame* frame = button->GetFrame();
            FrameManager* fm = frame->GetManager();
            fm->QueueDelete(extra);
            fm->QueueDelete(button);
            return fm->RemoveFrame(frame, true, true);
        }
        Widget* extra = nullptr;
    } closer;
    closer.extra = extra;
    b->SetButtonListener(&closer);
    ASSERT_EQ(m.OnMouseMove(math::Point2(5, 5)), VN_OK);
    ASSERT_EQ(m.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    ASSERT_EQ(m.OnMouseUp(math::Point2(5, 5), 1), VN_OK);
    ASSERT_EQ(m.GetFrames().size(), 1u);
    ASSERT_EQ(m.Update(0.016f), VN_OK);
    EXPECT_TRUE(m.GetFrames().empty());
    EXPECT_EQ(m.OnMouseMove(math::Point2(5, 5)), VN_OK);
}
