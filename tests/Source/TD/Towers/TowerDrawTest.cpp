// How a tower shows, on the recording back end: the frame its state and animation time choose (the entry for
// the map's depth-sorted list and the overlay above the context menu), where that frame stands with and
// without the sheet's "base_point", and the star marks and boost marker above it, under the map's camera.
// The dart of level 1-1 is drawn from a small sheet made here, whose frames all differ in size.
#include "Core/Base/Containers.h"
#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Source/TD/HUD/Play/TDContextIcons.h"
#include "Source/TD/Harness/TDDrawCapture.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "TowerFixture.h"

#include <memory>

namespace
{
using tdtest::Quad;
using tdtest::RecordedFrame;

constexpr int kGroundList = 1;

// A sheet of 100 x 80 whose frames are told apart by their size: the idle and blast frames by their widths,
// the root group's 32 sectors of 4 frames by width and height together.
class TestSheet
{
public:
    explicit TestSheet(bool withBasePoint)
    {
        mRow.Parse("<row/>");
        mSheet = std::make_unique<TDSpriteSheet>(*mRow.FirstChildElement("row"));
        add("idle", 0, 0, 100, 80); // the whole sheet: it sets the extent
        add("idle", 20, 10, 60, 70);
        add("idle", 20, 10, 61, 70);
        add("blast", 20, 0, 62, 80);
        add("blast", 20, 0, 63, 80);
        add("blast", 20, 0, 64, 80);
        for (int i = 0; i < 128; ++i)
            add("", 0, 0, 10 + i % 64, 10 + i / 64);
        if (withBasePoint)
            add("base_point", 30, 70, 2, 2);
    }

    TDSpriteSheet* get() { return mSheet.get(); }
    const TDFrameEntry* frame(const char* group, std::size_t index) const
    {
        return mSheet->getGroup(std::string(group)).at(index);
    }

private:
    void add(const char* group, int x, int y, int w, int h)
    {
        auto* entry = new TDFrameEntry;
        entry->mRect = math::Rect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                                  static_cast<float>(h));
        entry->mTexture = new render::test::TestImage(w, h);
        mSheet->mGroups[group].push_back(entry);
    }

    tinyxml2::XMLDocument mRow;
    std::unique_ptr<TDSpriteSheet> mSheet;
};

class TowerDraw : public tdtest::TowerFixture
{
protected:
    void SetUp() override
    {
        TowerFixture::SetUp();
        mTower = build(10000);
        ASSERT_NE(mTower, nullptr);
        mProto = mTower->getProto(-1);
        ASSERT_NE(mProto, nullptr);
        mSavedSheet = mProto->sheet;
        mSavedFps = mProto->fps;
        mSavedRotating = mProto->rotating;
        mSavedStars = mProto->stars;
        mProto->fps = 10.0f;
    }
    void TearDown() override
    {
        if (mProto)
        {
            mProto->sheet = mSavedSheet;
            mProto->fps = mSavedFps;
            mProto->rotating = mSavedRotating;
            mProto->stars = mSavedStars;
        }
        mMap->mViewScale = 1.0f;
        mMap->mViewOffsetX = 0.0f;
        mMap->mViewOffsetY = 0.0f;
    }

    // The entry the tower queues for the depth-sorted list; the list is emptied again.
    std::unique_ptr<TDFrameEntry> queued()
    {
        auto& list = mMap->mFrameLists[kGroundList];
        base::DeleteAll(list);
        mTower->collectDrawEntry();
        EXPECT_EQ(list.size(), 1u);
        std::unique_ptr<TDFrameEntry> entry(list.empty() ? nullptr : list.back());
        list.clear();
        return entry;
    }
    // The quads of the tower drawn above the context menu.
    std::vector<Quad> overlay()
    {
        RecordedFrame frame(mHarness.recording());
        const uint32_t mark = frame.mark();
        mTower->drawOverlay(frame.graphics());
        return frame.quadsSince(mark);
    }

    TDTower* mTower = nullptr;
    TDUnitProto* mProto = nullptr;
    // What the test changes in the table's prototype, put back afterwards.
    TDSpriteSheet* mSavedSheet = nullptr;
    float mSavedFps = 0.0f;
    bool mSavedRotating = false;
    int mSavedStars = 0;
};

TEST_F(TowerDraw, StateAndAnimationTimeChooseTheFrameOfATowerThatDoesNotTurn)
{
    TestSheet sheet(true);
    mProto->sheet = sheet.get();
    mProto->rotating = false;
    struct Case
    {
        int state;
        float time; // at 10 frames a second
        const char* group;
        std::size_t index;
        const char* overlayGroup;
        std::size_t overlayIndex;
    };
    const Case cases[] = {
        {kTowerIdle, 0.0f, "idle", 0, "idle", 0},
        {kTowerIdle, 0.15f, "idle", 1, "idle", 1},
        {kTowerWaiting, 0.25f, "idle", 2, "idle", 2},
        {kTowerIdle, 0.35f, "idle", 0, "idle", 0}, // past the last idle frame: the first
        {kTowerFiring, 0.0f, "blast", 0, "blast", 0},
        {kTowerFiring, 0.15f, "blast", 1, "blast", 1},
        {kTowerFiring, 0.55f, "blast", 2, "blast", 2}, // past the last blast frame: the last
        // Waiting for its shell the tower shows the blast frame before the time's; the overlay the idle one.
        {kTowerWaitingForShell, 0.15f, "blast", 0, "idle", 1},
        {kTowerWaitingForShell, 0.25f, "blast", 1, "idle", 2},
        {kTowerWaitingForShell, 0.35f, "blast", 2, "idle", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", time " << c.time);
        mTower->mState = c.state;
        mTower->mAnimationTime = c.time;
        const std::unique_ptr<TDFrameEntry> entry = queued();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->mTexture, sheet.frame(c.group, c.index)->mTexture)
            << "expected " << c.group << " " << c.index;
        const std::vector<Quad> quads = overlay();
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_NEAR(quads[0].width(), sheet.frame(c.overlayGroup, c.overlayIndex)->mRect.width, 0.01f)
            << "overlay: expected " << c.overlayGroup << " " << c.overlayIndex;
    }
}

TEST_F(TowerDraw, ATurningTowerShowsTheFirstFrameOfItsSectorUnlessFiring)
{
    TestSheet sheet(true);
    mProto->sheet = sheet.get();
    mProto->rotating = true;
    struct Case
    {
        float direction;
        int state;
        float time;
        std::size_t index; // in the root group
    };
    const Case cases[] = {
        {90.0f, kTowerIdle, 0.25f, 4 * 23},         // sector 8: index 23
        {90.0f, kTowerWaitingForShell, 0.25f, 4 * 23},
        {90.0f, kTowerFiring, 0.25f, 4 * 23 + 2},
        {360.0f, kTowerFiring, 0.15f, 4 * 31 + 1}, // 360 degrees: sector 32, index 31
        {359.0f, kTowerIdle, 0.0f, 0},             // sector 31: index 0
        {-5.0f, kTowerIdle, 0.0f, 0},              // sector -1: index 0
        {0.0f, kTowerFiring, 0.55f, 127},          // past the root group: its last frame
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "direction " << c.direction << ", state " << c.state);
        mTower->mCurrentDirection = c.direction;
        mTower->mState = c.state;
        mTower->mAnimationTime = c.time;
        const std::unique_ptr<TDFrameEntry> entry = queued();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->mTexture, sheet.frame("", c.index)->mTexture) << "expected root " << c.index;
        const std::vector<Quad> quads = overlay();
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_NEAR(quads[0].width(), sheet.frame("", c.index)->mRect.width, 0.01f);
        EXPECT_NEAR(quads[0].height(), sheet.frame("", c.index)->mRect.height, 0.01f);
    }
}

// The frame's centre is put where the sheet's "base_point" stands on the tower's base point; without one,
// the sheet stands centred on the base point with its bottom edge on it. The queued entry carries the tower's
// alpha and sorts by its base y; the overlay is drawn at the same place under the camera.
TEST_F(TowerDraw, TheBasePointOrTheSheetsBottomCentreStandsOnTheTowersBasePoint)
{
    mTower->mState = kTowerIdle;
    mTower->mAlpha = 0.75f;
    mProto->rotating = false;
    const float bx = mTower->mBaseX;
    const float by = mTower->mBaseY;
    struct Case
    {
        const char* name;
        bool basePoint;
        float time; // 0: the whole-sheet idle frame, 0.15: the frame at (20, 10) of 60 x 70
        float dx, dy; // the frame centre from the base point
    };
    const Case cases[] = {
        // (20 + 30 - 30, 10 + 35 - 70) with the base point's layer at (30, 70).
        {"base point, inner frame", true, 0.15f, 20.0f, -25.0f},
        {"base point, whole sheet", true, 0.0f, 20.0f, -30.0f},
        // (20 + 30 - 50, 10 + 35 - 40 - 40) without it: the sheet's bottom centre on the base point.
        {"no base point, inner frame", false, 0.15f, 0.0f, -35.0f},
        {"no base point, whole sheet", false, 0.0f, 0.0f, -40.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TestSheet sheet(c.basePoint);
        mProto->sheet = sheet.get();
        mTower->mAnimationTime = c.time;
        const std::unique_ptr<TDFrameEntry> entry = queued();
        ASSERT_NE(entry, nullptr);
        float x = 0.0f;
        float y = 0.0f;
        entry->mTransform.Apply(x, y);
        EXPECT_NEAR(x, bx + c.dx, 0.01f);
        EXPECT_NEAR(y, by + c.dy, 0.01f);
        EXPECT_FLOAT_EQ(entry->mColor.r, 1.0f);
        EXPECT_FLOAT_EQ(entry->mColor.g, 1.0f);
        EXPECT_FLOAT_EQ(entry->mColor.b, 1.0f);
        EXPECT_FLOAT_EQ(entry->mColor.a, 0.75f);
        EXPECT_FLOAT_EQ(entry->mSortKey, by);
        EXPECT_FALSE(entry->mOwnsTexture) << "the sheet keeps its pictures";

        const TDFrameEntry* shown = sheet.frame("idle", c.time > 0.0f ? 1 : 0);
        for (const float scale : {1.0f, 2.0f})
        {
            SCOPED_TRACE(testing::Message() << "camera scale " << scale);
            mMap->mViewScale = scale;
            mMap->mViewOffsetX = scale == 1.0f ? 0.0f : -100.0f;
            mMap->mViewOffsetY = scale == 1.0f ? 0.0f : 30.0f;
            const std::vector<Quad> quads = overlay();
            ASSERT_EQ(quads.size(), 1u);
            EXPECT_NEAR(quads[0].centre().x, (bx + c.dx) * scale + mMap->mViewOffsetX, 0.01f);
            EXPECT_NEAR(quads[0].centre().y, (by + c.dy) * scale + mMap->mViewOffsetY, 0.01f);
            EXPECT_NEAR(quads[0].width(), shown->mRect.width * scale, 0.01f);
            EXPECT_NEAR(quads[0].height(), shown->mRect.height * scale, 0.01f);
        }
    }
}

// The star mark of the prototype's count (marks exist for 1 to 3 stars) is drawn once per star, every time at
// (aim x + 15, aim y); a boosted tower gets the boost marker centred 50 above its aim point. Both follow the
// map's camera.
TEST_F(TowerDraw, StarMarksOncePerStarAndTheBoostMarkerAboveTheAimPoint)
{
    TDContextIcons& icons = *mMap->mContextIcons;
    const TDContextIcons saved = icons;
    render::test::TestImage one(10, 10);
    render::test::TestImage two(12, 12);
    render::test::TestImage three(14, 14);
    render::test::TestImage boost(30, 20);
    icons.starMarks[0] = &one;
    icons.starMarks[1] = &two;
    icons.starMarks[2] = &three;
    icons.boostMarker = &boost;
    const float ax = mTower->mX;
    const float ay = mTower->mY;
    struct Case
    {
        int stars;
        bool boosted;
        std::size_t marks;
        float markSize;
    };
    const Case cases[] = {
        {0, false, 0, 0.0f},  {1, false, 1, 10.0f}, {2, false, 2, 12.0f}, {3, true, 3, 14.0f},
        {4, false, 0, 0.0f},  {13, true, 0, 0.0f},  {0, true, 0, 0.0f},   {-1, false, 0, 0.0f},
    };
    for (const Case& c : cases)
        for (const float scale : {1.0f, 2.0f})
        {
            SCOPED_TRACE(testing::Message() << c.stars << " stars, boosted " << c.boosted << ", camera scale "
                                            << scale);
            mProto->stars = c.stars;
            mTower->mBoosted = c.boosted;
            mMap->mViewScale = scale;
            mMap->mViewOffsetX = scale == 1.0f ? 0.0f : -100.0f;
            mMap->mViewOffsetY = scale == 1.0f ? 0.0f : 30.0f;
            const float ox = mMap->mViewOffsetX;
            const float oy = mMap->mViewOffsetY;
            RecordedFrame frame(mHarness.recording());
            const uint32_t mark = frame.mark();
            mTower->drawExtras(frame.graphics());
            const std::vector<Quad> quads = frame.quadsSince(mark);
            ASSERT_EQ(quads.size(), c.marks + (c.boosted ? 1u : 0u));
            for (std::size_t i = 0; i < c.marks; ++i)
            {
                EXPECT_NEAR(quads[i].left, (ax + 15.0f) * scale + ox, 0.01f) << "mark " << i;
                EXPECT_NEAR(quads[i].top, ay * scale + oy, 0.01f);
                EXPECT_NEAR(quads[i].width(), c.markSize * scale, 0.01f);
                EXPECT_NEAR(quads[i].height(), c.markSize * scale, 0.01f);
            }
            if (c.boosted)
            {
                const Quad& marker = quads.back();
                EXPECT_NEAR(marker.centre().x, ax * scale + ox, 0.01f);
                EXPECT_NEAR(marker.centre().y, (ay - 50.0f) * scale + oy, 0.01f);
                EXPECT_NEAR(marker.width(), 30.0f * scale, 0.01f);
                EXPECT_NEAR(marker.height(), 20.0f * scale, 0.01f);
            }
        }
    icons = saved;
}

} // namespace
