#pragma once

#include "Source/TD/Sprites/TDWatch.h"

#include <memory>
#include <vector>

namespace render
{
class Graphics;
}

class TDAnimatedSprite;
class TDBeamParticle;
class TDFrameEntry;
class TDMap;
class TDModifier;
class TDSpriteSheet;
class TDUnit;
class TDUnitProto;

// What a tower is doing.
enum TDTowerState : int
{
    kTowerIdle = 0,
    kTowerScanning = 1,
    kTowerFiring = 3,
    kTowerAiming = 4,
    kTowerHolding = 5,
    kTowerWaitingForShell = 7,
    kTowerWaiting = 9
};

// A tower on a build spot: it turns to a unit in range, plays its firing animation and fires a bullet (or
// holds the unit in a beam); income, boost and reveal towers act through their own modifiers. It plays the
// values of its current prototype: the table's row it was built from, or the branch it was upgraded to.
// Aiming and firing live in TDTowerCombat.cpp, drawing in TDTowerDraw.cpp.
class TDTower : public TDWatchable
{
public:
    // Built from the table's prototype (null: an inert tower) standing with its aim and base point at (x, y);
    // init does the prototype's part.
    TDTower(TDUnitProto* proto, TDFrameEntry* spotFrame, float x, float y);
    TDTower(const TDTower&) = delete;
    TDTower& operator=(const TDTower&) = delete;
    // Deletes its modifiers; its sprites and beam belong to the map's lists.
    virtual ~TDTower();

    // Takes the prototype as the table's row it plays: not upgraded, a cleared boost record, the sprite
    // extent of the prototype's sheet and the prototype's own modifiers (which replace any it had).
    void init(TDUnitProto* proto);

    // The start of a frame: the boost record and the boosted flag are cleared (modifiers and bought upgrades
    // raise them again before the tower's update).
    virtual void resetBoost();
    // Raises the boost record by the bought upgrades and the tier updates.
    virtual void applyUpgrades();
    // One frame of the tower's own life (scaled time).
    virtual void update(float dt);
    // The fade-in of a new tower, in real time: a tower built while the game is paused shows at once.
    void advanceFade(float dt);
    // The tower's frame for the map's depth-sorted list, and its star marks and boost marker.
    virtual void collectDrawEntry();
    virtual void drawExtras(render::Graphics* graphics);
    // The tower drawn once more above the context menu.
    void drawOverlay(render::Graphics* graphics);
    // Drops its target and stops its firing effects.
    virtual void dropTarget();

    // The branch of the table's prototype with that "levelid", or null; with -1 the current prototype: the
    // table's row while not upgraded, else the branch, else the last branch.
    TDUnitProto* getProto(int levelId = -1) const;
    // The branch with that prototype id, or null.
    TDUnitProto* findBranch(int protoId) const;
    // (boost r + r) x radiusMultiplier x 0.5.
    float getRange() const;
    // The spot's "radius_mult"; 1 for a spot without it.
    float radiusMultiplier() const;
    // Live, visible, not dying units strictly within range + extra; fliers only for towers with "air".
    void findUnitsInRange(std::vector<TDUnit*>& out, float extra) const;
    TDUnit* chooseTarget(std::vector<TDUnit*>& candidates, TDUnit* current, bool preferSelected) const;
    // Fires at the target: a bullet, an instant hit, or a beam that holds the unit.
    void shoot();
    // Paid by the tower's income modifier once per period.
    void payIncome();
    // Buys the branch with that "levelid" (or prototype id) at the price; false when there is none or the
    // money does not suffice, and then nothing changes (the tier updates bought stay).
    bool upgrade(int levelId, float price);
    bool upgradeTo(int protoId, float price);
    // Buys one tier update at the current prototype's tierCost; false when refused.
    bool tierUpdate();
    // Tier updates still on offer.
    int tierUpdatesLeft() const;
    // What selling gives back now: floor((cost + parent cost) x the map's sell factor).
    int sellValue() const;
    // Rebuilds the income, boost and reveal modifiers from the current prototype; boost towers sort first.
    void makeModifiers();
    // The spot attribute (0 without a spot or attribute).
    float spotAttribute(const char* name) const;
    // The shot point of the current frame (rotating towers) or the aim point, where bullets start.
    float getDirection() const { return mCurrentDirection; }
    void setDirection(float degrees);

    // Not owned: the table's prototype the tower was built from.
    TDUnitProto* mProto = nullptr;
    TDFrameEntry* mSpotFrame = nullptr;
    // The aim point: range, aiming and firing are measured from it.
    float mX = 0.0f;
    float mY = 0.0f;
    // The base point: the sprite's "base_point" stands on it; its y is the depth key.
    float mBaseX = 0.0f;
    float mBaseY = 0.0f;
    // Never blocked or weakened by units (set while a boost spell lasts).
    bool mExempt = false;
    bool mBoosted = false;
    bool mSpellBoosted = false;
    // The unit it aims at; reads null once the unit is gone.
    TDWatch<TDUnit> mTarget;
    // The wait timer of state 9; the build command sets it to 0.
    float mTimer = 0.0f;
    // The number the developer overlay writes on the tower; a tower built from the menu has 0.
    int mDebugNumber = 0;

    int mState = kTowerWaiting;
    float mAlpha = 0.0f;
    float mFadeSpeed = 1.5f;
    float mSpriteWidth = 0.0f;
    float mSpriteHeight = 0.0f;
    float mWantedDirection = 0.0f;
    float mCurrentDirection = 0.0f;
    int mFrameSector = 0;
    float mAnimationTime = 0.0f;
    float mCooldown = 0.0f;
    bool mDisabledShown = false;
    bool mDebuffed = false;
    // Owned by the map's lists.
    TDWatch<TDAnimatedSprite> mDisabledSprite;
    TDWatch<TDAnimatedSprite> mDebuffSprite;
    TDWatch<TDBeamParticle> mBeam;
    // Additive bonuses of this frame: strength, cooldown (taken off the shot period) and r.
    std::unique_ptr<TDUnitProto> mBoost;
    int mTierCount = 0;
    // "levelid" of the branch bought; 0 for the table's prototype.
    int mBranch = 0;
    // Owned: income, boost and reveal.
    std::vector<TDModifier*> mModifiers;
    // The map it stands on; Game::GetMap() when not set.
    TDMap* mMap = nullptr;
    // The units the last update saw, kept so that the search does not allocate every frame; not read between
    // updates.
    std::vector<TDUnit*> mSeenUnits;

private:
    TDMap* map() const;
    void refreshExtent();
    void updateMarks();
    void turn(float dt);
    void showSprite(TDWatch<TDAnimatedSprite>& sprite, const wchar_t* sheet, float fps);
    void hideSprite(TDWatch<TDAnimatedSprite>& sprite);
};

// Deletes and removes every modifier of the list that the tower owns.
void removeModifiersOwnedBy(std::vector<TDModifier*>& list, const TDTower* tower);
// A copy of the table's prototype with the bought permanent upgrades applied (the caller deletes it); null
// for an unknown id.
TDUnitProto* createUpgradedProto(int id);
// The largest x + width and y + height over every frame of a sheet.
void computeSheetExtent(const TDSpriteSheet* sheet, float& width, float& height);
// The unit whose target point is nearest (the first of equals); null for none.
TDUnit* findNearestUnit(const std::vector<TDUnit*>& units, float x, float y);
// Booster towers before the others, keeping the rest of the order.
void boostersFirst(std::vector<TDTower*>& towers);
