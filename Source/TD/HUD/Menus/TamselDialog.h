#pragma once

#include "Core/Gui/GameControlHelper.h"
#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Widget/Dialog.h"

#include <string>

namespace layer
{
class TextLayer;
}
namespace widget
{
class FrameManager;
}

// The base of the game's widget dialogs: a dialog that builds its layout from a layered image through its
// own helper part, places localised captions on layer rectangles, and takes no input until its show effect
// has ended (nor once its hide has started). Its controls are child widgets, deleted with it.
class TamselDialog : public widget::Dialog, public gui::GameControlHelper
{
public:
    // Disabled until shown.
    TamselDialog();
    // Deletes the child widgets (the controls); the helper part deletes the layers it made.
    ~TamselDialog() override;

    // Both bases have an Init: the dialog's build step and the helper's set-up.
    using gui::GameControlHelper::Init;
    using widget::Dialog::Init;

    // Enabled, then the base, then the hover refreshed so a control already under the cursor lights up.
    VNResultEnum OnShown() override;
    // Disabled, then the base.
    VNResultEnum Hide(bool deleteAfterHide) override;

    // A text layer of the key's localised text in the font, centred on the named layer's rectangle (the
    // layer itself is not drawn), letter spacing 2, on whole pixels, under the dialog's layer. 1, a log line
    // and nothing made when the layout lacks the layer.
    VNResultEnum addCaption(const std::wstring& layerName, const std::wstring& textKey,
                            const CountedHandle<render::Font>& font, layer::TextLayer** out);

    // How every opener shows a dialog: builds it (Init) and adds it to the manager's modal tier at the next
    // update. A dialog whose build fails is not shown half-built (it would take all input from the screens
    // below): it is deleted and the failure logged and returned. The dialog is owned by this call.
    static VNResultEnum openModal(TamselDialog* dialog, widget::FrameManager* manager);
};
