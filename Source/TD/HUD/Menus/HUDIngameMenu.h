#pragma once

#include "Source/TD/HUD/Menus/HUDMenuWindow.h"

// The pause menu of a running level, "td/data/ingame": resume, restart, main menu, level select and options
// (the map acts on the answers). The picture "main_menu_ico" is drawn above the buttons instead of with the
// other pictures.
class HUDIngameMenu : public HUDMenuWindow
{
public:
    HUDIngameMenu();

    void draw(render::Graphics* graphics) override;

    static constexpr const wchar_t* kIconName = L"main_menu_ico";
};
