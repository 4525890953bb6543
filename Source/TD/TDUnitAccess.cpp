// Interim: the unit's fighting rules are not in yet, so these forward to what the unit has today (position,
// state, modifiers); damage, visibility and holds are wired to the unit's own operations once it has them.
#include "Source/TD/TDUnitAccess.h"

#include "Source/TD/Game.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDModifier.h"
#include "Source/TD/TDProtoTable.h"
#include "Source/TD/TDTowerModifiers.h"
#include "Source/TD/TDUnit.h"
#include "Source/TD/TDUnitProto.h"
#include "Source/TD/TDWaves.h"

namespace
{
class InterimModifier : public TDPeriodicModifier
{
public:
    using TDPeriodicModifier::TDPeriodicModifier;
    void act(TDUnit*, float) override {}
};
} // namespace

namespace tdunit
{
TDUnitProto* baseProto(const TDUnit& unit)
{
    const TDMap* map = Game::GetMap();
    const TDUnitProto* p = unit.getProto();
    if (!map || !map->mProtoTable || !p)
        return unit.getProto();
    TDUnitProto* row = map->mProtoTable->find(p->parent > 0 ? p->parent : p->id);
    return row ? row : unit.getProto();
}

bool isVisible(const TDUnit&)
{
    return true;
}

void reveal(TDUnit&) {}

float health(const TDUnit&)
{
    return 0.0f;
}

void damage(TDUnit&, TDBullet&, bool) {}

void hit(TDUnit&, float) {}

void loseHealth(TDUnit&, float) {}

void hold(TDUnit& unit)
{
    unit.mState = 5;
}

bool isHeld(const TDUnit& unit)
{
    return unit.mState == 5;
}

void release(TDUnit& unit, const TDTower* tower)
{
    for (std::size_t i = 0; i < unit.mModifiers.size();)
    {
        if (unit.mModifiers[i]->mOwner != tower || tower == nullptr)
        {
            ++i;
            continue;
        }
        delete unit.mModifiers[i];
        unit.mModifiers.erase(unit.mModifiers.begin() + static_cast<std::ptrdiff_t>(i));
    }
    unit.mState = kUnitWalking;
}

void addModifier(TDUnit& unit, TDModifier* modifier, bool check)
{
    if (!modifier)
        return;
    if (check)
        for (const TDModifier* own : unit.mModifiers)
            if (!own->mInnate && own->mOwner == modifier->mOwner)
            {
                delete modifier;
                return;
            }
    unit.mModifiers.push_back(modifier);
}

TDModifier* makeDot(float value, float duration)
{
    auto* dot = new InterimModifier("health", value, duration, nullptr);
    dot->mPeriod = 1.0f;
    return dot;
}

TDModifier* makeStun(float duration)
{
    return new InterimModifier(std::string(), 0.0f, duration, nullptr);
}

void inRadius(float x, float y, float size, std::vector<TDUnit*>& out)
{
    if (const TDMap* map = Game::GetMap())
        map->mWaves->getUnitsInRange(x, y, size, out);
}
} // namespace tdunit
