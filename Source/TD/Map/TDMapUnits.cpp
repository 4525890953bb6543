// The map's side of the units: making a unit on its route, a unit reaching the goal, a carrier's cargo, and
// the early call of the next wave.
#include "Source/TD/Map/TDMap.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDUnitModifiers.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>

TDUnit* TDMap::spawnUnit(TDWaveEntry* entry, TDPoint* spawn)
{
    TDUnit* unit = mWaves->add(entry, spawn);
    if (spawn)
    {
        unit->mX = unit->mPrevX = unit->mTargetX = spawn->x;
        unit->mY = unit->mPrevY = unit->mTargetY = spawn->y;
    }
    const TDUnitProto* proto = unit->getProto();
    if (!proto)
        return unit;
    addSpawnModifiers(*this, *unit);
    const TDPoint* goal = getGoalPoint();
    if (!spawn || !goal)
        return unit; // nowhere to walk: the unit reaches the goal on its first step
    if (proto->straight)
    {
        unit->mRoute = {spawn->id, goal->id};
        return unit;
    }
    unit->mRoute = findRoute(spawn, goal);
    unit->mLinkIndex = 0;
    if (unit->mRoute.size() >= 2)
        unit->mLinkLength = getLinkLength(findLink(findPoint(unit->mRoute[0]), findPoint(unit->mRoute[1])));
    unit->enterLink();
    return unit;
}

void TDMap::onUnitEscaped(TDUnit* unit)
{
    if (!unit)
        return;
    const TDUnitProto* proto = unit->getBaseProto();
    unit->mAlive = 0;
    unit->mEscaped = true;
    if (unit->mEntry)
        unit->mEntry->setState(kEntryEscaped);
    auto* effect = new TDEmitter("damage_h");
    if (effect->mEmitter)
    {
        effect->mEmitter->SetLoopMode(0);
        effect->mEmitter->SetPosition(unit->getTargetPoint(), 1);
        effect->mEmitter->SetState(1);
    }
    mEmitters.push_back(effect);
    if (mLives == 0.0f)
        return;
    mLives -= proto ? proto->strength : 0.0f;
    mHud->updateLivesText();
    if (mLives <= 0.0f)
    {
        mLives = 0.0f;
        levelLost();
    }
}

void TDMap::spawnCarriedUnits(TDUnit* unit, int n)
{
    TDWaveEntry* carrierEntry = unit ? unit->mEntry : nullptr;
    TDWaveProto* wave = carrierEntry ? carrierEntry->mWave : nullptr;
    if (!wave)
        return;
    const TDUnitProto* cargo = mProtoTable ? mProtoTable->find(11) : nullptr;
    if (!cargo)
    {
        logDataProblem(mLevelFile, L"a carrier died but the unit 11 it carries has no prototype; none released");
        return;
    }
    const float t0 = std::clamp(unit->mLaneT - 0.1f, 0.0f, 0.85f);
    const std::size_t index = static_cast<std::size_t>(std::max(unit->mLinkIndex, 0));
    TDPoint* at = index < unit->mRoute.size() ? findPoint(unit->mRoute[index]) : unit->mSpawnPoint;
    for (int i = 0; i < n; ++i)
    {
        auto* entry = new TDWaveEntry(wave);
        entry->mUnitId = 11;
        entry->mUpgrade = unit->mTier + 1;
        entry->mX = -1.0f;
        entry->mY = carrierEntry->mY;
        entry->mSpawned = 1;
        wave->mEntries.push_back(entry);
        TDUnit* carried = spawnUnit(entry, at);
        carried->mLinkIndex = unit->mLinkIndex;
        carried->mRoute = unit->mRoute;
        carried->mSpawnPoint = unit->mSpawnPoint;
        carried->mLinkLength = unit->mLinkLength;
        carried->mLinkTime = unit->mLinkTime;
        carried->mLane = unit->mLane;
        carried->mX = carried->mPrevX = carried->mTargetX = unit->mX;
        carried->mY = carried->mPrevY = carried->mTargetY = unit->mY;
        carried->mLaneT = t0 + 0.1f * static_cast<float>(i);
        carried->enterLink();
    }
}

int TDMap::callWaveEarly(int x, int y)
{
    TDTutorial::Instance()->onEvent(L"wave_forced");
    w7::SoundTags::Instance()->Play(L"simple");
    const float due = mWaveCallMarkers->mDueTime;
    const int bonus = std::max(0, truncToInt((due - mWaves->mClock) * 2.0f));
    mEconomy->addMoney(bonus);
    mWaves->jumpClock(due);
    if (HUDPopupNotice* notice =
            mPopups->add(static_cast<float>(x), static_cast<float>(y), HUDPopupTexts::kKindMoney))
        notice->mText = L"+ " + std::to_wstring(bonus);
    mWaveCallMarkers->clear();
    return bonus;
}
