#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;

// A window whose buttons are child buttons: labelled two-picture buttons, one per group below "button" of its
// layout, in place of the frame buttons the layout would give. The main menu, the in-game menu, the modal
// messages and dialogs, the name input and the profiles screen are such windows and share these handlers;
// each keeps its layout open while it lives.
class HUDMenuWindow : public HUDWindow
{
public:
    HUDMenuWindow();
    // The child buttons, then the base (which closes the layout).
    ~HUDMenuWindow() override;

    // The window, then every child button.
    void draw(render::Graphics* graphics) override;
    // The window, the board's pointer as the cursor, then every child button's hover zoom.
    void update(float dt) override;
    // The window's own move (cursor and frame-button hover), then every child button's hover.
    void mouseMove(int x, int y) override;
    // Every child button's release, which drops its pressed look.
    void mouseUp(int x, int y) override;
    // Every child button's press; the frame buttons are not told.
    void mouseDown(int x, int y) override;
    // The name of the first child button, in layout group order, that holds the point, after "simple"; empty
    // and silent when none does.
    std::wstring click(int x, int y) override;

    // Replaces the frame buttons the load made of the layout with one child button per group directly below
    // "button", labelled with the text of its whole group name, in the caption font for the group "b2_play"
    // (or for every group with allInCaptionFont), else in the default font.
    void buildChildButtons(bool allInCaptionFont = false);
    void updateChildButtons(float dt);
    // Every child button's hover alone: the move of the screens that take their cursor from the board.
    void moveChildButtons(int x, int y);
    void drawChildButtons(render::Graphics* graphics);

    // Owned, in layout group order.
    std::vector<HUDButtonOver*> mChildButtons;
};
