// One frame of the level (TDMap::update at 1/60 s) with 500 units walking level 1-1 of the demo data, spread
// over its route and lanes; units that reach the goal are replaced between frames, untimed.
#include "Core/Base/MathUtil.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr std::size_t kUnits = 500;

// Spawns goblins of the first wave until there are n, each somewhere along its route on one of five lanes.
void fill(TDMap& map, std::size_t n)
{
    TDWaveProto* wave = map.mWaves->getWaves().at(0);
    static const float kLanes[] = {0.0f, -30.0f, -65.0f, -100.0f, -130.0f};
    while (map.mWaves->getUnits().size() < n)
    {
        auto* entry = new TDWaveEntry(wave);
        entry->mUnitId = 1;
        entry->mX = -1.0f;
        entry->mY = kLanes[map.mWaves->getUnits().size() % 5];
        wave->mEntries.push_back(entry);
        TDUnit* unit = map.spawnUnit(entry, map.getFirstSpawnPoint());
        if (unit->mRoute.size() >= 2)
        {
            unit->mLinkIndex = static_cast<int>(math::Random() * static_cast<float>(unit->mRoute.size() - 1));
            unit->mLaneT = math::Random() * 0.99f;
            unit->enterLink();
        }
    }
}

void BM_LevelFrameWith500Units(benchmark::State& state)
{
    tdtest::GameHarness harness;
    if (!harness.start())
    {
        state.SkipWithError("the game did not start on the demo data");
        return;
    }
    TDMap& map = *harness.map();
    map.mLives = 1.0e9f;
    map.mMaxLives = 1.0e9f;
    fill(map, kUnits);
    for (auto _ : state)
    {
        map.update(1.0f / 60.0f);
        state.PauseTiming();
        fill(map, kUnits);
        state.ResumeTiming();
    }
    state.counters["units"] = static_cast<double>(map.mWaves->getUnits().size());
}
BENCHMARK(BM_LevelFrameWith500Units)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
