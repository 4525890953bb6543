#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The ".ptc" particle file: atlases by file name and a tree of folders holding emitters. The byte layout is
// documented in docs/particle-format.md. These records are both what the reader produces and what the writer
// takes.
namespace ptl
{
inline constexpr std::uint16_t kPtcVersion = 1;

// One kind of particle of an emitter: its look (atlas rectangle, blend) and its motion.
struct ParticleTypeDesc
{
    std::uint16_t atlas = 0;                          // index into the file's atlas list
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f; // rectangle of the image inside the atlas
    bool additive = false;                            // additive ("intense") blend, else alpha blend
    float rate = 10.0f;                               // particles per second while emitting
    std::uint32_t burst = 0;                          // particles at once when the interval starts
    std::uint32_t maxParticles = 100;                 // live particles of this type at most
    float lifeMin = 1.0f, lifeMax = 1.0f;             // seconds
    float speedMin = 0.0f, speedMax = 0.0f;           // units per second
    float angle = 0.0f;                               // degrees, added to the emitter's direction
    float spread = 360.0f;                            // degrees, full width of the random cone
    float areaWidth = 0.0f, areaHeight = 0.0f;        // spawn box centred on the emitter
    float gravityX = 0.0f, gravityY = 0.0f;           // units per second squared
    float drag = 0.0f;                                // velocity lost per second, as a fraction
    float sizeStart = 16.0f, sizeEnd = 16.0f;         // units, over the particle's life
    float sizeVariation = 0.0f;                       // 0..1: random shrink of both sizes
    float spinMin = 0.0f, spinMax = 0.0f;             // degrees per second
    std::uint32_t colorStart = 0xFFFFFFFF, colorEnd = 0xFFFFFFFF; // 0xAARRGGBB over the particle's life
};

struct EmitterDesc
{
    std::string name;                     // byte-exact
    float duration = 1.0f;                // seconds of the emission interval
    float warmup = 0.0f;                  // seconds simulated when the emitter is put into its first interval
    float updateStepMs = 1000.0f / 60.0f; // the fixed step used when interpolation is off
    std::uint8_t loopMode = 0;            // 0 once, 1 loop the interval, 2 emit forever
    bool interpolation = false;           // take the caller's frame time rather than the fixed step
    std::uint32_t seed = 1;
    std::vector<ParticleTypeDesc> types;
};

struct FolderDesc
{
    std::string name; // empty for the top folder
    std::vector<EmitterDesc> emitters;
    std::vector<FolderDesc> folders; // written after the emitters of the folder
};

struct PtcDesc
{
    std::vector<std::string> atlases; // image file names, relative to the particle file's folder
    FolderDesc root;
};

// Limits the reader enforces (and the writer refuses to exceed).
inline constexpr std::uint32_t kMaxAtlases = 256;
inline constexpr std::uint32_t kMaxNameBytes = 1024;
inline constexpr std::uint32_t kMaxEntries = 4096;
inline constexpr std::uint32_t kMaxDepth = 16;
inline constexpr std::uint32_t kMaxTypes = 8;
inline constexpr std::uint32_t kMaxParticlesPerType = 20000;

// Parses a whole file; false for anything that is not a valid file of a known version.
bool ReadPtc(const void* data, std::size_t size, PtcDesc& out);
// Serialises; false when the description breaks a limit (and out is then left empty).
bool WritePtc(const PtcDesc& desc, std::vector<std::uint8_t>& out);
// Writes to a file on disk; false on a bad description or an I/O error.
bool WritePtcFile(const PtcDesc& desc, const std::string& path);
} // namespace ptl
