#pragma once

#include "Source/TD/TDWatch.h"

namespace render
{
class Graphics;
}

class TDFrameEntry;
class TDUnit;
class TDUnitProto;

// A tower on a build spot. What the level core and its frame read of it is here (position, prototype, the
// spot frame it stands on, the per-frame boost flags); aiming, firing, upgrading and drawing belong to the
// tower itself and come with the towers.
class TDTower : public TDWatchable
{
public:
    TDTower(TDUnitProto* proto, TDFrameEntry* spotFrame, float x, float y);
    TDTower(const TDTower&) = delete;
    TDTower& operator=(const TDTower&) = delete;
    virtual ~TDTower() = default;

    // The start of a frame: the boost record and the boosted flag are cleared (modifiers and bought upgrades
    // raise them again before the tower's update).
    virtual void resetBoost();
    // Raises the boost record by the bought upgrades.
    virtual void applyUpgrades();
    // One frame of the tower's own life (scaled time).
    virtual void update(float dt);
    // The tower's frames for the map's depth-sorted lists, and its extras.
    virtual void queueFrames();
    virtual void drawExtras(render::Graphics* graphics);
    // Drops its target and stops its firing effects.
    virtual void stopFiring();

    // Not owned.
    TDUnitProto* mProto = nullptr;
    TDFrameEntry* mSpotFrame = nullptr;
    float mX = 0.0f;
    float mY = 0.0f;
    // Never blocked or weakened by units.
    bool mExempt = false;
    bool mBoosted = false;
    bool mSpellBoosted = false;
    // The unit it aims at; reads null once the unit is gone.
    TDWatch<TDUnit> mTarget;
    // Set to 0 by the build command.
    float mTimer = 0.0f;
};
