// One frame of play (TDMap::update at 1/60 s) on demo level 1-1 with 500 units on the map and 40 towers of
// every fighting kind firing at them: target search, turning, bullets in flight and their hits.
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kUnits = 500;
constexpr int kTowers = 40;

void fillLevel(TDMap& map)
{
    map.mWaves->mActive.clear();
    map.mWaves->clearUnits();
    const int kinds[] = {10000, 10002, 20000, 20002, 30000, 30002, 40000, 40002};
    for (int i = 0; i < kTowers; ++i)
    {
        const float x = 80.0f + static_cast<float>(i % 10) * 95.0f;
        const float y = i < 20 ? 150.0f + static_cast<float>(i / 10) * 40.0f : 520.0f + static_cast<float>(i / 30) * 40.0f;
        TDUnitProto* proto = map.mProtoTable->find(kinds[i % 8]);
        auto* tower = new TDTower(map.mProtoTable->find(proto->parent > 0 ? proto->parent : proto->id), nullptr, x, y);
        tower->mMap = &map;
        if (proto->parent > 0)
            tower->mBranch = proto->levelid;
        tower->mTimer = 0.0f;
        map.mTowers.push_back(tower);
    }
    boostersFirst(map.mTowers);
    for (int i = 0; i < kUnits; ++i)
    {
        const float x = 40.0f + static_cast<float>(i % 100) * 9.5f;
        const float y = 260.0f + static_cast<float>(i / 100) * 40.0f;
        map.mWaves->addUnit(new TDUnit(nullptr, map.mProtoTable->find(i % 7 == 0 ? 3 : 1), x, y));
    }
}

void BM_PlayFrame(benchmark::State& state)
{
    tdtest::GameHarness harness;
    if (!harness.start())
    {
        state.SkipWithError("the game did not start on the demo data");
        return;
    }
    TDMap& map = *harness.map();
    fillLevel(map);
    // Warm up until every tower has turned and fired at least once.
    for (int i = 0; i < 120; ++i)
        map.update(1.0f / 60.0f);
    for (auto _ : state)
        map.update(1.0f / 60.0f);
    state.counters["towers"] = static_cast<double>(map.mTowers.size());
    state.counters["units"] = static_cast<double>(map.mWaves->getUnits().size());
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
