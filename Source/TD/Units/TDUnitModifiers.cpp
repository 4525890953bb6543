// The abilities units are born with: haste and invisibility around them, hiding themselves, regeneration,
// healing others, and summoning through a portal.
#include "Source/TD/Units/TDUnitModifiers.h"

#include "Core/Base/MathUtil.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>

namespace
{
// Heals by a tenth of the maximum, never above it; false when the unit was not below it.
bool healTenth(TDUnit& unit)
{
    const float maximum = unit.getMaxHealth();
    if (!(unit.mHealth < maximum))
        return false;
    unit.mHealth = std::min(maximum, unit.mHealth + maximum / 10.0f);
    return true;
}

void startSpecial(TDUnit& unit)
{
    unit.mState = kUnitSpecial;
    unit.mAnimTime = 0.0f;
}
} // namespace

void addSpawnModifiers(TDMap& map, TDUnit& unit)
{
    const TDUnitProto* proto = unit.getProto();
    if (!proto)
        return;
    const float period = proto->cooldown;
    auto add = [&unit](TDModifier* modifier) { unit.mModifiers.push_back(modifier); };
    if (proto->haste_buff)
        add(new HasteAreaModifier(map, period));
    if (proto->invisibleArea)
        add(new InvisibleAreaModifier(map, period));
    if (proto->invisible)
        add(new InvisibleModifier(map, period));
    if (proto->regen)
        add(new RegenModifier(map, period));
    if (proto->healer)
        add(new HealerModifier(map, period));
    if (proto->summon)
        add(new ShamanModifier(map, period + period * math::Random()));
}

TDInnateModifier::TDInnateModifier(TDMap& map, float period)
    : TDModifier(std::string(), 0.0f, -1.0f, nullptr), mMap(map)
{
    mInnate = true;
    mPeriod = period;
}

bool TDInnateModifier::canAct(const TDUnit* unit)
{
    return unit && unit->mAlive != 0 && unit->mState != kUnitDying && unit->mState != kUnitGone;
}

std::vector<TDUnit*> TDInnateModifier::neighbours(const TDUnit& unit) const
{
    std::vector<TDUnit*> out;
    const TDUnitProto* proto = unit.getProto();
    if (!proto)
        return out;
    for (TDUnit* other : mMap.mWaves->getUnits())
        if (other != &unit && pointDistance(unit.mX, unit.mY, other->mX, other->mY) < proto->r)
            out.push_back(other);
    return out;
}

void HasteAreaModifier::apply(TDUnit* unit, float)
{
    if (!canAct(unit))
        return;
    for (TDUnit* other : neighbours(*unit))
    {
        other->mSpeedFactorTarget = 2.0f;
        other->mHasteTime = 5.0f;
    }
}

void InvisibleAreaModifier::apply(TDUnit* unit, float)
{
    if (!canAct(unit))
        return;
    for (TDUnit* other : neighbours(*unit))
    {
        other->mInvisibleTime = 2.0f;
        other->mOpacityTarget = 0.4f;
    }
}

InvisibleModifier::InvisibleModifier(TDMap& map, float period) : TDInnateModifier(map, period)
{
    mPeriodTimer = 100.0f;
}

void InvisibleModifier::apply(TDUnit* unit, float)
{
    if (!canAct(unit))
        return;
    unit->mInvisibleTime = 2.0f;
    unit->mOpacityTarget = 0.4f;
}

void RegenModifier::apply(TDUnit* unit, float)
{
    if (canAct(unit) && unit->mSpeedReduction == 0.0f)
        healTenth(*unit);
}

void HealerModifier::apply(TDUnit* unit, float)
{
    if (!canAct(unit) || unit->mSpeedReduction != 0.0f)
        return;
    bool healed = false;
    for (TDUnit* other : neighbours(*unit))
    {
        // Haste and hiding reach the dying too; healing does not.
        if (!canAct(other) || !healTenth(*other))
            continue;
        healed = true;
        auto* sprite = new TDAnimatedSprite(L"td/mob_heal");
        sprite->follow(other);
        mMap.mSprites.push_back(sprite);
    }
    if (healed)
        startSpecial(*unit);
}

void ShamanModifier::apply(TDUnit* unit, float)
{
    if (!canAct(unit) || unit->mSpeedReduction != 0.0f)
        return;
    const TDUnitProto* proto = unit->getProto();
    const TDUnitProto* summon = proto && mMap.mProtoTable ? mMap.mProtoTable->find(proto->ammoid) : nullptr;
    if (!summon)
        return; // no summon record: nothing to call, and no animation for nothing
    startSpecial(*unit);
    auto* portal = new ShamanPortal(mMap, *unit, summon->cooldown, summon->onFire);
    portal->mPeriod = summon->speed;
    mMap.mModifiers.push_back(portal);
}

ShamanPortal::ShamanPortal(TDMap& map, const TDUnit& summoner, float duration, const std::string& effect)
    : TDModifier(std::string(), 0.0f, duration, nullptr), mMap(map)
{
    if (summoner.mEntry)
    {
        mWave = summoner.mEntry->mWave;
        mEntryY = summoner.mEntry->mY;
    }
    mRoute = summoner.mRoute;
    mLinkIndex = summoner.mLinkIndex;
    mLaneT = summoner.mLaneT;
    mLinkTime = summoner.mLinkTime;
    mLinkLength = summoner.mLinkLength;
    mLane = summoner.mLane;
    mAtX = summoner.mX;
    mAtY = summoner.mY;
    mSpawnPoint = summoner.mSpawnPoint;
    mX = summoner.mX;
    mY = summoner.mY;
    if (effect.empty())
        return;
    auto* emitter = new TDEmitter(effect);
    if (emitter->mEmitter)
    {
        // The portal stays open as long as it calls units, however short the effect's own interval.
        emitter->mEmitter->SetLoopMode(1);
        emitter->mEmitter->SetPosition(math::Point2(mAtX, mAtY), 1);
        emitter->mEmitter->SetState(1);
    }
    mMap.mEmitters.push_back(emitter);
    mEffect = TDWatch<TDEmitter>(emitter);
}

void ShamanPortal::update(TDUnit* unit, float dt)
{
    // The portal drives its look itself as well, on top of the map's pass over its effects: it swirls at
    // twice the pace of the other effects.
    if (TDEmitter* effect = mEffect.get())
        effect->update(dt);
    TDModifier::update(unit, dt);
}

ShamanPortal::~ShamanPortal()
{
    if (TDEmitter* effect = mEffect.get(); effect && effect->mEmitter)
        effect->mEmitter->SetState(2);
}

void ShamanPortal::apply(TDUnit*, float)
{
    if (!mWave || !mMap.mProtoTable || !mMap.mProtoTable->find(0))
        return;
    auto* entry = new TDWaveEntry(mWave);
    entry->mUnitId = 0;
    entry->mUpgrade = 1;
    entry->mX = -1.0f;
    entry->mY = mEntryY;
    entry->mSpawned = 1;
    mWave->mEntries.push_back(entry);
    const std::size_t index = static_cast<std::size_t>(std::max(mLinkIndex, 0));
    TDPoint* at = index < mRoute.size() ? mMap.findPoint(mRoute[index]) : mSpawnPoint;
    TDUnit* unit = mMap.spawnUnit(entry, at);
    unit->mRoute = mRoute;
    unit->mLinkIndex = mLinkIndex;
    unit->mLaneT = mLaneT;
    unit->mLinkTime = mLinkTime;
    unit->mLinkLength = mLinkLength;
    unit->mLane = mLane;
    unit->mSpawnPoint = mSpawnPoint;
    unit->mX = unit->mPrevX = unit->mTargetX = mAtX;
    unit->mY = unit->mPrevY = unit->mTargetY = mAtY;
    unit->enterLink();
}
