#include "Source/TD/Routes/DijkstraPathFinder.h"
#include "Source/TD/Routes/MapExtractor.h"
#include "Source/TD/Routes/TDRoutes.h"

#include "Source/TD/Routes/RoutesTestUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using routestest::LogCapture;

namespace
{
std::vector<int> ids(const std::vector<TDPoint*>& points)
{
    std::vector<int> out;
    for (const TDPoint* p : points)
        out.push_back(p->id);
    return out;
}

// Points and links built directly: {id, x, y}, {sid, eid} with the anchor at the chord's middle.
struct Graph
{
    std::vector<std::array<float, 3>> points;
    std::vector<std::pair<int, int>> links;
    int spawn = 0;
    std::vector<int> goals;
};

void build(TDRoutes& routes, const Graph& g)
{
    for (const auto& p : g.points)
    {
        auto point = std::make_unique<TDPoint>(static_cast<int>(p[0]), p[1], p[2]);
        if (point->id == g.spawn)
            point->setFloat("spawn", 1.0f);
        for (int goal : g.goals)
        {
            if (point->id == goal)
                point->setFloat("goal", 1.0f);
        }
        routes.addPoint(std::move(point));
    }
    for (const auto& [a, b] : g.links)
    {
        const TDPoint* pa = routes.findPoint(a);
        const TDPoint* pb = routes.findPoint(b);
        const float ax = pa && pb ? (pa->x + pb->x) * 0.5f : 0.0f;
        const float ay = pa && pb ? (pa->y + pb->y) * 0.5f : 0.0f;
        routes.addLink(std::make_unique<TDLink>(a, b, ax, ay));
    }
}

class TDRoutesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LogCapture::start();
        routes.setLevelName(L"td/levels_normal/level_01_01.xml");
    }

    TDRoutes routes;
};
} // namespace

TEST_F(TDRoutesTest, PointsAndLinksComeFromTheLevelElements)
{
    routestest::loadLevel(routes, R"(<map><points>
        <p id="4" x="10.5" y="20"><a name="spawn" value="1"/><b name="upper" value="2.5"/><c value="3"/></p>
        <p x="nan" y="7"/>
        <p id="4" x="1" y="1"/>
      </points><links>
        <l sid="4" eid="0" anchor_x="3" anchor_y="inf"/>
        <l/>
        <l sid="4" eid="9"/>
      </links></map>)",
                          2.0f);
    ASSERT_EQ(routes.getPoints().size(), 3u);
    const TDPoint& a = *routes.getPoints()[0];
    EXPECT_EQ(a.id, 4);
    EXPECT_EQ(a.x, 21.0f);
    EXPECT_EQ(a.y, 40.0f);
    EXPECT_TRUE(a.isSpawn());
    EXPECT_FALSE(a.isGoal());
    EXPECT_EQ(a.getFloat("upper"), 2.5f) << "the child's element name is not read";
    const TDPoint& b = *routes.getPoints()[1];
    EXPECT_EQ(b.id, 0) << "missing attributes read as 0";
    EXPECT_EQ(b.x, 0.0f);
    EXPECT_EQ(b.y, 14.0f);
    EXPECT_EQ(routes.findPoint(4), &a) << "lookups find the first of a repeated id";

    ASSERT_EQ(routes.getLinks().size(), 3u);
    const TDLink& l = *routes.getLinks()[0];
    EXPECT_EQ(l.sid, 4);
    EXPECT_EQ(l.eid, 0);
    EXPECT_EQ(l.anchor_x, 6.0f);
    EXPECT_EQ(l.anchor_y, 0.0f);

    EXPECT_TRUE(LogCapture::has(L"new td point (10.5, 20)#4!"));
    EXPECT_EQ(LogCapture::count(L"link loaded!"), 3);
    const std::wstring level = L"td/levels_normal/level_01_01.xml: ";
    EXPECT_TRUE(LogCapture::has(level + L"route point 0: x is not a number; read as 0"));
    EXPECT_TRUE(LogCapture::has(level + L"route point 4 has an attribute without a name"));
    EXPECT_TRUE(LogCapture::has(level + L"route point id 4 appears twice"));
    EXPECT_TRUE(LogCapture::has(level + L"route link 4-0 has an anchor that is not a number"));
    EXPECT_TRUE(LogCapture::has(level + L"route link 4-9 names a point the level lacks"));

    // A level without the elements has no points and links.
    routes.loadPoints(nullptr, 1.0f);
    routes.loadLinks(nullptr, 1.0f);
    EXPECT_TRUE(routes.getPoints().empty());
    EXPECT_TRUE(routes.getLinks().empty());
}

TEST_F(TDRoutesTest, GraphQueries)
{
    routestest::loadLevel(routes, routestest::kForkLevel);
    EXPECT_EQ(ids(routes.getNeighbours(2)), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(ids(routes.getNeighbours(4)), (std::vector<int>{2, 5, 6}));
    EXPECT_TRUE(routes.getNeighbours(7).empty());
    EXPECT_TRUE(routes.getNeighbours(42).empty());

    EXPECT_EQ(routes.getFirstSpawnPoint()->id, 1);
    EXPECT_EQ(routes.getGoalPoint()->id, 5);
    const TDPoint* p2 = routes.findPoint(2);
    const TDPoint* p3 = routes.findPoint(3);
    EXPECT_EQ(routes.findLink(p3, p2), routes.getLinks()[1].get()) << "either direction";
    EXPECT_EQ(routes.findLink(p2, routes.findPoint(5)), nullptr);
    EXPECT_EQ(routes.findLink(nullptr, p2), nullptr);
    // The cost of a curved link is its chord.
    EXPECT_NEAR(routes.linkDistance(p2, p3), std::hypot(100.0f, 40.0f), 1e-3f);
    EXPECT_EQ(routes.linkDistance(p2, routes.findPoint(5)), -1.0f);

    // A straight link of 100 units measures 90 (nine chords of ten); no link is 0 long.
    EXPECT_NEAR(routes.getLinkLength(routes.getLinks()[0].get()), 90.0f, 1e-3f);
    EXPECT_EQ(routes.getLinkLength(nullptr), 0.0f);
    EXPECT_NEAR(routes.advanceOnLink(routes.getLinks()[0].get(), 0.0f, 25.0f, 0.0f), 0.25f, 0.0015f);
    EXPECT_EQ(routes.advanceOnLink(nullptr, 0.0f, 25.0f, 0.0f), 1.0f);

    // Spawn and goal flags count only at exactly 1.
    TDRoutes other;
    build(other, {{{1, 0, 0}, {2, 0, 0}}, {}, 0, {}});
    other.findPoint(1)->setFloat("goal", 2.0f);
    other.findPoint(2)->setFloat("spawn", 0.5f);
    EXPECT_EQ(other.getGoalPoint(), nullptr);
    EXPECT_EQ(other.getFirstSpawnPoint(), nullptr);
}

TEST_F(TDRoutesTest, TwoLinksBetweenTheSamePoints)
{
    build(routes, {{{1, 0, 0}, {2, 30, 40}}, {{1, 2}, {2, 1}}, 1, {2}});
    EXPECT_EQ(ids(routes.getNeighbours(1)), (std::vector<int>{2}));
    EXPECT_EQ(ids(routes.getNeighbours(2)), (std::vector<int>{1}));
    EXPECT_EQ(routes.linkDistance(routes.findPoint(2), routes.findPoint(1)), 50.0f);
    const std::vector<int> route = routes.findRoute(routes.findPoint(1), routes.findPoint(2));
    ASSERT_EQ(route, (std::vector<int>{1, 2}));
    EXPECT_EQ(routes.linkChain(route), (std::vector<const TDLink*>{routes.getLinks()[0].get()}));
}

TEST_F(TDRoutesTest, ExtractorMakesOneFreshNodePerPoint)
{
    routestest::loadLevel(routes, routestest::kForkLevel);
    MapExtractor extractor;
    extractor.extract(routes);
    ASSERT_EQ(extractor.getNodes().size(), 7u);
    for (std::size_t i = 0; i < 7; ++i)
    {
        const DijkstraNode& node = extractor.getNodes()[i];
        EXPECT_EQ(node.point, routes.getPoints()[i].get());
        EXPECT_EQ(node.distance, 10000000.0f);
        EXPECT_FALSE(node.visited);
        EXPECT_EQ(node.predecessor, nullptr);
    }
    EXPECT_EQ(extractor.getNodes()[1].neighbours, (std::vector<int>{1, 3, 4}));

    // Equal distances: the node earlier in point order comes first.
    DijkstraPathFinder finder(extractor, routes);
    extractor.getNodes()[3].distance = 5.0f;
    extractor.getNodes()[5].distance = 5.0f;
    EXPECT_EQ(finder.pickNext(), &extractor.getNodes()[3]);
    for (DijkstraNode& node : extractor.getNodes())
        node.visited = true;
    EXPECT_EQ(finder.pickNext(), nullptr);
}

TEST_F(TDRoutesTest, ShortestRoutes)
{
    struct Case
    {
        const char* name;
        Graph graph;
        int from;
        int to;
        std::vector<int> route;
    };
    const Case cases[] = {
        {"a line", {{{1, 0, 0}, {2, 10, 0}, {3, 20, 0}}, {{1, 2}, {2, 3}}, 1, {3}}, 1, 3, {1, 2, 3}},
        {"links walked against their direction", {{{1, 0, 0}, {2, 10, 0}}, {{2, 1}}, 1, {2}}, 1, 2, {1, 2}},
        {"the shorter of two arms",
         {{{1, 0, 0}, {2, 50, 40}, {3, 50, -10}, {4, 100, 0}}, {{1, 2}, {2, 4}, {1, 3}, {3, 4}}, 1, {4}},
         1,
         4,
         {1, 3, 4}},
        // Both arms are 2 * sqrt(50^2 + 10^2) long: the arm through the point earlier in point order wins.
        {"a tie",
         {{{1, 0, 0}, {2, 50, 10}, {3, 50, -10}, {4, 100, 0}}, {{1, 3}, {3, 4}, {1, 2}, {2, 4}}, 1, {4}},
         1,
         4,
         {1, 2, 4}},
        {"a detour beats a missing link",
         {{{1, 0, 0}, {2, 0, 100}, {3, 100, 100}, {4, 100, 0}}, {{1, 2}, {2, 3}, {3, 4}}, 1, {4}},
         1,
         4,
         {1, 2, 3, 4}},
        {"an island", {{{1, 0, 0}, {2, 10, 0}, {3, 50, 50}}, {{1, 2}}, 1, {3}}, 1, 3, {}},
        {"no links at all", {{{1, 0, 0}, {2, 10, 0}}, {}, 1, {2}}, 1, 2, {}},
        {"the start is the goal", {{{1, 0, 0}, {2, 10, 0}}, {{1, 2}}, 1, {1}}, 1, 1, {}},
    };
    for (const Case& c : cases)
    {
        TDRoutes r;
        build(r, c.graph);
        EXPECT_EQ(r.findRoute(r.findPoint(c.from), r.findPoint(c.to)), c.route) << c.name;
    }
}

TEST_F(TDRoutesTest, RouteFailuresAreEmptyAndLoggedOncePerPair)
{
    routestest::loadLevel(routes, routestest::kForkLevel);
    const TDPoint* spawn = routes.findPoint(1);
    const TDPoint* island = routes.findPoint(7);
    const TDPoint foreign(99, 0.0f, 0.0f);
    const std::wstring level = L"td/levels_normal/level_01_01.xml: ";
    LogCapture::text().clear();

    EXPECT_TRUE(routes.findRoute(spawn, island).empty());
    EXPECT_TRUE(routes.findRoute(spawn, island).empty());
    EXPECT_EQ(LogCapture::count(level + L"no route from point 1 to point 7: the goal cannot be reached"), 1);

    EXPECT_TRUE(routes.findRoute(spawn, spawn).empty());
    EXPECT_TRUE(LogCapture::has(L"no route from point 1 to point 1: the start point is the goal"));
    EXPECT_TRUE(routes.findRoute(nullptr, spawn).empty());
    EXPECT_TRUE(LogCapture::has(L"the start point is missing"));
    EXPECT_TRUE(routes.findRoute(spawn, nullptr).empty());
    EXPECT_TRUE(LogCapture::has(L"there is no goal"));
    EXPECT_TRUE(routes.findRoute(&foreign, routes.getGoalPoint()).empty());
    EXPECT_TRUE(
        LogCapture::has(L"no route from point 99 to point 5: the start point is not part of the level"));
    EXPECT_TRUE(LogCapture::has(L"its units leave without reward or lost lives"));
}

TEST_F(TDRoutesTest, SeveralGoalsLeadToTheFirst)
{
    build(routes, {{{1, 0, 0}, {2, 100, 0}, {3, 10, 0}}, {{1, 2}, {1, 3}}, 1, {2, 3}});
    EXPECT_EQ(routes.getGoalPoint()->id, 2);
    EXPECT_EQ(routes.findRoute(routes.getFirstSpawnPoint(), routes.getGoalPoint()), (std::vector<int>{1, 2}));

    routes.preparePaths(L"no-such.cache", {{-1, {0}}});
    EXPECT_TRUE(LogCapture::has(L"2 route points are goals; every route leads to the first, point 2"));
    // Only the link to the first goal has lanes.
    ASSERT_EQ(routes.getPathTable().getRecords().size(), 1u);
    EXPECT_EQ(routes.getPathTable().getRecords()[0]->link, routes.getLinks()[0].get());
}

TEST_F(TDRoutesTest, LaneKeysAndCacheNames)
{
    const std::pair<float, int> keys[] = {
        {-65.0f, 0},  {0.0f, -20}, {-130.0f, 20}, {-97.5f, 10},
        {-1.0f, -19}, {-66.0f, 0}, {-200.0f, 41}, {std::numeric_limits<float>::quiet_NaN(), -20},
        {1e30f, -20},
    };
    for (const auto& [y, key] : keys)
        EXPECT_EQ(TDRoutes::laneKey(y), key) << y;

    EXPECT_EQ(TDRoutes::pathCacheName(0, 0, 2), L"td/levels_normal/level_01_03.cache");
    EXPECT_EQ(TDRoutes::pathCacheName(2, 9, 11), L"td/levels_normal/level_10_12.cache");
    EXPECT_EQ(TDRoutes::pathCacheName(3, 0, 0), L"td/levels_hardcore/level_01_01.cache");
    EXPECT_EQ(TDRoutes::pathCacheName(1, 99, 0), L"td/levels_normal/level_100_01.cache");
}

TEST_F(TDRoutesTest, LaneTable)
{
    TDLink a(1, 2, 0, 0);
    TDLink b(2, 3, 0, 0);
    TDPathTable table;
    const TDLaneSamples first(3);
    TDLaneSamples second(4);
    second[0].x = 9.0f;
    table.setLane(&a, 5, first);
    table.insert(&a, 5, second);
    table.setLane(&a, -5, first);
    table.setLane(&b, 0, first);
    ASSERT_EQ(table.getRecords().size(), 2u);
    EXPECT_EQ(table.getRecords()[0]->lanes.size(), 2u);
    EXPECT_EQ(table.laneCount(), 3u);

    TDLaneSamples out(1);
    out[0].x = 77.0f;
    EXPECT_FALSE(table.getLane(&a, 6, out));
    EXPECT_FALSE(table.lookup(nullptr, 5, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].x, 77.0f) << "a missing lane leaves the list as it was";
    EXPECT_TRUE(table.lookup(&a, 5, out));
    ASSERT_EQ(out.size(), 4u) << "the second list stored under a key replaces the first";
    EXPECT_EQ(out[0].x, 9.0f);

    // Lookups see only the first record of a link.
    auto extra = std::make_unique<TDLinkLanes>();
    extra->link = &b;
    extra->lanes[7] = second;
    table.appendRecord(std::move(extra));
    EXPECT_EQ(table.findLane(&b, 7), nullptr);
}

TEST_F(TDRoutesTest, PreparationSamplesEachRouteLinkOncePerKey)
{
    routestest::loadLevel(routes, routestest::kForkLevel);
    // Spawn 1 walks 1-2-3-5, spawn 6 walks 6-4-5. The waves of -1 belong to spawn 1; the wave of point 2 is
    // not a spawn point's and prepares nothing.
    const std::vector<TDRouteWave> waves = {
        {-1, {0, -20, 0}},
        {6, {20}},
        {1, {-20, 5}},
        {2, {13}},
    };
    routes.preparePaths(L"no-such.cache", waves);
    const TDPathTable& table = routes.getPathTable();
    const auto& links = routes.getLinks();
    // In order of first sampling: the links of spawn 1's route, then those of spawn 6's.
    const std::vector<std::pair<const TDLink*, std::vector<int>>> expected = {
        {links[0].get(), {-20, 0, 5}}, {links[1].get(), {-20, 0, 5}}, {links[3].get(), {-20, 0, 5}},
        {links[5].get(), {20}},        {links[4].get(), {20}},
    };
    ASSERT_EQ(table.getRecords().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        const TDLinkLanes& record = *table.getRecords()[i];
        EXPECT_EQ(record.link, expected[i].first) << i;
        std::vector<int> keys;
        for (const auto& [key, samples] : record.lanes)
        {
            keys.push_back(key);
            TDCurve c;
            ASSERT_TRUE(routes.getCurve(record.link, c));
            TDLaneSamples direct;
            sampleLane(c.sx, c.sy, c.cx, c.cy, c.ex, c.ey, static_cast<float>(key), 20, direct);
            EXPECT_TRUE(routestest::sameSamples(samples, direct)) << i << " " << key;
        }
        EXPECT_EQ(keys, expected[i].second) << i;
    }

    // Preparing again starts from an empty table.
    routes.preparePaths(L"no-such.cache", {});
    EXPECT_TRUE(routes.getPathTable().empty());
    // So does reading a level's links: the old lanes would point at links that are gone.
    routes.preparePaths(L"no-such.cache", waves);
    routestest::loadLevel(routes, routestest::kForkLevel);
    EXPECT_TRUE(routes.getPathTable().empty());
}

TEST_F(TDRoutesTest, MissingLanesAreSampledOnDemand)
{
    routestest::loadLevel(routes, routestest::kForkLevel);
    routes.preparePaths(L"no-such.cache", {{-1, {0}}});
    const TDLink* link = routes.getLinks()[1].get();
    EXPECT_EQ(routes.getPathTable().findLane(link, -19), nullptr);

    // A carried unit's key, never announced by a wave, still finds its lane.
    const TDLaneSamples* lane = routes.ensureLane(link, -19);
    ASSERT_NE(lane, nullptr);
    EXPECT_GE(lane->size(), 20u);
    EXPECT_EQ(routes.getPathTable().findLane(link, -19), lane);
    EXPECT_EQ(routes.ensureLane(link, -19), lane) << "sampled once";
    EXPECT_EQ(routes.ensureLane(link, 0), routes.getPathTable().findLane(link, 0));

    TDLink dangling(1, 42, 0, 0);
    EXPECT_EQ(routes.ensureLane(&dangling, 0), nullptr);
    EXPECT_EQ(routes.ensureLane(nullptr, 0), nullptr);
}

TEST_F(TDRoutesTest, LinksWithoutLengthArePassedAtOnce)
{
    build(routes, {{{1, 0, 0}, {2, 50, 50}, {3, 50, 50}, {4, 90, 50}}, {{1, 2}, {2, 3}, {3, 4}}, 1, {4}});
    routes.preparePaths(L"no-such.cache", {{-1, {-20, 0}}});
    EXPECT_EQ(LogCapture::count(L"route link 2-3 has no length; its units pass it at once"), 1);
    for (int key : {-20, 0})
    {
        const TDLaneSamples* lane = routes.getPathTable().findLane(routes.getLinks()[1].get(), key);
        ASSERT_NE(lane, nullptr);
        ASSERT_EQ(lane->size(), 2u);
        EXPECT_EQ(advanceOnLane(*lane, 0.0f, 0.5f), 1.0f);
        const math::Point2 p = getLanePosition(*lane, 0.3f);
        EXPECT_EQ(p.x, 50.0f);
        EXPECT_EQ(p.y, 50.0f);
    }
}

TEST_F(TDRoutesTest, LevelsWithoutGoalOrSpawnPrepareNothing)
{
    build(routes, {{{1, 0, 0}, {2, 10, 0}}, {{1, 2}}, 1, {}});
    routes.preparePaths(L"no-such.cache", {{-1, {0}}});
    EXPECT_TRUE(routes.getPathTable().empty());
    EXPECT_TRUE(LogCapture::has(L"no route point is the goal"));

    TDRoutes noSpawn;
    build(noSpawn, {{{1, 0, 0}, {2, 10, 0}}, {{1, 2}}, 0, {2}});
    noSpawn.preparePaths(L"no-such.cache", {{-1, {0}}, {1, {0}}});
    EXPECT_TRUE(noSpawn.getPathTable().empty());
}
