#pragma once

#include "Source/TD/Sprites/TDWatch.h"

#include <string>
#include <vector>

namespace render
{
class ParticleEmitter;
}

// Holds one copy of a named particle effect and advances it with a time scale.
class TDEmitter : public TDWatchable
{
public:
    // Copies the named effect of the particle system; a name it does not hold leaves no emitter.
    explicit TDEmitter(const std::string& name);
    TDEmitter(const TDEmitter&) = delete;
    TDEmitter& operator=(const TDEmitter&) = delete;
    // A playing effect is interrupted before it is deleted.
    ~TDEmitter();

    // Advances the effect by time scale x dt; nothing without an emitter.
    void update(float dt);
    // The effect exists and plays (state 1); the map's effect lists drop every other one.
    bool isPlaying() const;

    float mTimeScale = 1.0f;
    // Owned; null when the name was unknown.
    render::ParticleEmitter* mEmitter = nullptr;
};

// One pass over an effect list of the map: a playing effect is advanced by dt, any other is deleted and
// removed; effects appended meanwhile are walked in the same pass.
void updateEmitters(std::vector<TDEmitter*>& effects, float dt);
