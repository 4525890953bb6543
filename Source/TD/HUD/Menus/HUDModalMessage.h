#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;

// The small windows on the layout "td/data/mm": a caption, a message and one OK button that hands the map
// back the state it had. Drawn in layer 1, over everything of the frame. Child 0 of the layout is the cancel
// button, child 1 the OK (or confirm) button; a message hides the cancel button and moves OK to the middle.
class HUDModalMessage : public HUDWindow
{
public:
    // The texts are already localised; restoreState -1 leaves the map's state alone when the window goes.
    HUDModalMessage(const std::wstring& caption, const std::wstring& message, int restoreState);
    // Sets the map's state to the restore state (unless -1).
    ~HUDModalMessage() override;

    void draw(render::Graphics* graphics) override;
    void update(float dt) override;
    void mouseMove(int x, int y) override;
    void mouseUp(int x, int y) override;
    void mouseDown(int x, int y) override;
    // The name of the first child button under the point, after "simple"; empty and silent when none.
    std::wstring click(int x, int y) override;

    // The child button at that position, or null when the layout has fewer.
    HUDButtonOver* child(std::size_t index) const;

    // Replaces the frame buttons the load made with one child button per group below "button" (label the
    // localised group name, font main_80 for "b2_play", else main_42_3). Shared by every screen whose
    // buttons are such groups.
    static void buildChildButtons(HUDWindow& window, std::vector<HUDButtonOver*>& children);

    // Owned, in layout order.
    std::vector<HUDButtonOver*> mChildren;
    int mRestoreState = -1;

protected:
    // For the name input, which builds on the same layout without a message.
    struct NoMessage
    {
    };
    explicit HUDModalMessage(NoMessage);
};
