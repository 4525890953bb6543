// Preparing every route and lane of a level at its start: sampled from the curves, and read from the
// level's route cache, for a made-up large level and for the demo level with the most links. Also the route
// search each spawned unit runs.
#include "Source/TD/Routes/TDRoutes.h"
#include "Source/TD/Units/TDWaves.h"

#include "Source/TD/Routes/PathCacheWriter.h"

#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

// A level the size of a large one: three spawn points whose paths wind across the 1024 x 768 map, merge,
// fork around an obstacle and rejoin before the goal; every link bent. Waves use all five lanes.
struct Level
{
    std::string xml;
    std::vector<TDRouteWave> waves;

    Level()
    {
        std::string points = "<points>";
        std::string links = "<links>";
        int id = 0;
        auto addPoint = [&](float x, float y, const char* flag)
        {
            points += "<p id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
                      std::to_string(y) + "\">";
            if (flag)
                points += std::string("<a name=\"") + flag + "\" value=\"1\"/>";
            points += "</p>";
            return id++;
        };
        auto addLink = [&](int a, int b, float ax, float ay)
        {
            links += "<l sid=\"" + std::to_string(a) + "\" eid=\"" + std::to_string(b) + "\" anchor_x=\"" +
                     std::to_string(ax) + "\" anchor_y=\"" + std::to_string(ay) + "\"/>";
        };
        // A winding arm of n points from (x0, y0) to (x1, y1), ending in the given point.
        auto arm = [&](int from, float x0, float y0, float x1, float y1, int n, int to)
        {
            int previous = from;
            float px = x0;
            float py = y0;
            for (int i = 1; i <= n; ++i)
            {
                const float f = static_cast<float>(i) / static_cast<float>(n + 1);
                const float x = x0 + (x1 - x0) * f;
                const float y = y0 + (y1 - y0) * f + 40.0f * std::sin(static_cast<float>(i) * 1.7f);
                const int p = addPoint(x, y, nullptr);
                addLink(previous, p, (px + x) * 0.5f + 30.0f, (py + y) * 0.5f - 45.0f);
                previous = p;
                px = x;
                py = y;
            }
            addLink(previous, to, px + 20.0f, py + 35.0f);
        };
        const int goal = addPoint(1000.0f, 380.0f, "goal");
        const int join = addPoint(820.0f, 390.0f, nullptr);
        const int fork = addPoint(560.0f, 400.0f, nullptr);
        const int merge = addPoint(330.0f, 380.0f, nullptr);
        addLink(join, goal, 910.0f, 330.0f);
        arm(fork, 560.0f, 400.0f, 820.0f, 390.0f, 4, join); // north of the obstacle
        arm(fork, 560.0f, 400.0f, 820.0f, 390.0f, 5, join); // south, a little longer
        arm(merge, 330.0f, 380.0f, 560.0f, 400.0f, 3, fork);
        std::vector<int> spawns;
        spawns.push_back(addPoint(10.0f, 120.0f, "spawn"));
        arm(spawns.back(), 10.0f, 120.0f, 330.0f, 380.0f, 5, merge);
        spawns.push_back(addPoint(10.0f, 640.0f, "spawn"));
        arm(spawns.back(), 10.0f, 640.0f, 330.0f, 380.0f, 5, merge);
        spawns.push_back(addPoint(400.0f, 760.0f, "spawn"));
        arm(spawns.back(), 400.0f, 760.0f, 560.0f, 400.0f, 3, fork);
        xml = "<map>" + points + "</points>" + links + "</links></map>";

        for (int w = 0; w < 12; ++w)
        {
            TDRouteWave wave;
            wave.spawnId = w % 4 == 3 ? -1 : spawns[static_cast<std::size_t>(w % 3)];
            for (int e = 0; e < 20; ++e)
                wave.laneKeys.push_back(TDRoutes::laneKey(-32.5f * static_cast<float>((w + e) % 5)));
            waves.push_back(wave);
        }
    }

    void load(TDRoutes& routes) const
    {
        tinyxml2::XMLDocument doc;
        doc.Parse(xml.c_str());
        const tinyxml2::XMLElement* map = doc.FirstChildElement("map");
        routes.loadPoints(map->FirstChildElement("points"), 1.0f);
        routes.loadLinks(map->FirstChildElement("links"), 1.0f);
    }
};

const Level& level()
{
    static const Level instance;
    return instance;
}

void BM_PrepareRoutesComputed(benchmark::State& state)
{
    TDRoutes routes;
    level().load(routes);
    for (auto _ : state)
    {
        routes.preparePaths(L"no-such-level.cache", level().waves);
        benchmark::DoNotOptimize(routes.getPathTable().laneCount());
    }
    state.counters["lanes"] = static_cast<double>(routes.getPathTable().laneCount());
    state.counters["links"] = static_cast<double>(routes.getLinks().size());
}
BENCHMARK(BM_PrepareRoutesComputed)->Unit(benchmark::kMillisecond);

void BM_PrepareRoutesFromCache(benchmark::State& state)
{
    TDRoutes routes;
    level().load(routes);
    routes.preparePaths(L"no-such-level.cache", level().waves);
    const fs::path file =
        fs::temp_directory_path() / ("corv-bench-routes-" + std::to_string(::getpid()) + ".cache");
    const std::string bytes = routestest::writePathCache(routes.getPathTable(), routes.getLinks());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::wstring name = file.wstring();
    for (auto _ : state)
    {
        routes.preparePaths(name, level().waves);
        benchmark::DoNotOptimize(routes.getPathTable().laneCount());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    fs::remove(file);
}
BENCHMARK(BM_PrepareRoutesFromCache)->Unit(benchmark::kMillisecond);

#ifdef CORV_DEMODATA_EXE
// The demo level with the most links, generated once: its route network and its waves as the level start
// hands them to the route preparation.
struct DemoLevel
{
    std::string xml;
    std::string name;
    std::vector<TDRouteWave> waves;

    DemoLevel()
    {
        const fs::path root = fs::temp_directory_path() / ("corv-bench-demo-" + std::to_string(::getpid()));
        const std::string command =
            std::string("'") + CORV_DEMODATA_EXE + "' '" + root.string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return;
        std::size_t mostLinks = 0;
        for (const char* folder : {"td/levels_normal", "td/levels_hardcore"})
            for (const fs::directory_entry& entry : fs::directory_iterator(root / folder))
            {
                std::ifstream in(entry.path());
                std::ostringstream text;
                text << in.rdbuf();
                tinyxml2::XMLDocument doc;
                if (doc.Parse(text.str().c_str()) != tinyxml2::XML_SUCCESS || !doc.FirstChildElement("map"))
                    continue;
                std::size_t links = 0;
                const tinyxml2::XMLElement* list = doc.FirstChildElement("map")->FirstChildElement("links");
                for (const tinyxml2::XMLElement* l = list ? list->FirstChildElement() : nullptr; l;
                     l = l->NextSiblingElement())
                    ++links;
                if (links > mostLinks)
                {
                    mostLinks = links;
                    xml = text.str();
                    name = entry.path().filename().string();
                }
            }
        fs::remove_all(root);
        tinyxml2::XMLDocument doc;
        if (xml.empty() || doc.Parse(xml.c_str()) != tinyxml2::XML_SUCCESS)
            return;
        TDWaves levelWaves;
        levelWaves.load(doc.FirstChildElement("map")->FirstChildElement("waves"), L"bench");
        for (const TDWaveProto* wave : levelWaves.getWaves())
        {
            TDRouteWave route;
            route.spawnId = wave->mSpawnId;
            for (const TDWaveEntry* entry : wave->mEntries)
                route.laneKeys.push_back(TDRoutes::laneKey(entry->mY));
            waves.push_back(route);
        }
    }

    bool load(TDRoutes& routes) const
    {
        tinyxml2::XMLDocument doc;
        if (xml.empty() || doc.Parse(xml.c_str()) != tinyxml2::XML_SUCCESS)
            return false;
        const tinyxml2::XMLElement* map = doc.FirstChildElement("map");
        routes.loadPoints(map->FirstChildElement("points"), 1.0f);
        routes.loadLinks(map->FirstChildElement("links"), 1.0f);
        return true;
    }
};

const DemoLevel& demoLevel()
{
    static const DemoLevel instance;
    return instance;
}

void BM_PrepareDemoLevelComputed(benchmark::State& state)
{
    TDRoutes routes;
    if (!demoLevel().load(routes))
    {
        state.SkipWithError("the demo data could not be generated");
        return;
    }
    for (auto _ : state)
    {
        routes.preparePaths(L"no-such-level.cache", demoLevel().waves);
        benchmark::DoNotOptimize(routes.getPathTable().laneCount());
    }
    state.SetLabel(demoLevel().name);
    state.counters["lanes"] = static_cast<double>(routes.getPathTable().laneCount());
    state.counters["links"] = static_cast<double>(routes.getLinks().size());
}
BENCHMARK(BM_PrepareDemoLevelComputed)->Unit(benchmark::kMillisecond);

void BM_PrepareDemoLevelFromCache(benchmark::State& state)
{
    TDRoutes routes;
    if (!demoLevel().load(routes))
    {
        state.SkipWithError("the demo data could not be generated");
        return;
    }
    routes.preparePaths(L"no-such-level.cache", demoLevel().waves);
    const fs::path file =
        fs::temp_directory_path() / ("corv-bench-demo-" + std::to_string(::getpid()) + ".cache");
    const std::string bytes = routestest::writePathCache(routes.getPathTable(), routes.getLinks());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::wstring name = file.wstring();
    for (auto _ : state)
    {
        routes.preparePaths(name, demoLevel().waves);
        benchmark::DoNotOptimize(routes.getPathTable().laneCount());
    }
    state.SetLabel(demoLevel().name);
    state.counters["bytes"] = static_cast<double>(bytes.size());
    fs::remove(file);
}
BENCHMARK(BM_PrepareDemoLevelFromCache)->Unit(benchmark::kMillisecond);
#endif

// The search one spawned unit runs for its route.
void BM_FindRoute(benchmark::State& state)
{
    TDRoutes routes;
    level().load(routes);
    const TDPoint* spawn = routes.getFirstSpawnPoint();
    const TDPoint* goal = routes.getGoalPoint();
    for (auto _ : state)
        benchmark::DoNotOptimize(routes.findRoute(spawn, goal).size());
    state.counters["points"] = static_cast<double>(routes.getPoints().size());
}
BENCHMARK(BM_FindRoute);
} // namespace

BENCHMARK_MAIN();
