#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/Lib/ParticleLib.h"
#include "Source/TD/Effects/TDParticle.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>

class Particles : public ::testing::Test
{
protected:
    void SetUp() override { tdtest::LoadTestParticles(); }
};

TEST_F(Particles, NamedEffectLoopsAndPlays)
{
    TDParticle named("t_line");
    ASSERT_EQ(named.mEmitters.size(), 1u);
    EXPECT_EQ(named.mEmitters[0]->GetState(), 1);
    EXPECT_EQ(named.mEmitters[0]->GetLibraryEmitter()->GetLoopMode(), 1);
    EXPECT_TRUE(named.isPlaying());
    named.stop();
    EXPECT_EQ(named.mEmitters[0]->GetState(), 2);
    EXPECT_FALSE(named.isPlaying());

    TDParticle unnamed("");
    TDParticle unknown("no_such_effect");
    EXPECT_TRUE(unnamed.mEmitters.empty());
    EXPECT_TRUE(unknown.mEmitters.empty());
    EXPECT_FALSE(unknown.isPlaying());
    unknown.stop();
    unknown.update(0.1f);
}

TEST_F(Particles, ListDropsEmptyAndStoppedEffectsKeepingOrder)
{
    std::vector<TDParticle*> particles = {new TDParticle("t_line"), new TDParticle(""),
                                          new TDParticle("t_line"), new TDParticle("btfly")};
    particles[2]->stop();
    const TDWatch<TDParticle> first(particles[0]);
    const TDWatch<TDParticle> stopped(particles[2]);
    const TDWatch<TDParticle> last(particles[3]);
    updateParticles(particles, 0.1f);
    EXPECT_EQ(particles, (std::vector<TDParticle*>{first.get(), last.get()}));
    EXPECT_EQ(stopped.get(), nullptr);
    for (TDParticle* particle : particles)
        delete particle;
}
