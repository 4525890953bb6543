#include "Core/Layer/ParticlesLayer.h"

#include "Core/Particles/ParticleEmitter.h"

namespace layer
{

ParticlesLayer::~ParticlesLayer()
{
    if (mOwnsEmitter)
        delete mEmitter;
}

void ParticlesLayer::SetEmitter(render::ParticleEmitter* emitter, bool owns)
{
    // An owned emitter that is replaced would otherwise be lost.
    if (mOwnsEmitter && mEmitter != emitter)
        delete mEmitter;
    mEmitter = emitter;
    mOwnsEmitter = owns;
}

} // namespace layer
