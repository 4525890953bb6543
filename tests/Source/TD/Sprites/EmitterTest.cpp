#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>

class Emitter : public ::testing::Test
{
protected:
    void SetUp() override { tdtest::LoadTestParticles(); }
};

TEST_F(Emitter, UnknownNameHoldsNothingAndIsSafe)
{
    auto* effect = new TDEmitter("no_such_effect");
    EXPECT_EQ(effect->mEmitter, nullptr);
    EXPECT_FALSE(effect->isPlaying());
    effect->update(0.5f);
    delete effect;
}

TEST_F(Emitter, AdvancesByTheScaledTime)
{
    // "burst" plays once for 0.2 s, then falls back to state 0.
    TDEmitter normal("burst");
    TDEmitter fast("burst");
    ASSERT_NE(normal.mEmitter, nullptr);
    EXPECT_EQ(normal.mEmitter->GetState(), 0); // a stopped copy
    EXPECT_EQ(normal.mTimeScale, 1.0f);
    normal.mEmitter->SetState(1);
    fast.mEmitter->SetState(1);
    fast.mTimeScale = 3.0f;
    normal.update(0.1f);
    fast.update(0.1f);
    EXPECT_TRUE(normal.isPlaying());
    EXPECT_FALSE(fast.isPlaying());
}

TEST_F(Emitter, EffectListKeepsPlayingEffectsAndDropsTheRest)
{
    std::vector<TDEmitter*> effects = {new TDEmitter("btfly"), new TDEmitter("burst"),
                                       new TDEmitter("unknown"), new TDEmitter("t_line")};
    effects[0]->mEmitter->SetState(1);
    effects[3]->mEmitter->SetState(1);
    const TDWatch<TDEmitter> stopped(effects[1]);
    const TDWatch<TDEmitter> first(effects[0]);
    const TDWatch<TDEmitter> last(effects[3]);
    updateEmitters(effects, 0.1f);
    EXPECT_EQ(effects, (std::vector<TDEmitter*>{first.get(), last.get()}));
    EXPECT_EQ(stopped.get(), nullptr);

    last.get()->mEmitter->SetState(2); // finishing is no longer playing
    updateEmitters(effects, 0.1f);
    EXPECT_EQ(effects, std::vector<TDEmitter*>{first.get()});
    EXPECT_EQ(last.get(), nullptr);
    for (TDEmitter* effect : effects)
        delete effect;
}
