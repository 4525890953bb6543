#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render
{

// What an element of a vertex means to the device.
enum VertexUsage : uint32_t
{
    UsagePositionXYZ = 0,
    UsagePositionXYZW = 1,
    UsageNormal = 2,
    UsageDiffuse = 3,
    UsageSpecular = 4,
    UsageTexCoord = 5,
};

// One named part of a vertex.
struct VertexElement
{
    std::string mName;
    uint32_t mComponents = 0;
    uint32_t mSize = 0;
    uint32_t mOffset = 0;
    VertexUsage mUsage = UsagePositionXYZ;
};

// A texture-coordinate set of a format: its component count and offset in the vertex.
struct TexCoordSet
{
    uint32_t mComponents = 0;
    uint32_t mOffset = 0;
};

// The layout of one vertex type, registered once per process; its id is its index in the registry.
struct VertexFormat
{
    int32_t mId = -1;
    // Vertices of the first buffers of the format's cache and of each buffer added later; 0 and 0: no cache.
    uint32_t mCacheSize = 0;
    uint32_t mCacheGrow = 0;
    uint32_t mStride = 0;
    // The flexible-vertex-format bits the elements add up to (kept as the format's fingerprint).
    uint32_t mFVF = 0;
    VertexElement mPosition;
    std::vector<VertexElement> mElements;
    std::vector<TexCoordSet> mTexCoordSets;
};

// Textured, coloured vertex of images, text and particles.
struct SVertex2D
{
    float x, y, z, w;
    // 0xAARRGGBB.
    uint32_t diffuse;
    // 0xAARRGGBB; the textured-tint shader reads its green (colour amount) and blue (texture amount) bytes.
    uint32_t specular;
    float u, v;

    static const VertexFormat& Format();
};

// Untextured coloured vertex of lines and rectangles.
struct SVertexGeom
{
    float x, y, z;
    uint32_t diffuse;

    static const VertexFormat& Format();
};

// Textured vertex without colour.
struct SVertexRT
{
    float x, y, z, w;
    float u, v;

    static const VertexFormat& Format();
};

static_assert(sizeof(SVertex2D) == 32 && sizeof(SVertexGeom) == 16 && sizeof(SVertexRT) == 24);

// Every registered format, indexed by id: SVertex2D 0, SVertexGeom 1, SVertexRT 2.
const std::vector<VertexFormat>& GetVertexFormats();
// The format of an id, or null.
const VertexFormat* FindVertexFormat(int32_t id);

} // namespace render
