#include "Source/Showcase/ShowcaseBoard.h"

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/Dialog.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/Slider.h"
#include "Framework/GameApplication.h"

#include <algorithm>
#include <cmath>

namespace showcase
{

namespace
{

// Where the parts sit in the 1024 x 768 logical screen; the showcase folder places its own pictures.
constexpr float kScreenWidth = 1024.0f;
constexpr float kColumnLeft = 150.0f;  // centre of the image column
constexpr float kColumnRight = 868.0f; // centre of the font column
constexpr float kImageScale = 0.625f;  // the 128-pixel demo images drawn at 80
constexpr float kImagePitch = 92.0f;

const wchar_t* const kFormatImages[] = {L"formats/png",      L"formats/jpg",      L"formats/tga",
                                        L"formats/gif",      L"formats/bmp.bmp",  L"formats/dds_bgra",
                                        L"formats/dds_dxt1", L"formats/dds_dxt3", L"formats/dds_dxt5"};

// Shows one picture per button state; a missing state picture falls back to the normal one.
class StateMediator : public widget::ButtonMediator
{
public:
    layer::Layer* mStates[3] = {};

    VNResultEnum SetVisualState(int32_t state) override
    {
        layer::Layer* shown = mStates[state] != nullptr ? mStates[state] : mStates[widget::ButtonNormal];
        for (layer::Layer* picture : mStates)
            if (picture != nullptr)
                picture->SetVisible(picture == shown);
        return VN_OK;
    }
};

// Makes a button from the state pictures of a layered image, under a new group layer the button owns.
widget::Button* MakeStateButton(gui::GameControlHelper& helper, const std::wstring& normal,
                                const std::wstring& hover, const std::wstring& pressed,
                                widget::ButtonListener* listener)
{
    auto* group = new layer::Layer;
    auto* mediator = new StateMediator;
    const std::wstring names[3] = {normal, hover, pressed};
    for (int i = 0; i < 3; ++i)
    {
        layer::ImageLayer* picture = nullptr;
        if (!names[i].empty() &&
            helper.CreateImageLayer(names[i], gui::HitModeKeep, group, &picture) == VN_OK)
            mediator->mStates[i] = picture;
    }
    if (mediator->mStates[widget::ButtonNormal] == nullptr)
    {
        delete mediator;
        delete group;
        return nullptr;
    }
    auto* button = new widget::Button;
    button->SetLayer(group, true, false);
    mediator->Attach(button, true);
    (void)mediator->SetVisualState(widget::ButtonNormal);
    group->SetHitTestListener(static_cast<widget::WidgetHitTestListener*>(mediator));
    button->SetButtonListener(listener);
    return button;
}

// The "Options" dialog of the demo data's dialog layout: frame, title, a star and a Close button. Its name
// binds it to the show and hide effects of "data/game.xml".
class OptionsDialog : public widget::Dialog, public widget::ButtonListener
{
public:
    explicit OptionsDialog(const CountedHandle<render::Font>& titleFont) : mTitleFont(titleFont)
    {
        SetName("Options");
    }
    ~OptionsDialog() override
    {
        Clear(true, true);
        delete mGroup;
    }

    VNResultEnum Init() override
    {
        // The dialog covers the whole screen, so the board behind takes no clicks while it is open.
        SetHitRect(math::Rect(-1000.0f, -1000.0f, 3000.0f, 3000.0f));
        // The effects animate the dialog's root layer; the layout sits in a group centred on the screen.
        auto* group = new layer::Layer;
        mGroup = group;
        GetLayer()->AddChild(group);
        if (const VNResultEnum r = mLayout.Init(L"td/data/layouts/dialog_export", this, nullptr, group, true);
            r != VN_OK)
            return r;
        // The layout's "shade" is left out: its half opacity is only recorded in the folder, so it would draw
        // as an opaque black box around the frame.
        for (const wchar_t* name : {L"frame", L"title|box", L"star"})
            (void)mLayout.CreateImageLayer(name, gui::HitModeKeep, group, nullptr);
        if (mTitleFont)
        {
            layer::TextLayer* title = nullptr;
            if (mLayout.CreateTextLayer(mTitleFont, L"Options", gui::HitModeDisabled, group, &title) == VN_OK)
            {
                title->SetPosition(math::Point3(256.0f, 64.0f, 0.0f));
                title->AlignToPixels();
            }
        }
        if (widget::Button* close =
                MakeStateButton(mLayout, L"button/close", L"button/close_over", L"button/close_over", this))
        {
            mClose = close;
            AddWidget(close, group);
        }
        // Moved only now: the pictures are placed relative to where the group was when they were made.
        group->SetPosition(math::Point3((kScreenWidth - 512.0f) * 0.5f, (768.0f - 384.0f) * 0.5f, 0.0f));
        return VN_OK;
    }

    VNResultEnum OnButtonClick(widget::Button* button) override
    {
        // Hidden through the hide effect, then removed and deleted by the frame manager.
        if (button == mClose)
            return Hide(true);
        return VN_OK;
    }

private:
    CountedHandle<render::Font> mTitleFont;
    gui::GameControlHelper mLayout;
    layer::Layer* mGroup = nullptr; // owned
    widget::Button* mClose = nullptr;
};

} // namespace

// The showcase slider: the knob follows the value along the track, the value is the music volume.
class MusicSlider : public widget::Slider, public widget::WidgetListener, public widget::WidgetHitTestListener
{
public:
    MusicSlider(layer::Layer* group, layer::Layer* knob, float trackX, float trackWidth, float knobOffset)
        : WidgetHitTestListener(this), mKnob(knob), mTrackX(trackX), mTrackWidth(trackWidth),
          mKnobOffset(knobOffset)
    {
        SetLayer(group, true, false);
        SetListener(static_cast<WidgetListener*>(this), false);
        group->SetHitTestListener(static_cast<WidgetHitTestListener*>(this));
    }

    float ValueAt(float x) const { return std::clamp((x - mTrackX) / mTrackWidth, 0.0f, 1.0f); }

    VNResultEnum OnWidgetMouseDown(const math::Point3& p, int32_t) override
    {
        return SetDragValue(ValueAt(p.x), true);
    }
    VNResultEnum OnCapturedMouseDrag(widget::CaptureInfo* c, const math::Point3& p) override
    {
        if (const VNResultEnum r = WidgetListener::OnCapturedMouseDrag(c, p); r != VN_OK)
            return r;
        return SetDragValue(ValueAt(p.x), true);
    }
    VNResultEnum OnCapturedMouseUp(widget::CaptureInfo* c, const math::Point3& p, int32_t b) override
    {
        if (const VNResultEnum r = WidgetListener::OnCapturedMouseUp(c, p, b); r != VN_OK)
            return r;
        return SetValue(ValueAt(p.x), true);
    }
    // The volume follows while dragging, not only at the release, so the player hears the change.
    VNResultEnum OnSliderValueChanging(widget::Slider*, float value) override
    {
        SoundSystem::Instance()->SetMusicVolume(value);
        return VN_OK;
    }
    VNResultEnum OnSliderValueChanged(widget::Slider*, float value) override
    {
        SoundSystem::Instance()->SetMusicVolume(value);
        return VN_OK;
    }
    VNResultEnum UpdateView() override
    {
        mKnob->SetX(std::floor(mTrackX + GetValue() * mTrackWidth + mKnobOffset));
        return VN_OK;
    }

private:
    layer::Layer* mKnob;
    float mTrackX;
    float mTrackWidth;
    float mKnobOffset;
};

ShowcaseBoard::ShowcaseBoard() = default;

ShowcaseBoard::~ShowcaseBoard()
{
    Clear(true, true);
    if (mParticles != nullptr)
        mParticles->SetEmitter(nullptr, false);
    delete mEmitter;
    mEmitter = nullptr;
    for (layer::Layer* owned : mOwnedLayers)
        delete owned;
    mOwnedLayers.clear();
    // The atlases are textures of the application's renderer, which is deleted right after the screens.
    if (mLoadedParticles && base::Singletone<render::ParticleSystem>::Exists())
        render::ParticleSystem::Instance()->ReleaseAtlasTextures();
}

CountedHandle<render::Font> ShowcaseBoard::LoadFont(const std::wstring& name)
{
    // Each font is tried once: a missing one is logged once, not for every text that wanted it.
    if (const auto found = mFonts.find(name); found != mFonts.end())
        return found->second;
    CountedHandle<render::BMFont> font = resource::ResourceManager::Instance()->Get<render::BMFont>(name);
    font->mRender = framework::GetGameApplication()->GetRender();
    CountedHandle<render::Font> handle;
    if (font->IsLoaded() || font->Load() == VN_OK)
        handle = CountedHandle<render::Font>(font);
    mFonts[name] = handle;
    return handle;
}

layer::Layer* ShowcaseBoard::MakeText(const CountedHandle<render::Font>& font, const std::wstring& text,
                                      float x, float y)
{
    if (!font)
        return nullptr;
    layer::TextLayer* made = nullptr;
    if (mTexts.CreateTextLayer(font, text, gui::HitModeDisabled, GetLayer(), &made) != VN_OK)
        return nullptr;
    made->SetPosition(math::Point3(x, y, 0.0f));
    made->AlignToPixels();
    return made;
}

widget::Button* ShowcaseBoard::MakeButton(const std::wstring& name)
{
    widget::Button* button = MakeStateButton(mShowcase, L"button/" + name, L"button/" + name + L"_hover",
                                             L"button/" + name + L"_pressed", this);
    if (button != nullptr)
        AddWidget(button);
    return button;
}

void ShowcaseBoard::MakeSlider()
{
    auto* group = new layer::Layer;
    layer::ImageLayer* track = nullptr;
    layer::ImageLayer* knob = nullptr;
    if (mShowcase.CreateImageLayer(L"slider/track", gui::HitModeKeep, group, &track) != VN_OK ||
        mShowcase.CreateImageLayer(L"slider/knob", gui::HitModeKeep, group, &knob) != VN_OK)
    {
        delete group;
        return;
    }
    const float trackX = track->GetPosition().x;
    const float trackWidth = static_cast<float>(track->GetImage()->GetWidth());
    mSlider = new MusicSlider(group, knob, trackX, trackWidth, knob->GetPosition().x - trackX);
    AddWidget(mSlider);
    (void)mSlider->SetValueSilently(SoundSystem::Instance()->GetMusicVolume(), true);
    // Its caption sits above the track, inside the panel.
    MakeText(LoadFont(L"td/data/fonts/main_32_2"), L"Music volume", kScreenWidth * 0.5f,
             track->GetPosition().y - 30.0f);
}

void ShowcaseBoard::MakeTexts()
{
    MakeText(LoadFont(L"td/data/fonts/main_80"), L"Corvantis", kScreenWidth * 0.5f, 62.0f);
    MakeText(LoadFont(L"td/data/fonts/main_32_2"), L"Engine showcase", kScreenWidth * 0.5f, 132.0f);
    MakeText(LoadFont(L"td/data/fonts/main_32_2"), L"The game's own screens come later", kScreenWidth * 0.5f,
             738.0f);
    // The font column: each demo font writes its own name.
    MakeText(LoadFont(L"td/data/fonts/main_32_1"), L"Fonts", kColumnRight, 190.0f);
    const wchar_t* const samples[] = {L"main_32_1", L"main_32_2", L"main_42_1", L"main_42_2", L"main_42_3"};
    float y = 250.0f;
    for (const wchar_t* sample : samples)
    {
        const CountedHandle<render::Font> font = LoadFont(std::wstring(L"td/data/fonts/") + sample);
        MakeText(font, sample, kColumnRight, y);
        y += 64.0f;
    }
}

void ShowcaseBoard::MakeImages()
{
    MakeText(LoadFont(L"td/data/fonts/main_32_1"), L"Images", kColumnLeft, 190.0f);
    if (mDemo.Init(L"td/data/demo", this, nullptr, GetLayer(), true) != VN_OK)
        return;
    // Three rows of three, each picture scaled down from its own place in the folder into the grid.
    const float size = 128.0f * kImageScale;
    for (int i = 0; i < 9; ++i)
    {
        layer::ImageLayer* picture = nullptr;
        if (mDemo.CreateImageLayer(kFormatImages[i], gui::HitModeDisabled, nullptr, &picture) != VN_OK)
            continue;
        const float x = kColumnLeft - kImagePitch + static_cast<float>(i % 3) * kImagePitch - size * 0.5f;
        const float y = 230.0f + static_cast<float>(i / 3) * kImagePitch;
        picture->SetPosition(math::Point3(x, y, 0.0f));
        picture->SetScale(math::Point3(kImageScale, kImageScale, 1.0f));
    }
}

void ShowcaseBoard::MakeParticles()
{
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    if (particles->GetEmitterCount() == 0)
    {
        particles->mFolder = "td/fx/";
        particles->Load("fx2", framework::GetGameApplication()->GetRender());
        mLoadedParticles = true;
    }
    mEmitter = particles->GetEmitter("portal_1");
    if (mEmitter == nullptr)
        return;
    mEmitter->SetLoopMode(1);
    mEmitter->SetPosition(math::Point2(kScreenWidth * 0.5f, 680.0f), 0);
    mEmitter->SetState(1);
    mParticles = new layer::ParticlesLayer;
    mParticles->SetEmitter(mEmitter, false);
    mParticles->SetHitEnabled(false);
    mOwnedLayers.push_back(mParticles);
    GetLayer()->AddChild(mParticles);
}

VNResultEnum ShowcaseBoard::Init()
{
    (void)mTexts.Init(static_cast<file::ImageContainer*>(nullptr), this, nullptr, GetLayer(), false);
    if (mShowcase.Init(L"td/data/showcase", this, nullptr, GetLayer(), true) == VN_OK)
    {
        (void)mShowcase.CreateImageLayer(L"panel", gui::HitModeKeep, nullptr, nullptr);
        mPlay = MakeButton(L"play");
        mQuit = MakeButton(L"quit");
        MakeSlider();
    }
    MakeTexts();
    MakeImages();
    MakeParticles();
    // A single track loops.
    SoundSystem::Instance()->SetPlaylist({"td/data/music/main_menu.ogg"});
    return VN_OK;
}

VNResultEnum ShowcaseBoard::Update(float dt)
{
    if (mEmitter != nullptr)
    {
        // The effect follows the cursor once it has moved (live particles stay where they were born); until
        // then it waits under the panel.
        if (widget::FrameManager* manager = GetFrameManager())
        {
            const math::Point2 cursor = manager->GetCursorPosition();
            if (!mCursorSeen)
            {
                mFirstCursor = cursor;
                mCursorSeen = true;
            }
            mFollowing = mFollowing || cursor.x != mFirstCursor.x || cursor.y != mFirstCursor.y;
            if (mFollowing)
                mEmitter->SetPosition(cursor, 0);
        }
        mEmitter->Update(dt);
    }
    return VN_OK;
}

VNResultEnum ShowcaseBoard::OnButtonClick(widget::Button* button)
{
    if (button == mQuit)
    {
        framework::GetGameApplication()->Finish();
        return VN_OK;
    }
    if (button == mPlay)
    {
        // There is no game to play yet: Play shows the demo dialog with its effects.
        widget::FrameManager* manager = GetFrameManager();
        if (manager == nullptr)
            return VN_OK;
        auto* dialog = new OptionsDialog(LoadFont(L"td/data/fonts/main_42_2"));
        if (dialog->Init() != VN_OK)
        {
            delete dialog;
            return VN_OK;
        }
        return manager->AddModal(dialog, true);
    }
    return VN_OK;
}

} // namespace showcase
