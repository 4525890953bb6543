#include "Source/TD/Effects/TDParticle.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"

TDParticle::TDParticle(const std::string& name)
{
    if (name.empty())
        return;
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->GetEmitter(name);
    if (emitter == nullptr)
        return;
    emitter->SetLoopMode(1);
    emitter->SetState(1);
    mEmitters.push_back(emitter);
}

TDParticle::~TDParticle()
{
    for (render::ParticleEmitter* emitter : mEmitters)
        delete emitter;
    mEmitters.clear();
}

void TDParticle::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    for (render::ParticleEmitter* emitter : mEmitters)
        graphics->DrawParticles(emitter).Transform(mTransform);
}

void TDParticle::update(float dt)
{
    for (render::ParticleEmitter* emitter : mEmitters)
        emitter->Update(static_cast<double>(dt));
}

void TDParticle::stop()
{
    for (render::ParticleEmitter* emitter : mEmitters)
        emitter->SetState(2);
}

bool TDParticle::isPlaying() const
{
    if (mEmitters.empty())
        return false;
    for (const render::ParticleEmitter* emitter : mEmitters)
        if (emitter->GetState() != 1)
            return false;
    return true;
}

void updateParticles(std::vector<TDParticle*>& particles, float dt)
{
    for (std::size_t i = 0; i < particles.size();)
    {
        TDParticle* particle = particles[i];
        if (particle->isPlaying())
        {
            particle->update(dt);
            ++i;
            continue;
        }
        particles.erase(particles.begin() + static_cast<std::ptrdiff_t>(i));
        delete particle;
    }
}
