#include "Core/Base/MathUtil.h"
#include "Core/Particles/Lib/ParticleLib.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Effects/TDAmbientEffect.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>

namespace
{

constexpr float kStep = 1.0f / 60.0f;

class Ambient : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tdtest::LoadTestParticles();
        math::SetRandomCounter(1000);
    }
    void TearDown() override
    {
        for (TDEmitter* effect : persistent)
            delete effect;
    }

    // Runs frames until the list grows or the time runs out; the time run.
    float RunUntilFired(std::vector<TDAmbientEffect*>& effects, float limit)
    {
        const std::size_t before = persistent.size();
        float time = 0.0f;
        while (persistent.size() == before && time < limit)
        {
            updateAmbientEffects(effects, kStep, persistent);
            time += kStep;
        }
        return time;
    }

    std::vector<TDEmitter*> persistent;
};

} // namespace

TEST_F(Ambient, RepeatingEffectFiresAfterItsDelayAgainNextFrameThenAtRandomIntervals)
{
    TDAmbientEffect effect(L"btfly", 40, 60, 30);
    // The first delay is the first random number of the running counter.
    EXPECT_FLOAT_EQ(effect.mStartDelay, 3.0f + 5.0f * math::Random(1001));
    EXPECT_FALSE(effect.mLoop);
    std::vector<TDAmbientEffect*> effects = {&effect};

    const float first = RunUntilFired(effects, 10.0f);
    EXPECT_GT(first, effect.mStartDelay);
    EXPECT_LE(first - kStep, effect.mStartDelay + 1e-4f);
    ASSERT_EQ(persistent.size(), 1u);
    render::ParticleEmitter* emitter = persistent[0]->mEmitter;
    EXPECT_EQ(emitter->GetState(), 1);
    EXPECT_EQ(emitter->GetLibraryEmitter()->GetLoopMode(), 0);
    EXPECT_EQ(emitter->GetPosition().x, 40.0f);
    EXPECT_EQ(emitter->GetPosition().y, 60.0f);
    EXPECT_EQ(effect.mEmitter.get(), persistent[0]);

    // The next interval starts at 0: the effect fires again in the very next frame and draws its next
    // interval between 20 and 30 seconds.
    updateAmbientEffects(effects, kStep, persistent);
    ASSERT_EQ(persistent.size(), 2u);
    EXPECT_FLOAT_EQ(effect.mNextInterval, math::RandomRange(20.0f, 30.0f, 1002));
    EXPECT_EQ(effect.mTimer, 0.0f);
    EXPECT_EQ(effect.mEmitter.get(), persistent[1]);

    const float next = effect.mNextInterval;
    const float waited = RunUntilFired(effects, 40.0f);
    EXPECT_GT(waited, next);
    EXPECT_LE(waited - kStep, next + 1e-3f);
    EXPECT_EQ(persistent.size(), 3u);
    EXPECT_GE(effect.mNextInterval, 20.0f);
    EXPECT_LT(effect.mNextInterval, 30.0f);

    // The emitters belong to the list: once it drops the last one, the effect's watch reads null.
    persistent[2]->mEmitter->SetState(0);
    updateEmitters(persistent, kStep);
    EXPECT_EQ(persistent.size(), 2u);
    EXPECT_EQ(effect.mEmitter.get(), nullptr);
}

TEST_F(Ambient, LoopingEffectFiresOnce)
{
    TDAmbientEffect effect(L"btfly", 5, 6, 0);
    EXPECT_TRUE(effect.mLoop);
    std::vector<TDAmbientEffect*> effects = {&effect};
    RunUntilFired(effects, 10.0f);
    ASSERT_EQ(persistent.size(), 1u);
    EXPECT_EQ(persistent[0]->mEmitter->GetLibraryEmitter()->GetLoopMode(), 1);
    for (int i = 0; i < 6000; ++i)
        updateAmbientEffects(effects, kStep, persistent);
    EXPECT_EQ(persistent.size(), 1u);
}

TEST_F(Ambient, EffectsWithoutAShowableNameAreMarkedFiredAndShowNothing)
{
    TDAmbientEffect unnamed(L"", 0, 0, 30);
    TDAmbientEffect unknown(L"no_such_effect", 0, 0, 0);
    std::vector<TDAmbientEffect*> effects = {&unnamed, &unknown};
    for (int i = 0; i < 60 * 40; ++i)
        updateAmbientEffects(effects, kStep, persistent);
    EXPECT_TRUE(unnamed.mFired);
    EXPECT_TRUE(unknown.mFired);
    EXPECT_TRUE(persistent.empty());
    EXPECT_EQ(unknown.mEmitter.get(), nullptr);
}
