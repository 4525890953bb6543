#include "Core/Particles/Lib/ParticleLib.h"

#include <algorithm>
#include <cmath>

namespace ptl
{
struct Particle
{
    float x, y;
    float vx, vy;
    float age, life;
    float sizeStart, sizeEnd;
    float angle, spin; // radians, radians per second
};

namespace
{
constexpr float kDegToRad = 3.1415927f / 180.0f;
// A huge time handed to Update is cut into at most this many steps (each then longer than the fixed step), so
// one call cannot stall the frame.
constexpr int kMaxStepsPerUpdate = 1000;

float Lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

std::uint32_t LerpColor(std::uint32_t a, std::uint32_t b, float t)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        float ca = float((a >> shift) & 0xFF), cb = float((b >> shift) & 0xFF);
        auto c = std::uint32_t(std::clamp(Lerp(ca, cb, t) + 0.5f, 0.0f, 255.0f));
        out |= c << shift;
    }
    return out;
}
} // namespace

// ---- File ----

File::File(PtcDesc desc) : mDesc(std::move(desc))
{
    mPath.push_back(&mDesc.root);
}

std::unique_ptr<File> File::OpenInMemory(const void* data, std::size_t size)
{
    PtcDesc desc;
    if (!ReadPtc(data, size, desc))
        return nullptr;
    return std::unique_ptr<File>(new File(std::move(desc)));
}

bool File::SetCurrentFolder(const std::string& name)
{
    mFindIndex = 0;
    if (name.empty())
    {
        mPath.resize(1);
        return true;
    }
    if (name == "..")
    {
        if (mPath.size() > 1)
            mPath.pop_back();
        return true;
    }
    for (const FolderDesc& f : mPath.back()->folders)
    {
        if (f.name == name)
        {
            mPath.push_back(&f);
            return true;
        }
    }
    return false;
}

const char* File::FindFirst(FindData& data, int mode)
{
    mFindMode = mode;
    mFindIndex = 0;
    return FindNext(data);
}

const char* File::FindNext(FindData& data)
{
    const FolderDesc& f = *mPath.back();
    for (;;)
    {
        std::size_t i = mFindIndex;
        if (i >= f.emitters.size() + f.folders.size())
        {
            data = FindData{};
            return nullptr;
        }
        ++mFindIndex;
        if (i < f.emitters.size())
        {
            if (!(mFindMode & kFindEmitters))
                continue;
            data.name = f.emitters[i].name.c_str();
            data.folder = false;
        }
        else
        {
            if (!(mFindMode & kFindFolders))
                continue;
            data.name = f.folders[i - f.emitters.size()].name.c_str();
            data.folder = true;
        }
        return data.name;
    }
}

std::unique_ptr<Emitter> File::LoadEmitter(const std::string& name) const
{
    for (const EmitterDesc& e : mPath.back()->emitters)
        if (e.name == name)
            return std::make_unique<Emitter>(std::make_shared<const EmitterDesc>(e));
    return nullptr;
}

int File::GetStaticAtlasCount() const
{
    return int(mDesc.atlases.size());
}

bool File::GetStaticAtlas(int index, AtlasRecord& out) const
{
    if (index < 0 || std::size_t(index) >= mDesc.atlases.size())
        return false;
    out.file = mDesc.atlases[std::size_t(index)];
    out.index = index;
    return true;
}

// ---- Emitter ----

Emitter::Emitter(std::shared_ptr<const EmitterDesc> desc) : mDesc(std::move(desc))
{
    mParticles.resize(mDesc->types.size());
    mEmitCarry.assign(mDesc->types.size(), 0.0f);
    // Types sharing atlas and blend are drawn as one list, in the order their first type appears.
    for (std::size_t i = 0; i < mDesc->types.size(); ++i)
    {
        const ParticleTypeDesc& t = mDesc->types[i];
        auto g = std::find_if(mGroups.begin(), mGroups.end(),
                              [&](const Group& x) { return x.atlas == t.atlas && x.intense == t.additive; });
        if (g == mGroups.end())
            mGroups.push_back({t.atlas, t.additive, {i}});
        else
            g->types.push_back(i);
    }
    mInterpolation = mDesc->interpolation;
    mLoopMode = mDesc->loopMode;
    mRandom = mDesc->seed ? mDesc->seed : 1;
}

Emitter::~Emitter() = default;

std::unique_ptr<Emitter> Emitter::Duplicate() const
{
    auto copy = std::make_unique<Emitter>(mDesc);
    copy->mInterpolation = mInterpolation;
    copy->mLoopMode = mLoopMode;
    copy->mPositionMode = mPositionMode;
    copy->mX = mX;
    copy->mY = mY;
    copy->mDirection = mDirection;
    // Each copy gets its own sequence, derived reproducibly from the prototype's seed and the copy's number.
    std::uint32_t h = mRandom ^ (++mDuplicates * 0x9E3779B9u);
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    copy->SetRandomSeed(h);
    return copy;
}

void Emitter::SetLoopMode(int mode)
{
    mLoopMode = (mode == kLoopRepeat || mode == kLoopForever) ? mode : kLoopOnce;
}

void Emitter::SetEmitterPosition(const float* xy)
{
    float dx = xy[0] - mX, dy = xy[1] - mY;
    mX = xy[0];
    mY = xy[1];
    if (mPositionMode == kPositionEmitterAndParticles)
        for (auto& list : mParticles)
            for (Particle& p : list)
            {
                p.x += dx;
                p.y += dy;
            }
}

void Emitter::GetEmitterPosition(float* xy) const
{
    xy[0] = mX;
    xy[1] = mY;
}

float Emitter::Random()
{
    // xorshift32: small, fast and the same on every platform, so seeded runs repeat exactly.
    std::uint32_t x = mRandom;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    mRandom = x;
    return float(x >> 8) * (1.0f / 16777216.0f);
}

void Emitter::Spawn(std::size_t type, std::uint32_t count)
{
    const ParticleTypeDesc& t = mDesc->types[type];
    std::vector<Particle>& list = mParticles[type];
    for (std::uint32_t i = 0; i < count && list.size() < t.maxParticles; ++i)
    {
        Particle p;
        p.x = mX + (Random() - 0.5f) * t.areaWidth;
        p.y = mY + (Random() - 0.5f) * t.areaHeight;
        float a = (mDirection + t.angle + (Random() - 0.5f) * t.spread) * kDegToRad;
        float speed = Lerp(t.speedMin, t.speedMax, Random());
        p.vx = std::sin(a) * speed;
        p.vy = -std::cos(a) * speed;
        p.age = 0.0f;
        p.life = Lerp(t.lifeMin, t.lifeMax, Random());
        float shrink = 1.0f - t.sizeVariation * Random();
        p.sizeStart = t.sizeStart * shrink;
        p.sizeEnd = t.sizeEnd * shrink;
        p.angle = Random() * 360.0f * kDegToRad * (t.spinMin != 0.0f || t.spinMax != 0.0f ? 1.0f : 0.0f);
        p.spin = Lerp(t.spinMin, t.spinMax, Random()) * kDegToRad;
        list.push_back(p);
    }
}

void Emitter::EmitterToInterval1(double speed)
{
    for (auto& list : mParticles)
        list.clear();
    std::fill(mEmitCarry.begin(), mEmitCarry.end(), 0.0f);
    mStarted = true;
    mEnded = false;
    mTime = 0.0;
    for (std::size_t i = 0; i < mDesc->types.size(); ++i)
        Spawn(i, mDesc->types[i].burst);
    // Warm-up: effects such as fire start already burning.
    double warm = double(mDesc->warmup) * (speed > 0.0 ? speed : 1.0);
    double step = GetUpdateTime() / 1000.0;
    for (int n = 0; warm > 1e-9 && n < kMaxStepsPerUpdate; ++n)
    {
        double h = std::min(step, warm);
        Step(float(h));
        warm -= h;
    }
}

void Emitter::Stop()
{
    for (auto& list : mParticles)
        list.clear();
    mStarted = false;
    mEnded = false;
    mTime = 0.0;
}

double Emitter::GetUpdateTime() const
{
    return double(mDesc->updateStepMs);
}

void Emitter::Step(float h)
{
    const double duration = double(mDesc->duration);
    bool emitting = !mInterrupt && (mLoopMode != kLoopOnce || mTime < duration);
    for (std::size_t i = 0; i < mParticles.size(); ++i)
    {
        const ParticleTypeDesc& t = mDesc->types[i];
        std::vector<Particle>& list = mParticles[i];
        // Age and move the live particles first, so a new one starts its life at its spawn point.
        float keep = std::max(0.0f, 1.0f - t.drag * h);
        std::erase_if(list,
                      [&](Particle& p)
                      {
                          p.age += h;
                          if (p.age >= p.life)
                              return true;
                          p.vx = (p.vx + t.gravityX * h) * keep;
                          p.vy = (p.vy + t.gravityY * h) * keep;
                          p.x += p.vx * h;
                          p.y += p.vy * h;
                          p.angle += p.spin * h;
                          return false;
                      });
        if (emitting)
        {
            mEmitCarry[i] += t.rate * h;
            auto n = std::uint32_t(mEmitCarry[i]);
            mEmitCarry[i] -= float(n);
            Spawn(i, n);
        }
    }
    mTime += double(h);
    if (mLoopMode == kLoopRepeat && mTime >= duration && !mInterrupt)
    {
        // A new pass of the interval: the time wraps and the bursts fire again; live particles carry on.
        mTime = std::fmod(mTime, duration);
        for (std::size_t i = 0; i < mDesc->types.size(); ++i)
            Spawn(i, mDesc->types[i].burst);
    }
}

bool Emitter::Update(double milliseconds)
{
    if (!mStarted || mEnded)
        return false;
    if (milliseconds > 0.0 && std::isfinite(milliseconds))
    {
        double total = milliseconds / 1000.0;
        double step = GetUpdateTime() / 1000.0;
        if (total / step > kMaxStepsPerUpdate)
            step = total / kMaxStepsPerUpdate;
        while (total > 1e-9)
        {
            double h = std::min(step, total);
            Step(float(h));
            total -= h;
        }
    }
    bool live = GetParticleCount() > 0;
    bool emissionOver = mInterrupt || (mLoopMode == kLoopOnce && mTime >= double(mDesc->duration));
    if (emissionOver && !live)
        mEnded = true;
    return !mEnded;
}

int Emitter::GetParticleCount() const
{
    std::size_t n = 0;
    for (const auto& list : mParticles)
        n += list.size();
    return int(n);
}

bool Emitter::FillList(RenderedList& list, std::size_t group) const
{
    for (; group < mGroups.size(); ++group)
    {
        std::size_t count = 0;
        for (std::size_t t : mGroups[group].types)
            count += mParticles[t].size();
        if (count == 0)
            continue;
        list.mEmitter = this;
        list.mGroup = group;
        list.mType = 0;
        list.mParticle = 0;
        list.particlesCount = int(count);
        list.atlasIndex = mGroups[group].atlas;
        list.intense = mGroups[group].intense;
        return true;
    }
    list.mEmitter = this;
    list.mGroup = mGroups.size();
    list.particlesCount = 0;
    return false;
}

int Emitter::CreateFirstRenderedParticlesList(RenderedList& list) const
{
    FillList(list, 0);
    return list.particlesCount;
}

int Emitter::CreateNextRenderedParticlesList(RenderedList& list) const
{
    if (list.mEmitter != this || list.mGroup >= mGroups.size())
    {
        list.particlesCount = 0;
        return 0;
    }
    FillList(list, list.mGroup + 1);
    return list.particlesCount;
}

bool RenderedList::GetNextParticleVertexes(ParticleVertexes& out)
{
    if (!mEmitter || mGroup >= mEmitter->mGroups.size())
        return false;
    const Emitter::Group& g = mEmitter->mGroups[mGroup];
    while (mType < g.types.size() && mParticle >= mEmitter->mParticles[g.types[mType]].size())
    {
        ++mType;
        mParticle = 0;
    }
    if (mType >= g.types.size())
        return false;
    std::size_t typeIndex = g.types[mType];
    const ParticleTypeDesc& t = mEmitter->mDesc->types[typeIndex];
    const Particle& p = mEmitter->mParticles[typeIndex][mParticle++];
    float life = std::clamp(p.age / p.life, 0.0f, 1.0f);
    float half = Lerp(p.sizeStart, p.sizeEnd, life) * 0.5f;
    float c = std::cos(p.angle), s = std::sin(p.angle);
    const float lx[4] = {-half, half, half, -half};
    const float ly[4] = {-half, -half, half, half};
    const float u[4] = {t.u0, t.u1, t.u1, t.u0};
    const float v[4] = {t.v0, t.v0, t.v1, t.v1};
    for (int i = 0; i < 4; ++i)
    {
        out.x[i] = p.x + lx[i] * c - ly[i] * s;
        out.y[i] = p.y + lx[i] * s + ly[i] * c;
        out.u[i] = u[i];
        out.v[i] = v[i];
    }
    out.color = LerpColor(t.colorStart, t.colorEnd, life);
    return true;
}
} // namespace ptl
