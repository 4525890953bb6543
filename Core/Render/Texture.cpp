#include "Core/Render/Texture.h"

#include "Core/Render/Render.h"

namespace render
{

uint32_t TextureRowPitch(uint32_t width, int32_t compression)
{
    switch (compression)
    {
    case CompressionDXT1: return (width + 3) / 4 * 8;
    case CompressionDXT3:
    case CompressionDXT5: return (width + 3) / 4 * 16;
    default: return width * 4;
    }
}

uint32_t TextureLevelSize(uint32_t width, uint32_t height, int32_t compression)
{
    const uint32_t rows = compression >= CompressionDXT1 && compression <= CompressionDXT5 ? (height + 3) / 4 : height;
    return TextureRowPitch(width, compression) * rows;
}

Texture::Texture(Render* render) : mRender(render)
{
    if (mRender)
        mRender->RegisterTexture(this);
}

Texture::~Texture()
{
    if (mRender)
        mRender->UnregisterTexture(this);
}

bool Texture::HitTest(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || static_cast<uint32_t>(x) >= mWidth || static_cast<uint32_t>(y) >= mHeight)
        return false;
    const uint64_t bit = static_cast<uint64_t>(x) + static_cast<uint64_t>(y) * mWidth;
    if (bit / 8 >= mHitBits.size())
        return false;
    return (mHitBits[bit / 8] >> (bit % 8)) & 1u;
}

} // namespace render

namespace render
{

// Decoded images arrive with the image loader; until a decoder hands its pixels over there is nothing to upload.
VNResultEnum Texture::CreateFromImage(ImageData* image) { return image ? VN_FAIL : VN_FAIL; }

} // namespace render
