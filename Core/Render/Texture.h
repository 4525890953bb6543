#pragma once

#include "Core/Base/Result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render
{

class Render;
class ImageData;
class TextureFills;

// Pixel formats a texture can be filled with.
enum TextureCompression : int32_t
{
    // 32-bit pixels 0xAARRGGBB (bytes B, G, R, A), rows top to bottom.
    CompressionNone = 0,
    CompressionDXT1 = 1,
    CompressionDXT3 = 2,
    CompressionDXT5 = 3,
};

// Bytes of one level of w × h pixels in a format.
uint32_t TextureLevelSize(uint32_t width, uint32_t height, int32_t compression);
// Bytes of one row (of pixels, or of 4 × 4 blocks when compressed).
uint32_t TextureRowPitch(uint32_t width, int32_t compression);

// A device image: filled once from a decoded image (with a hit mask), or a render target; registered with its
// Render.
class Texture
{
public:
    explicit Texture(Render* render);
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();

    // Filled from a decoded image with its hit mask.
    virtual VNResultEnum CreateFromImage(ImageData* image);
    // Takes the size now and leaves the decoding to TextureFills (the decoder must allow other threads); the
    // texture is filled at the latest when it is first drawn or hit-tested. The name is for the log.
    VNResultEnum CreateFromImageLater(std::unique_ptr<ImageData> image, const std::wstring& name);
    // Fills the texture now when its decoding was left for later (main thread).
    void EnsureFilled() const;
    virtual VNResultEnum CreateRenderTarget(uint32_t width, uint32_t height) = 0;
    virtual VNResultEnum CreateDynamic(uint32_t width, uint32_t height) = 0;
    // The hit-mask bit of a pixel; false outside the texture or without a mask.
    virtual bool HitTest(int32_t x, int32_t y) const;
    virtual VNResultEnum OnResetDevice() = 0;
    virtual VNResultEnum OnLostDevice() = 0;
    virtual bool IsValid() const { return true; }
    // Dynamic textures only: the whole level in 32-bit pixels.
    virtual VNResultEnum Lock(int32_t* pixelCount, int32_t* pitch, void** bits) = 0;
    virtual VNResultEnum Unlock() = 0;
    // Not supported by any back end.
    virtual VNResultEnum Unsupported(void*) { return VN_FAIL; }

    // Creates the device texture from pixel data of one level (size bytes of the given format, rows
    // contiguous). Only the top level is kept: a level that is created but never filled would sample garbage.
    virtual VNResultEnum CreateFromPixels(uint32_t width, uint32_t height, int32_t compression,
                                          const void* data, uint32_t size) = 0;

    uint32_t GetWidth() const { return mWidth; }
    uint32_t GetHeight() const { return mHeight; }
    Render* GetRender() const { return mRender; }
    // The Render is going away: this object must no longer reach it.
    void DetachRender() { mRender = nullptr; }

    // The hit mask: bit x + y × width, least significant bit first; empty for targets and dynamic textures.
    std::vector<uint8_t>& GetHitBits()
    {
        EnsureFilled();
        return mHitBits;
    }

protected:
    friend class TextureFills;
    bool mFillPending = false;
    Render* mRender;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    std::vector<uint8_t> mHitBits;
};

} // namespace render
