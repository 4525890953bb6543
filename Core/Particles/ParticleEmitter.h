#pragma once

#include "Core/Base/Result.h"
#include "Core/Base/MathTypes.h"
#include "Core/Render/Color.h"

#include <cstdint>
#include <memory>

namespace ptl
{
class Emitter;
}

namespace render
{
class Image;
class ParticleSystem;
struct SVertex2D;

// One rendered list of an emitter as it is drawn: its atlas texture, blend mode and particle count.
struct ParticleBatch
{
    Image* atlas = nullptr;
    int32_t blendMode = 1; // render::BlendMode: 1 alpha, 2 additive
    uint32_t count = 0;    // quads
};

// Where the render pass puts its quads. The drawing front (render::DrawParticlesParam) implements it: Reserve
// takes room from the frame's SVertex2D cache and 16-bit index cache; Submit extends the "before" box, runs
// the outer wrapper's TransformVertices, extends the "after" box, applies the world transform and the
// half-pixel offset, sets buffers, the textured shader with the atlas, the blend mode, commits and records an
// indexed triangle list of 2 × count triangles. The pass itself restores nothing: the caller restores the
// blend mode it saw before.
class ParticleBatchSink
{
public:
    virtual ~ParticleBatchSink() = default;
    // Room for 4 × count vertices and 6 × count 16-bit indices; baseVertex is the first vertex's index in its
    // buffer. A non-zero result ends the pass.
    virtual VNResultEnum Reserve(const ParticleBatch& batch, SVertex2D** vertices, uint16_t** indices,
                                 uint32_t* baseVertex) = 0;
    // The reserved quads are written: transform and record them.
    virtual VNResultEnum Submit(const ParticleBatch& batch, SVertex2D* vertices, uint16_t* indices) = 0;
};

// A running copy of a named effect: positioned, started (1), let finish (2) or stopped (0), advanced with the
// frame time and drawn as textured quads.
class ParticleEmitter
{
public:
    // Wraps a library emitter whose atlas indices start at atlasBase in the atlas list of system.
    ParticleEmitter(std::unique_ptr<ptl::Emitter> emitter, int atlasBase,
                    const ParticleSystem* system = nullptr);
    ~ParticleEmitter();
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // An independent copy in state 0.
    ParticleEmitter* Clone() const;

    // 1 and 2 are kept; any other value becomes 0 (play once).
    void SetLoopMode(int mode);
    // Hands the position mode to the library (0 moves only the emitter, 1 moves live particles along), then
    // moves.
    void SetPosition(const math::Point2& position, int mode);
    math::Point2 GetPosition() const;
    void GetPosition(math::Point2& out) const { out = GetPosition(); }
    // Degrees, clockwise, 0 up the screen.
    void SetDirection(float direction);

    // 0 stop at once, 1 play, 2 no new particles and let the live ones finish.
    void SetState(int state);
    int GetState() const { return mState; }
    // Advances while playing or finishing; falls back to 0 when the effect has ended.
    void Update(double seconds);

    // The render pass without the drawing front: every drawable list goes to the sink, particle colours
    // multiplied by color. Lists whose atlas is missing are skipped. The number of particles drawn goes to
    // *outCount.
    VNResultEnum WriteBatches(const ParticleSystem& system, const Color& color, ParticleBatchSink& sink,
                              int* outCount) const;

    ptl::Emitter* GetLibraryEmitter() const { return mMagicEmitter.get(); }
    // The system whose atlases the emitter draws with (null: the singleton).
    const ParticleSystem* GetSystem() const { return mSystem; }

private:
    std::unique_ptr<ptl::Emitter> mMagicEmitter;
    int mState = 0;
    int mAtlasBase = 0;
    const ParticleSystem* mSystem = nullptr;
};

// Makes the drawing front's render::DrawParticlesParam run the pass above; the particle system does it when
// made.
void RegisterParticleRenderPass();
} // namespace render
