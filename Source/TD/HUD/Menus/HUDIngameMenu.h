#pragma once

#include "Source/TD/HUD/Menus/HUDMenuWindow.h"

// The pause menu of a running level, "td/data/ingame": resume, restart, main menu, level select and options
// (the map acts on the answers). The picture "main_menu_ico" is drawn above the buttons instead of with the
// other pictures.
class HUDIngameMenu : public HUDMenuWindow
{
public:
    HUDIngameMenu();

    // The layout's pictures (the icon hidden among them) and text rectangles as HUDWindow::load builds them,
    // and child buttons, every label in the caption font, in place of its frame buttons; the layout stays
    // open.
    void load(const std::wstring& layoutName);

    // The window, then the child buttons, then the icon above them.
    void draw(render::Graphics* graphics) override;
    // The window and the child buttons' hover zoom; the cursor is only what mouseMove gave.
    void update(float dt) override;

    static constexpr const wchar_t* kIconName = L"main_menu_ico";
};
