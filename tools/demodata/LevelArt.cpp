// The level art folders "td/data/maps/<map>": the ground picture with the roads following the level's curved
// links and its scenery, the layers painted above the units ("^" canopies and the bridge, "$" the arch, "##"
// the lantern string) and the group "fx" whose layers mark where the episode's ambient effects play.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/demodata/AudioWriter.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/GameLevels.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/ImageFolder.h"

namespace demodata
{
namespace
{

using namespace game;

constexpr int kW = 1024, kH = 768;
// The ground reaches past both sides of the 1024-wide playfield to the edges of the widest screen (1366), so
// units walking in from beyond the edge are seen on the ground, not on black.
constexpr int kMargin = 171;
constexpr int kGroundW = kW + 2 * kMargin;
constexpr float kRoad = 30; // half the road's width

struct Theme
{
    std::uint32_t grassA, grassB, road, roadEdge, treeA, treeB, trunk, rock;
};

const Theme kThemes[3] = {
    {0x6A994E, 0x8AB06A, 0xC9A77C, 0x8B6B47, 0x386641, 0x6A994E, 0x6D4C41, 0x9E9E9E},  // meadow
    {0xE3ECF3, 0xC7D7E6, 0xAFC0D1, 0x7F93A8, 0x1E4D3A, 0x2E6B50, 0x5D4037, 0x8395A7},  // snow
    {0xB5894B, 0xCC9F5E, 0x7B5B3A, 0x54391F, 0xC0392B, 0xE67E22, 0x4E342E, 0x8D8271}}; // autumn wood

float Hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

// Smooth value noise in [0, 1].
float Noise(float x, float y, std::uint32_t seed)
{
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed), c = Hash(ix, iy + 1, seed),
          d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

Rgba Lerp(Rgba a, Rgba b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    auto m = [t](std::uint8_t p, std::uint8_t q) { return static_cast<std::uint8_t>(p + (q - p) * t); };
    return Rgba{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), 255};
}

// Distance from every pixel of the ground (map x from -kMargin) to the nearest road centre, up to `reach`.
std::vector<float> RoadDistance(const MapDesc& map, float reach)
{
    std::vector<float> d(static_cast<std::size_t>(kGroundW) * kH, 1e9f);
    for (const MapLink& l : map.links)
        for (const PointF& p : SampleLink(map, l, 2))
        {
            int x0 = std::max(-kMargin, static_cast<int>(std::floor(p.x - reach))),
                x1 = std::min(kW + kMargin - 1, static_cast<int>(p.x + reach));
            int y0 = std::max(0, static_cast<int>(p.y - reach)),
                y1 = std::min(kH - 1, static_cast<int>(p.y + reach));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                {
                    float v = std::hypot(x + 0.5f - p.x, y + 0.5f - p.y);
                    float& cell = d[static_cast<std::size_t>(y) * kGroundW + (x + kMargin)];
                    cell = std::min(cell, v);
                }
        }
    return d;
}

void Tree(Canvas& c, const Theme& t, int theme, float x, float y, float s, Random& rnd)
{
    c.FillEllipse(x + 4, y + 2, 18 * s, 7 * s, 0, RgbaOf(0x000000, 60));
    c.StrokeLine(x, y, x, y - 16 * s, 6 * s, RgbaOf(t.trunk));
    if (theme == 1)
    {
        for (int k = 0; k < 3; ++k)
        {
            float w = (20 - k * 5) * s, top = y - (14 + k * 12) * s;
            c.FillPolygon({{x - w, top}, {x + w, top}, {x, top - 20 * s}}, RgbaOf(k % 2 ? t.treeB : t.treeA));
            c.FillPolygon({{x - w * 0.4f, top - 12 * s}, {x + w * 0.4f, top - 12 * s}, {x, top - 20 * s}},
                          RgbaOf(0xF4F6F7));
        }
        return;
    }
    std::uint32_t leaf = (rnd.Next() % 2) ? t.treeA : t.treeB;
    c.FillCircle(x, y - 28 * s, 17 * s, RgbaOf(leaf));
    c.FillCircle(x - 10 * s, y - 22 * s, 11 * s, RgbaOf(leaf));
    c.FillCircle(x + 10 * s, y - 23 * s, 12 * s, RgbaOf(leaf));
    c.FillCircle(x - 5 * s, y - 34 * s, 7 * s, RgbaOf(0xFFFFFF, 50));
}

void Rock(Canvas& c, const Theme& t, float x, float y, float s)
{
    c.FillEllipse(x + 2, y + 2, 11 * s, 6 * s, 0, RgbaOf(0x000000, 60));
    c.FillEllipse(x, y - 3 * s, 11 * s, 8 * s, 0.2f, RgbaOf(t.rock));
    c.FillEllipse(x - 3 * s, y - 6 * s, 5 * s, 3 * s, 0.2f, RgbaOf(0xFFFFFF, 70));
}

void Tuft(Canvas& c, int theme, float x, float y, Random& rnd)
{
    if (theme == 1)
    {
        c.FillEllipse(x, y, 9, 4, 0, RgbaOf(0xFFFFFF, 160));
        return;
    }
    Rgba blade = RgbaOf(theme == 0 ? 0x4F772D : 0x9C640C);
    for (int k = -1; k <= 1; ++k)
        c.StrokeLine(x, y, x + k * 4.0f, y - 8, 1.5f, blade);
    if (rnd.Next() % 3 == 0)
    {
        static const std::uint32_t kFlowers[] = {0xE63946, 0xF1FAEE, 0xFFB703, 0xB5179E};
        c.FillCircle(x, y - 9, 2.2f, RgbaOf(kFlowers[rnd.Next() % 4]));
    }
}

Canvas Ground(const MapDesc& map, const std::vector<float>& dist)
{
    const Theme& t = kThemes[map.theme];
    Canvas c(kGroundW, kH);
    std::uint32_t seed = 2166136261u; // FNV-1a of the folder name: each map its own, every run the same
    for (char ch : map.folder)
        seed = (seed ^ static_cast<std::uint8_t>(ch)) * 16777619u;
    seed = (seed & 0xFFFF) + 7;
    Rgba grassA = RgbaOf(t.grassA), grassB = RgbaOf(t.grassB), road = RgbaOf(t.road),
         edge = RgbaOf(t.roadEdge);
    for (int y = 0; y < kH; ++y)
        for (int x = -kMargin; x < kW + kMargin; ++x)
        {
            float n = Noise(x / 90.0f, y / 90.0f, seed) * 0.7f + Noise(x / 23.0f, y / 23.0f, seed + 1) * 0.3f;
            Rgba g = Lerp(grassA, grassB, n);
            float d = dist[static_cast<std::size_t>(y) * kGroundW + (x + kMargin)];
            Rgba p = g;
            if (d < kRoad)
            {
                float rn = Noise(x / 9.0f, y / 9.0f, seed + 2);
                p = Lerp(road, edge, 0.15f + rn * 0.25f + std::max(0.0f, d - kRoad + 8) * 0.03f);
            }
            else if (d < kRoad + 4)
                p = Lerp(edge, g, (d - kRoad) / 4);
            else if (d < kRoad + 10)
                p = Lerp(Lerp(g, RgbaOf(0x000000), 0.12f), g, (d - kRoad - 4) / 6);
            c.At(x + kMargin, y) = p;
        }
    // Scenery, kept off the roads and the build spots.
    Random rnd(seed * 31 + 5);
    auto clear = [&](float x, float y, float roadGap, float spotGap)
    {
        if (x < 0 || y < 0 || x >= kW || y >= kH)
            return false;
        if (dist[static_cast<std::size_t>(y) * kGroundW + (static_cast<int>(x) + kMargin)] < roadGap)
            return false;
        for (const SpotDesc& s : map.spots)
            if (std::hypot(s.x - x, s.y - y) < spotGap)
                return false;
        return true;
    };
    for (int k = 0; k < 220; ++k)
    {
        float x = rnd.Next() % kW, y = rnd.Next() % kH;
        if (clear(x, y, kRoad + 8, 50))
            Tuft(c, map.theme, x + kMargin, y, rnd);
    }
    std::vector<PointF> trees;
    for (int k = 0; k < 400 && trees.size() < 26; ++k)
    {
        float x = 20 + rnd.Next() % (kW - 40), y = 40 + rnd.Next() % (kH - 40);
        if (!clear(x, y, kRoad + 34, 70) || !clear(x, y - 30, kRoad + 30, 70))
            continue;
        bool apart = true;
        for (const PointF& o : trees)
            apart = apart && std::hypot(o.x - x, o.y - y) > 55;
        if (apart)
            trees.push_back({x, y});
    }
    std::sort(trees.begin(), trees.end(), [](PointF a, PointF b) { return a.y < b.y; });
    for (int k = 0; k < 14; ++k)
    {
        float x = rnd.Next() % kW, y = rnd.Next() % kH;
        if (clear(x, y, kRoad + 16, 55))
            Rock(c, t, x + kMargin, y, 0.7f + (rnd.Next() % 60) / 100.0f);
    }
    for (const PointF& p : trees)
        Tree(c, t, map.theme, p.x + kMargin, p.y, 0.9f + (rnd.Next() % 40) / 100.0f, rnd);
    return c;
}

struct Layer
{
    std::string name;
    int x, y;
    Canvas image;
};

Layer Front(const MapDesc& map, const FrontDecor& f)
{
    const Theme& t = kThemes[map.theme];
    float cs = std::cos(f.angle), sn = std::sin(f.angle);
    auto at = [&](float u, float v) { return PointF{f.x + u * cs - v * sn, f.y + u * sn + v * cs}; };
    switch (f.kind)
    {
    case 0:
    {
        // A tree crown beside the road, drawn over the units that pass near it.
        Canvas c(120, 110);
        Random rnd(static_cast<std::uint32_t>(f.x * 7 + f.y));
        std::uint32_t leaf = t.treeA;
        for (int k = 0; k < 7; ++k)
        {
            float a = k * 0.9f;
            c.FillCircle(60 + std::cos(a) * 30, 55 + std::sin(a) * 26, 22.0f + rnd.Next() % 8,
                         RgbaOf(k % 2 ? leaf : t.treeB));
        }
        c.FillCircle(60, 55, 28, RgbaOf(leaf));
        c.FillCircle(50, 42, 10, RgbaOf(0xFFFFFF, 45));
        return {f.name, static_cast<int>(f.x) - 60, static_cast<int>(f.y) - 55, c};
    }
    case 1:
    {
        // A stone arch over the road: two pillars across the road and the span between them.
        Canvas c(140, 150);
        float ox = 70 - f.x, oy = 95 - f.y;
        PointF a = at(0, -kRoad - 12), b = at(0, kRoad + 12);
        for (PointF p : {a, b})
        {
            c.FillRoundRect(p.x + ox - 9, p.y + oy - 52, 18, 56, 4, RgbaOf(t.rock));
            c.FillRoundRect(p.x + ox - 9, p.y + oy - 52, 6, 56, 3, RgbaOf(0xFFFFFF, 50));
        }
        c.StrokeLine(a.x + ox, a.y + oy - 52, b.x + ox, b.y + oy - 52, 16,
                     Lerp(RgbaOf(t.rock), RgbaOf(0), 0.15f));
        c.StrokeLine(a.x + ox, a.y + oy - 56, b.x + ox, b.y + oy - 56, 5, RgbaOf(0xD5D8DC));
        return {f.name, static_cast<int>(f.x) - 70, static_cast<int>(f.y) - 95, c};
    }
    case 2:
    {
        // A plank bridge along the upper road, wide enough to hide what passes beneath.
        Canvas c(180, 180);
        float ox = 90 - f.x, oy = 90 - f.y;
        auto quad = [&](float u0, float v0, float u1, float v1, Rgba col)
        {
            std::vector<PointF> q = {at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)};
            for (PointF& p : q)
                p = {p.x + ox, p.y + oy};
            c.FillPolygon(q, col);
        };
        quad(-78, -36, 78, 36, RgbaOf(0x000000, 70));
        quad(-74, -32, 74, 32, RgbaOf(0x8D6E63));
        for (int k = -70; k < 70; k += 10)
            quad(static_cast<float>(k), -32, k + 2.0f, 32, RgbaOf(0x5D4037));
        quad(-74, -36, 74, -30, RgbaOf(0x4E342E));
        quad(-74, 30, 74, 36, RgbaOf(0x4E342E));
        return {f.name, static_cast<int>(f.x) - 90, static_cast<int>(f.y) - 90, c};
    }
    default:
    {
        // A lantern post at the road side, painted over whatever walks behind it.
        Canvas c(120, 170);
        PointF foot = at(0, kRoad + 10);
        float ox = 60 - f.x, oy = 125 - f.y;
        float x = foot.x + ox, y = foot.y + oy;
        c.FillEllipse(x, y, 10, 4, 0, RgbaOf(0x000000, 70));
        c.StrokeLine(x, y, x, y - 70, 5, RgbaOf(0x4E342E));
        c.StrokeLine(x, y - 66, x + 14, y - 66, 3, RgbaOf(0x4E342E));
        c.FillCircle(x + 14, y - 56, 12, RgbaOf(0xF5B041, 90));
        c.FillRoundRect(x + 9, y - 64, 10, 14, 3, RgbaOf(0xF4D03F));
        c.FillRoundRect(x + 11, y - 61, 6, 8, 2, RgbaOf(0xFFF8DC));
        return {f.name, static_cast<int>(f.x) - 60, static_cast<int>(f.y) - 125, c};
    }
    }
}

} // namespace

void WriteLevelArt(Output& out)
{
    for (const MapDesc& map : Maps())
    {
        const std::string dir = ArtFolder(map) + "/";
        std::vector<float> dist = RoadDistance(map, kRoad + 40);
        std::vector<FolderLayer> layers;
        // Layers are listed top first; the ground is the last, so it is painted first.
        for (const FrontDecor& f : map.fronts)
        {
            Layer l = Front(map, f);
            std::string file = l.name;
            out.Write(dir + file + ".png", EncodePng(l.image));
            layers.push_back({l.name, l.x, l.y, l.image.Width(), l.image.Height(), ""});
        }
        for (std::size_t i = 0; i < map.ambient.size(); ++i)
        {
            // A small marker picture: only the place of an "fx" layer is read.
            Canvas dot(8, 8);
            dot.FillCircle(4, 4, 3.5f, RgbaOf(0xFFFFFF, 120));
            const std::string name = "fx/" + std::to_string(i);
            out.Write(dir + name + ".png", EncodePng(dot));
            layers.push_back(
                {name, static_cast<int>(map.ambient[i].x), static_cast<int>(map.ambient[i].y), 8, 8, ""});
        }
        Canvas ground = Ground(map, dist);
        out.Write(dir + "ground.jpg", EncodeJpeg(ground, 85));
        layers.push_back({"ground", -kMargin, 0, kGroundW, kH, ""});
        out.WriteText(dir + "layers.xml", LayersXml(layers));
    }
}

} // namespace demodata
