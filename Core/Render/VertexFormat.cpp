#include "Core/Render/VertexFormat.h"

namespace render
{
namespace
{

struct ElementDesc
{
    const char* name;
    uint32_t offset;
    uint32_t size;
    uint32_t components;
    VertexUsage usage;
};

uint32_t UsageBits(const VertexElement& e, uint32_t texIndex)
{
    switch (e.mUsage)
    {
    case UsagePositionXYZ:
        return 0x2;
    case UsagePositionXYZW:
        return 0x4002;
    case UsageNormal:
        return 0x10;
    case UsageDiffuse:
        return 0x40;
    case UsageSpecular:
        return 0x80;
    case UsageTexCoord:
        switch (e.mComponents)
        {
        case 1:
            return 3u << (2 * texIndex + 16);
        case 3:
            return 1u << (2 * texIndex + 16);
        case 4:
            return 2u << (2 * texIndex + 16);
        default:
            return 0;
        }
    }
    return 0;
}

VertexFormat MakeFormat(int32_t id, uint32_t stride, uint32_t cacheSize, uint32_t cacheGrow,
                        std::initializer_list<ElementDesc> elements)
{
    VertexFormat f;
    f.mId = id;
    f.mStride = stride;
    f.mCacheSize = cacheSize;
    f.mCacheGrow = cacheGrow;
    for (const ElementDesc& d : elements)
    {
        VertexElement e{d.name, d.components, d.size, d.offset, d.usage};
        const auto texIndex = static_cast<uint32_t>(f.mTexCoordSets.size());
        f.mFVF |= UsageBits(e, texIndex);
        if (e.mUsage == UsageTexCoord)
            f.mTexCoordSets.push_back({e.mComponents, e.mOffset});
        f.mElements.push_back(e);
    }
    f.mFVF |= static_cast<uint32_t>(f.mTexCoordSets.size()) << 8;
    f.mPosition = f.mElements.front();
    return f;
}

std::vector<VertexFormat> BuildRegistry()
{
    std::vector<VertexFormat> formats;
    formats.push_back(MakeFormat(0, 32, 40960, 10240,
                                 {{"pos", 0, 16, 4, UsagePositionXYZW},
                                  {"diff", 16, 4, 4, UsageDiffuse},
                                  {"spec", 20, 4, 4, UsageSpecular},
                                  {"tutv", 24, 8, 2, UsageTexCoord}}));
    formats.push_back(MakeFormat(1, 16, 5120, 1024,
                                 {{"pos", 0, 12, 3, UsagePositionXYZ}, {"diff", 12, 4, 4, UsageDiffuse}}));
    formats.push_back(
        MakeFormat(2, 24, 0, 0, {{"pos", 0, 16, 4, UsagePositionXYZW}, {"tutv", 16, 8, 2, UsageTexCoord}}));
    return formats;
}

} // namespace

// Built on first use rather than by static constructors, so the order is fixed whatever the link order is.
const std::vector<VertexFormat>& GetVertexFormats()
{
    static const std::vector<VertexFormat> formats = BuildRegistry();
    return formats;
}

const VertexFormat* FindVertexFormat(int32_t id)
{
    const auto& formats = GetVertexFormats();
    if (id < 0 || static_cast<size_t>(id) >= formats.size())
        return nullptr;
    return &formats[static_cast<size_t>(id)];
}

const VertexFormat& SVertex2D::Format()
{
    return GetVertexFormats()[0];
}
const VertexFormat& SVertexGeom::Format()
{
    return GetVertexFormats()[1];
}
const VertexFormat& SVertexRT::Format()
{
    return GetVertexFormats()[2];
}

} // namespace render
