#include "Core/Particles/Lib/ParticleLib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace ptl;

namespace
{
ParticleTypeDesc Still(std::uint32_t burst, float life)
{
    ParticleTypeDesc t;
    t.rate = 0.0f;
    t.burst = burst;
    t.maxParticles = 1000;
    t.lifeMin = t.lifeMax = life;
    t.spread = 0.0f;
    t.sizeStart = t.sizeEnd = 10.0f;
    return t;
}

EmitterDesc Named(const std::string& name, std::vector<ParticleTypeDesc> types, float duration = 1.0f)
{
    EmitterDesc e;
    e.name = name;
    e.duration = duration;
    e.updateStepMs = 10.0f;
    e.types = std::move(types);
    return e;
}

std::unique_ptr<Emitter> Make(EmitterDesc e)
{
    return std::make_unique<Emitter>(std::make_shared<const EmitterDesc>(std::move(e)));
}

std::vector<ParticleVertexes> AllVertexes(const Emitter& e, std::vector<RenderedList>* lists = nullptr)
{
    std::vector<ParticleVertexes> out;
    RenderedList list;
    for (int n = e.CreateFirstRenderedParticlesList(list); n > 0; n = e.CreateNextRenderedParticlesList(list))
    {
        if (lists)
            lists->push_back(list);
        ParticleVertexes v;
        int seen = 0;
        while (list.GetNextParticleVertexes(v))
        {
            out.push_back(v);
            ++seen;
        }
        EXPECT_EQ(seen, n);
    }
    return out;
}
} // namespace

TEST(ParticleFile, FolderWalkFindsEveryEntryByItsExactName)
{
    PtcDesc d;
    d.atlases = {"a.png"};
    d.root.emitters = {Named("build", {Still(1, 1)}), Named("Build", {Still(2, 1)})};
    FolderDesc map;
    map.name = "map";
    map.emitters = {Named("portal_1", {Still(3, 1)})};
    FolderDesc deeper;
    deeper.name = "deeper";
    deeper.emitters = {Named("snow \xE2\x9D\x84", {Still(4, 1)})};
    map.folders = {deeper};
    d.root.folders = {map};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(WritePtc(d, bytes));
    auto file = File::OpenInMemory(bytes.data(), bytes.size());
    ASSERT_TRUE(file);

    FindData fd;
    std::vector<std::string> top;
    for (const char* n = file->FindFirst(fd, kFindAll); n; n = file->FindNext(fd))
        top.push_back(std::string(n) + (fd.folder ? "/" : ""));
    EXPECT_EQ(top, (std::vector<std::string>{"build", "Build", "map/"}));
    EXPECT_STREQ(file->FindFirst(fd, kFindFolders), "map");
    EXPECT_EQ(file->FindNext(fd), nullptr);

    ASSERT_TRUE(file->LoadEmitter("Build"));
    EXPECT_EQ(file->LoadEmitter("Build")->GetDesc().types[0].burst, 2u);
    EXPECT_FALSE(file->LoadEmitter("BUILD"));
    EXPECT_FALSE(file->LoadEmitter("portal_1")); // not in the current folder

    EXPECT_FALSE(file->SetCurrentFolder("Map"));
    ASSERT_TRUE(file->SetCurrentFolder("map"));
    EXPECT_TRUE(file->LoadEmitter("portal_1"));
    ASSERT_TRUE(file->SetCurrentFolder("deeper"));
    EXPECT_TRUE(file->LoadEmitter("snow \xE2\x9D\x84"));
    file->SetCurrentFolder("..");
    file->SetCurrentFolder("..");
    file->SetCurrentFolder(".."); // above the top stays at the top
    EXPECT_TRUE(file->LoadEmitter("build"));

    EXPECT_EQ(file->GetStaticAtlasCount(), 1);
    AtlasRecord rec;
    ASSERT_TRUE(file->GetStaticAtlas(0, rec));
    EXPECT_EQ(rec.file, "a.png");
    EXPECT_FALSE(file->GetStaticAtlas(1, rec));
    EXPECT_FALSE(File::OpenInMemory(bytes.data(), bytes.size() - 1));
}

TEST(ParticleEmitter, LifecycleOfOneShotLoopAndInterrupt)
{
    // One burst of 5 particles living 0.1 s, interval of 0.2 s, no continuous emission.
    auto e = Make(Named("hit", {Still(5, 0.1f)}, 0.2f));
    EXPECT_FALSE(e->InInterval());
    EXPECT_FALSE(e->Update(10)); // never started
    e->EmitterToInterval1(1.0);
    EXPECT_TRUE(e->InInterval());
    EXPECT_EQ(e->GetParticleCount(), 5);
    EXPECT_TRUE(e->Update(50));
    EXPECT_EQ(e->GetParticleCount(), 5);
    EXPECT_TRUE(e->Update(60)); // particles gone, interval not over yet
    EXPECT_EQ(e->GetParticleCount(), 0);
    EXPECT_FALSE(e->Update(100)); // interval over and nothing alive: ended
    EXPECT_FALSE(e->InInterval());

    // Looping: each pass of the interval fires the burst again.
    e->SetLoopMode(kLoopRepeat);
    e->EmitterToInterval1(1.0);
    EXPECT_TRUE(e->Update(190));
    EXPECT_EQ(e->GetParticleCount(), 0);
    EXPECT_TRUE(e->Update(20));
    EXPECT_EQ(e->GetParticleCount(), 5);
    e->SetLoopMode(5);
    EXPECT_EQ(e->GetLoopMode(), kLoopOnce);

    // Interrupted: no new particles, ends when the live ones are gone.
    e->SetLoopMode(kLoopForever);
    e->EmitterToInterval1(1.0);
    e->SetInterrupt(true);
    EXPECT_TRUE(e->Update(50));
    EXPECT_FALSE(e->Update(60));

    e->SetInterrupt(false);
    e->EmitterToInterval1(1.0);
    e->Stop();
    EXPECT_EQ(e->GetParticleCount(), 0);
    EXPECT_FALSE(e->InInterval());
}

TEST(ParticleEmitter, RateWarmupAndCapShapeTheParticleCount)
{
    ParticleTypeDesc t = Still(0, 10.0f);
    t.rate = 100.0f;
    t.maxParticles = 30;
    EmitterDesc d = Named("fire", {t}, 5.0f);
    d.warmup = 0.1f;
    auto e = Make(d);
    e->EmitterToInterval1(1.0);
    EXPECT_EQ(e->GetParticleCount(), 10); // 0.1 s of warm-up at 100 per second
    e->Update(100);
    EXPECT_EQ(e->GetParticleCount(), 20);
    e->Update(1000);
    EXPECT_EQ(e->GetParticleCount(), 30); // capped
    // A huge time step is cut into bounded work and still ends a one-shot emitter.
    e->SetInterrupt(true);
    EXPECT_FALSE(e->Update(1e9));
}

TEST(ParticleEmitter, MotionFollowsDirectionGravityAndPositionMode)
{
    ParticleTypeDesc t = Still(1, 10.0f);
    t.speedMin = t.speedMax = 100.0f; // angle 0: straight up the screen
    auto e = Make(Named("m", {t}));
    float dir = 90.0f; // clockwise: to the right
    e->SetEmitterDirection(&dir);
    float at[2] = {50.0f, 50.0f};
    e->SetEmitterPosition(at);
    e->EmitterToInterval1(1.0);
    e->Update(100);
    auto v = AllVertexes(*e);
    ASSERT_EQ(v.size(), 1u);
    float cx = (v[0].x[0] + v[0].x[2]) * 0.5f, cy = (v[0].y[0] + v[0].y[2]) * 0.5f;
    EXPECT_NEAR(cx, 60.0f, 0.01f);
    EXPECT_NEAR(cy, 50.0f, 0.01f);

    // Mode 0: moving the emitter leaves live particles; mode 1 carries them along.
    float moved[2] = {0.0f, 0.0f};
    e->SetEmitterPosition(moved);
    v = AllVertexes(*e);
    EXPECT_NEAR((v[0].x[0] + v[0].x[2]) * 0.5f, 60.0f, 0.01f);
    e->SetEmitterPositionMode(kPositionEmitterAndParticles);
    float back[2] = {10.0f, 5.0f};
    e->SetEmitterPosition(back);
    v = AllVertexes(*e);
    EXPECT_NEAR((v[0].x[0] + v[0].x[2]) * 0.5f, 70.0f, 0.01f);
    EXPECT_NEAR((v[0].y[0] + v[0].y[2]) * 0.5f, 55.0f, 0.01f);
    float pos[2];
    e->GetEmitterPosition(pos);
    EXPECT_EQ(pos[0], 10.0f);

    // Gravity pulls a resting particle down: y = g t² / 2 after stepping.
    ParticleTypeDesc g = Still(1, 10.0f);
    g.gravityY = 100.0f;
    auto fall = Make(Named("g", {g}));
    fall->EmitterToInterval1(1.0);
    fall->Update(1000);
    v = AllVertexes(*fall);
    EXPECT_NEAR((v[0].y[0] + v[0].y[2]) * 0.5f, 50.0f, 1.0f);
}

TEST(ParticleEmitter, RenderedListsGroupByAtlasAndBlendWithSizeUvAndColour)
{
    ParticleTypeDesc a = Still(2, 1.0f); // atlas 0, alpha
    a.u0 = 0.0f;
    a.v0 = 0.5f;
    a.u1 = 0.25f;
    a.v1 = 1.0f;
    a.colorStart = 0xFF000000;
    a.colorEnd = 0x00FFFFFF;
    a.sizeStart = 10.0f;
    a.sizeEnd = 30.0f;
    ParticleTypeDesc b = Still(3, 1.0f); // atlas 0, additive
    b.additive = true;
    ParticleTypeDesc c = Still(1, 1.0f); // atlas 0, alpha again: joins the first list
    ParticleTypeDesc d = Still(4, 1.0f);
    d.atlas = 2;
    auto e = Make(Named("mix", {a, b, c, d}, 5.0f));
    e->EmitterToInterval1(1.0);
    e->Update(500); // half of every particle's life
    std::vector<RenderedList> lists;
    auto v = AllVertexes(*e, &lists);
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists[0].particlesCount, 3);
    EXPECT_EQ(lists[0].atlasIndex, 0);
    EXPECT_FALSE(lists[0].intense);
    EXPECT_EQ(lists[1].particlesCount, 3);
    EXPECT_TRUE(lists[1].intense);
    EXPECT_EQ(lists[2].particlesCount, 4);
    EXPECT_EQ(lists[2].atlasIndex, 2);
    ASSERT_EQ(v.size(), 10u);
    // The first particle: half-way through its life, size 20 around its spawn point, halfway colour.
    const ParticleVertexes& p = v[0];
    EXPECT_NEAR(p.x[1] - p.x[0], 20.0f, 1e-4f);
    EXPECT_NEAR(p.y[3] - p.y[0], 20.0f, 1e-4f);
    EXPECT_NEAR(p.x[0], -10.0f, 1e-4f);
    EXPECT_EQ(p.u[0], 0.0f);
    EXPECT_EQ(p.v[0], 0.5f);
    EXPECT_EQ(p.u[2], 0.25f);
    EXPECT_EQ(p.v[2], 1.0f);
    for (int shift = 0; shift < 32; shift += 8)
        EXPECT_NEAR(double((p.color >> shift) & 0xFF), 128.0, 1.0) << shift;
    // A stopped emitter has no lists.
    e->Stop();
    RenderedList none;
    EXPECT_EQ(e->CreateFirstRenderedParticlesList(none), 0);
}

// A seeded emitter with random spread, speed, size and spin repeats the same quads on every run; the hash
// guards the simulation against accidental change.
TEST(ParticleEmitter, SeededEmitterIsDeterministicAndDuplicatesAreIndependent)
{
    ParticleTypeDesc t;
    t.rate = 200.0f;
    t.burst = 10;
    t.maxParticles = 500;
    t.lifeMin = 0.5f;
    t.lifeMax = 1.5f;
    t.speedMin = 20.0f;
    t.speedMax = 80.0f;
    t.spread = 90.0f;
    t.gravityY = 30.0f;
    t.drag = 0.5f;
    t.sizeStart = 8.0f;
    t.sizeEnd = 2.0f;
    t.sizeVariation = 0.5f;
    t.spinMin = -90.0f;
    t.spinMax = 90.0f;
    t.colorStart = 0xFFFFCC00;
    t.colorEnd = 0x00FF0000;
    auto run = [&](std::uint32_t seed)
    {
        auto e = Make(Named("fire", {t}, 2.0f));
        e->SetRandomSeed(seed);
        e->EmitterToInterval1(1.0);
        for (int i = 0; i < 60; ++i)
            e->Update(16.0);
        std::uint64_t h = 1469598103934665603ull;
        for (const ParticleVertexes& v : AllVertexes(*e))
        {
            for (int i = 0; i < 4; ++i)
            {
                // Quantised so the hash does not depend on the last bit of a float.
                for (float f : {v.x[i], v.y[i], v.u[i], v.v[i]})
                    h = (h ^ std::uint64_t(std::int64_t(std::lround(f * 16.0f)))) * 1099511628211ull;
            }
            h = (h ^ v.color) * 1099511628211ull;
        }
        return std::make_pair(h, e->GetParticleCount());
    };
    auto a = run(1234);
    EXPECT_EQ(a, run(1234));
    EXPECT_NE(a.first, run(99).first);
    EXPECT_GT(a.second, 150);

    auto proto = Make(Named("fire", {t}, 2.0f));
    auto c1 = proto->Duplicate();
    auto c2 = proto->Duplicate();
    c1->EmitterToInterval1(1.0);
    EXPECT_EQ(c2->GetParticleCount(), 0);
    EXPECT_FALSE(c2->InInterval());
    c2->EmitterToInterval1(1.0);
    c1->Update(100);
    EXPECT_NE(c1->GetParticleCount(), c2->GetParticleCount());
    auto v1 = AllVertexes(*c1);
    c2->Update(100);
    auto v2 = AllVertexes(*c2);
    ASSERT_FALSE(v1.empty());
    EXPECT_NE(std::memcmp(&v1[0], &v2[0], sizeof(ParticleVertexes)), 0); // own random sequences
}
