#pragma once

#include "Core/Base/Result.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Resource/Resource.h"

#include <cstdint>

namespace resource
{
class ResourceTexture;
}

namespace render
{

class Texture;
struct VertexFormat;

// The drawable reference to a texture: the texture resource it shows, the device texture holding its pixels
// and where the image sits in it.
class Image
{
public:
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    // Deletes the device texture when the image owns it (no resource), then drops the resource.
    virtual ~Image();

    // Takes the resource and derives texture, size, pixel offset and scale from it.
    VNResultEnum Assign(const CountedHandle<resource::ResourceTexture>& texture);
    // The hit-mask bit under a point of the image (logical units); false outside it.
    bool HitTest(int32_t x, int32_t y) const;
    // Rewrites texture coordinates of a set from the image's 0..1 range to its rectangle in the atlas.
    VNResultEnum MapAtlasUV(void* vertices, uint32_t count, uint32_t texCoordSet,
                            const VertexFormat& format) const;

    Texture* GetTexture() const { return mTexture; }
    int32_t GetWidth() const { return mWidth; }
    int32_t GetHeight() const { return mHeight; }
    int32_t GetPixelOffsetX() const { return mPixelOffsetX; }
    int32_t GetPixelOffsetY() const { return mPixelOffsetY; }
    float GetPixelsPerUnitX() const { return mPixelsPerUnitX; }
    float GetPixelsPerUnitY() const { return mPixelsPerUnitY; }
    resource::ResourceTexture* GetResource() const { return mTextureResource; }
    // Whether MapAtlasUV moves texture coordinates into the image's rectangle of its atlas.
    bool MapsIntoAtlas() const { return mTextureResource && mInAtlas; }
    // One texture coordinate of the image mapped into its atlas (only for an image that MapsIntoAtlas).
    float AtlasU(float u) const { return mAtlasRect[0] + u * mAtlasRect[2]; }
    float AtlasV(float v) const { return mAtlasRect[1] + v * mAtlasRect[3]; }

protected:
    // The texture resource, held as its base so this header needs no more of it.
    CountedHandle<resource::Resource> mResource;
    resource::ResourceTexture* mTextureResource = nullptr;
    Texture* mTexture = nullptr;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mPixelOffsetX = 0;
    int32_t mPixelOffsetY = 0;
    float mPixelsPerUnitX = 1.0f;
    float mPixelsPerUnitY = 1.0f;
    // The resource's atlas rectangle (u, v, du, dv) when it is cut from an atlas.
    bool mInAtlas = false;
    float mAtlasRect[4] = {0, 0, 1, 1};
};

} // namespace render
