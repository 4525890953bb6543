#include "Source/TD/Towers/TDTowerModifiers.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDUnitAccess.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>
#include <memory>

namespace
{
TDMap* theMap()
{
    return Game::GetMap();
}

// The boost spell's prototype: its hammer plays at the table speed over the upgraded one.
constexpr int kBoostSpellProto = 3004;

float boostEffectTimeScale()
{
    const TDMap* map = theMap();
    const TDUnitProto* base = (map && map->mProtoTable) ? map->mProtoTable->find(kBoostSpellProto) : nullptr;
    std::unique_ptr<TDUnitProto> upgraded(createUpgradedProto(kBoostSpellProto));
    // A missing row or a speed that is not positive would give no or an endless scale: play it as it is.
    if (!base || !upgraded || base->speed <= 0.0f || upgraded->speed <= 0.0f)
        return 1.0f;
    return base->speed / upgraded->speed;
}

// How far a tower's own effect reaches: half its prototype's range, stretched as its spot stretches ranges.
float effectReach(const TDTower& tower, const TDUnitProto& own)
{
    return own.r * 0.5f * tower.radiusMultiplier();
}
} // namespace

std::vector<TDModifier*> makeTowerModifiers(TDTower& tower, const TDUnitProto& proto)
{
    std::vector<TDModifier*> list;
    if (proto.goldIncome > 0)
        list.push_back(new GoldIncomerModifier(static_cast<float>(proto.goldIncome), proto.cooldown, &tower));
    if (proto.boostTower)
        list.push_back(new MagicTowerBoost(&tower));
    if (proto.showInvisible)
        list.push_back(new ShowInvisible(&tower));
    return list;
}

GoldIncomerModifier::GoldIncomerModifier(float, float period, TDTower* tower)
    : TDPeriodicModifier(std::string(), 0.0f, -1.0f, tower)
{
    mPeriod = period;
}

void GoldIncomerModifier::act(TDUnit*, float)
{
    if (mOwner)
        mOwner->payIncome();
}

MagicTowerBoost::MagicTowerBoost(TDTower* tower) : TDPeriodicModifier(std::string(), 0.0f, -1.0f, tower) {}

void MagicTowerBoost::act(TDUnit*, float)
{
    TDMap* map = theMap();
    const TDUnitProto* own = mOwner ? mOwner->getProto(-1) : nullptr;
    if (!map || !own)
        return;
    const float reach = effectReach(*mOwner, *own);
    const float k = own->speed / 100.0f;
    for (TDTower* other : map->mTowers)
    {
        const TDUnitProto* p = other->getProto(-1);
        if (other == mOwner || !p || p->boostTower)
            continue;
        if (pointDistance(other->mX, other->mY, mOwner->mX, mOwner->mY) > reach)
            continue;
        other->mBoost->strength += p->strength * k;
        other->mBoost->r += p->r * k;
        other->mBoosted = true;
    }
}

ShowInvisible::ShowInvisible(TDTower* tower) : TDPeriodicModifier(std::string(), 0.0f, -1.0f, tower) {}

void ShowInvisible::act(TDUnit*, float)
{
    TDMap* map = theMap();
    const TDUnitProto* own = mOwner ? mOwner->getProto(-1) : nullptr;
    if (!map || !own)
        return;
    const float reach = effectReach(*mOwner, *own);
    for (TDUnit* unit : map->mWaves->getUnits())
        if (pointDistance(unit->mX, unit->mY, mOwner->mX, mOwner->mY) < reach)
            tdunit::reveal(*unit);
}

TowersBoost::TowersBoost(float duration, float value) : TDPeriodicModifier(std::string(), value, duration, nullptr)
{
}

TowersBoost::~TowersBoost()
{
    TDMap* map = theMap();
    if (!map)
        return;
    for (const TDWatch<TDEmitter>& watch : mEffects)
        if (TDEmitter* effect = watch.get())
            eraseAndDelete(map->mLateEmitters, effect);
    for (TDTower* tower : map->mTowers)
    {
        tower->mSpellBoosted = false;
        tower->mExempt = false;
    }
}

void TowersBoost::act(TDUnit*, float)
{
    TDMap* map = theMap();
    if (!map)
        return;
    for (TDTower* tower : map->mTowers)
    {
        const TDUnitProto* p = tower->getProto(-1);
        if (!p)
            continue;
        tower->mBoost->strength += p->strength * mValue;
        tower->mBoost->r += p->r * mValue;
        const bool known = std::any_of(mBoosted.begin(), mBoosted.end(),
                                       [tower](const TDWatch<TDTower>& w) { return w.get() == tower; });
        if (known)
            continue;
        auto* hammer = new TDEmitter("hammer");
        if (hammer->mEmitter)
        {
            hammer->mEmitter->SetLoopMode(1);
            hammer->mEmitter->SetPosition(math::Point2(tower->mX, tower->mY - 50.0f), 0);
            hammer->mEmitter->SetState(1);
        }
        hammer->mTimeScale = boostEffectTimeScale();
        map->mLateEmitters.push_back(hammer);
        mEffects.emplace_back(hammer);
        tower->mSpellBoosted = true;
        tower->mExempt = true;
        mBoosted.emplace_back(tower);
    }
}

MapImpassableArea::MapImpassableArea(float duration, float x, float y, float size)
    : TDPeriodicModifier(std::string(), 0.0f, duration, nullptr)
{
    mX = x;
    mY = y;
    mRadius = size;
}

void MapImpassableArea::act(TDUnit*, float)
{
    std::vector<TDUnit*> units;
    tdunit::inRadius(mX, mY, mRadius, units);
    for (TDUnit* unit : units)
        if (const TDUnitProto* p = unit->getProto())
            unit->mSpeedReduction = p->speed;
}

DotModifierArea::DotModifierArea(float x, float y, float size, float value, float duration)
    : TDPeriodicModifier(std::string(), value, duration, nullptr)
{
    mX = x;
    mY = y;
    mRadius = size;
}

void DotModifierArea::act(TDUnit*, float)
{
    std::vector<TDUnit*> units;
    tdunit::inRadius(mX, mY, mRadius, units);
    for (TDUnit* unit : units)
        tdunit::addModifier(*unit, tdunit::makeDot(mValue, mDuration), true);
}

FireSplashModifier::FireSplashModifier(const std::string& parameter, float value, float duration, TDTower* owner,
                                       float x, float y, float size)
    : TDPeriodicModifier(parameter, value, duration, owner)
{
    mX = x;
    mY = y;
    mRadius = size;
    mPeriod = 1.0f;
}

void FireSplashModifier::act(TDUnit*, float)
{
    std::vector<TDUnit*> units;
    tdunit::inRadius(mX, mY, mRadius, units);
    for (TDUnit* unit : units)
        tdunit::hit(*unit, mValue);
}

BlastModifier::BlastModifier(const TDBullet& bullet) : TDPeriodicModifier(std::string(), 0.0f, 0.0f, nullptr)
{
    mX = bullet.mX;
    mY = bullet.mY;
    const TDUnitProto* a = bullet.ammo();
    mRadius = a ? a->r : 0.0f;
    std::vector<TDUnit*> units;
    tdunit::inRadius(mX, mY, mRadius, units);
    for (TDUnit* unit : units)
        tdunit::hit(*unit, bullet.mStrength);
    TDMap* map = bullet.map();
    if (!a || a->onHit.empty() || !map)
        return;
    auto* effect = new TDEmitter(a->onHit);
    if (effect->mEmitter)
    {
        effect->mEmitter->SetPosition(math::Point2(mX, mY), 0);
        effect->mEmitter->SetState(1);
    }
    map->mEmitters.push_back(effect);
}

void BlastModifier::act(TDUnit*, float) {}

AreaDamageModifier::AreaDamageModifier(TDTower* owner, float x, float y)
    : TDPeriodicModifier(std::string(), 0.0f, 1.5f, owner)
{
    mKind = 101;
    mX = x;
    mY = y;
    mRadius = 100.0f;
}

void AreaDamageModifier::act(TDUnit*, float) {}
