#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/Controls/HUDScrollBar.h"
#include "Source/TD/HUD/Controls/HUDTabBar.h"
#include "Source/TD/HUD/HUDTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// A shop-like layout: the tab pictures (180 x 60, standing on y 160) and the scroll bar's track and slider.
class BarsTest : public hudtest::ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        hudtest::WriteLayout(mRoot / "td/shop", {
                                                    {"tabs/up_button_ac", 40, 100, 180, 60},
                                                    {"tabs/up_button_in", 40, 100, 180, 60},
                                                    {"scroll/bar", 880, 200, 20, 320},
                                                    {"scroll/slider_in", 870, 300, 40, 50},
                                                });
        filetest::WriteBytes(mRoot / "td/strings_en.csv", "tab_a;Towers\ntab_b;Spells\ntab_c;Heroes\n");
        LocalStrings::Instance()->load(L"td/strings_en.csv");
        file::RegisterImageContainers();
        mLayout.reset(file::FileManager::Instance()->OpenImageContainer(L"td/shop"));
        ASSERT_TRUE(mLayout);
    }
    void TearDown() override
    {
        mLayout.reset();
        ScreenFixture::TearDown();
    }

    std::unique_ptr<HUDTabBar> MakeBar(const std::vector<bool>& enabled)
    {
        return std::make_unique<HUDTabBar>(mLayout.get(),
                                           std::vector<std::wstring>{L"tab_a", L"tab_b", L"tab_c"}, enabled);
    }
    int FontOf(const HUDTab* tab) { return mBoard->indexOf(tab->mLabel->GetFont().Get()); }

    std::unique_ptr<file::ImageContainer> mLayout;
};

} // namespace

// A disabled tab takes the place of the tab after it; the bar hangs on the board and starts on its first tab.
TEST_F(BarsTest, TabsStandOnTheBaselineAndTheFirstStartsSelected)
{
    auto bar = MakeBar({true, false, true});
    ASSERT_EQ(bar->mTabs.size(), 3u);
    EXPECT_EQ(bar->mRoot->GetParent(), &mBoard->root);
    const float xs[] = {300, 500, 500};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(bar->mTabs[i]->mRoot->GetPosition(), math::Point3(xs[i], 160, 0)) << i;
    EXPECT_EQ(bar->mTabs[1]->mEnabled, 0);
    EXPECT_EQ(bar->mRoot->GetChildren().back(), bar->mTabs[0]->mRoot) << "the selected tab is drawn last";
    EXPECT_EQ(bar->mRoot->GetChildren()[1], bar->mTabs[2]->mRoot) << "the third over the second";

    const HUDTab* first = bar->mTabs[0];
    EXPECT_EQ(first->mSelected, 1);
    EXPECT_FLOAT_EQ(first->mScale, 1.1f);
    EXPECT_TRUE(first->mActive->IsVisible());
    EXPECT_FALSE(first->mInactive->IsVisible());
    EXPECT_EQ(FontOf(first), static_cast<int>(TDBoardFont::Main42_3));
    EXPECT_EQ(first->mLabel->GetText(), L"Towers");
    EXPECT_EQ(first->mInner->GetPosition(), math::Point3(-90, -60, 0)) << "the tab stands on its anchor";
    EXPECT_EQ(first->mLabel->GetPosition(), math::Point3(90, 36, 0));
    EXPECT_EQ(first->mLabel->GetLayout().mWidth, 211.0f);
    const HUDTab* third = bar->mTabs[2];
    EXPECT_EQ(third->mSelected, 0);
    EXPECT_FALSE(third->mActive->IsVisible());
    EXPECT_EQ(FontOf(third), static_cast<int>(TDBoardFont::Main32_2));

    // The first tab is selected even when it is disabled.
    auto off = MakeBar({false, true, true});
    EXPECT_EQ(off->mTabs[0]->mSelected, 1);
    EXPECT_EQ(off->mTabs[1]->mRoot->GetPosition().x, 300.0f);

    bar.reset();
    off.reset();
    EXPECT_TRUE(mBoard->root.GetChildren().empty()) << "the bars leave the board";
}

TEST_F(BarsTest, PressSelectsTheFirstEnabledTabUnderThePoint)
{
    auto bar = MakeBar({true, false, true});
    struct Case
    {
        int x, y;
        int pressed;
        int selected;
    };
    const Case cases[] = {
        {10, 10, -1, 0},   // nowhere: nothing changes
        {500, 130, 2, 2},  // the disabled second tab lies under the third
        {300, 130, 0, 0},  //
        {390, 130, -1, 0}, // the right edge is outside
        {211, 130, 0, 0},  // just inside the left edge
        {300, 160, -1, 0}, // the baseline is outside
        {300, 101, 0, 0},  //
        {300, 100, -1, 0}, // the top edge is outside
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(bar->press(c.x, c.y), c.pressed) << "(" << c.x << ", " << c.y << ")";
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(bar->mTabs[i]->mSelected, i == c.selected ? 1 : 0)
                << "(" << c.x << ", " << c.y << ") " << i;
    }
    bar->select(2);
    EXPECT_EQ(bar->mRoot->GetChildren().back(), bar->mTabs[2]->mRoot);
    bar->select(3);
    bar->select(-1);
    EXPECT_EQ(bar->mTabs[2]->mSelected, 1) << "indexes outside the bar change nothing";
}

TEST_F(BarsTest, HoveredTabsGrowAndShowTheirActivePictureTheSelectedOneStays)
{
    auto bar = MakeBar({true, true, true});
    HUDTab* first = bar->mTabs[0];
    HUDTab* second = bar->mTabs[1];
    bar->updateHover(500, 130);
    EXPECT_EQ(second->mHovered, 1);
    bar->update(0.1f);
    EXPECT_FLOAT_EQ(second->mScale, 1.05f);
    EXPECT_FLOAT_EQ(second->mRoot->GetScale().x, 1.05f);
    EXPECT_EQ(second->mRoot->GetScale().z, 0.0f);
    EXPECT_TRUE(second->mActive->IsVisible());
    EXPECT_FALSE(second->mInactive->IsVisible());
    EXPECT_FLOAT_EQ(first->mScale, 1.1f) << "the selected tab keeps its zoom";
    EXPECT_TRUE(first->mActive->IsVisible());

    // Selecting the second: the first shrinks from 1.1 at one per second.
    EXPECT_EQ(bar->press(500, 130), 1);
    bar->updateHover(300, 130);
    EXPECT_EQ(first->mHovered, 1);
    bar->updateHover(0, 0);
    EXPECT_EQ(first->mHovered, 0);
    EXPECT_EQ(second->mHovered, 1) << "the selected tab does not follow the pointer";
    bar->update(0.05f);
    EXPECT_FLOAT_EQ(first->mScale, 1.05f);
    EXPECT_FALSE(first->mActive->IsVisible());
    EXPECT_FLOAT_EQ(second->mScale, 1.1f);
    EXPECT_TRUE(second->mActive->IsVisible());
    bar->update(0.1f);
    EXPECT_FLOAT_EQ(first->mScale, 1.0f);
    EXPECT_FLOAT_EQ(first->mRoot->GetScale().y, 1.0f);
}

TEST_F(BarsTest, MissingTabPicturesAreLoggedAndLeaveTabsThatCannotBePressed)
{
    hudtest::WriteLayout(mRoot / "td/empty", {{"other", 0, 0, 4, 4}});
    std::unique_ptr<file::ImageContainer> empty(
        file::FileManager::Instance()->OpenImageContainer(L"td/empty"));
    HUDTabBar bar(empty.get(), {L"tab_a", L"tab_b"}, {true, true});
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'tabs/up_button_ac'"), 1) << "once for the bar";
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'tabs/up_button_in'"), 1);
    EXPECT_EQ(bar.press(300, -5), -1);
    bar.update(0.1f);
}

TEST_F(BarsTest, ScrollBarSliderFollowsTheDragWithinItsRange)
{
    HUDScrollBar scroll(mLayout.get());
    EXPECT_EQ(scroll.mRoot->GetParent(), &mBoard->root);
    EXPECT_EQ(scroll.mRoot->GetChildren().front(), scroll.mBar);
    EXPECT_EQ(scroll.mSlider->GetPosition(), math::Point3(870, 221, 0));
    EXPECT_EQ(scroll.mBar->GetPosition(), math::Point3(880, 200, 0));
    EXPECT_EQ(scroll.mDragState, -1);

    // Presses outside the slider picture (or on the track) do not grab it; moves then change nothing.
    for (auto [x, y] :
         {std::pair{870.0f, 240.0f}, {910.0f, 240.0f}, {890.0f, 221.0f}, {890.0f, 271.0f}, {890.0f, 400.0f}})
    {
        scroll.press(x, y);
        EXPECT_EQ(scroll.mDragState, -1) << x << ", " << y;
    }
    scroll.drag(890, 400);
    EXPECT_EQ(scroll.mSlider->GetPosition().y, 221.0f);
    EXPECT_EQ(scroll.mPosition, 0.0f);

    scroll.press(890, 240);
    EXPECT_EQ(scroll.mDragState, 0);
    struct Case
    {
        float y;
        float top;
        float position;
    };
    const Case cases[] = {{100, 221, 0}, {600, 464, 1}, {372.5f, 342.5f, 0.5f}, {251, 221, 0}, {494, 464, 1}};
    for (const Case& c : cases)
    {
        scroll.drag(10, c.y);
        EXPECT_FLOAT_EQ(scroll.mSlider->GetPosition().y, c.top) << c.y;
        EXPECT_EQ(scroll.mSlider->GetPosition().x, 870.0f) << "x is kept";
        EXPECT_FLOAT_EQ(scroll.mPosition, c.position) << c.y;
    }
    scroll.release(0, 0);
    EXPECT_EQ(scroll.mDragState, -1);
    scroll.drag(10, 300);
    EXPECT_FLOAT_EQ(scroll.mPosition, 1.0f);

    scroll.mPosition = 0.25f;
    scroll.placeSlider();
    EXPECT_FLOAT_EQ(scroll.mSlider->GetPosition().y, 281.75f);
    scroll.reset();
    EXPECT_FLOAT_EQ(scroll.mSlider->GetPosition().y, 221.0f);
    EXPECT_EQ(scroll.mPosition, 0.0f);
}

TEST_F(BarsTest, ScrollBarWithoutItsPicturesNeverGrabs)
{
    hudtest::WriteLayout(mRoot / "td/empty", {{"other", 0, 0, 4, 4}});
    std::unique_ptr<file::ImageContainer> empty(
        file::FileManager::Instance()->OpenImageContainer(L"td/empty"));
    {
        HUDScrollBar scroll(empty.get());
        EXPECT_EQ(tdtest::LogCapture::CountLines(L"'scroll/slider_in'"), 1);
        scroll.press(0, 230);
        EXPECT_EQ(scroll.mDragState, -1);
    }
    EXPECT_TRUE(mBoard->root.GetChildren().empty());
}
