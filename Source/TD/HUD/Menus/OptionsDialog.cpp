#include "Source/TD/HUD/Menus/OptionsDialog.h"

#include "Core/Layer/TextLayer.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/TamselButton.h"
#include "Source/TD/HUD/Controls/TamselSlider.h"
#include "Source/TD/HUD/Controls/TamselSwitchButton.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"

#include <algorithm>

namespace
{
constexpr float kVolumeStep = 0.25f;
constexpr const wchar_t* kStepperBack = L"buttons/menu/menu_sh";

TDProfile* profile()
{
    TDMap* map = Game::GetMap();
    return map ? map->mProfile.get() : nullptr;
}
} // namespace

OptionsDialog::OptionsDialog()
{
    SetName("Options");
}

VNResultEnum OptionsDialog::Init()
{
    if (const VNResultEnum r = gui::GameControlHelper::Init(
            L"td/options", this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, true);
        r != VN_OK)
        return r;
    const CountedHandle<render::Font> title = boardFont(TDBoardFont::Main80);
    const CountedHandle<render::Font> section = boardFont(TDBoardFont::Main42_2);
    VNResultEnum r = CreateImageLayer(L"title", gui::HitModeDisabled, nullptr, nullptr);
    if (r == VN_OK)
        r = addCaption(L"main_options/options_title", L"options_OptionsTitle", title, nullptr);
    if (r == VN_OK)
        r = addCaption(L"main_options/sounds_and_music", L"options_OptionsSounds", section, nullptr);
    if (r == VN_OK)
        r = addCaption(L"main_options/game_type", L"options_OptionsGameType", section, nullptr);
    if (r == VN_OK)
        r = addCaption(L"main_options/window_type", L"options_OptionsWindowType", section, nullptr);
    if (r == VN_OK)
        r = addButton(mMenuButton, L"buttons/menu/menu_in", L"buttons/menu/menu_ac", kStepperBack);
    if (r == VN_OK)
        r = addButton(mOkButton, L"buttons/close/ok_in", L"buttons/close/ok_ac", kStepperBack);
    if (r == VN_OK)
        r = addButton(mCheatButton, L"buttons/cheat/cheat_in", L"buttons/cheat/cheat_ac", kStepperBack);
    if (r == VN_OK)
        r = addCaption(L"buttons/close/close_caption", L"options_OptionsOk", title, nullptr);
    if (r == VN_OK)
        r = addSlider(mSoundSlider, L"main_options/sound/sound_bar", L"main_options/sound/sound_begunok",
                      L"main_options/sound/sound_back");
    if (r == VN_OK)
        r = addSlider(mMusicSlider, L"main_options/music/music_bar", L"main_options/music/music_begunok",
                      L"main_options/music/music_back");
    if (r == VN_OK)
        r = addButton(mMusicDown, L"buttons/music_dec/b_in", L"buttons/music_dec/b_ac", kStepperBack);
    if (r == VN_OK)
        r = addButton(mMusicUp, L"buttons/music_inc/b_in", L"buttons/music_inc/b_ac", kStepperBack);
    if (r == VN_OK)
        r = addButton(mSoundDown, L"buttons/sound_dec/b_in", L"buttons/sound_dec/b_ac", kStepperBack);
    if (r == VN_OK)
        r = addButton(mSoundUp, L"buttons/sound_inc/b_in", L"buttons/sound_inc/b_ac", kStepperBack);
    if (r == VN_OK)
        r = addSwitch(mWindowSwitch, L"main_options/window/window_nonselected", L"main_options/window/window_ac",
                      L"main_options/window/window_in", L"main_options/window/window_sh");
    if (r == VN_OK)
        r = addSwitch(mFullscreenSwitch, L"main_options/fullscreen/fullscreen_nonselected",
                      L"main_options/fullscreen/fullscreen_ac", L"main_options/fullscreen/main_menu_in",
                      L"main_options/fullscreen/main_menu_sh");
    if (r == VN_OK)
        r = addSwitchTexts();
    if (r != VN_OK)
        return r;

    SoundSystem* sound = SoundSystem::Instance();
    if (TDProfile* stored = profile())
    {
        sound->SetMusicVolume(stored->getMusicVolume());
        sound->SetSoundVolume(stored->getSoundVolume());
    }
    (void)mSoundSlider->SetValueSilently(sound->GetSoundVolume(), true);
    (void)mMusicSlider->SetValueSilently(sound->GetMusicVolume(), true);
    showScreenMode();
    return VN_OK;
}

VNResultEnum OptionsDialog::addButton(TamselButton*& button, const wchar_t* normal, const wchar_t* over,
                                      const wchar_t* back)
{
    button = new TamselButton;
    if (const VNResultEnum r = button->init(GetContainer(), normal, over, back); r != VN_OK)
    {
        delete button;
        button = nullptr;
        return r;
    }
    button->SetButtonListener(this);
    return AddWidget(button);
}

VNResultEnum OptionsDialog::addSlider(TamselSlider*& slider, const wchar_t* bar, const wchar_t* thumb,
                                      const wchar_t* back)
{
    slider = new TamselSlider;
    if (const VNResultEnum r = slider->init(GetContainer(), bar, thumb); r != VN_OK)
    {
        delete slider;
        slider = nullptr;
        return r;
    }
    if (const VNResultEnum r = slider->CreateImageLayerAtBack(back, gui::HitModeTrap, nullptr, nullptr);
        r != VN_OK)
    {
        delete slider;
        slider = nullptr;
        return r;
    }
    slider->SetSliderListener(this);
    return AddWidget(slider);
}

VNResultEnum OptionsDialog::addSwitch(TamselSwitchButton*& toggle, const wchar_t* normal, const wchar_t* over,
                                      const wchar_t* selected, const wchar_t* back)
{
    toggle = new TamselSwitchButton;
    if (const VNResultEnum r = toggle->init(GetContainer(), normal, over, selected, back); r != VN_OK)
    {
        delete toggle;
        toggle = nullptr;
        return r;
    }
    toggle->SetButtonListener(this);
    return AddWidget(toggle);
}

VNResultEnum OptionsDialog::addSwitchTexts()
{
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main42_3);
    LocalStrings* strings = LocalStrings::Instance();
    layer::TextLayer* text = nullptr;
    if (const VNResultEnum r = mWindowSwitch->CreateTextLayer(font, strings->get(L"options_caption"),
                                                              gui::HitModeDisabled, nullptr, &text);
        r != VN_OK)
        return r;
    const float advance = font ? font->GetLineAdvance() : 0.0f;
    text->SetAlignment(2, 0);
    text->SetPosition(math::Point3(0.0f, -(advance - 2.0f) / 2.0f, 0.0f));
    text->AlignToPixels();

    if (const VNResultEnum r = mWindowSwitch->CreateTextLayer(font, strings->get(L"options_window_add"),
                                                              gui::HitModeDisabled, nullptr, &text);
        r != VN_OK)
        return r;
    text->SetAlignment(2, 0);
    render::TextLayout layout = text->GetLayout();
    layout.mAlign = 2;
    layout.mLetterSpacing = 2.0f;
    text->SetLayout(layout);
    text->SetScale(math::Point3(0.6f, 0.6f, 1.0f));
    text->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));
    text->AlignToPixels();

    if (const VNResultEnum r = mFullscreenSwitch->CreateTextLayer(font, strings->get(L"options_fs"),
                                                                  gui::HitModeDisabled, nullptr, &text);
        r != VN_OK)
        return r;
    layout = text->GetLayout();
    layout.mLetterSpacing = 2.0f;
    text->SetLayout(layout);
    text->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));
    text->AlignToPixels();
    return VN_OK;
}

void OptionsDialog::showScreenMode()
{
    framework::GameApplication* app = framework::GetGameApplication();
    const bool windowed = app && app->IsWindowed();
    mWindowSwitch->setSelected(windowed);
    mFullscreenSwitch->setSelected(!windowed);
}

VNResultEnum OptionsDialog::stepVolume(TamselSlider* slider, float current, float step)
{
    return slider->SetValue(std::clamp(current + step, 0.0f, 1.0f), true);
}

VNResultEnum OptionsDialog::OnButtonClick(widget::Button* button)
{
    (void)w7::SoundTags::Instance()->Play(L"simple");
    auto is = [button](TamselButton* control) { return control && button == static_cast<widget::Button*>(control); };
    SoundSystem* sound = SoundSystem::Instance();
    if (is(mMenuButton) || is(mOkButton))
        return Hide(true);
    if (mFullscreenSwitch && button == static_cast<widget::Button*>(mFullscreenSwitch))
    {
        if (framework::GameApplication* app = framework::GetGameApplication())
            (void)app->SwitchScreenMode();
        showScreenMode();
        return VN_OK;
    }
    if (mWindowSwitch && button == static_cast<widget::Button*>(mWindowSwitch))
    {
        framework::GameApplication* app = framework::GetGameApplication();
        if (app && app->IsDesktopTooSmall())
            return TamselDialog::openModal(new TMessageBox(L"IllegalResolutionMessage", std::wstring()),
                                           GetManager());
        if (app)
            (void)app->SwitchScreenMode();
        showScreenMode();
        return VN_OK;
    }
    if (is(mCheatButton))
    {
        if (TDMap* map = Game::GetMap())
            map->mDeveloperMode = true;
        return VN_OK;
    }
    if (is(mMusicDown))
        return stepVolume(mMusicSlider, sound->GetMusicVolume(), -kVolumeStep);
    if (is(mMusicUp))
        return stepVolume(mMusicSlider, sound->GetMusicVolume(), kVolumeStep);
    if (is(mSoundDown))
        return stepVolume(mSoundSlider, sound->GetSoundVolume(), -kVolumeStep);
    if (is(mSoundUp))
        return stepVolume(mSoundSlider, sound->GetSoundVolume(), kVolumeStep);
    return VN_OK;
}

VNResultEnum OptionsDialog::OnSliderValueChanged(widget::Slider* slider, float value)
{
    SoundSystem* sound = SoundSystem::Instance();
    TDProfile* stored = profile();
    if (mMusicSlider && slider == static_cast<widget::Slider*>(mMusicSlider))
    {
        sound->SetMusicVolume(value);
        if (stored)
            stored->setMusicVolume(value);
    }
    else if (mSoundSlider && slider == static_cast<widget::Slider*>(mSoundSlider))
    {
        sound->SetSoundVolume(value);
        if (stored)
            stored->setSoundVolume(value);
    }
    return VN_OK;
}
