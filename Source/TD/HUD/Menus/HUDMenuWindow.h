#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;

// A window whose buttons are labelled two-picture buttons (one per group below "button" of its layout)
// instead of frame buttons: the main menu and the in-game menu. It keeps its layout open while it lives.
// Presses, releases and hover go to every child button; a click answers the first child button under the
// point.
class HUDMenuWindow : public HUDWindow
{
public:
    HUDMenuWindow();
    // The child buttons, then the base (which closes the layout).
    ~HUDMenuWindow() override;

    void update(float dt) override;
    void mouseMove(int x, int y) override;
    void mouseUp(int x, int y) override;
    void mouseDown(int x, int y) override;
    // The name of the first child button, in layout group order, that holds the point, after "simple";
    // empty and silent when none does.
    std::wstring click(int x, int y) override;

    // The layout's pictures and text rectangles as HUDWindow::load builds them, and one child button per
    // group below "button", labelled with the text of its whole group name, in the caption font when the group
    // is captionFontGroup or allCaptionFont is set, else in the default font.
    void loadMenu(const std::wstring& layoutName, const std::wstring& captionFontGroup, bool allCaptionFont);
    void drawChildButtons(render::Graphics* graphics);

    // Owned, in layout group order.
    std::vector<HUDButtonOver*> mChildButtons;
};
