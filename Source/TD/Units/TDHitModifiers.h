#pragma once

#include "Source/TD/Sprites/TDWatch.h"
#include "Source/TD/Units/TDModifier.h"

class TDEmitter;

// The modifiers a tower's hit leaves on a unit (addHitModifiers, by the shooter's flags), and those the spells
// give: damage over time, stun, hold, and the teleporting beam's hold that sends the unit back to its start.

// Takes value from the unit's health each period and shows a poison puff there.
class DotModifier : public TDModifier
{
public:
    using TDModifier::TDModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Halves the unit's speed.
class StunModifier : public TDModifier
{
public:
    using TDModifier::TDModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Holds the unit still.
class HoldModifier : public TDModifier
{
public:
    using TDModifier::TDModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Holds the unit for its duration (a portal opens over it after one second and at its route's start after two),
// then teleports it to the start of its route and ends half a second later. mKind is the phase: 0 holding,
// 1 teleporting, 2 done.
class HoldAndTeleport : public TDModifier
{
public:
    HoldAndTeleport(const std::string& parameter, float value, float duration, TDTower* owner);
    // Stops both portals.
    ~HoldAndTeleport() override;
    void update(TDUnit* unit, float dt) override;
    void apply(TDUnit* unit, float dt) override;

private:
    TDWatch<TDEmitter> mStartPortal;
    TDWatch<TDEmitter> mUnitPortal;
};
