#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/Layer.h"
#include "Core/Layer/LayerTestUtil.h"
#include "Core/Layer/RectHitLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace layer;
using test::LogListener;
using test::Received;

namespace
{

constexpr float kHalfPi = 1.5707963f;

// A 20 × 10 sprite, solid in x 4..15 and y 2..7, transparent around it.
bool Solid(int x, int y)
{
    return x >= 4 && x < 16 && y >= 2 && y < 8;
}

bool Press(Layer& root, float x, float y)
{
    bool consumed = false;
    EXPECT_EQ(root.HitTestDownFrom(math::Point3(x, y, 0), OnMouseDown{1}, consumed), VN_OK);
    return consumed;
}

// The sprite's local point in the root's space for a placement (scale, then rotation about z, then position).
math::Point3 ToRoot(const math::Point3& local, float scale, float angle, const math::Point3& at)
{
    const float x = local.x * scale;
    const float y = local.y * scale;
    return math::Point3(x * std::cos(angle) - y * std::sin(angle) + at.x,
                        x * std::sin(angle) + y * std::cos(angle) + at.y, 0.0f);
}

} // namespace

// Points on the sprite, off it, and on its transparent edge (inside the image, outside the mask), under a
// table of placements: a hit reaches the listener exactly where the mask is set.
TEST(HitTest, MaskPointsUnderRotationAndScale)
{
    struct Placement
    {
        float scale;
        float angle;
        int anchor;
    };
    const Placement placements[] = {
        {1.0f, 0.0f, AnchorStart},    {2.0f, 0.0f, AnchorStart},   {1.0f, kHalfPi, AnchorStart},
        {3.0f, kHalfPi, AnchorStart}, {0.5f, -0.7f, AnchorCentre}, {2.0f, 2.5f, AnchorEnd},
    };
    struct Point
    {
        float x, y; // image pixel coordinates (anchor 0 local space)
        bool hit;
    };
    const Point points[] = {
        {10, 5, true},  {4, 2, true},   {15, 7, true}, // on the sprite, corners included
        {3, 5, false},  {16, 5, false}, {10, 1, false},  {10, 8, false},  {1, 1, false}, // transparent edge
        {-3, 5, false}, {25, 5, false}, {10, -4, false}, {10, 14, false},                // off the image
    };
    const math::Point3 at(200, 150, 0);

    test::MaskImage image(20, 10, Solid);
    for (const Placement& pl : placements)
    {
        std::vector<Received> log;
        LogListener listener("sprite", &log);
        Layer root;
        ImageLayer sprite(&image);
        sprite.SetAnchors(pl.anchor, pl.anchor);
        sprite.SetHitTestListener(&listener);
        sprite.SetScale(math::Point3(pl.scale, pl.scale, 1));
        sprite.SetRotationZ(pl.angle);
        sprite.SetPosition(at);
        root.AddChild(&sprite);
        const float shift = pl.anchor == AnchorStart ? 0.0f : pl.anchor == AnchorEnd ? 1.0f : 0.5f;
        for (const Point& p : points)
        {
            const math::Point3 local(p.x - 20 * shift, p.y - 10 * shift, 0);
            const math::Point3 q = ToRoot(local, pl.scale, pl.angle, at);
            log.clear();
            const bool consumed = Press(root, q.x, q.y);
            EXPECT_EQ(consumed, p.hit) << "scale " << pl.scale << " angle " << pl.angle << " anchor "
                                       << pl.anchor << " pixel (" << p.x << ", " << p.y << ")";
            ASSERT_EQ(log.size(), p.hit ? 1u : 0u);
            if (p.hit)
            {
                EXPECT_EQ(log[0].target, &sprite);
                EXPECT_NEAR(log[0].point.x, local.x, 1e-3f);
                EXPECT_NEAR(log[0].point.y, local.y, 1e-3f);
            }
        }
    }
}

TEST(HitTest, BoxIsHalfOpen)
{
    std::vector<Received> log;
    LogListener listener("r", &log);
    Layer root;
    RectHitLayer r(math::Rect(10, 20, 30, 40));
    r.SetHitTestListener(&listener);
    root.AddChild(&r);
    EXPECT_TRUE(Press(root, 10, 20));
    EXPECT_FALSE(Press(root, 40, 30));
    EXPECT_FALSE(Press(root, 20, 60));
    EXPECT_TRUE(Press(root, 39.99f, 59.99f));
}

TEST(HitTest, LaterSiblingFirstAndPassThroughGoesBelow)
{
    std::vector<Received> log;
    LogListener lower("lower", &log), upper("upper", &log);
    Layer root;
    RectHitLayer a(math::Rect(0, 0, 50, 50)), b(math::Rect(0, 0, 50, 50));
    a.SetHitTestListener(&lower);
    b.SetHitTestListener(&upper);
    root.AddChild(&a);
    root.AddChild(&b);
    EXPECT_TRUE(Press(root, 5, 5));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].who, "upper");

    log.clear();
    upper.answerState = HitPassThrough;
    EXPECT_TRUE(Press(root, 5, 5));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].who, "upper");
    EXPECT_EQ(log[1].who, "lower");

    // Both pass: nothing consumed.
    log.clear();
    lower.answerState = HitPassThrough;
    EXPECT_FALSE(Press(root, 5, 5));
    EXPECT_EQ(log.size(), 2u);
}

TEST(HitTest, NonZeroResultEndsTheWholeTest)
{
    std::vector<Received> log;
    LogListener lower("lower", &log), upper("upper", &log);
    Layer root;
    RectHitLayer a(math::Rect(0, 0, 50, 50)), b(math::Rect(0, 0, 50, 50));
    a.SetHitTestListener(&lower);
    b.SetHitTestListener(&upper);
    root.AddChild(&a);
    root.AddChild(&b);
    upper.answerState = HitPassThrough;
    upper.result = static_cast<VNResultEnum>(5);
    bool consumed = true;
    EXPECT_EQ(root.HitTestDownFrom(math::Point3(5, 5, 0), OnMouseDown{1}, consumed), 5);
    EXPECT_EQ(log.size(), 1u); // the lower sibling is not tried
}

TEST(HitTest, ListenerlessChildLendsItsParentsListener)
{
    std::vector<Received> log;
    LogListener listener("parent", &log);
    Layer root, parent;
    RectHitLayer child(math::Rect(0, 0, 10, 10));
    parent.SetPosition(math::Point3(100, 0, 0));
    child.SetPosition(math::Point3(5, 5, 0));
    parent.SetHitTestListener(&listener);
    root.AddChild(&parent);
    parent.AddChild(&child);
    EXPECT_TRUE(Press(root, 107, 8));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].target, &child);
    EXPECT_EQ(log[0].layer, &parent);
    EXPECT_FLOAT_EQ(log[0].point.x, 7.0f); // in the parent's own space
    EXPECT_FLOAT_EQ(log[0].point.y, 8.0f);

    // Without any listener above it the child is never hit.
    parent.SetHitTestListener(nullptr);
    log.clear();
    EXPECT_FALSE(Press(root, 107, 8));
    EXPECT_TRUE(log.empty());
}

TEST(HitTest, HiddenOrDisabledParentsHideTheirChildren)
{
    std::vector<Received> log;
    LogListener listener("child", &log);
    Layer root, parent;
    RectHitLayer child(math::Rect(0, 0, 10, 10));
    child.SetHitTestListener(&listener);
    root.AddChild(&parent);
    parent.AddChild(&child);
    EXPECT_TRUE(Press(root, 5, 5));

    parent.SetVisible(false);
    EXPECT_FALSE(Press(root, 5, 5));
    parent.SetVisible(true);

    parent.SetHitEnabled(false);
    EXPECT_FALSE(Press(root, 5, 5));
    parent.SetChildrenHitEnabled(true);
    EXPECT_TRUE(Press(root, 5, 5));

    // A rotation about y stops the walk at the parent.
    parent.SetHitEnabled(true);
    parent.SetRotationY(0.001f);
    EXPECT_FALSE(Press(root, 5, 5));
}

TEST(HitTest, RotatedLayerIsHitAtTheRotatedPlace)
{
    std::vector<Received> log;
    LogListener listener("r", &log);
    Layer root;
    RectHitLayer r(math::Rect(0, 0, 40, 10));
    r.SetHitTestListener(&listener);
    r.SetRotationZ(kHalfPi);
    root.AddChild(&r);
    EXPECT_TRUE(Press(root, -5, 30)); // x' = -y, y' = x
    EXPECT_FALSE(Press(root, 30, 5));
}

TEST(HitTest, ClaimMakesTheListenersOwnLayerTheHit)
{
    std::vector<Received> log;
    LogListener listener("panel", &log);
    Layer root;
    RectHitLayer panel(math::Rect(0, 0, 100, 100));
    RectHitLayer lower(math::Rect(0, 0, 10, 10)), upper(math::Rect(0, 0, 10, 10));
    std::vector<Received> lowerLog;
    LogListener lowerListener("lower", &lowerLog);
    lower.SetHitTestListener(&lowerListener);
    panel.SetHitTestListener(&listener);
    root.AddChild(&panel);
    panel.AddChild(&lower);
    panel.AddChild(&upper);
    listener.answers = {HitClaimed};
    EXPECT_TRUE(Press(root, 5, 5));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].target, &upper);
    EXPECT_EQ(log[1].target, &panel);
    EXPECT_TRUE(lowerLog.empty()); // the lower children are skipped
}

TEST(HitTest, BubbledFormReachesAncestorsThatAskForIt)
{
    std::vector<Received> log;
    LogListener outer("outer", &log), inner("inner", &log);
    Layer root, group;
    RectHitLayer r(math::Rect(0, 0, 10, 10));
    group.SetHitTestListener(&outer);
    r.SetHitTestListener(&inner);
    root.AddChild(&group);
    group.AddChild(&r);
    EXPECT_TRUE(Press(root, 5, 5));
    EXPECT_EQ(log.size(), 1u);
    outer.mBubbleMask = kBubbleDown;
    log.clear();
    EXPECT_TRUE(Press(root, 5, 5));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].kind, "child-down");
    EXPECT_TRUE(outer.mHandledBelow);
}

// A handler that takes a lower sibling out of the tree (and deletes it) while the walk passes through.
TEST(HitTest, DeletionDuringDispatch)
{
    std::vector<Received> log;
    LogListener upperListener("upper", &log), lowerListener("lower", &log), rootListener("root", &log);
    Layer root;
    auto* lowest = new RectHitLayer(math::Rect(0, 0, 50, 50));
    RectHitLayer lower(math::Rect(0, 0, 50, 50)), upper(math::Rect(0, 0, 50, 50));
    lowest->SetHitTestListener(&lowerListener);
    lower.SetHitTestListener(&lowerListener);
    upper.SetHitTestListener(&upperListener);
    root.AddChild(lowest);
    root.AddChild(&lower);
    root.AddChild(&upper);
    upperListener.answerState = HitPassThrough;
    lowerListener.answerState = HitPassThrough;
    upperListener.onCall = [&]
    {
        delete lowest;
        lowest = nullptr;
    };
    EXPECT_FALSE(Press(root, 5, 5));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].target, &lower);
    EXPECT_EQ(root.GetChildren().size(), 2u);

    // The hit layer deletes itself: the walk ends without touching it again.
    auto* self = new RectHitLayer(math::Rect(0, 0, 50, 50));
    LogListener selfListener("self", &log);
    self->SetHitTestListener(&selfListener);
    root.AddChild(self);
    selfListener.onCall = [&] { delete self; };
    EXPECT_TRUE(Press(root, 5, 5));
    EXPECT_EQ(root.GetChildren().size(), 2u);
}

TEST(HitTest, SharedDelegatesLiveOnce)
{
    EXPECT_EQ(GetMouseDownDelegate().Get(), GetMouseDownDelegate().Get());
    EXPECT_NE(static_cast<const void*>(GetMouseDownDelegate().Get()),
              static_cast<const void*>(GetMouseUpDelegate().Get()));
    EXPECT_TRUE(GetMouseWheelDelegate());
}
