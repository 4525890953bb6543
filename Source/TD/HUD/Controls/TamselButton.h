#pragma once

#include "Core/Gui/GameControl.h"
#include "Core/Widget/Button.h"

#include <string>

namespace file
{
class ImageContainer;
}

// The game's push button of its widget dialogs, built from three pictures of the dialog's layout: a normal
// face, an over face and a back image beneath both. It fades to the over face while hovered and shrinks a
// little, eased, while pressed. The control is at the same time the button's layer and its mediator; the
// owner sets itself as the button listener and adds the button to its dialog.
class TamselButton : public gui::GameControl, public widget::Button, public widget::ButtonMediator
{
public:
    TamselButton();

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();
    // Fades the faces toward the mediator's state and eases the press scale.
    VNResultEnum Update(float dt) override;
    // Only the face of the state takes hits: the normal face in state 0, the over face in states 1 and 2.
    VNResultEnum SetVisualState(int32_t state) override;

    // Builds the control from the layout (not owned). A picture the layout lacks ends it with the failing
    // step's result; the control is then as far as it was built.
    VNResultEnum init(file::ImageContainer* folder, const std::wstring& normalFace,
                      const std::wstring& overFace, const std::wstring& backImage);

    // How far the over face has faded in, and how far the press pulse has gone (0 to 1).
    float mHoverFade = 0.0f;
    float mPressFade = 0.0f;

private:
    layer::ImageLayer* mFaces[2] = {};
};
