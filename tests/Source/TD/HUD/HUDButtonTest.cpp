#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/Controls/HUDLayerButton.h"
#include "Source/TD/HUD/HUDTestSupport.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// A menu layout with the shared faces of the art b2 (the over face a little larger), a labelled button
// "b2_play", an unlabelled "b2_opts", and a group without "_".
class HUDButtonOverTest : public hudtest::ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        hudtest::WriteLayout(mRoot / "td/menu", {
                                                    {"button/b2_normal", 0, 0, 60, 20},
                                                    {"button/b2_over", 0, 0, 64, 22},
                                                    {"button/b2_play/pos", 100, 100, 60, 20},
                                                    {"button/b2_play/label", 110, 102, 40, 16},
                                                    {"button/b2_opts/pos", 100, 200, 60, 20},
                                                    {"button/plain/pos", 300, 300, 10, 10},
                                                });
        file::RegisterImageContainers();
        mLayout.reset(file::FileManager::Instance()->OpenImageContainer(L"td/menu"));
        ASSERT_TRUE(mLayout);
    }
    void TearDown() override
    {
        mLayout.reset();
        ScreenFixture::TearDown();
    }

    std::unique_ptr<file::ImageContainer> mLayout;
};

} // namespace

TEST_F(HUDButtonOverTest, GroupNameGivesNamePlaceLabelAndSharedFaces)
{
    HUDButtonOver play(mLayout.get(), L"b2_play");
    EXPECT_EQ(play.mName, L"play");
    EXPECT_EQ(play.mVisible, 1);
    EXPECT_EQ(play.mHasLabel, 1);
    EXPECT_EQ(play.mLabelRect, math::Rect(110, 102, 40, 16));
    ASSERT_NE(play.mNormal, nullptr);
    ASSERT_NE(play.mOver, nullptr);
    EXPECT_EQ(play.mNormal->mName, L"b2_normal");
    EXPECT_EQ(play.mOver->mName, L"b2_over");
    EXPECT_EQ(play.mNormal->mRect, math::Rect(100, 100, 60, 20));
    EXPECT_EQ(play.mOver->mRect, math::Rect(100, 100, 60, 20)) << "both faces stand on the group's place";
    ASSERT_NE(play.mOver->mTexture, nullptr);
    EXPECT_EQ(play.mOver->mTexture->GetWidth(), 64);
    EXPECT_TRUE(play.mNormal->mOwnsTexture);
    EXPECT_EQ(play.mFont.Get(), &mBoard->font(TDBoardFont::Main32_1));

    HUDButtonOver opts(mLayout.get(), L"b2_opts");
    EXPECT_EQ(opts.mHasLabel, 0);
    EXPECT_TRUE(tdtest::LogCapture::Text().empty()) << "the label is optional";

    // No "_": the whole name is the art, the button has no name; its faces are missing and logged once each.
    HUDButtonOver plain(mLayout.get(), L"plain");
    EXPECT_EQ(plain.mName, L"");
    EXPECT_EQ(plain.mNormal->mTexture, nullptr);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'button/plain_normal'"), 1);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'button/plain_over'"), 1);
    EXPECT_TRUE(plain.contains(305, 305)) << "its place still counts";

    // A group the layout lacks entirely: no place, no area, no crash.
    HUDButtonOver none(mLayout.get(), L"b9_none");
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'button/b9_none/pos'"), 1);
    EXPECT_FALSE(none.contains(100, 100));
    none.draw(&Graphics());
}

TEST_F(HUDButtonOverTest, EdgesCountAndTheOffsetMovesTheArea)
{
    HUDButtonOver play(mLayout.get(), L"b2_play");
    struct Case
    {
        int x, y;
        float offset;
        bool inside;
    };
    const Case cases[] = {
        {100, 100, 0, true}, {160, 120, 0, true},  {161, 110, 0, false},  {130, 121, 0, false},
        {99, 110, 0, false}, {200, 110, 50, true}, {120, 110, 50, false}, {210, 120, 50, true},
    };
    for (const Case& c : cases)
    {
        play.mXOffset = c.offset;
        EXPECT_EQ(play.contains(c.x, c.y), c.inside) << "(" << c.x << ", " << c.y << ") offset " << c.offset;
    }
    play.mXOffset = 0;
    play.mVisible = 0;
    EXPECT_FALSE(play.contains(130, 110)) << "an invisible button is not hit";
    EXPECT_FALSE(play.hitTest(130, 110)) << "the hit test of the base";
}

TEST_F(HUDButtonOverTest, PressLastsUntilAnyReleaseAndHoverZoomsWithinBounds)
{
    HUDButtonOver play(mLayout.get(), L"b2_play");
    play.mouseDown(10, 10);
    EXPECT_EQ(play.mPressed, 0);
    play.mouseDown(130, 110);
    EXPECT_EQ(play.mPressed, 1);
    play.mouseUp(500, 500);
    EXPECT_EQ(play.mPressed, 0) << "released anywhere";

    play.mouseMove(130, 110);
    EXPECT_EQ(play.mHovered, 1);
    play.update(0.1f);
    EXPECT_FLOAT_EQ(play.mScale, 1.05f);
    EXPECT_FLOAT_EQ(play.mElapsed, 0.1f);
    play.update(0.5f);
    EXPECT_FLOAT_EQ(play.mScale, 1.1f);
    play.mouseMove(0, 0);
    EXPECT_EQ(play.mHovered, 0);
    play.update(0.05f);
    EXPECT_FLOAT_EQ(play.mScale, 1.05f);
    play.update(0.5f);
    EXPECT_FLOAT_EQ(play.mScale, 1.0f);
}

TEST_F(HUDButtonOverTest, DrawsTheShownFaceZoomedOnItsPlaceAndTheLabelInTheButtonFont)
{
    HUDButtonOver play(mLayout.get(), L"b2_play");
    play.mLabel = L"Play";
    play.mScale = 1.1f;
    auto& font = mBoard->font(TDBoardFont::Main32_1);
    uint32_t used = Used2D();
    play.draw(&Graphics());
    std::vector<hudtest::Quad> quads = QuadsSince(used);
    ASSERT_EQ(quads.size(), 1u);
    // The 60 x 20 normal face zoomed by 1.1 about the place's centre (130, 110).
    EXPECT_FLOAT_EQ(quads[0].left, 97.0f);
    EXPECT_FLOAT_EQ(quads[0].right, 163.0f);
    EXPECT_FLOAT_EQ(quads[0].top, 99.0f);
    EXPECT_FLOAT_EQ(quads[0].bottom, 121.0f);
    ASSERT_EQ(font.draws.size(), 1u);
    EXPECT_EQ(font.draws[0].text, L"Play");
    EXPECT_FLOAT_EQ(font.draws[0].centre().x, 130.0f);
    EXPECT_FLOAT_EQ(font.draws[0].centre().y, 110.0f);
    EXPECT_FLOAT_EQ(font.draws[0].width(), 44.0f);
    EXPECT_EQ(font.draws[0].color, render::Color(1, 1, 1, 1));

    // Pressed: the over face; moved by the offset.
    play.mPressed = 1;
    play.mScale = 1.0f;
    play.mXOffset = 10.0f;
    used = Used2D();
    play.draw(&Graphics());
    quads = QuadsSince(used);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].width(), 64.0f);
    EXPECT_FLOAT_EQ(quads[0].left, 108.0f);
    EXPECT_FLOAT_EQ(font.draws.back().centre().x, 140.0f);

    // Invisible: nothing; without a label text: the face only.
    play.mVisible = 0;
    used = Used2D();
    play.draw(&Graphics());
    EXPECT_EQ(Used2D(), used);
    play.mVisible = 1;
    play.mLabel.clear();
    font.draws.clear();
    play.draw(&Graphics());
    EXPECT_TRUE(font.draws.empty());
}

namespace
{

// Two frames over test images: the normal picture 40 x 20, the pressed one 44 x 24.
class HUDLayerButtonTest : public hudtest::ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        mNormal.mTexture = &mNormalImage;
        mNormal.mRect = math::Rect(0, 0, 40, 20);
        mPressed.mTexture = &mPressedImage;
        mPressed.mRect = math::Rect(0, 0, 44, 24);
    }

    render::test::TestImage mNormalImage{40, 20};
    render::test::TestImage mPressedImage{44, 24};
    TDFrameEntry mNormal;
    TDFrameEntry mPressed;
};

} // namespace

TEST_F(HUDLayerButtonTest, PicturesCentredLabelLastAndStrictHits)
{
    HUDLayerButton button(&mNormal, &mPressed, L"Skip");
    ASSERT_EQ(button.GetChildren().size(), 3u);
    EXPECT_EQ(button.GetChildren()[0], button.mNormalLayer);
    EXPECT_EQ(button.GetChildren()[1], button.mPressedLayer);
    EXPECT_EQ(button.GetChildren()[2], button.mLabelLayer);
    EXPECT_EQ(button.mNormalLayer->GetPosition(), math::Point3(-20, -10, 0));
    EXPECT_EQ(button.mPressedLayer->GetPosition(), math::Point3(-22, -12, 0));
    EXPECT_TRUE(button.mNormalLayer->IsVisible());
    EXPECT_TRUE(button.mPressedLayer->IsVisible());
    EXPECT_FALSE(button.mNormalLayer->OwnsImage());
    EXPECT_EQ(button.mLabelLayer->GetText(), L"Skip");
    EXPECT_EQ(button.mLabelLayer->GetFont().Get(), &mBoard->font(TDBoardFont::Main42_3));
    EXPECT_EQ(button.mLabelLayer->GetLayout().mWidth, 400.0f);
    EXPECT_EQ(button.mLabelLayer->GetAlignH(), 2);
    EXPECT_EQ(button.mLabelLayer->GetAlignV(), 2);

    button.SetPosition(math::Point3(100, 50, 0));
    button.SetScale(math::Point3(2, 2, 2)); // the hit test ignores the scale
    struct Case
    {
        int x, y;
        bool hit;
    };
    const Case cases[] = {{100, 50, true},  {81, 41, true},   {119, 59, true},  {80, 50, false},
                          {120, 50, false}, {100, 40, false}, {100, 60, false}, {70, 50, false}};
    for (const Case& c : cases)
        EXPECT_EQ(button.hitTest(c.x, c.y), c.hit) << "(" << c.x << ", " << c.y << ")";
    button.SetVisible(false);
    EXPECT_FALSE(button.hitTest(100, 50));
    button.onClick(100, 50); // nothing in the base

    // Missing frames leave the pictures empty and the button unhittable.
    HUDLayerButton bare(nullptr, nullptr, L"");
    EXPECT_FALSE(bare.hitTest(0, 0));
}

TEST_F(HUDLayerButtonTest, HoverGrowsByDtAndShrinksByHalfDt)
{
    HUDLayerButton button(&mNormal, &mPressed, L"Skip");
    button.updateHover(0, 0);
    EXPECT_EQ(button.mHovered, 1);
    button.update(0.05f);
    EXPECT_FLOAT_EQ(button.mScale, 1.05f);
    EXPECT_FLOAT_EQ(button.GetScale().x, 1.05f);
    EXPECT_FLOAT_EQ(button.GetScale().z, 1.05f);
    button.update(1.0f);
    EXPECT_FLOAT_EQ(button.mScale, 1.1f);
    button.updateHover(300, 300);
    EXPECT_EQ(button.mHovered, 0);
    button.update(0.1f);
    EXPECT_FLOAT_EQ(button.mScale, 1.05f);
    EXPECT_FLOAT_EQ(button.GetScale().y, 1.05f);
    button.update(1.0f);
    EXPECT_FLOAT_EQ(button.mScale, 1.0f);
}
