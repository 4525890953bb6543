#include "Core/Render/Texture.h"

#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Render.h"
#include "Core/Render/TextureFills.h"

#include <memory>
#include <new>

namespace render
{

uint32_t TextureRowPitch(uint32_t width, int32_t compression)
{
    switch (compression)
    {
    case CompressionDXT1:
        return (width + 3) / 4 * 8;
    case CompressionDXT3:
    case CompressionDXT5:
        return (width + 3) / 4 * 16;
    default:
        return width * 4;
    }
}

uint32_t TextureLevelSize(uint32_t width, uint32_t height, int32_t compression)
{
    const uint32_t rows =
        compression >= CompressionDXT1 && compression <= CompressionDXT5 ? (height + 3) / 4 : height;
    return TextureRowPitch(width, compression) * rows;
}

Texture::Texture(Render* render) : mRender(render)
{
    if (mRender)
        mRender->RegisterTexture(this);
}

Texture::~Texture()
{
    if (mFillPending)
        TextureFills::Instance().Cancel(this);
    if (mRender)
        mRender->UnregisterTexture(this);
}

bool Texture::HitTest(int32_t x, int32_t y) const
{
    EnsureFilled();
    if (x < 0 || y < 0 || static_cast<uint32_t>(x) >= mWidth || static_cast<uint32_t>(y) >= mHeight)
        return false;
    const uint64_t bit = static_cast<uint64_t>(x) + static_cast<uint64_t>(y) * mWidth;
    if (bit / 8 >= mHitBits.size())
        return false;
    return (mHitBits[bit / 8] >> (bit % 8)) & 1u;
}

void Texture::EnsureFilled() const
{
    // The fill is the texture's pending creation, not a change a const user could see.
    if (mFillPending)
        (void)TextureFills::Instance().Complete(const_cast<Texture*>(this));
}

} // namespace render

namespace render
{

VNResultEnum Texture::CreateFromImage(ImageData* image)
{
    if (!image || image->GetWidth() <= 0 || image->GetHeight() <= 0)
        return VN_FAIL;
    const auto width = static_cast<uint32_t>(image->GetWidth());
    const auto height = static_cast<uint32_t>(image->GetHeight());
    int32_t compression = image->GetCompression();
    if (compression < CompressionNone || compression > CompressionDXT5)
        compression = CompressionNone; // any other kind is taken as 32-bit pixels
    // The decoder writes the top level only; the texture gets that one level (a chain with unfilled levels
    // would sample garbage when minified).
    const uint64_t size = static_cast<uint64_t>(TextureRowPitch(width, compression)) *
                          (compression == CompressionNone ? height : (height + 3) / 4);
    if (size > 0xFFFFFFFFull || static_cast<uint64_t>(width) * height > 0xFFFFFFFFull)
        return VN_FAIL;
    // Left uninitialised: every decoder writes each byte of the level or fails, and clearing megabytes the
    // decoder overwrites at once cost a quarter of the start-up.
    std::unique_ptr<uint8_t[]> staging(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
    if (!staging)
        return VN_FAIL;
    HitMask mask;
    try
    {
        mask.Resize(width * height, false);
    }
    catch (const std::bad_alloc&)
    {
        return VN_FAIL;
    }
    if (const VNResultEnum r = image->CopyPixels(TextureRowPitch(width, compression), staging.get(), &mask);
        r != VN_OK)
        return r;
    if (const VNResultEnum r =
            CreateFromPixels(width, height, compression, staging.get(), static_cast<uint32_t>(size));
        r != VN_OK)
        return r;
    mHitBits = mask.Take();
    return VN_OK;
}

VNResultEnum Texture::CreateFromImageLater(std::unique_ptr<ImageData> image, const std::wstring& name)
{
    if (!image || image->GetWidth() <= 0 || image->GetHeight() <= 0 || mFillPending)
        return VN_FAIL;
    const auto width = static_cast<uint32_t>(image->GetWidth());
    const auto height = static_cast<uint32_t>(image->GetHeight());
    int32_t compression = image->GetCompression();
    if (compression < CompressionNone || compression > CompressionDXT5)
        compression = CompressionNone;
    const uint64_t size = static_cast<uint64_t>(TextureRowPitch(width, compression)) *
                          (compression == CompressionNone ? height : (height + 3) / 4);
    if (size > 0xFFFFFFFFull || static_cast<uint64_t>(width) * height > 0xFFFFFFFFull)
        return VN_FAIL;
    mWidth = width;
    mHeight = height;
    mFillPending = true;
    TextureFills::Instance().Defer(this, std::move(image), compression, TextureRowPitch(width, compression),
                                   static_cast<uint32_t>(size), name);
    return VN_OK;
}

} // namespace render
