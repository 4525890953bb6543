#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/WidgetTestUtil.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/Controls/SliderLayer.h"
#include "Source/TD/HUD/Controls/TamselButton.h"
#include "Source/TD/HUD/Controls/TamselSlider.h"
#include "Source/TD/HUD/Controls/TamselSwitchButton.h"
#include "Source/TD/HUD/HUDTestSupport.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A dialog of the three controls over the layout "td/dlg", listening to all of them. Until shown (at once,
// or when the test ends the show effect) it takes no input.
class TestDialog : public TamselDialog, public widget::ButtonListener, public widget::SliderListener
{
public:
    TestDialog(bool* deleted, bool showAtOnce, std::wstring buttonFace = L"btn/normal")
        : mDeleted(deleted), mShowAtOnce(showAtOnce), mButtonFace(std::move(buttonFace))
    {
    }
    ~TestDialog() override
    {
        if (mDeleted != nullptr)
            *mDeleted = true;
    }

    VNResultEnum Init() override
    {
        if (const VNResultEnum r = gui::GameControlHelper::Init(
                L"td/dlg", this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, true);
            r != VN_OK)
            return r;
        button = new TamselButton;
        if (const VNResultEnum r = button->init(GetContainer(), mButtonFace, L"btn/over", L"btn/back");
            r != VN_OK)
        {
            delete button;
            button = nullptr;
            return r;
        }
        button->SetButtonListener(this);
        AddWidget(button);
        toggle = new TamselSwitchButton;
        if (const VNResultEnum r =
                toggle->init(GetContainer(), L"sw/normal", L"sw/over", L"sw/selected", L"sw/back");
            r != VN_OK)
            return r;
        toggle->SetButtonListener(this);
        AddWidget(toggle);
        slider = new TamselSlider;
        if (const VNResultEnum r = slider->init(GetContainer(), L"sld/bar", L"sld/thumb"); r != VN_OK)
            return r;
        slider->SetSliderListener(this);
        AddWidget(slider);
        return VN_OK;
    }
    // Until the test ends it, the show effect runs.
    VNResultEnum OnAddedToFrameManager() override
    {
        return mShowAtOnce ? TamselDialog::OnAddedToFrameManager() : VN_OK;
    }

    VNResultEnum OnButtonClick(widget::Button* clicked) override
    {
        clicks.push_back(clicked);
        return VN_OK;
    }
    VNResultEnum OnSliderValueChanged(widget::Slider*, float value) override
    {
        changed.push_back(value);
        return VN_OK;
    }
    VNResultEnum OnSliderValueChanging(widget::Slider*, float value) override
    {
        changing.push_back(value);
        return VN_OK;
    }

    TamselButton* button = nullptr;
    TamselSwitchButton* toggle = nullptr;
    TamselSlider* slider = nullptr;
    std::vector<widget::Button*> clicks;
    std::vector<float> changed;
    std::vector<float> changing;

private:
    bool* mDeleted;
    bool mShowAtOnce;
    std::wstring mButtonFace;
};

// The dialog layout: a push button (80 x 40 at 100, 100), a switch (100 x 40 at 300, 100), a slider whose
// 200 x 20 bar lies at (100, 300) under a 20 x 40 thumb, and a caption place.
class TamselTest : public hudtest::ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        hudtest::LoadGlint();
        hudtest::WriteLayout(mRoot / "td/dlg", {
                                                   {"btn/back", 96, 104, 88, 40},
                                                   {"btn/normal", 100, 100, 80, 40},
                                                   {"btn/over", 100, 100, 80, 40},
                                                   {"sw/back", 300, 104, 100, 40},
                                                   {"sw/selected", 300, 100, 100, 40},
                                                   {"sw/normal", 300, 100, 100, 40},
                                                   {"sw/over", 300, 100, 100, 40},
                                                   {"sld/bar", 100, 300, 200, 20},
                                                   {"sld/thumb", 100, 290, 20, 40},
                                                   {"cap", 400, 400, 200, 50},
                                               });
        filetest::WriteBytes(mRoot / "td/strings_en.csv", "dlg_title;Settings\n");
        LocalStrings::Instance()->load(L"td/strings_en.csv");
    }
    void TearDown() override
    {
        (void)mManager.Clear(true, true);
        ScreenFixture::TearDown();
    }

    // Opens the dialog in the modal tier; it joins at the next update.
    TestDialog* Open(bool showAtOnce = true)
    {
        auto* dialog = new TestDialog(&mDeleted, showAtOnce);
        EXPECT_EQ(TamselDialog::openModal(dialog, &mManager), VN_OK);
        EXPECT_EQ(mManager.Update(0.0f), VN_OK);
        return dialog;
    }

    void Move(float x, float y) { EXPECT_EQ(mManager.OnMouseMove(math::Point2(x, y)), VN_OK); }
    void Drag(float x, float y) { EXPECT_EQ(mManager.OnMouseDrag(math::Point2(x, y)), VN_OK); }
    void Press(float x, float y)
    {
        EXPECT_EQ(mManager.OnMouseDown(math::Point2(x, y), layer::kMouseLeft), VN_OK);
    }
    void Release(float x, float y)
    {
        EXPECT_EQ(mManager.OnMouseUp(math::Point2(x, y), layer::kMouseLeft), VN_OK);
    }
    void Click(float x, float y)
    {
        Move(x, y);
        Press(x, y);
        Release(x, y);
    }
    void Tick(float dt) { EXPECT_EQ(mManager.Update(dt), VN_OK); }

    widget::FrameManager mManager;
    bool mDeleted = false;
};

} // namespace

TEST_F(TamselTest, ButtonIsCentredOnItsFacesWithTheBackBeneath)
{
    TestDialog* dialog = Open();
    TamselButton* button = dialog->button;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetPosition(), math::Point3(140, 120, 0));
    ASSERT_EQ(button->layer::Layer::GetChildren().size(), 3u);
    const layer::Layer* back = button->layer::Layer::GetChildren()[0];
    EXPECT_EQ(back->GetPosition(), math::Point3(-44, -16, 0)) << "the back image keeps its place, beneath";
    EXPECT_FALSE(back->IsHitEnabled());
    EXPECT_EQ(button->layer::Layer::GetChildren()[1], button->GetStateImage(0));
    EXPECT_EQ(button->GetStateImage(0)->GetPosition(), math::Point3(-40, -20, 0));
    EXPECT_TRUE(button->GetStateImage(0)->IsHitEnabled());
    EXPECT_FALSE(button->GetStateImage(1)->IsHitEnabled()) << "only the face of the state takes hits";
    EXPECT_EQ(button->GetLayer(), static_cast<layer::Layer*>(button));
    EXPECT_EQ(button->GetMediator(), static_cast<widget::ButtonMediator*>(button));
    EXPECT_EQ(button->GetTypeId().value, TamselButton::ClassTypeId().value);
    EXPECT_NE(TamselButton::ClassTypeId().value, widget::Button::ClassTypeId().value);
    EXPECT_EQ(TamselButton::ClassTypeId().depth, widget::Button::ClassTypeId().depth + 1);
    EXPECT_NE(TamselButton::ClassTypeId().value, TamselSwitchButton::ClassTypeId().value);
}

TEST_F(TamselTest, ButtonFadesOnHoverPulsesWhilePressedAndClicksOnRelease)
{
    TestDialog* dialog = Open();
    TamselButton* button = dialog->button;
    layer::ImageLayer* normal = button->GetStateImage(0);
    layer::ImageLayer* over = button->GetStateImage(1);
    Tick(0.0f);
    EXPECT_EQ(over->GetAlpha(), 0.0f);
    EXPECT_EQ(normal->GetAlpha(), 1.0f);

    Move(140, 120);
    EXPECT_EQ(button->GetVisualState(), widget::ButtonHover);
    EXPECT_TRUE(over->IsHitEnabled());
    EXPECT_FALSE(normal->IsHitEnabled());
    // The over face fades in over a third of a second; the normal face stays opaque up to 0.9.
    struct Step
    {
        float dt;
        float over, normal;
    };
    const Step steps[] = {
        {0.1f, 0.3f, 1.0f}, {0.1f, 0.6f, 1.0f}, {0.1f, 0.9f, 1.0f}, {0.01f, 0.93f, 0.7f}, {0.1f, 1.0f, 0.0f}};
    for (const Step& s : steps)
    {
        Tick(s.dt);
        EXPECT_NEAR(over->GetAlpha(), s.over, 1e-4f);
        EXPECT_NEAR(normal->GetAlpha(), s.normal, 1e-3f);
    }
    EXPECT_EQ(button->GetScale().x, 1.0f);

    Press(140, 120);
    EXPECT_EQ(button->GetVisualState(), widget::ButtonPressed);
    Tick(0.1f);
    EXPECT_NEAR(button->GetScale().x, 0.975f, 1e-5f) << "eased: halfway in time is halfway in size";
    Tick(0.1f);
    EXPECT_NEAR(button->GetScale().y, 0.95f, 1e-5f);
    EXPECT_TRUE(button->IsTransformChanged());
    Release(140, 120);
    ASSERT_EQ(dialog->clicks.size(), 1u);
    EXPECT_EQ(dialog->clicks[0], static_cast<widget::Button*>(button));
    EXPECT_EQ(button->GetVisualState(), widget::ButtonHover);
    Tick(0.2f);
    EXPECT_NEAR(button->GetScale().x, 1.0f, 1e-6f);

    // Pressed, then released elsewhere: no click, back to normal.
    Press(140, 120);
    Drag(600, 600);
    Release(600, 600);
    EXPECT_EQ(dialog->clicks.size(), 1u);
    EXPECT_EQ(button->GetVisualState(), widget::ButtonNormal);
    Tick(1.0f);
    EXPECT_EQ(over->GetAlpha(), 0.0f);
    EXPECT_EQ(normal->GetAlpha(), 1.0f);
}

TEST_F(TamselTest, SwitchShowsItsStateAtOnceIgnoresTheMouseWhileSelectedAndNeverTogglesItself)
{
    TestDialog* dialog = Open();
    TamselSwitchButton* toggle = dialog->toggle;
    layer::ImageLayer* selectedFace = toggle->GetStateImage(0);
    layer::ImageLayer* normal = toggle->GetStateImage(1);
    layer::ImageLayer* over = toggle->GetStateImage(2);
    EXPECT_EQ(over->GetAlpha(), 0.0f) << "shown at once after init";
    EXPECT_EQ(selectedFace->GetAlpha(), 0.0f);
    EXPECT_EQ(normal->GetAlpha(), 1.0f);
    EXPECT_NE(selectedFace->GetHitTestListener(), nullptr);
    EXPECT_NE(selectedFace->GetHitTestListener(), static_cast<widget::WidgetHitTestListener*>(toggle))
        << "the selected face swallows presses";

    Click(350, 120);
    ASSERT_EQ(dialog->clicks.size(), 1u);
    EXPECT_FALSE(toggle->mSelected) << "a click does not toggle";
    Tick(1.0f / 3.0f);
    EXPECT_NEAR(toggle->GetScale().x, 1.1f, 1e-5f);

    toggle->setSelected(true);
    EXPECT_EQ(normal->GetHitTestListener(), nullptr);
    EXPECT_EQ(over->GetHitTestListener(), nullptr);
    Move(0, 0);
    Click(350, 120);
    EXPECT_EQ(dialog->clicks.size(), 1u) << "a selected switch sends no click";
    EXPECT_EQ(toggle->GetVisualState(), widget::ButtonNormal) << "nor shows hover";
    Tick(0.01f);
    EXPECT_NEAR(selectedFace->GetAlpha(), 0.5f, 1e-4f) << "opaque within the first tenth";
    Tick(1.0f);
    EXPECT_EQ(toggle->mSelectFade, 1.0f);
    EXPECT_EQ(selectedFace->GetAlpha(), 1.0f);
    EXPECT_EQ(normal->GetAlpha(), 0.0f);
    EXPECT_EQ(over->GetAlpha(), 0.0f);
    EXPECT_EQ(toggle->GetScale().x, 1.0f);

    toggle->setSelected(false);
    Click(350, 120);
    EXPECT_EQ(dialog->clicks.size(), 2u) << "it reacts again";
}

TEST_F(TamselTest, SliderGeometryAndValuesSetFromCode)
{
    TestDialog* dialog = Open();
    TamselSlider* slider = dialog->slider;
    // Bounds (100, 290)-(300, 330): the control stands at their centre.
    EXPECT_EQ(slider->GetPosition(), math::Point3(200, 310, 0));
    EXPECT_EQ(slider->mBar->GetPosition(), math::Point3(-100, -10, 0));
    EXPECT_EQ(slider->mThumb->GetPosition(), math::Point3(-8, -20, 0));
    EXPECT_EQ(slider->mHalfThumbWidth, 10.0f);
    EXPECT_EQ(slider->mTrackLeft, -90.0f);
    EXPECT_EQ(slider->mTrackRight, 88.0f);
    ASSERT_NE(slider->mGlintLayer, nullptr);
    EXPECT_EQ(slider->layer::Layer::GetChildren().back(), slider->mGlintLayer)
        << "the glint draws above bar and thumb";
    EXPECT_FALSE(slider->mGlintLayer->IsHitEnabled());

    layer::ImageLayer* holder = slider->GetStateImage(1);
    struct Case
    {
        float minimum, maximum, value;
        float x;
    };
    const Case cases[] = {{0, 1, 0, -90},   {0, 1, 1, 88},           {0, 1, 0.5f, -1},
                          {0, 1, 1.5f, 88}, {0.5f, 0.5f, 0.5f, -90}, {2, 4, 3, -1}};
    for (const Case& c : cases)
    {
        slider->SetRange(c.minimum, c.maximum);
        EXPECT_EQ(slider->SetValueSilently(c.value, true), VN_OK);
        EXPECT_FLOAT_EQ(holder->GetPosition().x, c.x) << c.minimum << ".." << c.maximum << ": " << c.value;
        EXPECT_FLOAT_EQ(slider->mBar->mSourceRect[2], c.x + 100.0f) << "filled up to the thumb";
        ASSERT_NE(slider->mGlint, nullptr);
        EXPECT_FLOAT_EQ(slider->mGlint->GetPosition().x, c.x);
    }
    EXPECT_TRUE(dialog->changed.empty()) << "silent values tell nobody";
    slider->SetRange(0, 1);
    slider->SetValue(0.25f, true);
    EXPECT_EQ(dialog->changed, std::vector<float>{0.25f});
    EXPECT_FLOAT_EQ(holder->GetPosition().x, -90.0f + 178.0f * 0.25f);
}

// A press on the bar glides the thumb there; released before the glide ends, it still ends in one "changed"
// with the target's value.
TEST_F(TamselTest, SliderGlidesToAPressOnTheBar)
{
    TestDialog* dialog = Open();
    TamselSlider* slider = dialog->slider;
    layer::ImageLayer* holder = slider->GetStateImage(1);
    Move(260, 310);
    Press(260, 310);
    EXPECT_TRUE(slider->mDragging);
    EXPECT_FLOAT_EQ(slider->mGlideTargetX, 60.0f);
    EXPECT_FLOAT_EQ(slider->mGlideDuration, 150.0f / 200.0f);
    Tick(0.375f);
    EXPECT_NEAR(holder->GetPosition().x, -15.0f, 1e-3f) << "halfway in time is halfway on the eased path";
    ASSERT_FALSE(dialog->changing.empty());
    EXPECT_NEAR(dialog->changing.back(), 75.0f / 178.0f, 1e-5f);
    Release(260, 310);
    EXPECT_FALSE(slider->mDragging);
    EXPECT_TRUE(dialog->changed.empty()) << "the glide still runs";
    Tick(0.2f);
    Tick(0.2f);
    EXPECT_FALSE(slider->isGliding());
    ASSERT_EQ(dialog->changed.size(), 1u);
    EXPECT_NEAR(dialog->changed[0], 150.0f / 178.0f, 1e-5f);
    EXPECT_FLOAT_EQ(holder->GetPosition().x, 60.0f);
    EXPECT_NEAR(slider->GetValue(), 150.0f / 178.0f, 1e-5f);
    Tick(0.2f);
    EXPECT_EQ(dialog->changed.size(), 1u);

    // Held while it glides: the target follows the pointer and the end is reported as changing.
    dialog->changing.clear();
    Press(120, 310);
    EXPECT_FLOAT_EQ(slider->mGlideTargetX, -80.0f);
    Drag(50, 310);
    EXPECT_FLOAT_EQ(slider->mGlideTargetX, -90.0f) << "kept on the track";
    Tick(2.0f);
    EXPECT_FALSE(slider->isGliding());
    EXPECT_EQ(dialog->changed.size(), 1u);
    EXPECT_EQ(dialog->changing.back(), 0.0f);
    Release(50, 310);
    EXPECT_EQ(dialog->changed.size(), 2u) << "released after the glide: the value settles";
    EXPECT_EQ(dialog->changed.back(), 0.0f);
}

TEST_F(TamselTest, SliderThumbDragStaysOnTheTrack)
{
    TestDialog* dialog = Open();
    TamselSlider* slider = dialog->slider;
    layer::ImageLayer* holder = slider->GetStateImage(1);
    // The thumb covers x 102 to 122 on the screen; grabbed at its centre, 2 right of the holder's origin.
    Move(112, 310);
    Press(112, 310);
    EXPECT_TRUE(slider->mDragging);
    EXPECT_FALSE(slider->isGliding());
    Tick(0.1f);
    EXPECT_NEAR(holder->GetScale().x, 0.95f, 1e-5f) << "the press pulse";
    EXPECT_EQ(slider->mGlint->GetState(), 1) << "the glint plays while held";

    struct Case
    {
        float x;
        float holderX;
        float value;
    };
    const Case cases[] = {{200, -2, 88.0f / 178.0f}, {900, 88, 1.0f}, {-50, -90, 0.0f}, {301, 88, 1.0f}};
    for (const Case& c : cases)
    {
        Drag(c.x, 400);
        EXPECT_FLOAT_EQ(holder->GetPosition().x, c.holderX) << c.x;
        ASSERT_FALSE(dialog->changing.empty());
        EXPECT_FLOAT_EQ(dialog->changing.back(), c.value) << c.x;
    }
    EXPECT_TRUE(dialog->changed.empty());
    Release(900, 400);
    EXPECT_EQ(dialog->changed, std::vector<float>{1.0f});
    Move(0, 0);
    Tick(0.1f);
    EXPECT_NEAR(holder->GetScale().x, 1.0f, 1e-5f);
    EXPECT_EQ(slider->mGlint->GetState(), 2) << "emission stops, live particles finish";

    // Pressed on the thumb and released without moving: the same value again, no jump.
    dialog->changed.clear();
    Move(287, 310);
    Press(287, 310);
    Release(287, 310);
    EXPECT_FLOAT_EQ(holder->GetPosition().x, 88.0f);
    EXPECT_EQ(dialog->changed, std::vector<float>{1.0f});

    // A press that reaches the slider from any other layer changes nothing.
    slider->mTargetLayer = slider->mGlintLayer;
    EXPECT_EQ(slider->GetCaptureInfo(math::Point3(5, 5, 0), mManager.GetCapture()), VN_OK);
    EXPECT_FALSE(slider->mDragging);
    EXPECT_EQ(mManager.GetCapture().point, math::Point3(5, 5, 0)) << "the press point unchanged";
}

// The bar draws only its filled part and leaves the graphics state as an image layer does.
TEST_F(TamselTest, SliderBarDrawsTheFilledPartAndRestoresTheGraphicsState)
{
    TestDialog* dialog = Open();
    TamselSlider* slider = dialog->slider;
    slider->SetValueSilently(0.5f, true);
    slider->mBar->SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    slider->mBar->SetTinted(true);
    slider->mBar->SetTintAmount(0.5f);
    render::Graphics& g = Graphics();
    g.SetColor(0.2f, 0.4f, 0.6f, 0.8f);
    const math::Transform3D* transform = g.mTransform;
    const int32_t shader = g.mDefaultShader;
    const float tint = g.mTint;
    const uint32_t used = Used2D();
    EXPECT_EQ(slider->mBar->DrawSelf(&g), VN_OK);
    const std::vector<hudtest::Quad> quads = QuadsSince(used);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].width(), 99.0f) << "filled from the bar's left edge to the thumb";
    EXPECT_FLOAT_EQ(quads[0].height(), 20.0f);
    EXPECT_EQ(Last2D(4)[0].diffuse, 0xFFFF0000u) << "in the layer's colour";
    EXPECT_EQ(g.mColor, render::Color(0.2f, 0.4f, 0.6f, 0.8f));
    EXPECT_EQ(g.mTransform, transform);
    EXPECT_EQ(g.mDefaultShader, shader);
    EXPECT_EQ(g.mTint, tint);

    // Nothing without a fill or without an image.
    slider->mBar->mSourceRect[2] = 0.0f;
    const uint32_t before = Used2D();
    EXPECT_EQ(slider->mBar->DrawSelf(&g), VN_OK);
    SliderLayer empty;
    EXPECT_EQ(empty.DrawSelf(&g), VN_OK);
    EXPECT_EQ(Used2D(), before);
}

TEST_F(TamselTest, DialogTakesNoInputUntilShownAndHighlightsTheControlUnderTheCursor)
{
    TestDialog* dialog = Open(false);
    EXPECT_TRUE(dialog->IsDisabled());
    EXPECT_TRUE(dialog->button->IsDisabled());
    Click(140, 120);
    Click(350, 120);
    Press(260, 310);
    Release(260, 310);
    EXPECT_TRUE(dialog->clicks.empty());
    EXPECT_FALSE(dialog->slider->mDragging);
    Move(140, 120);
    EXPECT_EQ(dialog->button->GetVisualState(), widget::ButtonNormal);

    // The show effect ends with the cursor still on the button: it lights up at once.
    EXPECT_EQ(dialog->OnShown(), VN_OK);
    EXPECT_FALSE(dialog->button->IsDisabled());
    EXPECT_EQ(dialog->button->GetVisualState(), widget::ButtonHover);
    Click(140, 120);
    EXPECT_EQ(dialog->clicks.size(), 1u);

    // Hiding disables it at once; without effects it is removed and deleted at the next update.
    EXPECT_EQ(dialog->Hide(true), VN_OK);
    EXPECT_TRUE(dialog->button->IsDisabled());
    EXPECT_EQ(dialog->button->GetVisualState(), widget::ButtonNormal);
    EXPECT_FALSE(mDeleted);
    Tick(0.0f);
    EXPECT_TRUE(mDeleted);
    EXPECT_TRUE(mManager.GetFrames().empty());
}

TEST_F(TamselTest, CaptionsAreCentredOnTheirLayerRectangle)
{
    TestDialog* dialog = Open();
    CountedHandle<render::Font> font = mBoard->getFont(TDBoardFont::Main80);
    layer::TextLayer* caption = nullptr;
    EXPECT_EQ(dialog->addCaption(L"cap", L"dlg_title", font, &caption), VN_OK);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->GetText(), L"Settings");
    EXPECT_EQ(caption->GetParent(), dialog->GetLayer());
    EXPECT_FALSE(caption->IsHitEnabled());
    EXPECT_EQ(caption->GetLayout().mLetterSpacing, 2.0f);
    EXPECT_EQ(caption->GetLayout().mAlign, 2);
    EXPECT_EQ(caption->GetAlignH(), 2);
    EXPECT_EQ(caption->GetAlignV(), 2);
    EXPECT_EQ(caption->GetFont().Get(), font.Get());
    // Centred on (500, 425), its 80 x 20 box on whole units.
    EXPECT_NEAR(caption->GetPosition().x, 500.0f, 0.5f);
    EXPECT_NEAR(caption->GetPosition().y, 425.0f, 0.5f);

    const size_t children = dialog->GetLayer()->GetChildren().size();
    layer::TextLayer* none = nullptr;
    EXPECT_EQ(dialog->addCaption(L"nothing", L"dlg_title", font, &none), VN_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(dialog->GetLayer()->GetChildren().size(), children);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'nothing'"), 1);
}

// A dialog whose build fails is not left in the modal tier, where it would take every click from the screen
// below: it is deleted, the failure logged and returned.
TEST_F(TamselTest, ADialogThatFailsToBuildIsDeletedAndLogged)
{
    test::Log log;
    auto* screen = new test::LogFrame("screen", &log, math::Rect(0, 0, 1024, 768));
    test::ClickCounter counter;
    widget::Button* below = test::MakeButton(*screen, "below", &log, math::Rect(130, 110, 20, 20));
    below->SetButtonListener(&counter);
    ASSERT_EQ(mManager.AddFrame(screen, false, true, false), VN_OK);

    auto* broken = new TestDialog(&mDeleted, true, L"btn/gone");
    EXPECT_NE(TamselDialog::openModal(broken, &mManager), VN_OK);
    EXPECT_TRUE(mDeleted);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"not shown"), 1);
    Tick(0.0f);
    ASSERT_EQ(mManager.GetFrames().size(), 1u);
    Click(140, 120);
    EXPECT_EQ(counter.clicks, 1) << "the screen below still takes the input";

    // Nor is a dialog opened without a frame manager kept anywhere.
    mDeleted = false;
    EXPECT_NE(TamselDialog::openModal(new TestDialog(&mDeleted, true), nullptr), VN_OK);
    EXPECT_TRUE(mDeleted);
    EXPECT_EQ(TamselDialog::openModal(nullptr, &mManager), VN_FAIL);
    (void)mManager.Clear(true, true); // the screen writes into the log of this test
}
