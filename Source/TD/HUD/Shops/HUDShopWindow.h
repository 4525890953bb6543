#pragma once

#include "Core/Base/Result.h"
#include "Source/TD/HUD/HUDWindow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace layer
{
class ImageLayer;
class Layer;
class TextLayer;
} // namespace layer

class HUDScrollBar;
class HUDShopPlate;
class HUDTabBar;

// The upgrade shop (layout "td/shop"): one tab per section of the permanent upgrades, the section's upgrades
// the player's progress offers as a scrollable list of plates, and the ways out: "back_ac" to the menu it
// was opened from, "return_ac" on into the game flow, and the way to the gem shop that fits the variant
// ("gem_shop0" from the menus, "gem_shop1" from the game). The map acts on those answers; the shop handles
// its tabs, its scrolling and the buy buttons itself. The header, footer, caption, gem count, tab bar and
// scroll bar hang on the game board's root layer, so the plates scroll under the header and the footer.
// While the tutorial blocks the shop, tabs, frame buttons and the scroll controls do nothing (the plates
// still sell, the wheel still scrolls).
class HUDShopWindow : public HUDWindow
{
public:
    // Plates stand this far apart; a scroll of the whole list counts this much per plate beyond three.
    static constexpr float kPlatePitch = 99.0f;
    static constexpr float kScrollPitch = 105.0f;
    static constexpr int kVisiblePlates = 3;
    static constexpr int kSections = 3;

    // fromGame 1: opened after a level (return_ac); 0: from a menu (back_ac).
    explicit HUDShopWindow(int fromGame);
    ~HUDShopWindow() override;

    void draw(render::Graphics* graphics) override;
    void update(float dt) override;
    void refresh() override;
    void mouseMove(int x, int y) override;
    void mouseUp(int x, int y) override;
    void mouseDown(int x, int y) override;
    void mouseWheel(int delta) override;
    std::wstring click(int x, int y) override;

    // The upgrades of the section the player's progress offers.
    static int sectionAvailableCount(int section);
    // The list moves up by (plates - 3) x position x 105.
    void applyScroll(float position);
    // Rebuilds the plates of the section, scrolled to the top.
    void showSection(int section);
    // The footer's post-draw: the visible frame buttons again, over the footer.
    VNResultEnum drawButtonsOverFooter(render::Graphics* graphics, layer::Layer* layer);

    int32_t mFromGame = 0;
    int32_t mSection = 0;
    // 0 idle, 1 pressed in the scroll column, 2 dragging.
    int32_t mDragState = 0;
    // Not attached anywhere: the shop draws it.
    layer::Layer* mContainer = nullptr;
    std::vector<HUDShopPlate*> mPlates;
    HUDScrollBar* mScrollBar = nullptr;
    HUDTabBar* mTabs = nullptr;
    layer::ImageLayer* mHeader = nullptr;
    layer::ImageLayer* mFooter = nullptr;
    layer::TextLayer* mCaption = nullptr;
    layer::TextLayer* mGems = nullptr;

private:
    bool blocked() const;
    void deletePlates();
    // Scroll buttons and wheel: the list and the slider follow a new position.
    void scrollTo(float position);
};
