#include "tools/demodata/GameLevels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demodata::game
{
namespace
{

float Dist(PointF a, PointF b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

PointF Bezier(PointF s, PointF c, PointF e, float t)
{
    float u = 1 - t;
    return {u * u * s.x + 2 * t * u * c.x + t * t * e.x, u * u * s.y + 2 * t * u * c.y + t * t * e.y};
}

// The reach of a canopy picture from its middle, and how far above the road's middle a unit walking on it
// is drawn (its lane and its height).
constexpr float kCanopyRadius = 60, kUnitReach = 64;
// Above a spot stands its tower (the tallest reaches 122 up from the spot's middle); the pad reaches 29 down.
constexpr float kTowerAbove = 122, kPadBelow = 29;
// The widest wave countdown in the board's font (main_42_3).
constexpr float kCountdownWidth = 330;

// The HUD overlay covers a band along the top (its counters end at y 62), the spell bar at the bottom left
// (from x 4 to 452, from y 668) and the play buttons at the bottom right (from x 776, from y 696): a spot is
// only offered where its tower and its pad are seen whole.
bool ClearOfHud(PointF spot)
{
    if (spot.y - kTowerAbove < 66)
        return false;
    const float bottom = spot.y + kPadBelow;
    if (spot.x - 46 < 452 && bottom > 664)
        return false;
    return !(spot.x + 46 > 776 && bottom > 692);
}

// Builds one map: points and links by hand, spots and decoration places chosen around the roads.
class MapBuilder
{
public:
    MapBuilder(const char* folder, int theme)
    {
        mMap.folder = folder;
        mMap.theme = theme;
    }

    int Spawn(float x, float y) { return Add(x, y, true, false, false); }
    int Goal(float x, float y) { return Add(x, y, false, true, false); }
    int Point(float x, float y, bool upper = false) { return Add(x, y, false, false, upper); }

    // A link from a to b whose control point lies `bend` units to the side of the chord's middle.
    void Link(int a, int b, float bend)
    {
        const MapPoint& p = *FindPoint(mMap, a);
        const MapPoint& q = *FindPoint(mMap, b);
        float dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
        mMap.links.push_back(
            {a, b, (p.x + q.x) * 0.5f - dy / len * bend, (p.y + q.y) * 0.5f + dx / len * bend});
    }

    // A road through the given points, one bend per link.
    void Road(std::initializer_list<int> ids, std::initializer_list<float> bends)
    {
        std::vector<int> p(ids);
        std::vector<float> b(bends);
        for (std::size_t i = 0; i + 1 < p.size(); ++i)
            Link(p[i], p[i + 1], i < b.size() ? b[i] : 0);
    }

    void FixedSpot(float x, float y) { mMap.spots.push_back({x, y}); }

    // Spots beside the roads, spread over the map by farthest-point choice.
    void Spots(int count)
    {
        std::vector<PointF> road = RoadSamples(6);
        std::vector<PointF> candidates;
        for (const MapLink& l : mMap.links)
        {
            std::vector<PointF> s = SampleLink(mMap, l, 45);
            for (std::size_t i = 1; i + 1 < s.size(); ++i)
            {
                float dx = s[i + 1].x - s[i - 1].x, dy = s[i + 1].y - s[i - 1].y, len = std::hypot(dx, dy);
                for (float side : {1.0f, -1.0f})
                {
                    PointF c{std::round(s[i].x - dy / len * 84 * side),
                             std::round(s[i].y + dx / len * 84 * side)};
                    if (c.x < 70 || c.x > 954 || c.y < 135 || c.y > 675)
                        continue;
                    if (NearRoad(road, c, 76))
                        continue;
                    candidates.push_back(c);
                }
            }
        }
        while (static_cast<int>(mMap.spots.size()) < count)
        {
            int best = -1;
            float bestDistance = 0;
            for (std::size_t i = 0; i < candidates.size(); ++i)
            {
                float d = 1e9f;
                for (const SpotDesc& s : mMap.spots)
                    d = std::min(d, Dist(candidates[i], {s.x, s.y}));
                if (d > bestDistance + 0.01f)
                {
                    bestDistance = d;
                    best = static_cast<int>(i);
                }
            }
            if (best < 0 || bestDistance < 112)
                break;
            mMap.spots.push_back({candidates[best].x, candidates[best].y});
        }
        // A spot the HUD would hide in part gives its place in the list (and so its price and tower) to the
        // free candidate farthest from the others; the spots the HUD leaves alone keep their places.
        for (std::size_t i = 0; i < mMap.spots.size(); ++i)
        {
            if (SeenWhole({mMap.spots[i].x, mMap.spots[i].y}))
                continue;
            int best = -1;
            float bestDistance = 112;
            for (std::size_t k = 0; k < candidates.size(); ++k)
            {
                if (!SeenWhole(candidates[k]))
                    continue;
                float d = 1e9f;
                for (std::size_t j = 0; j < mMap.spots.size(); ++j)
                    if (j != i)
                        d = std::min(d, Dist(candidates[k], {mMap.spots[j].x, mMap.spots[j].y}));
                if (d > bestDistance + 0.01f)
                {
                    bestDistance = d;
                    best = static_cast<int>(k);
                }
            }
            if (best < 0)
            {
                mMap.spots.erase(mMap.spots.begin() + static_cast<std::ptrdiff_t>(i--));
                continue;
            }
            mMap.spots[i].x = candidates[static_cast<std::size_t>(best)].x;
            mMap.spots[i].y = candidates[static_cast<std::size_t>(best)].y;
        }
    }

    // Spot i, or a scratch record when the map found fewer spots than asked for.
    SpotDesc& Spot(int i)
    {
        static SpotDesc scratch{0, 0};
        return i >= 0 && i < static_cast<int>(mMap.spots.size()) ? mMap.spots[static_cast<std::size_t>(i)]
                                                                 : scratch;
    }

    // Makes spot i one that must be bought.
    void Gold(int i, int cost)
    {
        Spot(i).type = 1;
        Spot(i).costGold = cost;
    }
    void Gems(int i, int gems, int gold = 0)
    {
        Spot(i).type = 2;
        Spot(i).costGems = gems;
        Spot(i).costGold = gold;
    }

    // Places for the ambient effects, away from roads and spots.
    void Ambient(int count)
    {
        std::vector<PointF> road = RoadSamples(8);
        std::vector<PointF> candidates;
        for (float y = 150; y <= 680; y += 40)
            for (float x = 60; x <= 960; x += 40)
                if (!NearRoad(road, {x, y}, 95) && !NearSpot({x, y}, 80))
                    candidates.push_back({x, y});
        std::vector<PointF> chosen;
        for (int k = 0; k < count && !candidates.empty(); ++k)
        {
            // The first place is the one nearest the middle, every next one the farthest from those chosen.
            std::size_t best = 0;
            float bestScore = -1e9f;
            for (std::size_t i = 0; i < candidates.size(); ++i)
            {
                float score = 1e9f;
                for (const PointF& c : chosen)
                    score = std::min(score, Dist(candidates[i], c));
                if (chosen.empty())
                    score = -std::fabs(candidates[i].x - 512) - std::fabs(candidates[i].y - 384);
                if (score > bestScore + 0.01f)
                {
                    bestScore = score;
                    best = i;
                }
            }
            chosen.push_back(candidates[best]);
        }
        mMap.ambient = chosen;
    }

    // Tree canopies beside the road, painted above the units: they stand clear of the road's edge, so that
    // no unit on it walks under one, and clear of the spots and the towers built on them.
    void Canopies(int count)
    {
        std::vector<PointF> road = RoadSamples(6);
        std::vector<PointF> chosen;
        const float clearance = kCanopyRadius + kUnitReach + 6;
        // The crown's box against the box a unit takes on each road point: the road's surface either side
        // and the unit standing up from it.
        auto overRoad = [&road](PointF c)
        {
            for (const PointF& r : road)
                if (c.x - 66 < r.x + 34 && r.x - 34 < c.x + 66 && c.y - 61 < r.y + 34 &&
                    r.y - kUnitReach < c.y + 61)
                    return true;
            return false;
        };
        for (const MapLink& l : mMap.links)
        {
            std::vector<PointF> s = SampleLink(mMap, l, 30);
            for (std::size_t i = 1; i + 1 < s.size() && static_cast<int>(chosen.size()) < count; ++i)
            {
                float dx = s[i + 1].x - s[i - 1].x, dy = s[i + 1].y - s[i - 1].y, len = std::hypot(dx, dy);
                // The left side first, then the right one; nearest the road first.
                for (float reach : {clearance, clearance + 30, clearance + 60})
                    for (float side : {1.0f, -1.0f})
                    {
                        PointF c{s[i].x + dy / len * reach * side, s[i].y - dx / len * reach * side};
                        if (c.x < 60 || c.x > 964 || c.y < 150 || c.y > 660 || CoversSpot(c) || overRoad(c))
                            continue;
                        bool apart = true;
                        for (const PointF& o : chosen)
                            apart = apart && Dist(o, c) > 260;
                        if (apart && static_cast<int>(chosen.size()) < count)
                            chosen.push_back(c);
                    }
            }
        }
        for (std::size_t i = 0; i < chosen.size(); ++i)
            mMap.fronts.push_back({"^canopy" + std::to_string(i + 1), 0, chosen[i].x, chosen[i].y, 0});
    }

    // A decoration standing over the middle of link `index` (arch) or beside the road (lantern).
    void OverRoad(const char* name, int kind, int index)
    {
        const MapLink& l = mMap.links[static_cast<std::size_t>(index)];
        std::vector<PointF> s = SampleLink(mMap, l, 10);
        std::size_t m = s.size() / 2;
        float angle = std::atan2(s[m + 1].y - s[m - 1].y, s[m + 1].x - s[m - 1].x);
        mMap.fronts.push_back({name, kind, s[m].x, s[m].y, angle});
    }

    // The bridge: the place where link `upperLink` crosses link `lowerLink`.
    void Bridge(int upperLink, int lowerLink)
    {
        std::vector<PointF> a = SampleLink(mMap, mMap.links[static_cast<std::size_t>(upperLink)], 4);
        std::vector<PointF> b = SampleLink(mMap, mMap.links[static_cast<std::size_t>(lowerLink)], 4);
        std::size_t bestI = 1;
        float best = 1e9f;
        for (std::size_t i = 1; i + 1 < a.size(); ++i)
            for (const PointF& q : b)
                if (Dist(a[i], q) < best)
                {
                    best = Dist(a[i], q);
                    bestI = i;
                }
        float angle = std::atan2(a[bestI + 1].y - a[bestI - 1].y, a[bestI + 1].x - a[bestI - 1].x);
        mMap.fronts.push_back({"^bridge", 2, a[bestI].x, a[bestI].y, angle});
    }

    MapDesc Take() { return std::move(mMap); }

private:
    int Add(float x, float y, bool spawn, bool goal, bool upper)
    {
        int id = static_cast<int>(mMap.points.size()) + 1;
        mMap.points.push_back({id, x, y, spawn, goal, upper});
        return id;
    }

    std::vector<PointF> RoadSamples(float step) const
    {
        std::vector<PointF> all;
        for (const MapLink& l : mMap.links)
        {
            std::vector<PointF> s = SampleLink(mMap, l, step);
            all.insert(all.end(), s.begin(), s.end());
        }
        return all;
    }

    static bool NearRoad(const std::vector<PointF>& road, PointF c, float distance)
    {
        for (const PointF& r : road)
            if (Dist(r, c) < distance)
                return true;
        return false;
    }

    bool NearSpot(PointF c, float distance) const
    {
        for (const SpotDesc& s : mMap.spots)
            if (Dist({s.x, s.y}, c) < distance)
                return true;
        return false;
    }

    // Whether a spot's pad and the tallest tower on it are neither under the HUD nor under a wave marker
    // with its countdown. The marker stands at its spawn point pulled onto the screen (y from 100 to 616);
    // the countdown ("Next wave in 30") is written beside it, towards the middle, 42 high and at most
    // kCountdownWidth wide.
    bool SeenWhole(PointF spot) const
    {
        if (!ClearOfHud(spot))
            return false;
        const float left = spot.x - 56, right = spot.x + 56, top = spot.y - kTowerAbove - 4,
                    bottom = spot.y + kPadBelow + 4;
        for (const MapPoint& p : mMap.points)
        {
            if (!p.spawn)
                continue;
            const float mx = std::min(std::clamp(p.x, 0.0f, 1024.0f), 1024.0f - 52),
                        my = std::clamp(p.y, 100.0f, 616.0f);
            const float textLeft = mx < 512 ? mx : mx - 58 - kCountdownWidth,
                        textRight = mx < 512 ? mx + 84 + kCountdownWidth : mx + 52;
            const float textTop = std::min(my, my + 26 - 21), textBottom = std::max(my + 52, my + 26 + 21);
            if (left < textRight && textLeft < right && top < textBottom && textTop < bottom)
                return false;
        }
        return true;
    }

    // Whether a canopy centred at c would hide part of a spot or of a tower standing on it.
    bool CoversSpot(PointF c) const
    {
        for (const SpotDesc& s : mMap.spots)
            if (std::fabs(c.x - s.x) < kCanopyRadius + 56 && c.y + kCanopyRadius + 8 > s.y - kTowerAbove &&
                c.y - kCanopyRadius - 8 < s.y + kPadBelow)
                return true;
        return false;
    }

    MapDesc mMap;
};

std::vector<MapDesc> BuildMaps()
{
    std::vector<MapDesc> maps;
    {
        // 1-1: one gentle road; the spot at (896, 563) is the one the tutorial points at.
        MapBuilder m("e1_l1", 0);
        int a = m.Spawn(-40, 260), b = m.Point(250, 230), c = m.Point(520, 410), d = m.Point(760, 460),
            g = m.Goal(1064, 450);
        m.Road({a, b, c, d, g}, {-30, 50, -30, 15});
        m.FixedSpot(896, 563);
        m.Spots(6);
        m.Gold(5, 40);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 1-2: a winding road between two trees; a dart tower already stands.
        MapBuilder m("e1_l2", 0);
        int a = m.Spawn(-40, 580), b = m.Point(240, 600), c = m.Point(420, 450), d = m.Point(330, 260),
            e = m.Point(560, 170), f = m.Point(800, 260), h = m.Point(880, 480), g = m.Goal(1064, 600);
        m.Road({a, b, c, d, e, f, h, g}, {20, 40, 60, -40, -40, -50, 30});
        m.Spots(8);
        m.Spot(2).towerId = 10000;
        m.Gold(6, 50);
        m.Gold(7, 60);
        m.Canopies(2);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 1-3: two roads meet in the middle.
        MapBuilder m("e1_l3", 0);
        int a = m.Spawn(-40, 200), b = m.Spawn(-40, 620), j = m.Point(420, 380), k = m.Point(700, 300),
            g = m.Goal(1064, 380);
        int a1 = m.Point(200, 190), b1 = m.Point(200, 620);
        m.Road({a, a1, j}, {0, -40});
        m.Road({b, b1, j}, {0, 40});
        m.Road({j, k, g}, {30, -30});
        m.Spots(9);
        m.Spot(3).radiusMult = 1.3f;
        m.Gold(7, 50);
        m.Gold(8, 60);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 1-4: the road comes down from the top and loops round a meadow.
        MapBuilder m("e1_l4", 0);
        int a = m.Spawn(520, -40), b = m.Point(520, 190), c = m.Point(250, 330), d = m.Point(300, 570),
            e = m.Point(620, 610), f = m.Point(780, 380), g = m.Goal(1064, 300);
        m.Road({a, b, c, d, e, f, g}, {0, -40, -60, -40, -60, 20});
        m.Spots(9);
        m.Spot(4).damageMult = 5;
        m.Gold(7, 60);
        m.Gems(8, 3, 30);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 1-5: a long serpent road with three passes and a lantern over the middle one.
        MapBuilder m("e1_l5", 0);
        int a = m.Spawn(-40, 170), b = m.Point(860, 200), c = m.Point(840, 400), d = m.Point(170, 410),
            e = m.Point(180, 620), g = m.Goal(1064, 640);
        m.Road({a, b, c, d, e, g}, {-20, -90, 20, 90, 10});
        m.Spots(11);
        m.Spot(5).incomeMult = 1.5f;
        m.Gold(9, 60);
        m.Gems(10, 4);
        m.OverRoad("##", 3, 2);
        m.Ambient(5);
        maps.push_back(m.Take());
    }
    {
        // 2-1: two roads from both sides join and run down to the bottom edge.
        MapBuilder m("e2_l1", 1);
        int a = m.Spawn(-40, 300), b = m.Spawn(1064, 250), a1 = m.Point(300, 330), b1 = m.Point(760, 300),
            j = m.Point(520, 470), k = m.Point(520, 620), g = m.Goal(520, 808);
        m.Road({a, a1, j}, {10, -40});
        m.Road({b, b1, j}, {-10, 40});
        m.Road({j, k, g}, {30, 0});
        m.Spots(9);
        m.Spot(1).towerId = 40000;
        m.Spot(4).radiusMult = 1.3f;
        m.Gold(7, 60);
        m.Gems(8, 5);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 2-2: round a frozen lake, under a stone arch.
        MapBuilder m("e2_l2", 1);
        int a = m.Spawn(-40, 400), b = m.Point(240, 380), c = m.Point(400, 180), d = m.Point(680, 200),
            e = m.Point(840, 420), f = m.Point(620, 600), g = m.Goal(1064, 660);
        m.Road({a, b, c, d, e, f, g}, {10, -30, -30, -40, -40, 40});
        m.Spots(9);
        m.Spot(3).damageMult = 5;
        m.Gold(7, 70);
        m.Gems(8, 4, 40);
        m.OverRoad("$arch", 1, 0);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 2-3: a second road comes from the north over a bridge; units on the bridge pass above the art.
        MapBuilder m("e2_l3", 1);
        int a = m.Spawn(-40, 420), a1 = m.Point(260, 400), a2 = m.Point(620, 430), j = m.Point(820, 470),
            g = m.Goal(1064, 450);
        int b = m.Spawn(400, -40), u1 = m.Point(425, 270, true), u2 = m.Point(470, 570),
            b2 = m.Point(700, 630);
        m.Road({a, a1, a2, j, g}, {0, 20, 10, 0});
        m.Road({b, u1, u2, b2, j}, {0, 10, 30, 30});
        m.Spots(10);
        m.Spot(6).incomeMult = 1.5f;
        m.Gold(8, 70);
        m.Gems(9, 5);
        m.Bridge(5, 1);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 2-4: three roads, two from the west and one from the north.
        MapBuilder m("e2_l4", 1);
        int a = m.Spawn(-40, 230), b = m.Spawn(-40, 580), c = m.Spawn(720, -40), a1 = m.Point(300, 250),
            b1 = m.Point(300, 570), j1 = m.Point(520, 410), c1 = m.Point(730, 220), j2 = m.Point(770, 420),
            g = m.Goal(1064, 450);
        m.Road({a, a1, j1}, {0, -30});
        m.Road({b, b1, j1}, {0, 30});
        m.Road({c, c1, j2}, {0, 20});
        m.Road({j1, j2, g}, {20, 0});
        m.Spots(10);
        m.Spot(2).radiusMult = 1.3f;
        m.Gold(8, 70);
        m.Gems(9, 6);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 3-1: a zigzag through the autumn wood.
        MapBuilder m("e3_l1", 2);
        int a = m.Spawn(-40, 600), b = m.Point(200, 260), c = m.Point(420, 600), d = m.Point(640, 260),
            e = m.Point(860, 600), g = m.Goal(1064, 300);
        m.Road({a, b, c, d, e, g}, {-30, 30, -30, 30, -30});
        m.Spots(10);
        m.Spot(4).damageMult = 5;
        m.Gold(8, 70);
        m.Gems(9, 6);
        m.Canopies(3);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 3-2: three roads meet before the goal.
        MapBuilder m("e3_l2", 2);
        int a = m.Spawn(-40, 200), b = m.Spawn(-40, 600), c = m.Spawn(300, 808), a1 = m.Point(280, 230),
            b1 = m.Point(260, 560), c1 = m.Point(420, 520), j = m.Point(560, 380), k = m.Point(800, 330),
            g = m.Goal(1064, 360);
        m.Road({a, a1, j}, {0, -40});
        m.Road({b, b1, c1}, {0, 20});
        m.Road({c, c1, j}, {0, 30});
        m.Road({j, k, g}, {-30, 0});
        m.Spots(10);
        m.Spot(5).incomeMult = 1.5f;
        m.Gold(8, 80);
        m.Gems(9, 6);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    {
        // 3-3: from the north round the middle and out to the east.
        MapBuilder m("e3_l3", 2);
        int a = m.Spawn(512, -40), b = m.Point(512, 190), c = m.Point(200, 300), d = m.Point(200, 520),
            e = m.Point(512, 630), f = m.Point(820, 520), h = m.Point(830, 300), g = m.Goal(1064, 190);
        m.Road({a, b, c, d, e, f, h, g}, {0, -40, -30, -40, -40, -30, 0});
        m.Spots(11);
        m.Spot(3).radiusMult = 1.3f;
        m.Gold(9, 80);
        m.Gems(10, 8);
        m.Ambient(5);
        maps.push_back(m.Take());
    }
    {
        // 3-4: the last stand, two roads meeting in the middle.
        MapBuilder m("e3_l4", 2);
        int a = m.Spawn(-40, 150), b = m.Spawn(-40, 650), a1 = m.Point(380, 200), b1 = m.Point(380, 600),
            j = m.Point(600, 400), k = m.Point(820, 400), g = m.Goal(1064, 400);
        m.Road({a, a1, j}, {0, -40});
        m.Road({b, b1, j}, {0, 40});
        m.Road({j, k, g}, {30, 0});
        m.Spots(10);
        m.Spot(2).damageMult = 5;
        m.Spot(3).incomeMult = 1.5f;
        m.Gold(8, 80);
        m.Gems(9, 8);
        m.Canopies(2);
        m.Ambient(4);
        maps.push_back(m.Take());
    }
    return maps;
}

// Entries of a wave: `count` units of one kind and tier, `gap` seconds apart, from `start` seconds on.
struct Group
{
    int id, tier, count;
    float gap, start = 0;
};

const float kLanes[] = {-65, -45, -85, -30, -100, -55, -75, -20, -110};

WaveDesc Wave(int timeout, int spawn, int award, std::initializer_list<Group> groups, int linked = -1,
              float scale = 1)
{
    WaveDesc w{timeout, spawn, award, scale, linked, {}};
    int lane = 0;
    for (const Group& g : groups)
        for (int i = 0; i < g.count; ++i)
            w.entries.push_back(
                {g.id, g.tier + 1, std::round((g.start + i * g.gap) * 45), kLanes[lane++ % 9]});
    std::stable_sort(w.entries.begin(), w.entries.end(),
                     [](const EntryDesc& a, const EntryDesc& b) { return a.x < b.x; });
    return w;
}

std::vector<LevelDesc> BuildLevels()
{
    std::vector<LevelDesc> l;
    // Episode 1, Green Vale.
    l.push_back({0,
                 0,
                 false,
                 0,
                 200,
                 2,
                 {Wave(12, 1, 10, {{1, 0, 5, 2.2f}}), Wave(6, 1, 12, {{1, 0, 6, 1.8f}, {2, 0, 2, 2.5f, 5}}),
                  Wave(6, 1, 15, {{1, 0, 6, 1.5f}, {2, 0, 4, 1.8f, 3}}),
                  Wave(6, 1, 20, {{1, 1, 3, 2.5f}, {1, 0, 6, 1.3f, 2}, {2, 0, 3, 1.5f, 6}})}});
    l.push_back({0,
                 1,
                 false,
                 1,
                 220,
                 2,
                 {Wave(12, 1, 10, {{1, 0, 8, 1.5f}}), Wave(6, 1, 12, {{2, 0, 6, 1.2f}, {3, 0, 3, 2, 4}}),
                  Wave(6, 1, 15, {{4, 0, 3, 3}, {1, 0, 6, 1.2f, 1}}),
                  Wave(6, 1, 18, {{3, 0, 5, 1.5f}, {1, 1, 4, 2, 3}}),
                  Wave(6, 1, 25, {{4, 0, 4, 2.5f}, {2, 1, 4, 1.5f, 2}, {3, 1, 2, 3, 5}})}});
    l.push_back(
        {0,
         2,
         false,
         2,
         260,
         2,
         {Wave(12, 1, 10, {{1, 0, 6, 1.5f}}), Wave(14, 2, 10, {{2, 0, 5, 1.5f}}, 0),
          Wave(6, 1, 15, {{9, 0, 2, 4}, {1, 0, 8, 1.1f, 1}}),
          Wave(6, 2, 15, {{6, 0, 2, 5}, {4, 0, 3, 2.5f, 1}}), Wave(6, 1, 20, {{5, 0, 2, 5}, {1, 1, 4, 2, 2}}),
          Wave(8, 2, 10, {{0, 0, 6, 1}, {2, 1, 3, 2, 3}}, 4),
          Wave(6, 1, 30, {{4, 1, 3, 3}, {9, 0, 1, 1, 2}, {6, 0, 1, 1, 4}, {2, 0, 6, 1, 6}})}});
    l.push_back({0,
                 3,
                 false,
                 3,
                 280,
                 2,
                 {Wave(14, 1, 10, {{1, 0, 6, 1.3f}, {11, 0, 6, 0.8f, 4}}), Wave(6, 1, 15, {{7, 0, 4, 2.5f}}),
                  Wave(6, 1, 15, {{8, 0, 2, 5}, {3, 0, 4, 1.5f, 2}}),
                  Wave(6, 1, 20, {{7, 0, 5, 2}, {4, 0, 3, 2.5f, 1}}),
                  Wave(6, 1, 25, {{8, 0, 3, 4}, {7, 1, 3, 3, 2}, {3, 1, 3, 2, 4}}),
                  Wave(6, 1, 30, {{4, 1, 4, 2.5f}, {2, 1, 6, 1, 3}, {11, 1, 6, 0.8f, 8}})}});
    l.push_back({0,
                 4,
                 false,
                 4,
                 320,
                 2,
                 {Wave(14, 1, 10, {{2, 0, 8, 1}}), Wave(6, 1, 15, {{15, 0, 4, 2.5f}, {1, 1, 4, 1.5f, 1}}),
                  Wave(6, 1, 15, {{16, 0, 6, 1.5f}, {4, 0, 3, 2.5f, 2}}),
                  Wave(6, 1, 20, {{12, 0, 3, 4}, {5, 0, 2, 5, 2}}),
                  Wave(6, 1, 20, {{30, 0, 3, 3}, {3, 1, 4, 1.5f, 2}}),
                  Wave(6, 1, 25, {{12, 1, 2, 5}, {15, 1, 3, 3, 2}, {9, 0, 2, 4, 1}}),
                  Wave(6, 1, 40, {{8, 1, 2, 5}, {30, 1, 2, 4, 3}, {4, 2, 2, 4, 6}, {2, 1, 8, 1, 2}})}});
    // Episode 2, Frostpeak.
    l.push_back({1,
                 0,
                 false,
                 5,
                 330,
                 2,
                 {Wave(14, 1, 15, {{2, 1, 6, 1.2f}}), Wave(14, 2, 15, {{13, 0, 2, 4}}, 0),
                  Wave(6, 1, 20, {{23, 0, 5, 2}, {3, 1, 4, 1.5f, 2}}),
                  Wave(6, 2, 20, {{13, 0, 3, 3}, {8, 0, 2, 4, 2}}),
                  Wave(6, 1, 25, {{31, 0, 3, 3}, {2, 2, 4, 1.5f, 2}}),
                  Wave(8, 2, 25, {{13, 1, 2, 4}, {23, 1, 3, 2, 2}}, 4),
                  Wave(6, 1, 40, {{8, 1, 3, 4}, {31, 1, 2, 4, 3}, {13, 1, 2, 4, 6}})}});
    l.push_back({1,
                 1,
                 false,
                 6,
                 340,
                 2,
                 {Wave(14, 1, 15, {{39, 0, 8, 1}}), Wave(6, 1, 20, {{17, 0, 2, 5}, {4, 0, 4, 2, 1}}),
                  Wave(6, 1, 20, {{14, 0, 3, 3.5f}, {6, 1, 2, 4, 2}}),
                  Wave(6, 1, 25, {{16, 1, 5, 1.5f}, {17, 1, 2, 4, 2}, {1, 2, 4, 1.5f, 4}}),
                  Wave(6, 1, 30, {{4, 2, 3, 3}, {14, 1, 2, 4, 2}, {6, 1, 2, 4, 4}}),
                  Wave(6, 1, 40, {{17, 1, 3, 4}, {39, 1, 8, 1, 1}, {14, 1, 3, 4, 5}})}});
    l.push_back({1,
                 2,
                 false,
                 7,
                 360,
                 2,
                 {Wave(14, 1, 15, {{19, 0, 4, 2}, {0, 0, 6, 1, 1}}), Wave(14, 2, 15, {{7, 1, 4, 2}}, 0),
                  Wave(6, 1, 20, {{18, 0, 2, 5}, {1, 2, 6, 1.2f, 1}}),
                  Wave(6, 2, 25, {{19, 1, 4, 2}, {4, 1, 3, 3, 2}}),
                  Wave(6, 1, 25, {{18, 1, 2, 5}, {7, 1, 4, 2, 1}, {16, 1, 4, 1.5f, 4}}),
                  Wave(8, 2, 20, {{20, 0, 2, 5}, {2, 2, 6, 1, 2}}, 4),
                  Wave(6, 1, 40, {{18, 1, 3, 4}, {19, 1, 4, 2, 2}, {8, 2, 2, 5, 4}})}});
    l.push_back({1,
                 3,
                 false,
                 8,
                 380,
                 2,
                 {Wave(14, 1, 15, {{20, 0, 3, 3}, {4, 1, 4, 2, 1}}), Wave(14, 2, 15, {{12, 1, 2, 5}}, 0),
                  Wave(6, 3, 25, {{10, 0, 2, 6}, {32, 0, 2, 6, 3}}),
                  Wave(6, 1, 25, {{22, 0, 1, 1}, {4, 2, 4, 2, 2}, {9, 1, 2, 4, 1}}),
                  Wave(8, 2, 25, {{20, 1, 3, 3}, {16, 2, 4, 1.5f, 2}}, 3),
                  Wave(6, 3, 30, {{32, 1, 3, 4}, {10, 1, 1, 1, 3}}),
                  Wave(6, 1, 50, {{22, 1, 2, 5}, {12, 2, 2, 5, 2}, {20, 1, 2, 5, 4}}),
                  Wave(8, 2, 20, {{13, 2, 2, 5}, {14, 2, 2, 5, 2}}, 6)}});
    // Episode 3, Ember Woods.
    l.push_back({2,
                 0,
                 false,
                 9,
                 400,
                 2,
                 {Wave(14, 1, 15, {{21, 0, 6, 1.5f}}), Wave(6, 1, 20, {{31, 0, 3, 3}, {21, 1, 4, 1.5f, 2}}),
                  Wave(6, 1, 25, {{22, 0, 2, 5}, {4, 2, 4, 2, 1}}),
                  Wave(6, 1, 25, {{15, 1, 4, 2}, {21, 1, 6, 1.2f, 2}}),
                  Wave(6, 1, 30, {{31, 1, 3, 3}, {23, 1, 4, 2, 1}, {8, 2, 2, 5, 3}}),
                  Wave(6, 1, 50, {{22, 1, 2, 6}, {21, 2, 6, 1.2f, 1}, {17, 1, 2, 5, 3}})}});
    l.push_back(
        {2,
         1,
         false,
         10,
         420,
         2,
         {Wave(14, 1, 15, {{1, 2, 6, 1.2f}}), Wave(14, 2, 15, {{2, 2, 6, 1.2f}}, 0),
          Wave(14, 3, 15, {{11, 2, 6, 1}}, 0), Wave(6, 1, 25, {{5, 1, 2, 5}, {6, 1, 2, 5, 2}}),
          Wave(6, 2, 25, {{9, 1, 2, 4}, {4, 2, 4, 2, 1}}, 3),
          Wave(6, 3, 25, {{7, 2, 4, 2}, {18, 1, 2, 4, 2}}), Wave(6, 1, 30, {{13, 2, 2, 5}, {14, 2, 2, 5, 2}}),
          Wave(6, 2, 40, {{12, 2, 2, 5}, {16, 2, 4, 1.5f, 2}, {19, 1, 4, 2, 4}}, 6),
          Wave(6, 3, 50, {{32, 1, 3, 4}, {30, 2, 2, 4, 2}, {20, 2, 2, 4, 4}})}});
    l.push_back(
        {2,
         2,
         false,
         11,
         440,
         2,
         {Wave(14, 1, 20, {{15, 2, 4, 2}, {0, 1, 8, 0.8f, 1}}), Wave(6, 1, 25, {{8, 2, 3, 4}}),
          Wave(6, 1, 25, {{17, 2, 2, 5}, {39, 1, 8, 1, 1}}),
          Wave(6, 1, 30, {{10, 1, 2, 5}, {23, 2, 4, 2, 2}}), Wave(6, 1, 30, {{12, 2, 3, 4}, {6, 2, 2, 5, 2}}),
          Wave(6, 1, 40, {{22, 2, 2, 5}, {18, 2, 2, 5, 2}, {4, 2, 6, 1.5f, 3}}),
          Wave(6, 1, 50, {{33, 0, 1, 1}, {31, 2, 3, 3, 2}, {21, 2, 6, 1, 4}})}});
    l.push_back({2,
                 3,
                 false,
                 12,
                 480,
                 2,
                 {Wave(14, 1, 20, {{36, 0, 2, 5}, {4, 2, 4, 2, 1}}),
                  Wave(14, 2, 20, {{37, 0, 1, 1}, {39, 2, 6, 1, 2}}, 0),
                  Wave(6, 1, 30, {{38, 0, 2, 5}, {33, 0, 1, 1, 3}}),
                  Wave(6, 2, 30, {{36, 1, 2, 5}, {16, 2, 6, 1, 2}}),
                  Wave(6, 1, 40, {{37, 1, 2, 6}, {22, 2, 2, 5, 2}}),
                  Wave(6, 2, 40, {{33, 1, 2, 5}, {38, 1, 2, 5, 3}}, 4),
                  Wave(6, 1, 60, {{36, 2, 2, 6}, {37, 2, 1, 1, 4}, {33, 2, 1, 1, 8}, {10, 2, 2, 5, 2}})}});
    // Hardcore: one life, everything unlocked, a bigger purse; the first one announces units 36, 37 and 38.
    l.push_back({0,
                 0,
                 true,
                 1,
                 600,
                 2,
                 {Wave(16, 1, 20, {{1, 1, 8, 1.2f}}), Wave(6, 1, 25, {{36, 0, 1, 1}, {4, 1, 3, 2.5f, 2}}),
                  Wave(6, 1, 25, {{38, 0, 1, 1}, {3, 1, 4, 1.5f, 2}}),
                  Wave(6, 1, 40, {{37, 0, 1, 1}, {39, 0, 6, 1.2f, 3}})}});
    l.push_back({0,
                 1,
                 true,
                 3,
                 650,
                 2,
                 {Wave(16, 1, 20, {{7, 1, 4, 2}}), Wave(6, 1, 25, {{8, 1, 2, 5}, {2, 1, 6, 1, 2}}),
                  Wave(6, 1, 30, {{15, 1, 3, 3}, {30, 0, 2, 4, 2}}),
                  Wave(6, 1, 40, {{12, 1, 2, 5}, {5, 1, 2, 5, 2}})}});
    l.push_back({1,
                 0,
                 true,
                 5,
                 700,
                 2,
                 {Wave(16, 1, 25, {{13, 1, 2, 5}}), Wave(16, 2, 25, {{23, 1, 3, 3}}, 0),
                  Wave(6, 1, 30, {{31, 1, 2, 5}, {2, 2, 4, 1.5f, 2}}),
                  Wave(6, 2, 40, {{8, 2, 2, 5}, {14, 1, 2, 5, 3}})}});
    l.push_back({1,
                 1,
                 true,
                 7,
                 720,
                 2,
                 {Wave(16, 1, 25, {{19, 1, 4, 2}}), Wave(16, 2, 25, {{18, 1, 2, 5}}, 0),
                  Wave(6, 1, 30, {{20, 1, 2, 5}, {7, 2, 3, 2, 2}}),
                  Wave(6, 2, 40, {{17, 2, 2, 5}, {16, 2, 4, 1.5f, 2}})}});
    l.push_back({2,
                 0,
                 true,
                 10,
                 760,
                 2,
                 {Wave(16, 1, 25, {{21, 2, 4, 1.5f}}), Wave(16, 2, 25, {{9, 2, 2, 4}}, 0),
                  Wave(16, 3, 25, {{6, 2, 2, 4}}, 0), Wave(6, 1, 40, {{22, 2, 1, 1}, {32, 1, 2, 5, 2}}),
                  Wave(6, 3, 50, {{10, 2, 1, 1}, {12, 2, 2, 5, 2}})}});
    l.push_back({2,
                 1,
                 true,
                 12,
                 800,
                 2,
                 {Wave(16, 1, 30, {{36, 1, 2, 6}}), Wave(16, 2, 30, {{37, 1, 1, 1}}, 0),
                  Wave(6, 1, 40, {{33, 1, 1, 1}, {38, 1, 2, 5, 3}}),
                  Wave(6, 2, 60, {{36, 2, 2, 6}, {37, 2, 1, 1, 4}})}});
    // Waves above name their spawn by its place among the map's spawn points (1 = first); the files carry
    // ids.
    const std::vector<MapDesc>& maps = Maps();
    for (LevelDesc& level : l)
        for (WaveDesc& w : level.waves)
        {
            int n = 0;
            for (const MapPoint& p : maps[static_cast<std::size_t>(level.map)].points)
                if (p.spawn && ++n == w.spawn)
                {
                    w.spawn = p.id;
                    break;
                }
        }
    return l;
}

} // namespace

const std::vector<MapDesc>& Maps()
{
    static const std::vector<MapDesc> maps = BuildMaps();
    return maps;
}

const std::vector<LevelDesc>& Levels()
{
    static const std::vector<LevelDesc> levels = BuildLevels();
    return levels;
}

std::string LevelFileName(const LevelDesc& level)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "td/levels_%s/level_%02d_%02d.xml", level.hardcore ? "hardcore" : "normal",
                  level.episode + 1, level.level + 1);
    return buf;
}

std::string ArtFolder(const MapDesc& map)
{
    return "td/data/maps/" + map.folder;
}

std::string ArtPath(const MapDesc& map)
{
    return "/" + ArtFolder(map) + "/back.psd";
}

const MapPoint* FindPoint(const MapDesc& map, int id)
{
    for (const MapPoint& p : map.points)
        if (p.id == id)
            return &p;
    return nullptr;
}

std::vector<PointF> SampleLink(const MapDesc& map, const MapLink& link, float step)
{
    const MapPoint* s = FindPoint(map, link.sid);
    const MapPoint* e = FindPoint(map, link.eid);
    std::vector<PointF> out;
    if (!s || !e)
        return out;
    PointF a{s->x, s->y}, c{link.ax, link.ay}, b{e->x, e->y};
    // Fine steps of t, keeping one point every `step` units of arc length.
    PointF last = a;
    out.push_back(a);
    float walked = 0;
    for (int i = 1; i <= 2000; ++i)
    {
        PointF p = Bezier(a, c, b, i / 2000.0f);
        walked += Dist(p, last);
        last = p;
        if (walked >= step)
        {
            out.push_back(p);
            walked = 0;
        }
    }
    if (Dist(out.back(), b) > 0.01f)
        out.push_back(b);
    return out;
}

int LaneKey(float y)
{
    return static_cast<int>(20.0f * (-y - 65.0f) / 65.0f);
}

} // namespace demodata::game
