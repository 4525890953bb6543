#pragma once

#include "Source/TD/HUD/Menus/HUDMenuWindow.h"

#include <vector>

namespace render
{
class ParticleEmitter;
}

// The title screen "td/main_menu": its buttons (play, shop, options, cloze), four looping effects above
// them, the language flag and a greeting with the player's name. The map acts on its answers; a release
// anywhere in the bottom band answers "profile" without a sound. A damaged profile file is reported once,
// by a message over the menu.
class HUDMainMenu : public HUDMenuWindow
{
public:
    HUDMainMenu();
    ~HUDMainMenu() override;

    // The layout's pictures and text rectangles as HUDWindow::load builds them, and child buttons in place of
    // its frame buttons; the layout stays open.
    void load(const std::wstring& layoutName);

    void draw(render::Graphics* graphics) override;
    void update(float dt) override;
    // The greeting: "greet_1", the player's name (or "unnamed_player"), "greet_2".
    void refresh() override;
    // Only the child buttons' hover: the cursor follows the board's pointer in update.
    void mouseMove(int x, int y) override;
    std::wstring click(int x, int y) override;

    // Owned, looping from construction: "fog_01", "blik_1", "blik_2", "blik_4".
    std::vector<render::ParticleEmitter*> mEffects;
};
