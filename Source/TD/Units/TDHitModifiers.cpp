// The modifiers a tower's hit leaves, by the shooter's flags, and the hit modifiers themselves.
#include "Source/TD/Units/TDHitModifiers.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/TDUnit.h"

namespace
{
TDEmitter* startEffect(TDMap& map, const char* name, float x, float y, bool loop)
{
    auto* effect = new TDEmitter(name);
    if (effect->mEmitter)
    {
        effect->mEmitter->SetLoopMode(loop ? 1 : 0);
        effect->mEmitter->SetPosition(math::Point2(x, y), 0);
        effect->mEmitter->SetState(1);
    }
    map.mEmitters.push_back(effect);
    return effect;
}

void stopEffect(TDWatch<TDEmitter>& watch)
{
    if (TDEmitter* effect = watch.get(); effect && effect->mEmitter)
        effect->mEmitter->SetState(2);
    watch.reset();
}

TDMap* mapOf(const TDUnit* unit)
{
    return unit && unit->mMap ? unit->mMap : Game::GetMap();
}
} // namespace

void addHitModifiers(TDMap& map, TDUnit& unit, const TDShot& shot, bool primary)
{
    if (!shot.shooter)
        return;
    const TDUnitProto& s = *shot.shooter;
    TDTower* owner = shot.tower;
    auto add = [&unit](TDModifier* modifier, float period)
    {
        modifier->mPeriod = period;
        (void)unit.addModifier(modifier);
    };
    if (s.teleportEnemy)
        add(new HoldAndTeleport(std::string(), 0.0f, 3.0f, owner), -1.0f);
    if (s.dot)
        add(new DotModifier("health", 0.5f, 2.0f, owner), 0.9f);
    if (s.stun)
        add(new StunModifier("speed", 0.5f, 3.0f, owner), -1.0f);
    if (s.hold)
        add(new HoldModifier("speed", 0.5f, 3.0f, owner), -1.0f);
    if (s.firesplash)
        map.mModifiers.push_back(
            new FireSplashModifier(std::string(), 1.0f, 10.0f, owner, unit.mX, unit.mY, 64.0f));
    if (s.splash && primary)
        map.mModifiers.push_back(new AreaDamageModifier(owner, unit.mX, unit.mY));
}

void DotModifier::apply(TDUnit* unit, float)
{
    if (!unit)
        return;
    unit->hit(mValue);
    if (TDMap* map = mapOf(unit))
    {
        auto* puff = new TDAnimatedSprite(L"td/mob_dot");
        puff->mX = unit->mX;
        puff->mY = unit->mY;
        map->mSprites.push_back(puff);
    }
}

void StunModifier::apply(TDUnit* unit, float)
{
    if (const TDUnitProto* p = unit ? unit->getProto() : nullptr)
        unit->mSpeedReduction = p->speed * 0.5f;
}

void HoldModifier::apply(TDUnit* unit, float)
{
    if (const TDUnitProto* p = unit ? unit->getProto() : nullptr)
        unit->mSpeedReduction = p->speed;
}

HoldAndTeleport::HoldAndTeleport(const std::string& parameter, float value, float duration, TDTower* owner)
    : TDModifier(parameter, value, duration, owner)
{
}

HoldAndTeleport::~HoldAndTeleport()
{
    stopEffect(mStartPortal);
    stopEffect(mUnitPortal);
}

void HoldAndTeleport::update(TDUnit* unit, float dt)
{
    const bool wasActive = mActive;
    TDModifier::update(unit, dt);
    // The hold's end is the teleport's update.
    if (wasActive && !mActive && mKind == 0)
    {
        mActive = true;
        mKind = 1;
    }
}

void HoldAndTeleport::apply(TDUnit* unit, float)
{
    TDMap* map = mapOf(unit);
    if (!unit || !map)
        return;
    const TDPoint* start = unit->mRoute.empty() ? nullptr : map->findPoint(unit->mRoute.front());
    const float left = mDuration - mElapsed;
    if (left < 1.0f && !mStartPortal.get() && start)
        mStartPortal = startEffect(*map, "portal_1", start->x, start->y, true);
    // After the teleport this opens a portal over the unit where it now stands, for the last half second.
    if (left < 2.0f && !mUnitPortal.get())
        mUnitPortal = startEffect(*map, "portal_1", unit->mX, unit->mY - 15.0f, true);
    const TDUnitProto* p = unit->getProto();
    if (mKind == 0)
    {
        if (p)
            unit->mSpeedReduction = p->speed;
        return;
    }
    if (mKind != 1)
        return;
    unit->mLinkIndex = 0;
    unit->mLaneT = 0.0f;
    unit->mLinkTime = 0.0f;
    w7::SoundTags::Instance()->Play(L"teleportEnemy");
    if (mOwner)
        mOwner->dropTarget();
    if (start)
    {
        unit->mX = start->x;
        unit->mY = start->y;
    }
    startEffect(*map, "blow_bub", unit->mX, unit->mY, false);
    stopEffect(mUnitPortal);
    if (p && !p->straight)
    {
        if (unit->mRoute.size() >= 2)
            unit->mLinkLength = map->getLinkLength(
                map->findLink(map->findPoint(unit->mRoute[0]), map->findPoint(unit->mRoute[1])));
        unit->mState = kUnitWalking;
        unit->enterLink();
    }
    mKind = 2;
    mElapsed = 0.0f;
    mDuration = 0.5f;
}
