#pragma once

#include <cstdint>
#include <vector>

namespace render
{
class Graphics;
}

class TDContextMenuItem;
class TDFrameEntry;
class TDMap;
class TDTower;
class TDUnitProto;

// What a context menu offers.
enum TDContextMenuKind : int
{
    kMenuTower = 0,
    kMenuBuild = 1,
    kMenuBuySpot = 2,
    kMenuTowerTier = 3 // a tower menu offering its next tier update
};

enum TDContextMenuState : int
{
    kMenuOpening = 0,
    kMenuOpen = 2,
    kMenuClosing = 3
};

// The ring of buttons around a build spot or a tower while a level is played: build one of the unlocked
// towers, buy the spot, or sell, upgrade or tier-update a tower. It opens and closes in a fifth of a second,
// shows the range of the tower in question, and answers which item lies under a point; the map carries out
// the choice and closes it. Near an edge of the screen the items spread on a half ring turned away from the
// edge, on a wider ring. The map owns the open one, updates it every frame and deletes it once it is no
// longer alive.
class TDContextMenu
{
public:
    static constexpr float kRadius = 80.0f;
    static constexpr float kNearScale = 1.3f;
    static constexpr float kItemReach = 32.0f;
    static constexpr float kAnimationTime = 0.2f;

    // Plays "context_in" and tells the tutorial "tower_select".
    explicit TDContextMenu(TDMap& map);
    TDContextMenu(const TDContextMenu&) = delete;
    TDContextMenu& operator=(const TDContextMenu&) = delete;
    ~TDContextMenu();

    // One item per unlocked tower of type 1, in table order, with the bought upgrades in its price.
    void openBuildMenu(TDFrameEntry* spot);
    // One item with the spot's price ("$" gold, "; ", "#" gems; a currency that costs nothing left out).
    void openBuySpotMenu(TDFrameEntry* spot);
    // Sell, then the tier update while the tower has one left, else the unlocked branch upgrades ahead of it.
    void openTowerMenu(TDTower* tower);
    TDContextMenuItem* addItem(int index, int key);
    // The value of the first item with the key; 0 when none.
    float getItemValue(int key) const;
    // The key of the item strictly within 32 of the point while open, remembered as hovered; -1.
    int hitTest(int x, int y);

    void update(float dt);
    // Starts the closing animation ("context_out"); the menu stays alive until it has ended.
    void close();
    void draw(render::Graphics* graphics);
    void drawRange(render::Graphics* graphics);
    // A circle of 36 straight pieces.
    static void drawCircle(render::Graphics* graphics, float x, float y, float r);

    // The price an item shows: the tier cost in a tier-update menu, else its value; 0 without a preview.
    float shownPrice(const TDContextMenuItem& item) const;
    // Whether the player cannot pay the item now (its price is then drawn in a warning colour).
    bool isShortOf(const TDContextMenuItem& item) const;
    // Whether the centre lies within 150 of the screen's top, bottom or left edge or within 150 of its right.
    bool isNearEdge() const;
    // The opening factor: grows from 0 to 1 while opening, shrinks back while closing.
    float openFactor() const;
    // The ring point at an angle in degrees (0 below the centre, 90 right, 180 above, 270 left).
    static void ringPoint(float cx, float cy, float angle, float r, float& x, float& y);
    // The angles of this draw: the edge arc, the ring steps and the fixed places of the four base towers.
    void arrangeItems();
    // Where an item's icon and its price are centred now (the opening factor and the wider ring near the
    // edges included): the price stands 30 above its icon, so it keeps clear of it on either ring.
    void iconPoint(const TDContextMenuItem& item, float& x, float& y) const;
    void pricePoint(const TDContextMenuItem& item, float& x, float& y) const;

    std::vector<TDContextMenuItem*> mItems; // owned, in ring order
    int32_t mState = kMenuOpening;
    float mTimer = 0.0f;
    bool mReordered = false;
    int32_t mKind = kMenuTower;
    // Written by the map on every pointer move.
    int32_t mHoveredKey = -1;
    TDContextMenuItem* mHovered = nullptr;
    TDTower* mTower = nullptr;
    TDFrameEntry* mSpot = nullptr;
    float mStartAngle = 0.0f;
    float mEndAngle = 360.0f;
    float mRadius = kRadius;
    float mCenterX = 0.0f;
    float mCenterY = 0.0f;
    // 0 tells the map to delete the menu.
    int32_t mAlive = 1;

private:
    // A copy of the prototype with the bought upgrades; the caller owns it.
    TDUnitProto* upgradedCopy(const TDUnitProto& proto) const;
    void drawItem(render::Graphics* graphics, TDContextMenuItem& item, float f);
    void drawPrice(render::Graphics* graphics, TDContextMenuItem& item);

    TDMap& mMap;
};
