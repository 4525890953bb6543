#pragma once

#include "Source/TD/Sprites/TDWatch.h"
#include "Source/TD/Units/TDModifier.h"

#include <vector>

class TDEmitter;
class TDMap;
class TDPoint;
class TDUnit;
class TDWaveProto;
struct TDLaneSample;

// The abilities a unit is born with, from its prototype's flags ("haste_buff", "invisibleArea",
// "invisible", "regen", "healer", "summon", in this order), each acting on its own unit once per period.
void addSpawnModifiers(TDMap& map, TDUnit& unit);

// The base of the innate abilities: no label, no value, never ending, no owner; they know the map they act
// in and never act while their unit dies.
class TDInnateModifier : public TDModifier
{
public:
    TDInnateModifier(TDMap& map, float period);

protected:
    // The unit acts now: it exists and is neither dying nor dead.
    static bool canAct(const TDUnit* unit);
    // The other units of the level within the r of the unit's tier prototype (strictly), in any state.
    std::vector<TDUnit*> neighbours(const TDUnit& unit) const;

    TDMap& mMap;
};

// Hastens the units around: speed factor target 2 for 5 s.
class HasteAreaModifier final : public TDInnateModifier
{
public:
    using TDInnateModifier::TDInnateModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Hides the units around for 2 s.
class InvisibleAreaModifier final : public TDInnateModifier
{
public:
    using TDInnateModifier::TDInnateModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Hides its own unit for 2 s; the first update already does.
class InvisibleModifier final : public TDInnateModifier
{
public:
    InvisibleModifier(TDMap& map, float period);
    void apply(TDUnit* unit, float dt) override;
};

// Heals its own unit by a tenth of its maximum while it walks freely.
class RegenModifier final : public TDInnateModifier
{
public:
    using TDInnateModifier::TDInnateModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Heals the wounded units around by a tenth of their maximum; the healer then plays its special animation.
class HealerModifier final : public TDInnateModifier
{
public:
    using TDInnateModifier::TDInnateModifier;
    void apply(TDUnit* unit, float dt) override;
};

// Opens a summoning portal where its unit stands (the unit plays its special animation meanwhile).
class ShamanModifier final : public TDInnateModifier
{
public:
    using TDInnateModifier::TDInnateModifier;
    void apply(TDUnit* unit, float dt) override;
};

// A portal on the map that brings out a unit of id 0 at its summoner's place once per period while it lasts;
// the summoned units belong to the summoner's wave, which therefore ends only after them.
class ShamanPortal final : public TDModifier
{
public:
    // duration and period come from the summon record (its cooldown and speed); effect names its look.
    ShamanPortal(TDMap& map, const TDUnit& summoner, float duration, const std::string& effect);
    ~ShamanPortal() override;
    // Advances the portal's effect, then the period and duration.
    void update(TDUnit* unit, float dt) override;
    void apply(TDUnit* unit, float dt) override;

private:
    TDMap& mMap;
    TDWaveProto* mWave = nullptr;
    float mEntryY = 0.0f;
    std::vector<int> mRoute;
    int mLinkIndex = 0;
    float mLaneT = 0.0f;
    float mLinkTime = 0.0f;
    float mLinkLength = 0.0f;
    const std::vector<TDLaneSample>* mLane = nullptr;
    float mAtX = 0.0f;
    float mAtY = 0.0f;
    TDPoint* mSpawnPoint = nullptr;
    // The portal's look, in the map's effect list.
    TDWatch<TDEmitter> mEffect;
};
