#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/Layer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/RectHitLayer.h"
#include "Core/Layer/LayerTestUtil.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace layer;

namespace
{

constexpr float kHalfPi = 1.5707963f;

// Counts its calls and answers a set result.
class HookDelegate : public Layer::DrawDelegate
{
public:
    HookDelegate(std::vector<std::string>* log, std::string name) : mLog(log), mName(std::move(name)) {}
    const void* GetObject() const override { return this; }
    const void* GetMethod() const override { return nullptr; }
    VNResultEnum Invoke(render::Graphics*, Layer*) override
    {
        mLog->push_back(mName);
        return result;
    }
    std::vector<std::string>* mLog;
    std::string mName;
    VNResultEnum result = VN_OK;
};

CountedHandle<Layer::DrawDelegate> Hook(std::vector<std::string>* log, const std::string& name,
                                        VNResultEnum result = VN_OK)
{
    auto* d = new HookDelegate(log, name);
    d->result = result;
    CountedHandle<Layer::DrawDelegate> h;
    h.Reset(d);
    return h;
}

math::Point3 Mapped(const Layer& l, const math::Point3& p)
{
    math::Point3 out = p;
    l.GetTransform().GetMatrix().TransformPoint(out);
    return out;
}

void ExpectBox(const math::AABB& box, float x0, float y0, float x1, float y1)
{
    EXPECT_NEAR(box.mMin.x, x0, 1e-3f);
    EXPECT_NEAR(box.mMin.y, y0, 1e-3f);
    EXPECT_NEAR(box.mMax.x, x1, 1e-3f);
    EXPECT_NEAR(box.mMax.y, y1, 1e-3f);
}

} // namespace

TEST(Layer, InvisibleLayerDrawsNothingAndCallsNoDelegate)
{
    std::vector<std::string> log;
    Layer root;
    Layer child;
    root.AddChild(&child);
    root.SetPreDraw(Hook(&log, "root-pre"));
    root.SetPostDraw(Hook(&log, "root-post"));
    child.SetPreDraw(Hook(&log, "child-pre"));
    root.SetVisible(false);
    EXPECT_EQ(root.Draw(nullptr), VN_OK);
    EXPECT_TRUE(log.empty());

    root.SetVisible(true);
    EXPECT_EQ(root.Draw(nullptr), VN_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"root-pre", "child-pre", "root-post"}));
}

TEST(Layer, DrawStopsAtTheFirstError)
{
    std::vector<std::string> log;
    Layer root, a, b;
    root.AddChild(&a);
    root.AddChild(&b);
    a.SetPreDraw(Hook(&log, "a", static_cast<VNResultEnum>(7)));
    b.SetPreDraw(Hook(&log, "b"));
    root.SetPostDraw(Hook(&log, "post"));
    EXPECT_EQ(root.Draw(nullptr), 7);
    EXPECT_EQ(log, std::vector<std::string>{"a"});
}

TEST(Layer, AlphaIsInherited)
{
    Layer root, child, grandchild;
    root.AddChild(&child);
    child.AddChild(&grandchild);
    root.SetAlpha(0.5f);
    child.SetAlpha(0.5f);
    ASSERT_EQ(root.Draw(nullptr), VN_OK);
    EXPECT_FLOAT_EQ(child.GetEffectiveAlpha(), 0.25f);
    EXPECT_FLOAT_EQ(grandchild.GetEffectiveAlpha(), 0.25f);

    // A child that does not multiply takes its parent's base alpha.
    grandchild.SetMultiplyParentAlpha(false);
    grandchild.SetAlpha(0.8f);
    ASSERT_EQ(root.Draw(nullptr), VN_OK);
    EXPECT_FLOAT_EQ(grandchild.GetBaseAlpha(), 0.5f);
    EXPECT_FLOAT_EQ(grandchild.GetEffectiveAlpha(), 0.4f);
}

TEST(Layer, PositionSetterTolerance)
{
    Layer l;
    l.SetPosition(math::Point3(0.0001f, 0.0001f, 0.0001f));
    EXPECT_FALSE(l.IsTransformChanged());
    EXPECT_EQ(l.GetPosition().x, 0.0f);
    l.SetX(0.0001f);
    EXPECT_TRUE(l.IsTransformChanged());
    EXPECT_FALSE(l.IsParentBoxValid());
    EXPECT_EQ(l.GetPosition().x, 0.0001f);
}

TEST(Layer, AddChildMovesBetweenParents)
{
    Layer a, b, c, child;
    a.AddChild(&c);
    a.AddChild(&child);
    b.AddChild(&child);
    EXPECT_EQ(a.GetChildren(), std::vector<Layer*>{&c});
    EXPECT_EQ(b.GetChildren(), std::vector<Layer*>{&child});
    EXPECT_EQ(child.GetParent(), &b);
    b.RemoveChild(&c); // not listed: nothing
    EXPECT_EQ(c.GetParent(), &a);
    b.RemoveChild(&child);
    EXPECT_EQ(child.GetParent(), nullptr);
    EXPECT_TRUE(b.GetChildren().empty());
}

TEST(Layer, TransformsAreRebuiltAfterTheFirstMove)
{
    Layer root, child;
    root.AddChild(&child);
    ASSERT_EQ(root.Draw(nullptr), VN_OK);
    EXPECT_FALSE(root.IsTransformChanged());
    math::Point3 p = Mapped(child, math::Point3(3, 4, 0));
    EXPECT_FLOAT_EQ(p.x, 3.0f);
    EXPECT_FLOAT_EQ(p.y, 4.0f);

    root.SetPosition(math::Point3(10, 20, 0));
    child.SetScale(math::Point3(2, 2, 1));
    ASSERT_EQ(root.Draw(nullptr), VN_OK);
    p = Mapped(child, math::Point3(3, 4, 0));
    EXPECT_FLOAT_EQ(p.x, 16.0f);
    EXPECT_FLOAT_EQ(p.y, 28.0f);

    // A child added later follows the placed parent.
    Layer late;
    late.SetPosition(math::Point3(1, 0, 0));
    root.AddChild(&late);
    EXPECT_TRUE(late.IsParentTransformChanged());
    ASSERT_EQ(root.Draw(nullptr), VN_OK);
    p = Mapped(late, math::Point3(0, 0, 0));
    EXPECT_FLOAT_EQ(p.x, 11.0f);
    EXPECT_FLOAT_EQ(p.y, 20.0f);
}

TEST(Layer, ImageContentBoxFollowsAnchors)
{
    test::MaskImage image(100, 50, [](int, int) { return true; });
    ImageLayer l(&image);
    struct Case
    {
        int h, v;
        float x0, y0, x1, y1;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 100, 50},
        {1, 1, -100, -50, 0, 0},
        {2, 2, -50, -25, 50, 25},
        {2, 0, -50, 0, 50, 50},
    };
    for (const Case& c : cases)
    {
        l.SetAnchors(c.h, c.v);
        l.UpdateBounds();
        ExpectBox(l.GetContentBox(), c.x0, c.y0, c.x1, c.y1);
    }
    // Anchors (2, 2): local (0, 0) is the image's pixel (50, 25).
    l.SetAnchors(2, 2);
    EXPECT_TRUE(l.HitTest(math::Point3(0, 0, 0)));
    EXPECT_EQ(image.mMask.lastX, 50);
    EXPECT_EQ(image.mMask.lastY, 25);
}

TEST(Layer, ParticlesLayerHasNoContentAndIsNeverHit)
{
    ParticlesLayer p;
    EXPECT_FALSE(p.HasContent());
    p.UpdateBounds();
    EXPECT_TRUE(p.GetParentBox().IsEmpty());
    EXPECT_FALSE(p.HitTest(math::Point3(0, 0, 0)));
}

TEST(Layer, ParentBoxUnderRotationAndScale)
{
    RectHitLayer l(math::Rect(0, 0, 10, 20));
    l.SetScale(math::Point3(2, 1, 1));
    l.SetPosition(math::Point3(100, 0, 0));
    l.UpdateBounds();
    ExpectBox(l.GetParentBox(), 100, 0, 120, 20);

    l.SetRotationZ(kHalfPi);
    l.UpdateBounds();
    ExpectBox(l.GetParentBox(), 80, 0, 100, 20);

    // About x: the eight corners are rotated; a half turn flips y.
    RectHitLayer t(math::Rect(0, 0, 10, 20));
    t.SetRotationX(3.1415927f);
    t.UpdateBounds();
    EXPECT_NEAR(t.GetParentBox().mMin.y, -20.0f, 1e-3f);
    EXPECT_NEAR(t.GetParentBox().mMax.y, 0.0f, 1e-3f);

    // A negative scale keeps the box ordered.
    RectHitLayer m(math::Rect(0, 0, 10, 20));
    m.SetScaleX(-1.0f);
    m.UpdateBounds();
    ExpectBox(m.GetParentBox(), -10, 0, 0, 20);
}

// The parent's box must grow and shrink with its child list, even when the child's own boxes are up to date.
TEST(Layer, BoxesFollowAddedAndRemovedChildren)
{
    Layer root;
    RectHitLayer a(math::Rect(0, 0, 10, 10));
    RectHitLayer b(math::Rect(0, 0, 10, 10));
    b.SetPosition(math::Point3(100, 100, 0));
    root.AddChild(&a);
    root.UpdateBounds();
    b.UpdateBounds(); // b's boxes are fresh before it joins
    root.AddChild(&b);
    root.UpdateBounds();
    ExpectBox(root.GetLocalBox(), 0, 0, 110, 110);

    root.RemoveChild(&b);
    root.UpdateBounds();
    ExpectBox(root.GetLocalBox(), 0, 0, 10, 10);

    // A moved grandchild reaches the root's box through the chain.
    Layer mid;
    root.AddChild(&mid);
    mid.AddChild(&b);
    root.UpdateBounds();
    b.SetPosition(math::Point3(200, 0, 0));
    root.UpdateBounds();
    ExpectBox(root.GetLocalBox(), 0, 0, 210, 10);
}

TEST(Layer, DestroyedLayerLeavesNoPointerBehind)
{
    Layer root;
    auto* child = new Layer;
    Layer grandchild;
    root.AddChild(child);
    child->AddChild(&grandchild);
    delete child;
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_EQ(grandchild.GetParent(), nullptr);
    EXPECT_EQ(root.Draw(nullptr), VN_OK);
}

TEST(Layer, ToLayerSpaceUndoesAncestorsFromTheRootDown)
{
    Layer root, child;
    root.AddChild(&child);
    root.SetPosition(math::Point3(100, 0, 0));
    root.SetScale(math::Point3(2, 2, 1));
    child.SetPosition(math::Point3(10, 0, 0));
    // Root space x = 100 + 2 × (10 + local x): 140 is local x 10.
    math::Point3 out;
    child.ToLayerSpace(math::Point3(140, 8, 0), out);
    EXPECT_FLOAT_EQ(out.x, 10.0f);
    EXPECT_FLOAT_EQ(out.y, 4.0f);

    // And it is the inverse of the drawn transform.
    ASSERT_EQ(root.Draw(nullptr), VN_OK);
    const math::Point3 drawn = Mapped(child, out);
    EXPECT_NEAR(drawn.x, 140.0f, 1e-4f);
    EXPECT_NEAR(drawn.y, 8.0f, 1e-4f);
}
