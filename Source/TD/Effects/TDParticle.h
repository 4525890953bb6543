#pragma once

#include "Core/Render/Transform2D.h"
#include "Source/TD/Sprites/TDWatch.h"

#include <string>
#include <vector>

namespace render
{
class Graphics;
class ParticleEmitter;
} // namespace render

// A map particle effect: a list of emitters drawn with one transform.
class TDParticle : public TDWatchable
{
public:
    // One looping, playing copy of the named effect; none for an empty or unknown name.
    explicit TDParticle(const std::string& name);
    TDParticle(const TDParticle&) = delete;
    TDParticle& operator=(const TDParticle&) = delete;
    // Deletes the emitters.
    virtual ~TDParticle();

    virtual void draw(render::Graphics* graphics);
    virtual void update(float dt);
    // Lets every emitter finish (state 2); the map deletes the effect in its next update.
    void stop();
    // At least one emitter and every one playing: the map keeps the effect while this holds.
    bool isPlaying() const;

    // Owned.
    std::vector<render::ParticleEmitter*> mEmitters;
    render::Transform2D mTransform;
};

// One pass over the map's particle list: an effect that is no longer running is deleted and removed, every
// other one is advanced by dt.
void updateParticles(std::vector<TDParticle*>& particles, float dt);
