#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
class TextLayer;
} // namespace layer

// One tab of a tab bar: an active and an inactive picture ("tabs/up_button_ac", "tabs/up_button_in") and a
// localised label, standing on its anchor (the bottom centre of the tab, the root layer's position), which
// also carries its zoom. A picture the layout lacks leaves the tab without it (and without area).
class HUDTab
{
public:
    HUDTab(file::ImageContainer* layout, const std::wstring& labelKey);
    HUDTab(const HUDTab&) = delete;
    HUDTab& operator=(const HUDTab&) = delete;
    // Detaches its five layers and deletes them.
    ~HUDTab();

    // Large label font, full zoom, the active picture.
    void setSelected();
    // Small label font, the inactive picture; the update shrinks the zoom back.
    void setDeselected();
    // Enabled, and the point strictly inside the active picture standing on the anchor.
    bool contains(int x, int y) const;

    uint8_t mEnabled = 0;
    uint8_t mHovered = 0;
    uint8_t mSelected = 0;
    float mScale = 1.0f;
    layer::TextLayer* mLabel = nullptr;
    layer::Layer* mRoot = nullptr;
    layer::Layer* mInner = nullptr;
    layer::ImageLayer* mActive = nullptr;
    layer::ImageLayer* mInactive = nullptr;
};

// A row of tabs hung on the game board's root layer, so the board draws it above the map and the screens.
// The owner feeds it presses and pointer moves and reads which tab was pressed.
class HUDTabBar
{
public:
    // One tab per key, 200 apart from x 300 on the bottom edge of the layout's "tabs/up_button_ac"; a
    // disabled tab takes the place of the tab after it. The first tab starts selected, enabled or not. A key
    // without its flag counts as disabled. Tab pictures the layout lacks are logged once.
    HUDTabBar(file::ImageContainer* layout, const std::vector<std::wstring>& labelKeys,
              const std::vector<bool>& enabled);
    HUDTabBar(const HUDTabBar&) = delete;
    HUDTabBar& operator=(const HUDTabBar&) = delete;
    // Deletes the tabs, then takes the bar off the board and deletes it.
    ~HUDTabBar();

    // Brings the tab to the top of the bar and selects it, deselecting the others; nothing outside the bar.
    void select(int index);
    // Selects and answers the first enabled tab under the point; -1 (and no change) when there is none.
    int press(int x, int y);
    // Every tab but the selected one follows the pointer.
    void updateHover(int x, int y);
    // Hovered tabs show their active picture and grow (dt x 0.5 per second), the others shrink (dt per
    // second), within [1.0, 1.1].
    void update(float dt);

    // Owned.
    std::vector<HUDTab*> mTabs;
    // Owned; a child of the board's root layer while the bar lives.
    layer::Layer* mRoot = nullptr;
};
