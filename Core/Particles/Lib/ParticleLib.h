#pragma once

#include "Core/Particles/Lib/PtcFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The engine's particle library: a loaded ".ptc" file walked by folders, emitters made from it, simulated
// with a fixed or a free time step, and handed out as quads grouped by atlas and blend.
namespace ptl
{
class Emitter;

// What FindFirst/FindNext report about an entry of the current folder.
struct FindData
{
    const char* name = nullptr;
    bool folder = false; // a folder entry, else an emitter
};

// FindFirst modes: which entries the walk reports.
inline constexpr int kFindEmitters = 1;
inline constexpr int kFindFolders = 2;
inline constexpr int kFindAll = 3;

struct AtlasRecord
{
    std::string file; // image file name as written in the particle file
    int index = 0;
};

// SetPositionMode values.
inline constexpr int kPositionEmitterOnly = 0;         // live particles stay where they are
inline constexpr int kPositionEmitterAndParticles = 1; // live particles move along with the emitter

// Loop modes.
inline constexpr int kLoopOnce = 0;
inline constexpr int kLoopRepeat = 1;
inline constexpr int kLoopForever = 2;

// A particle's quad: corners top-left, top-right, bottom-right, bottom-left before rotation.
struct ParticleVertexes
{
    float x[4], y[4], u[4], v[4];
    std::uint32_t color; // 0xAARRGGBB
};

// One rendered list: particles of one emitter that share an atlas and a blend. Filled by
// Emitter::CreateFirstRenderedParticlesList and CreateNextRenderedParticlesList; valid until the emitter
// changes.
class RenderedList
{
public:
    int particlesCount = 0; // 0 ends the lists
    int atlasIndex = 0;
    bool intense = false; // additive blend

    // The next particle of this list; false after the last.
    bool GetNextParticleVertexes(ParticleVertexes& out);

private:
    friend class Emitter;
    const Emitter* mEmitter = nullptr;
    std::size_t mGroup = 0; // index into the emitter's blend groups
    std::size_t mType = 0;  // position in the group's type list
    std::size_t mParticle = 0;
};

// A parsed particle file with a folder cursor.
class File
{
public:
    // Null when the bytes are not a valid particle file.
    static std::unique_ptr<File> OpenInMemory(const void* data, std::size_t size);

    // "" goes to the top folder, ".." one up, any other name into that sub-folder; false when there is none.
    bool SetCurrentFolder(const std::string& name);
    // The first or next entry of the current folder, emitters before folders; null at the end.
    const char* FindFirst(FindData& data, int mode);
    const char* FindNext(FindData& data);
    // A new emitter from the current folder's entry of exactly that name (byte by byte); null when there is
    // none.
    std::unique_ptr<Emitter> LoadEmitter(const std::string& name) const;

    int GetStaticAtlasCount() const;
    bool GetStaticAtlas(int index, AtlasRecord& out) const;

private:
    explicit File(PtcDesc desc);
    PtcDesc mDesc;
    std::vector<const FolderDesc*> mPath; // current folder is the back
    int mFindMode = kFindAll;
    std::size_t mFindIndex = 0;
};

struct Particle;

class Emitter
{
public:
    explicit Emitter(std::shared_ptr<const EmitterDesc> desc);
    ~Emitter();
    Emitter(const Emitter&) = delete;
    Emitter& operator=(const Emitter&) = delete;

    // An independent copy in the prototype's settings, stopped, with a random sequence of its own.
    std::unique_ptr<Emitter> Duplicate() const;

    void SetInterpolationMode(bool on) { mInterpolation = on; }
    bool IsInterpolationMode() const { return mInterpolation; }
    // 1 loop, 2 forever, anything else once.
    void SetLoopMode(int mode);
    int GetLoopMode() const { return mLoopMode; }

    void SetEmitterPositionMode(int mode) { mPositionMode = mode; }
    int GetEmitterPositionMode() const { return mPositionMode; }
    void SetEmitterPosition(const float* xy);
    void GetEmitterPosition(float* xy) const;
    // Degrees, clockwise; 0 emits along the particle types' own angles (0 is up the screen).
    void SetEmitterDirection(const float* degrees) { mDirection = *degrees; }
    float GetEmitterDirection() const { return mDirection; }

    bool IsInterrupt() const { return mInterrupt; }
    // Interrupted: no new particles; the emitter ends when the live ones are gone.
    void SetInterrupt(bool on) { mInterrupt = on; }

    // Started and not yet ended.
    bool InInterval() const { return mStarted && !mEnded; }
    // Starts the first interval from scratch: particles cleared, bursts fired, warm-up simulated. speed
    // scales the warm-up time.
    void EmitterToInterval1(double speed);
    // Clears every particle and leaves the interval.
    void Stop();

    // The fixed step in milliseconds.
    double GetUpdateTime() const;
    // Advances by milliseconds; false when the emitter has ended (or was never started).
    bool Update(double milliseconds);

    // Rendered lists: the first and next non-empty group of particles sharing atlas and blend; the count is 0
    // after the last.
    int CreateFirstRenderedParticlesList(RenderedList& list) const;
    int CreateNextRenderedParticlesList(RenderedList& list) const;

    void SetRandomSeed(std::uint32_t seed) { mRandom = seed ? seed : 1; }
    int GetParticleCount() const;
    const EmitterDesc& GetDesc() const { return *mDesc; }

private:
    friend class RenderedList;
    struct Group
    {
        int atlas;
        bool intense;
        std::vector<std::size_t> types;
    };

    void Step(float seconds);
    void Spawn(std::size_t type, std::uint32_t count);
    float Random();
    bool FillList(RenderedList& list, std::size_t group) const;

    std::shared_ptr<const EmitterDesc> mDesc;
    std::vector<Group> mGroups;
    std::vector<std::vector<Particle>> mParticles; // per type
    std::vector<float> mEmitCarry;                 // fractional particles owed per type
    bool mInterpolation = false;
    int mLoopMode = kLoopOnce;
    int mPositionMode = kPositionEmitterOnly;
    float mX = 0.0f, mY = 0.0f;
    float mDirection = 0.0f;
    bool mInterrupt = false;
    bool mStarted = false;
    bool mEnded = false;
    double mTime = 0.0; // seconds into the current interval
    std::uint32_t mRandom = 1;
    mutable std::uint32_t mDuplicates = 0;
};
} // namespace ptl
