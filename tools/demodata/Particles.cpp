// td/fx/fx2.ptc: the particle effects the engine and the game ask for by name, and the
// white atlas they draw with (particle colours tint it).
#include <cmath>
#include <string>

#include "Core/Particles/Lib/PtcFormat.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/ImageEncoders.h"

namespace demodata
{
namespace
{

// Atlas cells, 64 x 64 each in a 256 x 256 page, four to a row.
enum Cell
{
    kDot,
    kSpark,
    kRing,
    kSmoke,
    kStar,
    kBubble,
    kSquare,
    kStreak,
    kButterfly,
    kFlake,
    kLeaf,
    kBird,
    kFlame,
    kDrop,
    kCoin,
    kShard
};

Canvas Atlas()
{
    Canvas c(256, 256, Rgba{255, 255, 255, 0});
    auto soft = [&c](int ox, int oy, float radius, float power)
    {
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
            {
                float d = std::hypot(x + 0.5f - 32, y + 0.5f - 32) / radius;
                float a = d >= 1 ? 0 : std::pow(1 - d, power);
                c.At(ox + x, oy + y) = Rgba{255, 255, 255, static_cast<std::uint8_t>(std::lround(a * 255))};
            }
    };
    const Rgba white{255, 255, 255, 255};
    soft(0, 0, 30, 1.5f);  // dot
    soft(64, 0, 10, 1.0f); // spark: bright core ...
    c.FillPolygon({{96, 2}, {99, 29}, {126, 32}, {99, 35}, {96, 62}, {93, 35}, {66, 32}, {93, 29}},
                  white);                  // ... with rays
    c.StrokeCircle(160, 32, 24, 6, white); // ring
    soft(192, 0, 31, 0.7f);                // smoke
    c.FillStar(32, 96, 30, 12, 5, white);  // star
    c.StrokeCircle(96, 96, 22, 3, white);  // bubble: rim and highlight
    c.FillCircle(88, 88, 5, white);
    c.FillRoundRect(140, 76, 40, 40, 6, white); // square debris
    c.FillRoundRect(194, 90, 60, 12, 6, white); // streak
    // Second half: shapes for the level decorations and the game's effects.
    c.FillEllipse(20, 150, 14, 20, -0.5f, white); // butterfly wings
    c.FillEllipse(44, 150, 14, 20, 0.5f, white);
    c.FillEllipse(22, 172, 9, 12, 0.4f, white);
    c.FillEllipse(42, 172, 9, 12, -0.4f, white);
    for (int k = 0; k < 3; ++k) // snowflake
    {
        float a = k * 1.0471976f;
        c.StrokeLine(96 - std::cos(a) * 26, 160 - std::sin(a) * 26, 96 + std::cos(a) * 26,
                     160 + std::sin(a) * 26, 4, white);
    }
    c.FillEllipse(160, 160, 26, 12, 0.7f, white); // leaf
    c.StrokeLine(140, 178, 180, 142, 2, Rgba{255, 255, 255, 120});
    c.FillPolygon({{196, 150}, {224, 166}, {252, 150}, {224, 176}}, white); // bird
    c.FillPolygon({{32, 196}, {52, 236}, {32, 252}, {12, 236}}, white);     // flame
    c.FillCircle(32, 234, 14, white);
    c.FillCircle(96, 232, 16, white); // drop
    c.FillPolygon({{96, 196}, {110, 226}, {82, 226}}, white);
    c.FillCircle(160, 224, 24, white); // coin
    c.StrokeCircle(160, 224, 17, 3, Rgba{255, 255, 255, 150});
    c.FillPolygon({{224, 194}, {236, 224}, {224, 254}, {212, 224}}, white); // shard
    return c;
}

ptl::ParticleTypeDesc Type(Cell cell, bool additive)
{
    ptl::ParticleTypeDesc t;
    t.atlas = 0;
    t.u0 = (cell % 4) * 0.25f;
    t.v0 = (cell / 4) * 0.25f;
    t.u1 = t.u0 + 0.25f;
    t.v1 = t.v0 + 0.25f;
    t.additive = additive;
    return t;
}

ptl::EmitterDesc Emitter(const std::string& name, float duration, std::uint32_t seed)
{
    ptl::EmitterDesc e;
    e.name = name;
    e.duration = duration;
    e.seed = seed;
    return e;
}

ptl::FolderDesc MapEffects()
{
    ptl::FolderDesc f;
    f.name = "map";

    ptl::EmitterDesc build = Emitter("build", 0.3f, 11);
    ptl::ParticleTypeDesc dust = Type(kSmoke, false);
    dust.rate = 0;
    dust.burst = 30;
    dust.maxParticles = 40;
    dust.lifeMin = 0.5f;
    dust.lifeMax = 0.9f;
    dust.speedMin = 40;
    dust.speedMax = 120;
    dust.gravityY = 60;
    dust.drag = 1.5f;
    dust.sizeStart = 26;
    dust.sizeEnd = 10;
    dust.sizeVariation = 0.3f;
    dust.colorStart = 0xE0C8A878;
    dust.colorEnd = 0x00806040;
    ptl::ParticleTypeDesc sparks = Type(kSpark, true);
    sparks.rate = 0;
    sparks.burst = 16;
    sparks.maxParticles = 20;
    sparks.lifeMin = 0.3f;
    sparks.lifeMax = 0.6f;
    sparks.speedMin = 100;
    sparks.speedMax = 220;
    sparks.sizeStart = 14;
    sparks.sizeEnd = 3;
    sparks.colorStart = 0xFFFFE080;
    sparks.colorEnd = 0x00FF8000;
    build.types = {dust, sparks};
    f.emitters.push_back(build);

    ptl::EmitterDesc upgrade = Emitter("upgrade", 0.8f, 12);
    ptl::ParticleTypeDesc stars = Type(kStar, true);
    stars.rate = 40;
    stars.maxParticles = 60;
    stars.lifeMin = 0.6f;
    stars.lifeMax = 1.0f;
    stars.speedMin = 60;
    stars.speedMax = 120;
    stars.spread = 60;
    stars.areaWidth = 40;
    stars.sizeStart = 18;
    stars.sizeEnd = 6;
    stars.spinMin = -180;
    stars.spinMax = 180;
    stars.colorStart = 0xFFFFD040;
    stars.colorEnd = 0x00FFB000;
    upgrade.types = {stars};
    f.emitters.push_back(upgrade);

    ptl::EmitterDesc hammer = Emitter("hammer", 1.0f, 13);
    ptl::ParticleTypeDesc glow = Type(kSpark, true);
    glow.rate = 10;
    glow.burst = 2;
    glow.maxParticles = 20;
    glow.lifeMin = 0.5f;
    glow.lifeMax = 0.8f;
    glow.speedMin = 20;
    glow.speedMax = 40;
    glow.spread = 50;
    glow.areaWidth = 24;
    glow.sizeStart = 16;
    glow.sizeEnd = 4;
    glow.colorStart = 0xFFFF9A30;
    glow.colorEnd = 0x00FF4000;
    hammer.types = {glow};
    f.emitters.push_back(hammer);

    ptl::EmitterDesc portal = Emitter("portal_1", 1.0f, 14);
    ptl::ParticleTypeDesc swirl = Type(kRing, true);
    swirl.rate = 24;
    swirl.maxParticles = 40;
    swirl.lifeMin = 0.6f;
    swirl.lifeMax = 0.8f;
    swirl.speedMin = 5;
    swirl.speedMax = 15;
    swirl.sizeStart = 10;
    swirl.sizeEnd = 48;
    swirl.colorStart = 0xD09B5DE5;
    swirl.colorEnd = 0x004020A0;
    portal.types = {swirl};
    f.emitters.push_back(portal);

    ptl::EmitterDesc blow = Emitter("blow_bub", 0.2f, 15);
    ptl::ParticleTypeDesc bubbles = Type(kBubble, false);
    bubbles.rate = 0;
    bubbles.burst = 24;
    bubbles.maxParticles = 30;
    bubbles.lifeMin = 0.4f;
    bubbles.lifeMax = 0.7f;
    bubbles.speedMin = 50;
    bubbles.speedMax = 150;
    bubbles.drag = 2;
    bubbles.sizeStart = 12;
    bubbles.sizeEnd = 20;
    bubbles.colorStart = 0xFFA0E0FF;
    bubbles.colorEnd = 0x0060A0FF;
    blow.types = {bubbles};
    f.emitters.push_back(blow);
    return f;
}

// Markers that the game starts without a loop mode: a long interval keeps them on screen.
ptl::EmitterDesc Marker(const std::string& name, float size, std::uint32_t color, std::uint32_t seed)
{
    ptl::EmitterDesc e = Emitter(name, 3600.0f, seed);
    ptl::ParticleTypeDesc ring = Type(kRing, true);
    ring.rate = 2.5f;
    ring.maxParticles = 4;
    ring.lifeMin = 1.2f;
    ring.lifeMax = 1.2f;
    ring.sizeStart = size * 0.5f;
    ring.sizeEnd = size;
    ring.colorStart = color;
    ring.colorEnd = color & 0x00FFFFFF;
    e.warmup = 1.2f;
    e.types = {ring};
    return e;
}

ptl::EmitterDesc Glint(const std::string& name, float areaWidth, float areaHeight, std::uint32_t seed)
{
    ptl::EmitterDesc e = Emitter(name, 0.6f, seed);
    ptl::ParticleTypeDesc star = Type(kSpark, true);
    star.rate = 5;
    star.burst = 1;
    star.maxParticles = 6;
    star.lifeMin = 0.4f;
    star.lifeMax = 0.6f;
    star.areaWidth = areaWidth;
    star.areaHeight = areaHeight;
    star.sizeStart = 26;
    star.sizeEnd = 2;
    star.spinMin = 90;
    star.spinMax = 180;
    star.colorStart = 0xFFFFFFFF;
    star.colorEnd = 0x00FFFFE0;
    e.types = {star};
    return e;
}

ptl::FolderDesc UiEffects()
{
    ptl::FolderDesc f;
    f.name = "ui";
    f.emitters.push_back(Marker("active", 90, 0xC0FFFFFF, 21));
    f.emitters.push_back(Marker("active_btn", 110, 0xC052D1C1, 22));
    f.emitters.push_back(Marker("active_lvl", 130, 0xC0FFB703, 23));
    f.emitters.push_back(Glint("blik_1", 30, 10, 24));
    f.emitters.push_back(Glint("blik_2", 60, 20, 25));
    f.emitters.push_back(Glint("blik_4", 80, 20, 26));
    f.emitters.push_back(Glint("blik_6", 40, 40, 27));

    ptl::EmitterDesc fog = Emitter("fog_01", 4.0f, 28);
    ptl::ParticleTypeDesc puff = Type(kSmoke, false);
    puff.rate = 5;
    puff.maxParticles = 40;
    puff.lifeMin = 4;
    puff.lifeMax = 6;
    puff.speedMin = 5;
    puff.speedMax = 15;
    puff.angle = 90;
    puff.spread = 40;
    puff.areaWidth = 300;
    puff.areaHeight = 80;
    puff.sizeStart = 120;
    puff.sizeEnd = 200;
    puff.colorStart = 0x30FFFFFF;
    puff.colorEnd = 0x00FFFFFF;
    fog.warmup = 4;
    fog.types = {puff};
    f.emitters.push_back(fog);
    return f;
}

// A one-off burst: `count` particles thrown out at once, fading from `from` to `to` colour.
ptl::EmitterDesc Burst(const std::string& name, Cell cell, bool additive, std::uint32_t count, float life,
                       float speed, float sizeStart, float sizeEnd, std::uint32_t from, std::uint32_t to,
                       std::uint32_t seed)
{
    ptl::EmitterDesc e = Emitter(name, life + 0.1f, seed);
    e.interpolation = true;
    ptl::ParticleTypeDesc t = Type(cell, additive);
    t.rate = 0;
    t.burst = count;
    t.maxParticles = count + 4;
    t.lifeMin = life * 0.6f;
    t.lifeMax = life;
    t.speedMin = speed * 0.4f;
    t.speedMax = speed;
    t.drag = 2;
    t.sizeStart = sizeStart;
    t.sizeEnd = sizeEnd;
    t.sizeVariation = 0.3f;
    t.spinMin = -90;
    t.spinMax = 90;
    t.colorStart = from;
    t.colorEnd = to;
    e.types = {t};
    return e;
}

// A steady stream, for trails and lasting effects: `rate` particles a second for `duration` seconds.
ptl::EmitterDesc Stream(const std::string& name, Cell cell, bool additive, float rate, float duration,
                        float life, float speed, float area, float sizeStart, float sizeEnd,
                        std::uint32_t from, std::uint32_t to, std::uint32_t seed)
{
    ptl::EmitterDesc e = Emitter(name, duration, seed);
    e.interpolation = true;
    ptl::ParticleTypeDesc t = Type(cell, additive);
    t.rate = rate;
    t.burst = 2;
    t.maxParticles = static_cast<std::uint32_t>(rate * life) + 8;
    t.lifeMin = life * 0.7f;
    t.lifeMax = life;
    t.speedMin = speed * 0.3f;
    t.speedMax = speed;
    t.areaWidth = area;
    t.areaHeight = area;
    t.sizeStart = sizeStart;
    t.sizeEnd = sizeEnd;
    t.sizeVariation = 0.25f;
    t.colorStart = from;
    t.colorEnd = to;
    e.types = {t};
    return e;
}

// Effects of the game world: units, shots and hits, spells and the ambient life of each episode.
ptl::FolderDesc GameEffects()
{
    ptl::FolderDesc f;
    f.name = "game";
    std::uint32_t seed = 100;
    // A unit reached the goal: a red flash; a bomb beetle bursts.
    f.emitters.push_back(
        Burst("damage_h", kSpark, true, 18, 0.6f, 160, 26, 4, 0xFFFF4040, 0x00FF0000, seed++));
    {
        ptl::EmitterDesc e =
            Burst("mg_00", kSmoke, false, 24, 0.8f, 180, 40, 70, 0xE0FFA040, 0x00603020, seed++);
        ptl::EmitterDesc sparks = Burst("", kSpark, true, 20, 0.5f, 260, 18, 2, 0xFFFFF0A0, 0x00FF6000, seed);
        e.types.push_back(sparks.types[0]);
        f.emitters.push_back(e);
    }
    // The teleport beam: one piece every 30 units, a flickering violet ribbon.
    {
        ptl::EmitterDesc e =
            Stream("t_line", kStreak, true, 30, 0.5f, 0.35f, 8, 10, 34, 24, 0xFFD7A0FF, 0x00A040FF, seed++);
        e.types[0].angle = 90;
        e.types[0].spread = 20;
        f.emitters.push_back(e);
    }
    // Muzzles.
    f.emitters.push_back(
        Burst("fire_dart", kSpark, true, 6, 0.2f, 90, 14, 2, 0xFFFFF8C0, 0x00FFD080, seed++));
    f.emitters.push_back(
        Burst("fire_cannon", kSmoke, false, 10, 0.5f, 70, 20, 38, 0xC0E0E0E0, 0x00909090, seed++));
    f.emitters.push_back(
        Burst("fire_mortar", kSmoke, false, 12, 0.6f, 60, 24, 44, 0xC0FFC080, 0x00705030, seed++));
    // Trails that fly with the bullets.
    f.emitters.push_back(
        Stream("trail_venom", kDrop, false, 30, 3, 0.4f, 10, 4, 10, 3, 0xE060E080, 0x0030A040, seed++));
    f.emitters.push_back(
        Stream("trail_magic", kStar, true, 40, 3, 0.35f, 12, 4, 14, 2, 0xFF90D0FF, 0x004080FF, seed++));
    f.emitters.push_back(
        Stream("trail_frost", kFlake, true, 30, 3, 0.4f, 10, 4, 12, 4, 0xFFE0F4FF, 0x0080C0FF, seed++));
    f.emitters.push_back(
        Stream("trail_fire", kFlame, true, 40, 5, 0.4f, 14, 4, 16, 4, 0xFFFFC040, 0x00FF2000, seed++));
    // Hits.
    f.emitters.push_back(
        Burst("hit_dart", kShard, false, 8, 0.3f, 110, 10, 4, 0xFFE0C080, 0x00806040, seed++));
    f.emitters.push_back(
        Burst("hit_venom", kDrop, false, 12, 0.5f, 120, 14, 6, 0xF060E080, 0x00208030, seed++));
    f.emitters.push_back(
        Burst("hit_cannon", kSmoke, false, 20, 0.6f, 170, 30, 60, 0xD0D0C0B0, 0x00605040, seed++));
    f.emitters.push_back(
        Burst("hit_magic", kStar, true, 14, 0.4f, 140, 18, 4, 0xFFA0E0FF, 0x004060FF, seed++));
    f.emitters.push_back(
        Burst("hit_frost", kFlake, true, 18, 0.6f, 150, 20, 6, 0xFFE8F8FF, 0x0080C0FF, seed++));
    f.emitters.push_back(
        Burst("hit_chain", kSquare, false, 10, 0.4f, 120, 10, 4, 0xFF909090, 0x00404040, seed++));
    f.emitters.push_back(
        Burst("hit_portal", kRing, true, 6, 0.4f, 30, 12, 50, 0xFFE0B0FF, 0x008040C0, seed++));
    f.emitters.push_back(
        Burst("hit_fire", kFlame, true, 22, 0.6f, 180, 28, 6, 0xFFFFD060, 0x00FF3000, seed++));
    f.emitters.push_back(
        Burst("hit_inferno", kFlame, true, 30, 0.8f, 150, 34, 8, 0xFFFFA040, 0x00C01000, seed++));
    f.emitters.push_back(
        Burst("hit_siege", kSmoke, false, 34, 0.9f, 240, 44, 90, 0xE0FFB060, 0x00503020, seed++));
    // Spells: lasting effects at the cast point, as long as the spell (the game scales their time).
    f.emitters.push_back(
        Stream("spell_meteor", kFlame, true, 60, 2, 0.7f, 80, 120, 34, 6, 0xFFFFB040, 0x00FF2000, seed++));
    f.emitters.push_back(
        Stream("spell_frost", kFlake, true, 50, 4, 0.9f, 40, 150, 20, 8, 0xFFE8F8FF, 0x0080C0FF, seed++));
    f.emitters.push_back(
        Stream("spell_poison", kSmoke, false, 30, 6, 1.4f, 20, 130, 40, 80, 0x9060E060, 0x00208020, seed++));
    f.emitters.push_back(
        Stream("spell_roots", kLeaf, false, 30, 4, 1.0f, 20, 120, 18, 10, 0xFF80A040, 0x00406020, seed++));
    f.emitters.push_back(
        Stream("spell_warcry", kStar, true, 40, 8, 0.8f, 60, 40, 20, 4, 0xFFFFE070, 0x00FFA000, seed++));
    return f;
}

// Ambient life, one effect per episode, played at the "fx" places of the level art. The first, second and
// sixth loop for ever; the others fire now and then.
ptl::FolderDesc AmbientEffects()
{
    ptl::FolderDesc f;
    f.name = "ambient";
    {
        ptl::EmitterDesc e =
            Stream("btfly", kButterfly, false, 1.2f, 4, 5, 25, 120, 14, 14, 0xFFFFD0F0, 0x00FFA0D0, 201);
        e.types[0].burst = 3;
        e.types[0].spinMin = -40;
        e.types[0].spinMax = 40;
        f.emitters.push_back(e);
    }
    {
        ptl::EmitterDesc e =
            Stream("sh_snow", kFlake, false, 8, 4, 4, 20, 240, 10, 8, 0xFFFFFFFF, 0x40FFFFFF, 202);
        e.types[0].angle = 180;
        e.types[0].spread = 40;
        e.types[0].gravityY = 8;
        e.types[0].burst = 6;
        f.emitters.push_back(e);
    }
    {
        ptl::EmitterDesc e =
            Stream("tr1", kLeaf, false, 6, 3, 3, 30, 160, 14, 12, 0xFFE08030, 0x00C04010, 203);
        e.types[0].gravityY = 10;
        e.types[0].spinMin = -120;
        e.types[0].spinMax = 120;
        e.types[0].burst = 4;
        f.emitters.push_back(e);
    }
    {
        ptl::EmitterDesc e =
            Stream("bird", kBird, false, 2, 2, 6, 60, 60, 16, 16, 0xFF303030, 0x00303030, 204);
        e.types[0].angle = 80;
        e.types[0].spread = 20;
        e.types[0].burst = 3;
        f.emitters.push_back(e);
    }
    f.emitters.push_back(Burst("lava_3", kBubble, true, 8, 1.2f, 40, 10, 22, 0xFFFF8020, 0x00FF2000, 205));
    {
        ptl::EmitterDesc e =
            Stream("fire_fly_2", kDot, true, 4, 4, 3, 15, 140, 8, 4, 0xFFF0FF80, 0x00A0FF40, 206);
        e.types[0].burst = 4;
        f.emitters.push_back(e);
    }
    return f;
}

} // namespace

void WriteParticles(Output& out)
{
    ptl::PtcDesc file;
    file.atlases = {"fx_atlas.png"};
    file.root.folders = {MapEffects(), UiEffects(), GameEffects(), AmbientEffects()};
    std::vector<std::uint8_t> bytes;
    if (!ptl::WritePtc(file, bytes))
    {
        out.Fail("particle description out of range");
        return;
    }
    out.Write("td/fx/fx2.ptc", bytes);
    out.Write("td/fx/fx_atlas.png", EncodePng(Atlas()));
}

} // namespace demodata
