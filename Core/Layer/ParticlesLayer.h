#pragma once

#include "Core/Layer/Layer.h"

namespace render
{
class ParticleEmitter;
}

namespace layer
{

// A layer that draws one particle emitter; never hit, no content box of its own.
class ParticlesLayer : public Layer
{
public:
    ParticlesLayer() = default;
    ~ParticlesLayer() override;

    VNResultEnum DrawSelf(render::Graphics* graphics) override;

    // Stores the emitter; a previously held one is not released here.
    void SetEmitter(render::ParticleEmitter* emitter, bool owns);
    render::ParticleEmitter* GetEmitter() const { return mEmitter; }

private:
    render::ParticleEmitter* mEmitter = nullptr;
    bool mOwnsEmitter = false;
};

} // namespace layer
