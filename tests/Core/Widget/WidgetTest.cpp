#include "Core/Widget/Button.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/Slider.h"
#include "Core/Widget/WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <memory>

using namespace widget;
using test::Log;
using test::MakeButton;
using test::Panel;

namespace
{

class WidgetTree : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(manager.AddFrame(&frame, false, true, false), VN_OK); }
    void TearDown() override { frame.Clear(true, true); }

    void Move(float x, float y) { ASSERT_EQ(manager.OnMouseMove(math::Point2(x, y)), VN_OK); }

    Log log;
    FrameManager manager;
    test::LogFrame frame{"frame", &log, math::Rect(0, 0, 1000, 1000)};
};

} // namespace

TEST_F(WidgetTree, DisablingAPanelTellsEachDescendantOnce)
{
    auto* panel = new Panel("panel", &log);
    auto* a = new Panel("a", &log);
    auto* b = new Panel("b", &log);
    auto* g = new Panel("g", &log);
    frame.AddWidget(panel);
    panel->AddWidget(a);
    panel->AddWidget(b);
    a->AddWidget(g);
    log.clear();

    ASSERT_EQ(panel->SetDisabled(true), VN_OK);
    EXPECT_EQ(log, (Log{"a:disabled", "g:disabled", "b:disabled"}));
    EXPECT_TRUE(g->IsInheritedDisabled());
    EXPECT_FALSE(panel->IsInheritedDisabled());

    log.clear();
    ASSERT_EQ(panel->SetDisabled(true), VN_OK);
    EXPECT_TRUE(log.empty());

    // A child added to the disabled panel is marked and told; removing it clears the mark.
    auto* late = new Panel("late", &log);
    ASSERT_EQ(panel->AddWidget(late), VN_OK);
    EXPECT_TRUE(late->IsDisabled());
    EXPECT_EQ(log.back(), "late:disabled");
    ASSERT_EQ(panel->RemoveWidget(late, true), VN_OK);
    EXPECT_FALSE(late->IsDisabled());
    EXPECT_EQ(log, (Log{"late:attached", "late:added", "late:disabled", "late:enabled", "late:removed",
                        "late:detached"}));
    delete late;
}

TEST_F(WidgetTree, HoverBetweenButtonsOfOnePanel)
{
    Button* one = MakeButton(frame, "one", &log, math::Rect(0, 0, 10, 10));
    Button* two = MakeButton(frame, "two", &log, math::Rect(20, 0, 10, 10));
    Move(5, 5);
    EXPECT_TRUE(one->IsHovered());
    log.clear();
    Move(25, 5);
    EXPECT_FALSE(one->IsHovered());
    EXPECT_TRUE(two->IsHovered());
    EXPECT_EQ(log, (Log{"one:state0", "two:state1"}));
    EXPECT_EQ(frame.GetHoverWidget(), two);
}

TEST_F(WidgetTree, HoverBetweenPanelsTellsThePanels)
{
    auto* p = new Panel("P", &log);
    auto* q = new Panel("Q", &log);
    frame.AddWidget(p);
    frame.AddWidget(q);
    MakeButton(*p, "bp", &log, math::Rect(0, 0, 10, 10));
    MakeButton(*q, "bq", &log, math::Rect(20, 0, 10, 10));
    Move(5, 5);
    EXPECT_TRUE(p->IsMouseInside());
    log.clear();
    Move(25, 5);
    EXPECT_EQ(log, (Log{"bp:state0", "P:outside", "bq:state1", "Q:inside"}));
    EXPECT_FALSE(p->IsMouseInside());
    EXPECT_TRUE(q->IsMouseInside());
}

TEST_F(WidgetTree, HoverInAnotherFrameClearsThePreviousOne)
{
    test::LogFrame other("other", &log, math::Rect(0, 0, 0, 0));
    ASSERT_EQ(manager.AddFrame(&other, true, false, false), VN_OK);
    Button* here = MakeButton(frame, "here", &log, math::Rect(0, 0, 10, 10));
    Button* there = MakeButton(other, "there", &log, math::Rect(50, 0, 10, 10));
    Move(5, 5);
    EXPECT_EQ(manager.GetHoverFrame(), &frame);
    Move(55, 5);
    EXPECT_FALSE(here->IsHovered());
    EXPECT_EQ(frame.GetHoverWidget(), nullptr);
    EXPECT_TRUE(there->IsHovered());
    EXPECT_EQ(manager.GetHoverFrame(), &other);
    other.Clear(true, true);
    ASSERT_EQ(manager.RemoveFrame(&other, false, false), VN_OK);
}

TEST_F(WidgetTree, PressOnADisabledWidgetOnlyActivatesItsFrame)
{
    test::LogFrame back("back", &log);
    ASSERT_EQ(manager.AddFrame(&back, false, true, false), VN_OK);
    Button* b = MakeButton(frame, "b", &log, math::Rect(0, 0, 10, 10));
    ASSERT_EQ(b->SetDisabled(true), VN_OK);
    log.clear();
    ASSERT_EQ(manager.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    EXPECT_EQ(log, (Log{"back:deactivate", "frame:activate"}));
    EXPECT_EQ(manager.GetActiveFrame(), &frame);
    EXPECT_EQ(manager.GetCapture().widget, nullptr);
    EXPECT_FALSE(b->IsCaptured());
    EXPECT_EQ(b->GetVisualState(), ButtonNormal);
    ASSERT_EQ(manager.RemoveFrame(&back, false, false), VN_OK);
}

// Removing a widget of another tree answers 1 and tells nobody anything.
TEST_F(WidgetTree, RemovingANonChildChangesNothing)
{
    auto* p = new Panel("P", &log);
    auto* q = new Panel("Q", &log);
    frame.AddWidget(p);
    frame.AddWidget(q);
    Button* b = MakeButton(*q, "b", &log, math::Rect(0, 0, 10, 10));
    Move(5, 5);
    log.clear();
    EXPECT_EQ(p->RemoveWidget(b, true), VN_FAIL);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(b->GetFrame(), &frame);
    EXPECT_EQ(frame.GetHoverWidget(), b);
    EXPECT_EQ(b->GetParent(), q);
}

// A destroyed widget leaves no pointer in its parent, its frame or the frame manager.
TEST_F(WidgetTree, DestroyedWidgetLeavesNoPointerBehind)
{
    auto* p = new Panel("P", &log);
    frame.AddWidget(p);
    Button* b = MakeButton(*p, "b", &log, math::Rect(0, 0, 10, 10));
    Move(5, 5);
    frame.SetFocusWidget(b);
    ASSERT_EQ(manager.OnMouseDown(math::Point2(5, 5), 1), VN_OK);
    ASSERT_EQ(manager.GetCapture().widget, b);
    delete b;
    EXPECT_TRUE(p->GetChildren().empty());
    EXPECT_EQ(frame.GetHoverWidget(), nullptr);
    EXPECT_EQ(frame.GetFocusWidget(), nullptr);
    EXPECT_EQ(manager.GetCapture().widget, nullptr);
    // Nothing reaches the dead button.
    EXPECT_EQ(manager.OnMouseMove(math::Point2(6, 6)), VN_OK);
    EXPECT_EQ(manager.OnMouseUp(math::Point2(6, 6), 1), VN_OK);
    EXPECT_EQ(manager.OnKeyDown(13), VN_OK);
}

TEST(WidgetTypeId, ClassesAreNumberedUnderTheirBase)
{
    const WidgetTypeId& root = Widget().GetTypeId();
    EXPECT_EQ(root.value, 0u);
    EXPECT_EQ(root.depth, 0);
    const WidgetTypeId& frame = Frame::ClassTypeId();
    const WidgetTypeId& button = Button::ClassTypeId();
    const WidgetTypeId& slider = Slider::ClassTypeId();
    EXPECT_EQ(frame.depth, 1);
    EXPECT_EQ(button.depth, 1);
    // Siblings get distinct indices in the first byte.
    EXPECT_NE(frame.value, button.value);
    EXPECT_NE(button.value, slider.value);
    EXPECT_LE(frame.value, 255u);
    WidgetTypeId parent{0x0201u, 2, 0};
    const WidgetTypeId child = WidgetTypeId::MakeChild(parent);
    EXPECT_EQ(child.value, 0x010201u);
    EXPECT_EQ(child.depth, 3);
    EXPECT_EQ(parent.childCount, 1);
    WidgetTypeId deep{1, 4, 0};
    EXPECT_EQ(WidgetTypeId::MakeChild(deep).value, 0u);
}
