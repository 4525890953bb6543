#pragma once

#include "Source/TD/HUD/Menus/HUDMenuWindow.h"

#include <string>

// The small windows on the layout "td/data/mm": a caption, a message and one OK button that hands the map
// back the state it had. Drawn in layer 1, over everything of the frame. Child 0 of the layout is the cancel
// button, child 1 the OK (or confirm) button; a message hides the cancel button and moves OK to the middle.
class HUDModalMessage : public HUDMenuWindow
{
public:
    // The texts are already localised; restoreState -1 leaves the map's state alone when the window goes.
    HUDModalMessage(const std::wstring& caption, const std::wstring& message, int restoreState);
    // Sets the map's state to the restore state (unless -1).
    ~HUDModalMessage() override;

    // The screen below shaded, then the window and its child buttons.
    void draw(render::Graphics* graphics) override;

    // The child button at that position, or null when the layout has fewer.
    HUDButtonOver* child(std::size_t index) const;

    int mRestoreState = -1;

protected:
    // For the name input, which builds on the same layout without a message.
    struct NoMessage
    {
    };
    explicit HUDModalMessage(NoMessage);
};
