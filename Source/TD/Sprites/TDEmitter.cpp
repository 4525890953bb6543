#include "Source/TD/Sprites/TDEmitter.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"

TDEmitter::TDEmitter(const std::string& name) : mEmitter(render::ParticleSystem::Instance()->GetEmitter(name))
{
}

TDEmitter::~TDEmitter()
{
    if (mEmitter != nullptr && mEmitter->GetState() == 1)
        mEmitter->SetState(2);
    delete mEmitter;
}

void TDEmitter::update(float dt)
{
    if (mEmitter != nullptr)
        mEmitter->Update(static_cast<double>(mTimeScale * dt));
}

bool TDEmitter::isPlaying() const
{
    return mEmitter != nullptr && mEmitter->GetState() == 1;
}

void updateEmitters(std::vector<TDEmitter*>& effects, float dt)
{
    for (std::size_t i = 0; i < effects.size();)
    {
        TDEmitter* effect = effects[i];
        if (effect->isPlaying())
        {
            effect->update(dt);
            ++i;
            continue;
        }
        effects.erase(effects.begin() + static_cast<std::ptrdiff_t>(i));
        delete effect;
    }
}
