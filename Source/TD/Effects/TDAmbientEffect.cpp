#include "Source/TD/Effects/TDAmbientEffect.h"

#include "Core/Base/Log.h"
#include "Core/Base/MathUtil.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Sprites/TDEmitter.h"

TDAmbientEffect::TDAmbientEffect(const std::wstring& name, float x, float y, float longestInterval)
    : mName(name), mX(x), mY(y), mLoop(longestInterval == 0.0f), mStartDelay(3.0f + 5.0f * math::Random()),
      mLongestInterval(longestInterval)
{
}

void TDAmbientEffect::fire(std::vector<TDEmitter*>& persistentEffects)
{
    mFired = true;
    if (mName.empty())
        return;
    auto* effect = new TDEmitter(base::ToNarrow(mName, base::kEncodingUtf8));
    if (effect->mEmitter == nullptr)
    {
        base::LogMessage(*base::MainLog::Instance(), L"Ambient effect '%s' is not in the particle file.\n") %
            mName;
        delete effect;
        return;
    }
    effect->mEmitter->SetPosition(math::Point2(mX, mY), 0);
    effect->mEmitter->SetLoopMode(mLoop ? 1 : 0);
    effect->mEmitter->SetState(1);
    persistentEffects.push_back(effect);
    mEmitter = TDWatch<TDEmitter>(effect);
}

void updateAmbientEffects(std::vector<TDAmbientEffect*>& effects, float dt,
                          std::vector<TDEmitter*>& persistentEffects)
{
    for (TDAmbientEffect* effect : effects)
    {
        if (!effect->mFired)
        {
            effect->mTimer += dt;
            if (effect->mTimer > effect->mStartDelay)
            {
                effect->fire(persistentEffects);
                effect->mTimer = 0.0f;
            }
        }
        else if (!effect->mLoop)
        {
            effect->mTimer += dt;
            if (effect->mTimer > effect->mNextInterval)
            {
                effect->fire(persistentEffects);
                effect->mNextInterval =
                    math::RandomRange(TDAmbientEffect::kShortestInterval, effect->mLongestInterval);
                effect->mTimer = 0.0f;
            }
        }
    }
}
