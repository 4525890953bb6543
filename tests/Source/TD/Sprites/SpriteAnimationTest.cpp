#include "Source/TD/Sprites/TDTestSupport.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteAnimation.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using tdtest::FixtureFrame;

namespace
{

class SpriteAnimation : public tdtest::SheetDrawFixture
{
};

// n frames of 10 x 10 side by side in a group.
std::vector<FixtureFrame> Row(const std::string& group, int n)
{
    std::vector<FixtureFrame> frames;
    for (int i = 0; i < n; ++i)
        frames.push_back({group, std::wstring(group.begin(), group.end()) + std::to_wstring(i),
                          math::Rect(10.0f * static_cast<float>(i), 0, 10, 10)});
    return frames;
}

math::Point2 Mapped(TDFrameEntry* frame, float x, float y)
{
    frame->mTransform.Apply(x, y);
    return math::Point2(x, y);
}

} // namespace

TEST(SpriteAnimationRule, PlayedThroughTable)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        float time;
        std::size_t frames;
        float fps;
        bool done;
    };
    const Case cases[] = {
        {0.2f, 8, 30.0f, false}, {0.27f, 8, 30.0f, true},
        {0.0f, 0, 30.0f, true}, // no frames: nothing to wait for
        {0.0f, 8, 0.0f, true},   {5.0f, 8, -1.0f, true},
        {0.0f, 8, nan, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDSpriteAnimation::isPlayedThrough(c.time, c.frames, c.fps), c.done)
            << c.time << " s, " << c.frames << " frames, " << c.fps << " fps";
}

TEST_F(SpriteAnimation, StepsThroughTheRootGroupAndWrapsAfterOneCycle)
{
    tdtest::RegisterSheet(L"td/anim8", Row("", 8));
    TDSpriteAnimation animation(L"td/anim8", L"");
    ASSERT_EQ(animation.getFrameCount(), 8u);
    const std::vector<TDFrameEntry*>& root = animation.mSheet->getGroup("");

    animation.advance(0.1f);
    EXPECT_EQ(animation.getFrame(0, 0, 0), root[3]);
    animation.mTime = 0.26f;
    animation.advance(0.0066f);
    EXPECT_GT(animation.mTime, 0.26f); // not yet 8/30 s
    EXPECT_EQ(animation.getFrame(0, 0, 0), root[7]);
    animation.advance(0.001f);
    EXPECT_EQ(animation.mTime, 0.0f);

    // Animations share the sheet's entries.
    TDSpriteAnimation other(L"td/anim8", L"");
    EXPECT_EQ(other.getFrame(0, 0, 0), animation.getFrame(5, 5, 0));

    // Without a frame rate the first frame stays.
    animation.mFps = 0.0f;
    animation.advance(0.5f);
    EXPECT_EQ(animation.mTime, 0.0f);
    EXPECT_EQ(animation.getFrame(0, 0, 0), root[0]);
}

TEST_F(SpriteAnimation, NamedGroupsCycleWithinThemselves)
{
    std::vector<FixtureFrame> frames = Row("", 8);
    for (const FixtureFrame& f : Row("walk", 3))
        frames.push_back(f);
    tdtest::RegisterSheet(L"td/walker", frames);
    TDSpriteAnimation walk(L"td/walker", L"walk");
    const std::vector<TDFrameEntry*>& group = walk.mSheet->getGroup("walk");
    walk.mTime = 0.1f; // step 3
    EXPECT_EQ(walk.getFrame(0, 0, 0), group[0]);
    walk.mTime = 0.14f; // step 4
    EXPECT_EQ(walk.getFrame(0, 0, 0), group[1]);

    // Over a sheet whose root group is empty every advance starts the time again.
    tdtest::RegisterSheet(L"td/rootless", Row("walk", 3));
    TDSpriteAnimation rootless(L"td/rootless", L"walk");
    rootless.advance(0.05f);
    EXPECT_EQ(rootless.mTime, 0.0f);
    EXPECT_EQ(rootless.getFrame(0, 0, 0), rootless.mSheet->getGroup("walk")[0]);
}

TEST_F(SpriteAnimation, EmptyGroupsShowNothing)
{
    // A sheet that failed to load: no groups at all.
    TDSpriteAnimation root(L"td/nowhere", L"");
    TDSpriteAnimation named(L"td/nowhere", L"walk");
    EXPECT_EQ(root.getFrameCount(), 0u);
    root.advance(0.5f);
    named.advance(0.5f);
    EXPECT_EQ(root.mTime, 0.0f);
    EXPECT_EQ(root.getFrame(1, 2, 3), nullptr);
    EXPECT_EQ(named.getFrame(1, 2, 3), nullptr);
    const uint32_t before = Used2D();
    root.draw(graphics.get(), 1, 2, 0);
    named.draw(graphics.get(), 1, 2, 0);
    EXPECT_EQ(Used2D(), before);
}

TEST_F(SpriteAnimation, AnchorIsTheMarkerCornerOrTheDefault)
{
    tdtest::RegisterSheet(L"td/plain", Row("", 2));
    TDSpriteAnimation plain(L"td/plain", L"");
    EXPECT_EQ(plain.mAnchorX, 50.0f);
    EXPECT_EQ(plain.mAnchorY, 30.0f);

    tdtest::RegisterSheet(L"td/marked", {{"s_point", L"p", math::Rect(20, 40, 1, 1)},
                                         {"s_point", L"q", math::Rect(7, 7, 1, 1)}});
    TDSpriteAnimation marked(L"td/marked", L"");
    EXPECT_EQ(marked.mAnchorX, 20.0f);
    EXPECT_EQ(marked.mAnchorY, 40.0f);
}

// A layer keeps its place relative to the marker: drawn centred, its centre lands at
// (x - anchor x + rect x + width / 2, y - anchor y + rect y + height / 2), and it turns about that centre.
TEST_F(SpriteAnimation, PlacesTheFrameRelativeToTheAnchor)
{
    tdtest::RegisterSheet(L"td/placed", {{"s_point", L"p", math::Rect(20, 40, 1, 1)},
                                         {"", L"a", math::Rect(10, 30, 20, 10)},
                                         {"", L"b", math::Rect(0, 0, 40, 60)}});
    TDSpriteAnimation animation(L"td/placed", L"");
    TDFrameEntry* frame = animation.getFrame(100, 200, 0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->mName, L"a");
    math::Point2 centre = Mapped(frame, 0, 0);
    EXPECT_NEAR(centre.x, 100.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 195.0f, 1e-3f);

    frame = animation.getFrame(100, 200, 90);
    centre = Mapped(frame, 0, 0);
    EXPECT_NEAR(centre.x, 100.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 195.0f, 1e-3f);
    const math::Point2 corner = Mapped(frame, 10, 5);
    EXPECT_NEAR(corner.x, 105.0f, 1e-3f);
    EXPECT_NEAR(corner.y, 185.0f, 1e-3f);

    // Drawn centred through that transform.
    {
        animation.draw(graphics.get(), 100, 200, 0);
    }
    const render::SVertex2D* v = Last<render::SVertex2D>(4);
    EXPECT_NEAR(v[0].x, 89.5f, 1e-3f);
    EXPECT_NEAR(v[0].y, 189.5f, 1e-3f);
    EXPECT_NEAR(v[2].x, 109.5f, 1e-3f);
    EXPECT_NEAR(v[2].y, 199.5f, 1e-3f);
}
