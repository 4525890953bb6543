// The waves at run time: a wave's clock and its spawns, and the manager's frame (markers, finished units,
// wipe awards, groups starting and ending, the level won).
#include "Source/TD/Units/TDWaves.h"

#include "Core/Base/Log.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"

#include <algorithm>

namespace
{
// The point a wave's units appear at (and its marker stands on): the point of its id, else the level's first
// spawn point, so a wave naming no point or a point the level lacks still plays.
TDPoint* spawnPointOf(TDMap& map, int spawnId)
{
    TDPoint* point = spawnId == -1 ? nullptr : map.findPoint(spawnId);
    return point ? point : map.getFirstSpawnPoint();
}

// The entry's unit can be built: its unit id is in the table and has a prototype for its tier.
bool canBuild(const TDMap& map, const TDWaveEntry& entry)
{
    const TDUnitProto* base = map.mProtoTable ? map.mProtoTable->find(entry.mUnitId) : nullptr;
    if (!base)
        return false;
    return entry.mUpgrade - 1 == 0 || !base->branches.empty();
}

void tutorialEvent(const std::wstring& name)
{
    TDTutorial::Instance()->onEvent(name);
}
} // namespace

void TDWaveProto::update(float dt)
{
    mClock += dt;
    if (mStarted)
        spawnDue();
}

void TDWaveProto::spawnDue()
{
    if (mClock < 1.0f)
        tutorialEvent(L"wave_1_spawned_0");
    if (!mMap)
        return;
    // Spawning may append entries (a carrier killed at once by an explosion): walk by index.
    for (std::size_t i = 0; i < mEntries.size(); ++i)
    {
        TDWaveEntry* entry = mEntries[i];
        if (entry->mSpawned != 0 || mClock < mScale * (entry->mX / 45.0f) + static_cast<float>(mTimeout))
            continue;
        entry->mSpawned = 1;
        TDPoint* spawn = spawnPointOf(*mMap, mSpawnId);
        if (!spawn || !canBuild(*mMap, *entry))
        {
            // A unit that cannot be built or placed is left out; counted as done, so its wave still ends.
            // One line per level: an empty units sheet or a level without a spawn point would otherwise
            // write one for every entry.
            // Without any unit rows the units sheet has said so already.
            const bool sheetEmpty = spawn && mMap->mProtoTable && mMap->mProtoTable->unitCount() == 0;
            if (!mMap->mWaves->mSkipLogged && !sheetEmpty)
                logDataProblem(mMap->mLevelFile,
                               L"wave entry of unit " + std::to_wstring(entry->mUnitId) + L" tier " +
                                   std::to_wstring(entry->mUpgrade) +
                                   (spawn ? L" names no unit prototype" : L" has no spawn point") +
                                   L"; skipped, and every entry like it");
            mMap->mWaves->mSkipLogged = true;
            entry->mState = kEntryKilled;
            continue;
        }
        mMap->spawnUnit(entry, spawn);
        entry->mState = kEntryOnMap;
        mSpawnedCount += 1;
        if (mSpawnedCount == 2)
            tutorialEvent(L"wave_1_spawned_2");
        else if (mSpawnedCount == 9)
            tutorialEvent(L"wave_1_spawned_10");
    }
}

void TDWaves::update(float dt)
{
    mClock += dt;
    if (mMap && !mMap->mWaveCallMarkers->getMarkers().empty() && mClock >= mMap->mWaveCallMarkers->mDueTime)
        mMap->mWaveCallMarkers->clear();
    removeFinishedUnits();
    if (mActive.empty())
        startGroup();
    else
        updateGroup(dt);
}

void TDWaves::removeFinishedUnits()
{
    for (std::size_t i = 0; i < mUnits.size();)
    {
        TDUnit* unit = mUnits[i];
        if (unit->mAlive != 0)
        {
            ++i;
            continue;
        }
        if (TDWaveEntry* entry = unit->mEntry)
        {
            entry->mState = unit->mEscaped ? kEntryEscaped : kEntryKilled;
            TDWaveProto* wave = entry->mWave;
            if (!unit->mEscaped && wave && mMap &&
                std::all_of(wave->mEntries.begin(), wave->mEntries.end(),
                            [](const TDWaveEntry* e) { return e->mState == kEntryKilled; }))
                mMap->mEconomy->addMoney(wave->mWipeAward);
        }
        if (mMap)
            mMap->onUnitRemoved(unit);
        mUnits.erase(mUnits.begin() + static_cast<std::ptrdiff_t>(i));
        delete unit;
    }
}

void TDWaves::startGroup()
{
    const int count = static_cast<int>(mWaves.size());
    if (mNextWave >= count)
    {
        // Units a summoning portal let out after their wave ended still walk: the level waits for them.
        if (allCompleted() && mUnits.empty() && mMap)
            mMap->levelWon();
        return;
    }
    while (mWaves[static_cast<std::size_t>(mNextWave)]->mLinked != -1)
    {
        mNextWave += 1;
        if (mMap)
            mMap->mHud->updateWavesText();
        if (mNextWave >= count)
            return;
    }
    TDWaveProto* wave = mWaves[static_cast<std::size_t>(mNextWave)];
    wave->mStarted = 1;
    mActive.push_back(wave);
    startLinked();
    if (!mMap)
        return;
    // One marker per spawn point of this group alone: linked waves often leave from the same point, and
    // two markers there would draw the countdown twice.
    mMap->mWaveCallMarkers->clear();
    std::vector<const TDPoint*> marked;
    for (const TDWaveProto* active : mActive)
    {
        const TDPoint* point = spawnPointOf(*mMap, active->mSpawnId);
        if (std::find(marked.begin(), marked.end(), point) != marked.end())
            continue;
        marked.push_back(point);
        mMap->mWaveCallMarkers->add(point);
    }
    mMap->mWaveCallMarkers->mDueTime = countdown();
}

void TDWaves::updateGroup(float dt)
{
    // Waves may append to the active list's waves' entries while spawning, never to the list itself.
    for (std::size_t i = 0; i < mActive.size(); ++i)
        mActive[i]->update(dt);
    if (!allCompleted())
        return;
    mClock = 0.0f;
    mActive.clear();
    tutorialEvent(L"wave_vanish_" + std::to_wstring(mNextWave + 1));
    mNextWave += 1;
    mCompletedGroups += 1;
    if (mMap)
        mMap->mHud->updateWavesText();
}
