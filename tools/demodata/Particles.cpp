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

// Atlas cells, 64 x 64 each in a 256 x 128 page.
enum Cell
{
    kDot,
    kSpark,
    kRing,
    kSmoke,
    kStar,
    kBubble,
    kSquare,
    kStreak
};

Canvas Atlas()
{
    Canvas c(256, 128, Rgba{255, 255, 255, 0});
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
    return c;
}

ptl::ParticleTypeDesc Type(Cell cell, bool additive)
{
    ptl::ParticleTypeDesc t;
    t.atlas = 0;
    t.u0 = (cell % 4) * 0.25f;
    t.v0 = (cell / 4) * 0.5f;
    t.u1 = t.u0 + 0.25f;
    t.v1 = t.v0 + 0.5f;
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

} // namespace

void WriteParticles(Output& out)
{
    ptl::PtcDesc file;
    file.atlases = {"fx_atlas.png"};
    file.root.folders = {MapEffects(), UiEffects()};
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
