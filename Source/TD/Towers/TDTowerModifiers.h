#pragma once

#include "Source/TD/Sprites/TDWatch.h"
#include "Source/TD/Units/TDModifier.h"

#include <vector>

class TDBullet;
class TDEmitter;
class TDTower;
class TDUnitProto;

// A modifier with the shared update rule: elapsed and accumulator grow by dt; once the accumulator passes the
// period (strictly) it restarts and the effect acts; past a set duration the modifier ends. So it acts in the
// update in which it expires, and with period -1 on every update.
class TDPeriodicModifier : public TDModifier
{
public:
    using TDModifier::TDModifier;
    // The base's timing runs the effect; subclasses say what it is in act.
    void apply(TDUnit* unit, float dt) final { act(unit, dt); }
    virtual void act(TDUnit* unit, float dt) = 0;
};

// The tower's own modifiers for a prototype: income, boost of the others, reveal.
std::vector<TDModifier*> makeTowerModifiers(TDTower& tower, const TDUnitProto& proto);

// Pays the owner's income every period.
class GoldIncomerModifier : public TDPeriodicModifier
{
public:
    GoldIncomerModifier(float amount, float period, TDTower* tower);
    void act(TDUnit* unit, float dt) override;
};

// Raises every other non-booster tower within reach by the owner's "speed" per cent of its own strength
// and range, and marks it boosted.
class MagicTowerBoost : public TDPeriodicModifier
{
public:
    explicit MagicTowerBoost(TDTower* tower);
    void act(TDUnit* unit, float dt) override;
};

// Makes the units within the owner's range visible.
class ShowInvisible : public TDPeriodicModifier
{
public:
    explicit ShowInvisible(TDTower* tower);
    void act(TDUnit* unit, float dt) override;
};

// The boost spell: every tower gains value x its strength and range while it lasts, and is spared the
// units' blocking and weakening; each boosted tower shows a hammer above it.
class TowersBoost : public TDPeriodicModifier
{
public:
    TowersBoost(float duration, float value);
    ~TowersBoost() override;
    void act(TDUnit* unit, float dt) override;

private:
    std::vector<TDWatch<TDTower>> mBoosted;
    std::vector<TDWatch<TDEmitter>> mEffects;
};

// Units in the circle stand still.
class MapImpassableArea : public TDPeriodicModifier
{
public:
    MapImpassableArea(float duration, float x, float y, float size);
    void act(TDUnit* unit, float dt) override;
};

// Units in the circle get a damage over time of value, one at a time.
class DotModifierArea : public TDPeriodicModifier
{
public:
    DotModifierArea(float x, float y, float size, float value, float duration);
    void act(TDUnit* unit, float dt) override;
};

// Units in the circle take value each period.
class FireSplashModifier : public TDPeriodicModifier
{
public:
    FireSplashModifier(const std::string& parameter, float value, float duration, TDTower* owner, float x,
                       float y, float size);
    void act(TDUnit* unit, float dt) override;
};

// A homing shot's explosion: the damage is done at construction, the modifier ends after one update.
class BlastModifier : public TDPeriodicModifier
{
public:
    explicit BlastModifier(const TDBullet& bullet);
    void act(TDUnit* unit, float dt) override;
};

// Marks where a splash hit landed (drawn in the developer overlay); does nothing else.
class AreaDamageModifier : public TDPeriodicModifier
{
public:
    AreaDamageModifier(TDTower* owner, float x, float y);
    void act(TDUnit* unit, float dt) override;
};
