#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Gui/GameControl.h"
#include "Core/Gui/TrapHitTestListener.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/RectHitLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Font.h"
#include "Core/Render/Render.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

// Image layers without pictures, placed from the container's image infos: the layout logic without a
// renderer.
class InfoLayerFactory : public gui::ImageLayerFactory
{
public:
    VNResultEnum CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                  layer::ImageLayer** out, base::ImageInfo* info) override
    {
        const base::ImageInfo* found = container ? container->FindImageInfo(name) : nullptr;
        if (!found)
            return VN_FAIL;
        auto* made = new layer::ImageLayer();
        made->SetPosition(math::Point3(found->mRect[0], found->mRect[1], 0.0f));
        *out = made;
        if (info)
            *info = *found;
        return VN_OK;
    }
};

// A font whose every text measures 33 x 11.
class BoxFont : public render::Font
{
public:
    VNResultEnum DrawText(render::Graphics*, render::DrawTextParam*, const std::wstring*,
                          const render::TextLayout*, float* outSize) override
    {
        outSize[0] = 33.0f;
        outSize[1] = 11.0f;
        return VN_OK;
    }
    bool HasGlyph(uint32_t) const override { return true; }
    VNResultEnum Release() override { return VN_OK; }

protected:
    VNResultEnum DoLoad() override { return VN_OK; }
    VNResultEnum DoUnload() override { return VN_OK; }
};

// A data root holding the image folder "ui/panel" (a "layers.xml" of five layers).
class GameControlFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOld = std::filesystem::current_path();
        mDir = std::filesystem::temp_directory_path() / ("gui-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(mDir);
        std::filesystem::create_directories(mDir / "ui/panel");
        std::ofstream(mDir / "ui/panel/layers.xml") << R"(<Layers>
  <Layer name="bg" x="0" y="0" width="200" height="100"/>
  <Layer name="btn_normal" x="10" y="10" width="20" height="20"/>
  <Layer name="btn_hover" x="20" y="0" width="20" height="20"/>
  <Layer name="deco" x="150" y="60" width="30" height="30"/>
</Layers>
)";
        ASSERT_EQ(file::FileManager::Instance()->SetRootPath(mDir.wstring()), VN_OK);
        gui::SetImageLayerFactory(&factory);
    }
    void TearDown() override
    {
        gui::SetImageLayerFactory(nullptr);
        std::filesystem::current_path(mOld);
        std::filesystem::remove_all(mDir);
    }

    InfoLayerFactory factory;
    std::filesystem::path mOld;
    std::filesystem::path mDir;
};

class TwoStateControl : public gui::GameControl
{
public:
    TwoStateControl() : gui::GameControl(mSlots, 2) {}
    layer::ImageLayer* mSlots[2] = {nullptr, nullptr};
};

// A widget whose layer is a hit rectangle and whose presses are counted.
class PressCounter : public widget::Widget, public widget::WidgetHitTestListener
{
public:
    explicit PressCounter(const math::Rect& rect) : widget::WidgetHitTestListener(this)
    {
        auto* area = new layer::RectHitLayer(rect);
        SetLayer(area, true, false);
        area->SetHitTestListener(this);
    }
    VNResultEnum OnWidgetMouseDown(const math::Point3&, int32_t) override
    {
        ++presses;
        return VN_OK;
    }
    int presses = 0;
};

} // namespace

TEST_F(GameControlFixture, StateImagesSetBoundsAndCentreTheControl)
{
    TwoStateControl control;
    ASSERT_EQ(control.Init(L"ui/panel", nullptr, nullptr, nullptr, true), VN_OK);
    ASSERT_NE(control.GetContainer(), nullptr);
    EXPECT_EQ(control.LoadStateImage(0, L"", nullptr), VN_OK);
    EXPECT_FALSE(control.HasBounds());
    ASSERT_EQ(control.LoadStateImage(0, L"btn_normal", nullptr), VN_OK);
    ASSERT_EQ(control.LoadStateImage(1, L"btn_hover", nullptr), VN_OK);
    EXPECT_EQ(control.LoadStateImage(2, L"btn_hover", nullptr), VN_FAIL); // past the slots
    EXPECT_EQ(control.LoadStateImage(1, L"no_such_image", nullptr), VN_FAIL);
    EXPECT_EQ(control.GetStateImage(1), control.mSlots[1]);

    const math::RectI& b = control.GetBounds();
    EXPECT_EQ(b.x, 10);
    EXPECT_EQ(b.y, 0);
    EXPECT_EQ(b.width, 30);
    EXPECT_EQ(b.height, 30);
    ASSERT_EQ(control.CenterOnStateImages(), VN_OK);
    EXPECT_EQ(control.GetPosition().x, 25.0f);
    EXPECT_EQ(control.GetPosition().y, 15.0f);
    ASSERT_EQ(control.GetChildren().size(), 2u);
    EXPECT_EQ(control.mSlots[0]->GetParent(), &control);
    EXPECT_EQ(control.mSlots[0]->GetPosition().x, -15.0f);
    EXPECT_EQ(control.mSlots[0]->GetPosition().y, -5.0f);
    EXPECT_EQ(control.mSlots[1]->GetPosition().x, -5.0f);
    EXPECT_EQ(control.mSlots[1]->GetPosition().y, -15.0f);
}

TEST_F(GameControlFixture, LayersOfAPsdDocument)
{
    std::filesystem::copy_file(std::filesystem::path(CORV_TESTDATA_DIR) / "psd/2layers.psd",
                               mDir / "ui/two.psd");
    std::filesystem::permissions(mDir / "ui/two.psd", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    layer::Layer parent;
    gui::GameControlHelper helper;
    ASSERT_EQ(helper.Init(L"ui/two", nullptr, nullptr, &parent, true), VN_OK);
    file::ImageContainer* psd = helper.GetContainer();
    ASSERT_NE(psd, nullptr);
    ASSERT_GE(psd->GetImageCount(), 2u);
    for (unsigned i = 0; i < psd->GetImageCount(); ++i)
    {
        const base::ImageInfo* info = psd->GetImageInfo(i);
        layer::ImageLayer* made = nullptr;
        ASSERT_EQ(helper.CreateImageLayer(info->mName, gui::HitModeTrap, nullptr, &made), VN_OK) << i;
        EXPECT_EQ(made->GetPosition().x, info->mRect[0]);
        EXPECT_EQ(made->GetPosition().y, info->mRect[1]);
    }
    EXPECT_EQ(parent.GetChildren().size(), psd->GetImageCount());
}

TEST_F(GameControlFixture, MissingContainerOrImageAddsNothing)
{
    gui::GameControlHelper helper;
    EXPECT_EQ(helper.Init(L"ui/none", nullptr, nullptr, nullptr, true), VN_FAIL);
    layer::Layer parent;
    ASSERT_EQ(helper.Init(L"ui/panel", nullptr, nullptr, &parent, true), VN_OK);
    layer::ImageLayer* out = nullptr;
    EXPECT_EQ(helper.CreateImageLayer(L"missing", gui::HitModeKeep, nullptr, &out), VN_FAIL);
    EXPECT_TRUE(parent.GetChildren().empty());
    EXPECT_TRUE(helper.GetMadeLayers().empty());
}

TEST_F(GameControlFixture, ImageLayersArePlacedUnderTheParentAndDeletedWithTheHelper)
{
    layer::Layer parent;
    parent.SetPosition(math::Point3(100, 50, 0));
    BoxFont boxFont;
    {
        gui::GameControlHelper helper;
        ASSERT_EQ(helper.Init(L"ui/panel", nullptr, nullptr, &parent, true), VN_OK);
        layer::ImageLayer* deco = nullptr;
        layer::ImageLayer* bg = nullptr;
        ASSERT_EQ(helper.CreateImageLayer(L"deco", gui::HitModeKeep, nullptr, &deco), VN_OK);
        ASSERT_EQ(helper.CreateImageLayerAtBack(L"bg", gui::HitModeKeep, nullptr, &bg), VN_OK);
        // Image position minus the parent's: the document's place is kept on screen.
        EXPECT_EQ(deco->GetPosition().x, 50.0f);
        EXPECT_EQ(deco->GetPosition().y, 10.0f);
        // The background went below the layer added earlier.
        ASSERT_EQ(parent.GetChildren().size(), 2u);
        EXPECT_EQ(parent.GetChildren()[0], bg);
        EXPECT_EQ(parent.GetChildren()[1], deco);

        auto font = CountedHandle<render::Font>(&boxFont, nullptr);
        layer::TextLayer* text = nullptr;
        ASSERT_EQ(helper.CreateTextLayer(font, L"OK", gui::HitModeDisabled, nullptr, &text), VN_OK);
        EXPECT_EQ(text->GetAlignH(), 2);
        EXPECT_EQ(text->GetAlignV(), 2);
        EXPECT_EQ(text->GetLayout().mAlign, 2);
        EXPECT_FALSE(text->IsHitEnabled());
        // Centred on its origin (33 x 11), moved so the box's left and top edges fall on whole units.
        const float left = text->GetPosition().x + text->GetContentBox().mMin.x;
        const float top = text->GetPosition().y + text->GetContentBox().mMin.y;
        EXPECT_EQ(left, std::floor(left));
        EXPECT_EQ(top, std::floor(top));
        EXPECT_NEAR(text->GetContentBox().mMin.x, -16.5f, 0.5f);
        EXPECT_NEAR(text->GetContentBox().mMin.y, -5.5f, 0.5f);
    }
    EXPECT_TRUE(parent.GetChildren().empty());
}

TEST_F(GameControlFixture, HitModesTrapAndDisable)
{
    PressCounter pressCounter(math::Rect(0, 0, 300, 300));
    PressCounter* counter = &pressCounter;
    widget::FrameManager manager;
    widget::Frame below;
    below.SetHitRect(math::Rect(0, 0, 400, 400));
    widget::Frame frame;
    frame.SetHitRect(math::Rect(0, 0, 300, 300));
    frame.AddWidget(counter);
    ASSERT_EQ(manager.AddFrame(&below, false, false, false), VN_OK);
    ASSERT_EQ(manager.AddFrame(&frame, false, false, false), VN_OK);
    ASSERT_EQ(manager.ActivateFrame(&below), VN_OK);

    gui::GameControlHelper helper;
    ASSERT_EQ(helper.Init(L"ui/panel", counter, nullptr, nullptr, true), VN_OK);
    EXPECT_EQ(helper.GetParentLayer(), counter->GetLayer());
    auto* trap = new layer::RectHitLayer(math::Rect(0, 0, 50, 50));
    auto* ghost = new layer::RectHitLayer(math::Rect(100, 100, 50, 50));
    ASSERT_EQ(helper.AddLayer(trap, gui::HitModeTrap, nullptr), VN_OK);
    ASSERT_EQ(helper.AddLayer(ghost, gui::HitModeDisabled, nullptr), VN_OK);
    EXPECT_EQ(trap->GetHitTestListener(), helper.GetTrapListener());

    // A press on the trap activates the owner's frame, and the widget's handler does not run.
    ASSERT_EQ(manager.OnMouseDown(math::Point2(10, 10), 1), VN_OK);
    EXPECT_EQ(manager.GetActiveFrame(), &frame);
    EXPECT_EQ(counter->presses, 0);
    // A move over the trap clears the hover the widget had.
    ASSERT_EQ(frame.SetHoverWidget(counter), VN_OK);
    ASSERT_EQ(manager.OnMouseMove(math::Point2(10, 10)), VN_OK);
    EXPECT_EQ(frame.GetHoverWidget(), nullptr);
    // The disabled layer is never hit: the widget under it gets the press.
    ASSERT_EQ(manager.OnMouseDown(math::Point2(120, 120), 1), VN_OK);
    EXPECT_EQ(counter->presses, 1);
}
