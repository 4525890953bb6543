// What hits do to a unit: a tower's shot (immunities, the modifiers it leaves, splash to the neighbours), a
// plain hit, and the rules for the modifiers a unit carries.
#include "Source/TD/Units/TDUnit.h"

#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>
#include <cmath>

namespace
{
// The unit shrugs the shot off: ice and stone units take no damage over time and no stun, units immune to
// poison are not held, and fire-only units take only the three fire ammunitions.
bool isImmune(const TDUnitProto& unit, const TDUnitProto& shooter)
{
    if ((unit.ice || unit.stone) && (shooter.dot || shooter.stun))
        return true;
    if (unit.poisonImmun && shooter.hold)
        return true;
    if (unit.fire_dmg_only && shooter.ammoid != 2001 && shooter.ammoid != 2002 && shooter.ammoid != 2003)
        return true;
    return false;
}
} // namespace

void TDUnit::damage(const TDShot& shot, bool primary)
{
    if (!(mHealth > 0.0f) || !shot.shooter)
        return;
    const TDUnitProto& shooter = *shot.shooter;
    const TDUnitProto* ammo = mMap && mMap->mProtoTable ? mMap->mProtoTable->find(shooter.ammoid) : nullptr;
    float amount = shot.strength;
    if (!primary)
    {
        // An ammunition without a splash size hits its neighbours with nothing: dividing by its r of 0 would
        // give a damage that is no number, and a unit with no number for health never dies.
        const float r = ammo ? ammo->r : 0.0f;
        const float distance = pointDistance(mTargetX, mTargetY, shot.x, shot.y);
        amount = r > 0.0f ? amount * std::max(0.0f, (r - distance) / r) : 0.0f;
    }
    const TDUnitProto* base = getBaseProto();
    if (base && isImmune(*base, shooter))
    {
        if (mMap && mMap->mPopups)
            mMap->mPopups->add(mTargetX, mTargetY - 20.0f, HUDPopupTexts::kKindImmune);
        return;
    }
    if (mMap)
        addHitModifiers(*mMap, *this, shot, primary);
    if (primary && shooter.splash && ammo && mMap)
    {
        std::vector<TDUnit*> near;
        mMap->mWaves->unitsInRadius(mX, mY, ammo->r, near);
        for (TDUnit* other : near)
            if (other != this)
                other->damage(shot, false);
    }
    hit(amount);
}

void TDUnit::hit(float amount)
{
    if (mState == kUnitDying || mState == kUnitGone || std::isnan(amount))
        return;
    mHealthBarTime = 2.5f;
    mHealth -= amount;
    if (amount > 0.0f)
    {
        mInvisibleTime = 0.0f;
        mOpacityTarget = 1.0f;
    }
    const int id = mEntry ? mEntry->mUnitId : (getProto() ? getProto()->id : 0);
    w7::SoundTags::Instance()->Play(L"enemy" + std::to_wstring(id) + L"hit");
}

bool TDUnit::canAddModifier(const TDModifier* modifier) const
{
    if (!modifier)
        return false;
    return std::none_of(mModifiers.begin(), mModifiers.end(), [modifier](const TDModifier* held)
                        { return !held->mInnate && held->mOwner == modifier->mOwner; });
}

bool TDUnit::addModifier(TDModifier* modifier)
{
    if (!canAddModifier(modifier))
    {
        delete modifier;
        return false;
    }
    mModifiers.push_back(modifier);
    return true;
}

void TDUnit::removeModifiersOwnedBy(const TDTower* tower)
{
    if (!tower)
        return;
    for (std::size_t i = 0; i < mModifiers.size();)
    {
        if (mModifiers[i]->mOwner != tower)
        {
            ++i;
            continue;
        }
        delete mModifiers[i];
        mModifiers.erase(mModifiers.begin() + static_cast<std::ptrdiff_t>(i));
    }
}
