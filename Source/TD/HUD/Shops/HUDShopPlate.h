#pragma once

#include <array>
#include <cstdint>

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

class TDUpgrade;

// One upgrade in the upgrade shop's list: its icon, name, the description of the next step, one star per
// step bought, the gem price and a buy button, all built from the shop layout's group "item_plate" and
// placed relative to the plate picture "item_plate/Layer_1". The shop places the plate's root layer and
// draws it; the plate reads the player's progress and pays through the map.
class HUDShopPlate
{
public:
    // Star slots the plate layout offers ("item_plate/stars/star_01" to "star_10"); steps past the tenth
    // are still sold, they just get no star.
    static constexpr int kStarSlots = 10;
    // The price's colour when the gems do not cover it.
    static constexpr float kWarningRed = 0.94f;
    static constexpr float kWarningGreenBlue = 0.44f;

    HUDShopPlate(file::ImageContainer* layout, const TDUpgrade& upgrade);
    HUDShopPlate(const HUDShopPlate&) = delete;
    HUDShopPlate& operator=(const HUDShopPlate&) = delete;
    // Detaches its root and buy layers and deletes every layer it made.
    ~HUDShopPlate();

    // Stars, price, colour and description from the profile and the purse.
    void refresh();
    // True on the buy button; rows outside the list's window (y 170 to 610) never hit.
    bool hitBuyButton(int x, int y) const;
    // The active buy picture shows while the pointer is on the button (not on a fully bought plate).
    void updateHover(int x, int y);
    // The buy button's hover zoom: up by dt x 0.5 while hovered, down by dt otherwise, within [1.0, 1.1].
    void update(float dt);
    // A release on the buy button: "simple", then buy.
    void release(int x, int y);
    // Buys the next step when the gems cover it (never in hardcore, where upgrades are off); the shop's
    // plates are refreshed after every attempt on a plate that is not fully bought.
    void buy();

    int32_t mUpgradeId = 0;
    uint8_t mAffordable = 0;
    float mBuyZoom = 1.0f;
    int32_t mBuyHovered = 0;
    layer::ImageLayer* mRoot = nullptr;
    layer::ImageLayer* mClearStars = nullptr;
    std::array<layer::ImageLayer*, kStarSlots> mStars{};
    layer::ImageLayer* mBuyActive = nullptr;
    layer::ImageLayer* mBuyInactive = nullptr;
    layer::Layer* mBuy = nullptr;
    layer::ImageLayer* mGemIcon = nullptr;
    layer::TextLayer* mPrice = nullptr;
    layer::TextLayer* mDescription = nullptr;
    layer::TextLayer* mName = nullptr;
    layer::ImageLayer* mIcon = nullptr;
    uint8_t mMaxed = 0;

private:
    // The size of the buy button's picture, for the hit window.
    int mBuyWidth = 0;
    int mBuyHeight = 0;
};
