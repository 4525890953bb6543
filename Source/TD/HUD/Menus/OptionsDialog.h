#pragma once

#include "Core/Widget/Button.h"
#include "Core/Widget/Slider.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"

class TamselButton;
class TamselSlider;
class TamselSwitchButton;

// The settings dialog over the layout "td/options": music and effects volume by sliders (applied and saved
// when a drag is released) or by steppers of 0.25, windowed or full screen by a pair of switches, the
// developer keys by the "cheat" button, and two buttons that close it. Its show and hide effects are those
// "data/game.xml" gives the name "Options".
class OptionsDialog : public TamselDialog, public widget::ButtonListener, public widget::SliderListener
{
public:
    OptionsDialog();

    VNResultEnum Init() override;
    VNResultEnum OnButtonClick(widget::Button* button) override;
    VNResultEnum OnSliderValueChanged(widget::Slider* slider, float value) override;

    // Child widgets of the dialog, deleted with it.
    TamselButton* mMusicDown = nullptr;
    TamselButton* mMusicUp = nullptr;
    TamselButton* mSoundDown = nullptr;
    TamselButton* mSoundUp = nullptr;
    TamselButton* mMenuButton = nullptr;
    TamselButton* mOkButton = nullptr;
    TamselButton* mCheatButton = nullptr;
    TamselSlider* mSoundSlider = nullptr;
    TamselSlider* mMusicSlider = nullptr;
    TamselSwitchButton* mWindowSwitch = nullptr;
    TamselSwitchButton* mFullscreenSwitch = nullptr;

private:
    VNResultEnum addButton(TamselButton*& button, const wchar_t* normal, const wchar_t* over,
                           const wchar_t* back);
    VNResultEnum addSlider(TamselSlider*& slider, const wchar_t* bar, const wchar_t* thumb, const wchar_t* back);
    VNResultEnum addSwitch(TamselSwitchButton*& toggle, const wchar_t* normal, const wchar_t* over,
                           const wchar_t* selected, const wchar_t* back);
    VNResultEnum addSwitchTexts();
    // Both switches from the application's windowed flag.
    void showScreenMode();
    // The volume one step from the slider's value, clamped to [0, 1], given to the slider as a settled value.
    VNResultEnum stepVolume(TamselSlider* slider, float current, float step);
};
