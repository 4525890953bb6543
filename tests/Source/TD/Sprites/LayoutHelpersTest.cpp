#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Render/Image.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{

class LayoutHelpers : public tdtest::GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        tdtest::WriteImageFolder(
            mRoot / "td/layouts/menu",
            {{"background", 0, 0, 16, 16}, {"panel", 100, 50, 40, 20}, {"button/ok", 10, 12, 8, 6}});
        file::RegisterImageContainers();
        layout.reset(file::FileManager::Instance()->OpenImageContainer(L"td/layouts/menu"));
        ASSERT_TRUE(layout);
    }
    void TearDown() override
    {
        layout.reset();
        GameFixture::TearDown();
    }

    std::unique_ptr<file::ImageContainer> layout;
};

} // namespace

TEST_F(LayoutHelpers, EntriesFromLayersOwnTheirImages)
{
    EXPECT_NE(findPsdLayer(layout.get(), L"panel"), nullptr);
    EXPECT_EQ(findPsdLayer(layout.get(), L"nothing"), nullptr);
    EXPECT_EQ(findPsdLayer(nullptr, L"panel"), nullptr);

    std::unique_ptr<TDFrameEntry> ok(createFrameEntryFromPsd(layout.get(), L"button/ok"));
    EXPECT_EQ(ok->mName, L"button/ok");
    EXPECT_EQ(ok->mRect.x, 10.0f);
    EXPECT_EQ(ok->mRect.y, 12.0f);
    EXPECT_EQ(ok->mRect.width, 8.0f);
    EXPECT_EQ(ok->mDepth, 2);
    EXPECT_TRUE(ok->mOwnsTexture);
    EXPECT_TRUE(ok->mVisible);
    ASSERT_NE(ok->mTexture, nullptr);
    EXPECT_EQ(ok->mTexture->GetHeight(), 6);

    // A layer the layout lacks gives an entry that draws nothing.
    std::unique_ptr<TDFrameEntry> missing(createFrameEntryFromPsd(layout.get(), L"button/gone"));
    EXPECT_EQ(missing->mTexture, nullptr);
    EXPECT_EQ(missing->mRect.width, 0.0f);

    // Layout order is by depth.
    std::unique_ptr<TDFrameEntry> panel(createFrameEntryFromPsd(layout.get(), L"panel"));
    std::unique_ptr<TDFrameEntry> back(createFrameEntryFromPsd(layout.get(), L"background"));
    std::vector<TDFrameEntry*> order = {ok.get(), back.get(), panel.get()};
    std::sort(order.begin(), order.end(), TDFrameEntry::lessByDepth);
    EXPECT_EQ(order, (std::vector<TDFrameEntry*>{back.get(), panel.get(), ok.get()}));
}

TEST_F(LayoutHelpers, ImageLayersArePlacedRelativeToAnOrigin)
{
    layer::ImageLayer image;
    initImageLayerFromPsd(&image, layout.get(), L"panel", math::Point2(100, 20));
    ASSERT_NE(image.GetImage(), nullptr);
    EXPECT_TRUE(image.OwnsImage());
    EXPECT_EQ(image.GetPosition().x, 0.0f);
    EXPECT_EQ(image.GetPosition().y, 30.0f);
    EXPECT_TRUE(image.IsTransformChanged());

    layer::ImageLayer untouched;
    initImageLayerFromPsd(&untouched, layout.get(), L"gone", math::Point2(0, 0));
    EXPECT_EQ(untouched.GetImage(), nullptr);
    initImageLayerFromPsd(nullptr, layout.get(), L"panel", math::Point2(0, 0));
}

TEST(LayoutRemoveFromParent, DetachesOnlyAttachedLayers)
{
    layer::Layer parent;
    layer::Layer child;
    layer::Layer orphan;
    parent.AddChild(&child);
    removeFromParent(&child);
    EXPECT_TRUE(parent.GetChildren().empty());
    EXPECT_EQ(child.GetParent(), nullptr);
    removeFromParent(&orphan);
    removeFromParent(nullptr);
}
