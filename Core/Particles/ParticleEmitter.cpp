#include "Core/Particles/ParticleEmitter.h"

#include "Core/Particles/Lib/ParticleLib.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/VertexFormat.h"

namespace render
{
ParticleEmitter::ParticleEmitter(std::unique_ptr<ptl::Emitter> emitter, int atlasBase,
                                 const ParticleSystem* system)
    : mMagicEmitter(std::move(emitter)), mAtlasBase(atlasBase), mSystem(system)
{
}

ParticleEmitter::~ParticleEmitter() = default;

ParticleEmitter* ParticleEmitter::Clone() const
{
    return new ParticleEmitter(mMagicEmitter->Duplicate(), mAtlasBase, mSystem);
}

void ParticleEmitter::SetLoopMode(int mode)
{
    mMagicEmitter->SetLoopMode(mode == 1 || mode == 2 ? mode : 0);
}

void ParticleEmitter::SetPosition(const math::Point2& position, int mode)
{
    mMagicEmitter->SetEmitterPositionMode(mode);
    const float xy[2] = {position.x, position.y};
    mMagicEmitter->SetEmitterPosition(xy);
}

math::Point2 ParticleEmitter::GetPosition() const
{
    float xy[2];
    mMagicEmitter->GetEmitterPosition(xy);
    return math::Point2(xy[0], xy[1]);
}

void ParticleEmitter::SetDirection(float direction)
{
    mMagicEmitter->SetEmitterDirection(&direction);
}

void ParticleEmitter::SetState(int state)
{
    const int current = mState;
    if (state == current)
        return;
    ptl::Emitter& e = *mMagicEmitter;
    if (state == 1 || state == 2)
    {
        if (state == 1 && e.IsInterrupt())
            e.SetInterrupt(false);
        // A stopped emitter, or one past its interval, starts its first interval afresh.
        if (current == 0 || !e.InInterval())
            e.EmitterToInterval1(1.0);
        if (state == 2)
            e.SetInterrupt(true);
        mState = state;
        return;
    }
    // Stop: an interrupted emitter simply stops being updated and drawn; a playing one is stopped in the
    // library.
    if (current != 2)
        e.Stop();
    mState = 0;
}

void ParticleEmitter::Update(double seconds)
{
    if (mState != 1 && mState != 2)
        return;
    ptl::Emitter& e = *mMagicEmitter;
    // Without interpolation the emitter advances by its own fixed step per call, whatever the frame time.
    const double step = e.IsInterpolationMode() ? seconds * 1000.0 : e.GetUpdateTime();
    if (e.Update(step))
        return;
    if (mState == 1)
        e.Stop();
    mState = 0;
}

VNResultEnum ParticleEmitter::WriteBatches(const ParticleSystem& system, const Color& color,
                                           ParticleBatchSink& sink, int* outCount) const
{
    int total = 0;
    if (outCount)
        *outCount = 0;
    const ptl::Emitter& e = *mMagicEmitter;
    if (mState == 0 || !e.InInterval())
        return VN_OK;
    ptl::RenderedList list;
    for (int n = e.CreateFirstRenderedParticlesList(list); n > 0; n = e.CreateNextRenderedParticlesList(list))
    {
        // An index outside the atlas list, or an atlas that failed to load, leaves the list undrawn.
        Image* atlas = system.GetAtlas(mAtlasBase + list.atlasIndex);
        if (!atlas)
            continue;
        ParticleBatch batch{atlas, list.intense ? 2 : 1, uint32_t(n)};
        SVertex2D* v = nullptr;
        uint16_t* idx = nullptr;
        uint32_t base = 0;
        if (VNResultEnum r = sink.Reserve(batch, &v, &idx, &base); r != VN_OK)
            return r;
        ptl::ParticleVertexes p;
        uint32_t written = 0;
        while (written < batch.count && list.GetNextParticleVertexes(p))
        {
            Color c;
            c.Modulate(Color(p.color), color);
            const uint32_t diffuse = c.ToARGB();
            SVertex2D* q = v + written * 4;
            for (int k = 0; k < 4; ++k)
                q[k] = SVertex2D{p.x[k], p.y[k], 0.0f, 1.0f, diffuse, 0xFFFFFFFFu, p.u[k], p.v[k]};
            const uint32_t b = base + written * 4;
            uint16_t* i = idx + written * 6;
            i[0] = uint16_t(b);
            i[1] = uint16_t(b + 1);
            i[2] = uint16_t(b + 2);
            i[3] = uint16_t(b);
            i[4] = uint16_t(b + 2);
            i[5] = uint16_t(b + 3);
            ++written;
        }
        if (VNResultEnum r = sink.Submit(batch, v, idx); r != VN_OK)
            return r;
        total += int(batch.count);
    }
    if (outCount)
        *outCount = total;
    return VN_OK;
}
} // namespace render
