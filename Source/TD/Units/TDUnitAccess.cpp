// Forwards the towers', bullets' and spells' questions to the unit's own operations.
#include "Source/TD/Units/TDUnitAccess.h"

#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Units/TDHitModifiers.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

namespace tdunit
{
TDUnitProto* baseProto(const TDUnit& unit)
{
    return unit.getBaseProto();
}

bool isVisible(const TDUnit& unit)
{
    return !unit.isInvisible();
}

void reveal(TDUnit& unit)
{
    unit.mInvisibleTime = 0.0f;
    unit.mOpacityTarget = 1.0f;
}

float health(const TDUnit& unit)
{
    return unit.mHealth;
}

void damage(TDUnit& unit, TDBullet& bullet, bool primary)
{
    TDShot shot;
    shot.tower = bullet.mTower.get();
    shot.shooter = bullet.mShooter;
    shot.strength = bullet.mStrength;
    if (shot.tower)
        shot.strength += shot.tower->spotAttribute("damage_mult");
    shot.x = bullet.mX;
    shot.y = bullet.mY;
    unit.damage(shot, primary);
}

void hit(TDUnit& unit, float strength)
{
    unit.hit(strength);
}

void loseHealth(TDUnit& unit, float amount)
{
    unit.mHealth -= amount;
}

void hold(TDUnit& unit)
{
    unit.mState = kUnitCaught;
    unit.mAnimTime = 0.0f;
}

bool isHeld(const TDUnit& unit)
{
    return unit.mState == kUnitCaught;
}

void release(TDUnit& unit, const TDTower* tower)
{
    unit.removeModifiersOwnedBy(tower);
    if (unit.mState == kUnitCaught)
        unit.mState = kUnitWalking;
}

void addModifier(TDUnit& unit, TDModifier* modifier, bool check)
{
    if (!modifier)
        return;
    if (check)
        (void)unit.addModifier(modifier);
    else
        unit.mModifiers.push_back(modifier);
}

TDModifier* makeDot(float value, float duration)
{
    auto* dot = new DotModifier("health", value, duration, nullptr);
    dot->mPeriod = 1.0f;
    return dot;
}

TDModifier* makeStun(float duration)
{
    return new StunModifier(std::string(), 0.0f, duration, nullptr);
}

void inRadius(float x, float y, float size, std::vector<TDUnit*>& out)
{
    if (const TDMap* map = Game::GetMap())
        map->mWaves->unitsInRadius(x, y, size, out);
}
} // namespace tdunit
