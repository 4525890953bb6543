#include "Core/Particles/Lib/PtcFormat.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace ptl
{
namespace
{
const char kMagic[4] = {'C', 'V', 'P', 'T'};

bool Finite(float v)
{
    return std::isfinite(v);
}

bool InRange(float v, float lo, float hi)
{
    return Finite(v) && v >= lo && v <= hi;
}

// Both the reader and the writer hold a description to these rules, so every file the writer makes reads
// back.
bool ValidType(const ParticleTypeDesc& t)
{
    constexpr float kBig = 1.0e6f;
    return InRange(t.u0, -16, 16) && InRange(t.v0, -16, 16) && InRange(t.u1, -16, 16) &&
           InRange(t.v1, -16, 16) && InRange(t.rate, 0, 100000) && t.maxParticles >= 1 &&
           t.maxParticles <= kMaxParticlesPerType && t.burst <= t.maxParticles &&
           InRange(t.lifeMin, 0.001f, 600) && InRange(t.lifeMax, t.lifeMin, 600) &&
           InRange(t.speedMin, -kBig, kBig) && InRange(t.speedMax, -kBig, kBig) &&
           InRange(t.angle, -kBig, kBig) && InRange(t.spread, 0, 360) && InRange(t.areaWidth, 0, kBig) &&
           InRange(t.areaHeight, 0, kBig) && InRange(t.gravityX, -kBig, kBig) &&
           InRange(t.gravityY, -kBig, kBig) && InRange(t.drag, 0, 1000) && InRange(t.sizeStart, 0, kBig) &&
           InRange(t.sizeEnd, 0, kBig) && InRange(t.sizeVariation, 0, 1) && InRange(t.spinMin, -kBig, kBig) &&
           InRange(t.spinMax, -kBig, kBig);
}

bool ValidEmitter(const EmitterDesc& e)
{
    if (e.name.size() > kMaxNameBytes || !InRange(e.duration, 0.001f, 3600) || !InRange(e.warmup, 0, 60) ||
        !InRange(e.updateStepMs, 1, 1000) || e.loopMode > 2 || e.types.empty() || e.types.size() > kMaxTypes)
        return false;
    for (const ParticleTypeDesc& t : e.types)
        if (!ValidType(t))
            return false;
    return true;
}

class Reader
{
public:
    Reader(const std::uint8_t* p, std::size_t n) : mP(p), mEnd(p + n) {}

    bool Bytes(void* out, std::size_t n)
    {
        if (std::size_t(mEnd - mP) < n)
            return false;
        std::memcpy(out, mP, n);
        mP += n;
        return true;
    }
    bool U8(std::uint8_t& v) { return Bytes(&v, 1); }
    bool U16(std::uint16_t& v)
    {
        std::uint8_t b[2];
        if (!Bytes(b, 2))
            return false;
        v = std::uint16_t(b[0] | b[1] << 8);
        return true;
    }
    bool U32(std::uint32_t& v)
    {
        std::uint8_t b[4];
        if (!Bytes(b, 4))
            return false;
        v = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
            std::uint32_t(b[3]) << 24;
        return true;
    }
    bool F32(float& v)
    {
        std::uint32_t bits;
        if (!U32(bits))
            return false;
        std::memcpy(&v, &bits, 4);
        return true;
    }
    bool Str(std::string& s)
    {
        std::uint16_t n;
        if (!U16(n) || n > kMaxNameBytes || std::size_t(mEnd - mP) < n)
            return false;
        s.assign(reinterpret_cast<const char*>(mP), n);
        mP += n;
        return true;
    }
    bool AtEnd() const { return mP == mEnd; }

private:
    const std::uint8_t* mP;
    const std::uint8_t* mEnd;
};

bool ReadType(Reader& r, ParticleTypeDesc& t)
{
    std::uint16_t reserved16;
    std::uint8_t blend, pad[3];
    bool ok = r.U16(t.atlas) && r.U16(reserved16) && r.F32(t.u0) && r.F32(t.v0) && r.F32(t.u1) &&
              r.F32(t.v1) && r.U8(blend) && r.Bytes(pad, 3) && r.F32(t.rate) && r.U32(t.burst) &&
              r.U32(t.maxParticles) && r.F32(t.lifeMin) && r.F32(t.lifeMax) && r.F32(t.speedMin) &&
              r.F32(t.speedMax) && r.F32(t.angle) && r.F32(t.spread) && r.F32(t.areaWidth) &&
              r.F32(t.areaHeight) && r.F32(t.gravityX) && r.F32(t.gravityY) && r.F32(t.drag) &&
              r.F32(t.sizeStart) && r.F32(t.sizeEnd) && r.F32(t.sizeVariation) && r.F32(t.spinMin) &&
              r.F32(t.spinMax) && r.U32(t.colorStart) && r.U32(t.colorEnd);
    if (!ok || blend > 1)
        return false;
    t.additive = blend == 1;
    return true;
}

bool ReadEmitter(Reader& r, EmitterDesc& e)
{
    std::uint8_t interp, typeCount;
    std::uint16_t reserved;
    if (!r.Str(e.name) || !r.F32(e.duration) || !r.F32(e.warmup) || !r.F32(e.updateStepMs) ||
        !r.U8(e.loopMode) || !r.U8(interp) || !r.U16(reserved) || !r.U32(e.seed) || !r.U8(typeCount))
        return false;
    if (interp > 1 || typeCount == 0 || typeCount > kMaxTypes)
        return false;
    e.interpolation = interp == 1;
    e.types.resize(typeCount);
    for (ParticleTypeDesc& t : e.types)
        if (!ReadType(r, t))
            return false;
    return ValidEmitter(e);
}

bool ReadFolder(Reader& r, FolderDesc& f, std::uint32_t depth, std::uint32_t& entriesLeft)
{
    std::uint32_t count;
    if (!r.U32(count) || count > entriesLeft)
        return false;
    entriesLeft -= count;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::uint8_t kind;
        if (!r.U8(kind))
            return false;
        if (kind == 0)
        {
            f.emitters.emplace_back();
            if (!ReadEmitter(r, f.emitters.back()))
                return false;
        }
        else if (kind == 1)
        {
            if (depth + 1 >= kMaxDepth)
                return false;
            f.folders.emplace_back();
            FolderDesc& sub = f.folders.back();
            if (!r.Str(sub.name) || !ReadFolder(r, sub, depth + 1, entriesLeft))
                return false;
        }
        else
            return false;
    }
    return true;
}

class Writer
{
public:
    explicit Writer(std::vector<std::uint8_t>& out) : mOut(out) {}
    void U8(std::uint8_t v) { mOut.push_back(v); }
    void U16(std::uint16_t v)
    {
        U8(std::uint8_t(v));
        U8(std::uint8_t(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(std::uint16_t(v));
        U16(std::uint16_t(v >> 16));
    }
    void F32(float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        U32(bits);
    }
    void Str(const std::string& s)
    {
        U16(std::uint16_t(s.size()));
        mOut.insert(mOut.end(), s.begin(), s.end());
    }

private:
    std::vector<std::uint8_t>& mOut;
};

std::uint32_t CountEntries(const FolderDesc& f, std::uint32_t depth, bool& ok)
{
    if (depth >= kMaxDepth || f.name.size() > kMaxNameBytes)
        ok = false;
    std::uint32_t n = std::uint32_t(f.emitters.size() + f.folders.size());
    for (const EmitterDesc& e : f.emitters)
        if (!ValidEmitter(e))
            ok = false;
    for (const FolderDesc& sub : f.folders)
        n += CountEntries(sub, depth + 1, ok);
    return n;
}

void WriteFolder(Writer& w, const FolderDesc& f)
{
    w.U32(std::uint32_t(f.emitters.size() + f.folders.size()));
    for (const EmitterDesc& e : f.emitters)
    {
        w.U8(0);
        w.Str(e.name);
        w.F32(e.duration);
        w.F32(e.warmup);
        w.F32(e.updateStepMs);
        w.U8(e.loopMode);
        w.U8(e.interpolation ? 1 : 0);
        w.U16(0);
        w.U32(e.seed);
        w.U8(std::uint8_t(e.types.size()));
        for (const ParticleTypeDesc& t : e.types)
        {
            w.U16(t.atlas);
            w.U16(0);
            for (float v : {t.u0, t.v0, t.u1, t.v1})
                w.F32(v);
            w.U8(t.additive ? 1 : 0);
            w.U8(0);
            w.U8(0);
            w.U8(0);
            w.F32(t.rate);
            w.U32(t.burst);
            w.U32(t.maxParticles);
            for (float v : {t.lifeMin, t.lifeMax, t.speedMin, t.speedMax, t.angle, t.spread, t.areaWidth,
                            t.areaHeight, t.gravityX, t.gravityY, t.drag, t.sizeStart, t.sizeEnd,
                            t.sizeVariation, t.spinMin, t.spinMax})
                w.F32(v);
            w.U32(t.colorStart);
            w.U32(t.colorEnd);
        }
    }
    for (const FolderDesc& sub : f.folders)
    {
        w.U8(1);
        w.Str(sub.name);
        WriteFolder(w, sub);
    }
}
} // namespace

bool ReadPtc(const void* data, std::size_t size, PtcDesc& out)
{
    out = PtcDesc{};
    if (!data)
        return false;
    Reader r(static_cast<const std::uint8_t*>(data), size);
    char magic[4];
    std::uint16_t version, reserved;
    std::uint32_t atlasCount;
    if (!r.Bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0 || !r.U16(version) ||
        version != kPtcVersion || !r.U16(reserved) || !r.U32(atlasCount) || atlasCount > kMaxAtlases)
        return false;
    out.atlases.resize(atlasCount);
    for (std::string& a : out.atlases)
        if (!r.Str(a))
            return false;
    std::uint32_t entriesLeft = kMaxEntries;
    bool ok = ReadFolder(r, out.root, 0, entriesLeft) && r.AtEnd();
    if (!ok)
        out = PtcDesc{};
    return ok;
}

bool WritePtc(const PtcDesc& desc, std::vector<std::uint8_t>& out)
{
    out.clear();
    bool ok = desc.atlases.size() <= kMaxAtlases && desc.root.name.empty();
    for (const std::string& a : desc.atlases)
        ok = ok && a.size() <= kMaxNameBytes;
    ok = CountEntries(desc.root, 0, ok) <= kMaxEntries && ok;
    if (!ok)
        return false;
    Writer w(out);
    for (char c : kMagic)
        w.U8(std::uint8_t(c));
    w.U16(kPtcVersion);
    w.U16(0);
    w.U32(std::uint32_t(desc.atlases.size()));
    for (const std::string& a : desc.atlases)
        w.Str(a);
    WriteFolder(w, desc.root);
    return true;
}

bool WritePtcFile(const PtcDesc& desc, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!WritePtc(desc, bytes))
        return false;
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(f);
}
} // namespace ptl
