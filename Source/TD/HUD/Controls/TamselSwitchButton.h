#pragma once

#include "Core/Gui/GameControl.h"
#include "Core/Widget/Button.h"

#include <string>

namespace file
{
class ImageContainer;
}

// The game's two-state button (one of a pair, such as windowed and full screen): a normal, an over and a
// selected face over a back image. It grows a little while hovered and fades to its selected face when
// selected. Clicking does not toggle it: the owner decides and calls setSelected. A selected switch ignores
// the mouse, and its selected face swallows presses.
class TamselSwitchButton : public gui::GameControl, public widget::Button, public widget::ButtonMediator
{
public:
    TamselSwitchButton();

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();
    VNResultEnum Update(float dt) override;
    // Only the face of the state takes hits: the normal face in state 0, the over face in states 1 and 2.
    VNResultEnum SetVisualState(int32_t state) override;

    // As TamselButton::init, with the selected face as well; the faces show the starting state at once.
    VNResultEnum init(file::ImageContainer* folder, const std::wstring& normalFace,
                      const std::wstring& overFace, const std::wstring& selectedFace,
                      const std::wstring& backImage);
    void setSelected(bool selected);

    bool mSelected = false;
    float mHoverFade = 0.0f;
    // How far the selected face has taken over (0 to 1).
    float mSelectFade = 0.0f;

private:
    layer::ImageLayer* mFaces[3] = {};
};
