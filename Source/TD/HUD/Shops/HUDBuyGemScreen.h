#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>
#include <vector>

class HUDGemPack;

// The gem shop (layout "td/gem_shop"): five packs of gems with the prices the purchase service reports, the
// player's gem count in the caption, and "back_in". A click on a plate answers the pack's product id, which
// the map hands to the purchase service; the gems bought reach the purse through the map, and the caption
// follows the count every frame. A plate shows the progress text while a purchase of its product is under
// way.
class HUDBuyGemScreen : public HUDWindow
{
public:
    static constexpr int kPackCount = 5;

    HUDBuyGemScreen();
    ~HUDBuyGemScreen() override;

    void draw(render::Graphics* graphics) override;
    // The caption follows the gem count; hovered plates shrink toward 0.9, the others grow back to 1.0.
    void update(float dt) override;
    // The caption's gem count.
    void refresh() override;
    void mouseMove(int x, int y) override;
    // The first plate whose hit rectangle holds the point answers its product id (empty without a product)
    // without a sound; elsewhere the screen's buttons answer.
    std::wstring click(int x, int y) override;

    // Owned, in plate order.
    std::vector<HUDGemPack*> mPacks;
};
