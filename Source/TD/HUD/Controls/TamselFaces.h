#pragma once

// What the game's dialog buttons (TamselButton, TamselSwitchButton) share: each control is its own button's
// layer and mediator, and shows a normal and an over face of which only the state's one takes hits.

#include "Core/Gui/GameControlHelper.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Widget/Button.h"

namespace tamsel
{

// Makes the control its own button's mediator and layer and readies it over the layout folder (not owned).
template <class Control>
VNResultEnum attachButton(Control& control, file::ImageContainer* folder)
{
    widget::Button* button = &control;
    if (const VNResultEnum r = control.widget::ButtonMediator::Attach(button, false); r != VN_OK)
        return r;
    button->SetLayer(static_cast<layer::Layer*>(&control), false, false);
    return control.gui::GameControlHelper::Init(
        folder, button, static_cast<widget::WidgetHitTestListener*>(&control), nullptr, false);
}

// Only the face of the state takes hits: the normal face in state 0, the over face in states 1 and 2; other
// states change nothing. Missing faces are passed over.
inline void enableStateFace(layer::ImageLayer* normal, layer::ImageLayer* over, int32_t state)
{
    if (state != widget::ButtonNormal && state != widget::ButtonHover && state != widget::ButtonPressed)
        return;
    const bool isNormal = state == widget::ButtonNormal;
    if (normal != nullptr)
        normal->SetHitEnabled(isNormal);
    if (over != nullptr)
        over->SetHitEnabled(!isNormal);
}

// The normal face's opacity under an over face faded in that far (0 to 1): whole until 0.9, then gone at 1.
inline float normalFaceAlpha(float hoverFade)
{
    return hoverFade <= 0.9f ? 1.0f : 1.0f - (hoverFade - 0.9f) * 10.0f;
}

} // namespace tamsel
