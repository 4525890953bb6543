// One frame of particle work: 5,000 live particles advanced by a 60 Hz step and turned into quads (four
// corners and a colour each), as the render pass does before writing them to the vertex cache.
#include "Core/Particles/Lib/ParticleLib.h"

#include <benchmark/benchmark.h>

namespace
{
// Ten emitters of 500 particles each, spread over two lists (alpha and additive) per emitter.
std::vector<std::unique_ptr<ptl::Emitter>> MakeEmitters()
{
    ptl::ParticleTypeDesc t;
    t.rate = 0.0f;
    t.burst = 250;
    t.maxParticles = 250;
    t.lifeMin = t.lifeMax = 1000.0f; // nothing dies during the run, so the count stays at 5,000
    t.speedMin = 5.0f;
    t.speedMax = 30.0f;
    t.gravityY = 10.0f;
    t.drag = 0.1f;
    t.sizeStart = 8.0f;
    t.sizeEnd = 2.0f;
    t.spinMin = -45.0f;
    t.spinMax = 45.0f;
    t.colorStart = 0xFFFFCC00;
    t.colorEnd = 0x00FF0000;
    ptl::ParticleTypeDesc glow = t;
    glow.additive = true;
    auto desc = std::make_shared<ptl::EmitterDesc>();
    desc->name = "bench";
    desc->duration = 1000.0f;
    desc->types = {t, glow};
    std::vector<std::unique_ptr<ptl::Emitter>> out;
    for (int i = 0; i < 10; ++i)
    {
        auto e = std::make_unique<ptl::Emitter>(desc);
        e->SetRandomSeed(std::uint32_t(i + 1));
        e->EmitterToInterval1(1.0);
        out.push_back(std::move(e));
    }
    return out;
}

void BM_Update5000AndBuildQuads(benchmark::State& state)
{
    auto emitters = MakeEmitters();
    std::vector<ptl::ParticleVertexes> quads(5000);
    for (auto _ : state)
    {
        std::size_t n = 0;
        for (auto& e : emitters)
        {
            e->Update(e->GetUpdateTime());
            ptl::RenderedList list;
            for (int c = e->CreateFirstRenderedParticlesList(list); c > 0;
                 c = e->CreateNextRenderedParticlesList(list))
                while (n < quads.size() && list.GetNextParticleVertexes(quads[n]))
                    ++n;
        }
        benchmark::DoNotOptimize(quads.data());
        if (n != 5000)
            state.SkipWithError("particle count changed");
    }
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_Update5000AndBuildQuads);
} // namespace

BENCHMARK_MAIN();
