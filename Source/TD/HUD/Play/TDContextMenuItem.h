#pragma once

#include <memory>
#include <string>

namespace render
{
class Image;
}

class AttributedString;
class TDUnitProto;

// One button of the context menu: what choosing it returns (its key), where it stands on the ring, the price
// it shows and pays, and the prototype it offers.
class TDContextMenuItem
{
public:
    // Looks up the two price icons and makes the price label, in which '$' shows the money icon and '#' the
    // gem icon.
    TDContextMenuItem(int index, int key);
    ~TDContextMenuItem();
    TDContextMenuItem(const TDContextMenuItem&) = delete;
    TDContextMenuItem& operator=(const TDContextMenuItem&) = delete;

    // Not owned ("ui/context_money" and "ui/context_gem" of the sheet "td/ui").
    render::Image* mMoneyIcon = nullptr;
    render::Image* mGemIcon = nullptr;
    std::unique_ptr<AttributedString> mLabel;
    // A fixed label (the buy-spot price), UTF-8; empty otherwise.
    std::string mText;
    // Degrees on the ring, written by every draw.
    float mAngle = 0.0f;
    // The prototype id (build), the level id (branch upgrade), 1 (tier update, buy spot) or 0 (sell).
    int mKey = 0;
    // 0 for the sell item, else 1, 2, ... in ring order.
    int mIndex = 0;
    // The price shown and paid.
    float mValue = 0.0f;
    // The prototype offered, with the bought upgrades; owned; null for sell and buy-spot.
    TDUnitProto* mPreview = nullptr;
};
