#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <vector>

namespace layer
{
class ImageLayer;
class TextLayer;
} // namespace layer

class HUDLevelPlate;
class HUDTabBar;

// The level select of the map's episode in the map's mode: a grid of plates, three tabs for easy, normal
// and hard (they act on the press and rebuild the plates), the hardcore buttons "unlocked_d" / "locked_d"
// with a "new" badge, "upgrade" and "back". The caption, the badge and the tab bar hang on the game board's
// root layer so that they lie above the map and the screens.
class HUDLevelSelect : public HUDWindow
{
public:
    HUDLevelSelect();
    ~HUDLevelSelect() override;

    // Builds the plates again for the map's episode and mode.
    void rebuildPlates();
    void draw(render::Graphics* graphics) override;
    void update(float dt) override;
    void mouseMove(int x, int y) override;
    // A tab under the press switches the mode at once (not in hardcore).
    void mouseDown(int x, int y) override;
    // The level index of the plate under the point, open or not; -1.
    int hitTest(int x, int y) override;

    // Owned, in level order.
    std::vector<HUDLevelPlate*> mPlates;
    layer::TextLayer* mCaption = nullptr;
    layer::TextLayer* mBadgeText = nullptr;
    layer::ImageLayer* mBadgeImage = nullptr;
    HUDTabBar* mTabBar = nullptr;
};
