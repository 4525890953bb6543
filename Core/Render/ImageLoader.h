#pragma once

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Result.h"
#include "Core/Base/Singleton.h"

#include <cstdint>
#include <memory>

namespace base
{
class Stream;
}

namespace render
{

class HitMask;

// Compression of decoded pixel data (the texture's format).
enum ImageCompression : int32_t
{
    ImageUncompressed = 0,
    ImageDXT1 = 1,
    ImageDXT3 = 2,
    ImageDXT5 = 3,
};

// A decoded image: Load reads the header, CopyPixels later fills the top level of a texture and its hit mask.
// The stream belongs to the caller and must stay open until CopyPixels has run.
class ImageData
{
public:
    ImageData() = default;
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    virtual ~ImageData() = default;

    virtual VNResultEnum Load(base::Stream* stream, const wchar_t* extension) = 0;
    // Writes the top level, rows pitch bytes apart (rows of 4 × 4 blocks when compressed), and sets the mask
    // (sized width × height by the caller) where pixels are solid.
    virtual VNResultEnum CopyPixels(uint32_t pitch, void* destination, HitMask* mask) = 0;
    // Bytes of the top level as 32-bit pixels.
    virtual uint32_t GetDataSize() const;
    // Whether CopyPixels may run on another thread than Load (it needs neither the caller's stream nor a
    // library that is not thread-safe).
    virtual bool CanCopyOffThread() const { return false; }

    int32_t GetWidth() const { return mWidth; }
    int32_t GetHeight() const { return mHeight; }
    int32_t GetBytesPerPixel() const { return mBytesPerPixel; }
    int32_t GetMipLevels() const { return mMipLevels; }
    int32_t GetCompression() const { return mCompression; }

protected:
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mBytesPerPixel = 4;
    int32_t mMipLevels = 1;
    int32_t mCompression = ImageUncompressed;
};

// DirectDraw Surface files: 32-bit B, G, R, A pixels or DXT1/3/5 blocks, kept compressed.
class ImageDataDDS : public ImageData
{
public:
    // Sides above this are refused: no texture of the game comes near, and it bounds every size computation.
    static constexpr uint32_t kMaxSide = 16384;

    VNResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    VNResultEnum CopyPixels(uint32_t pitch, void* destination, HitMask* mask) override;

private:
    base::Stream* mStream = nullptr;
    uint32_t mDataSize = 0;
};

// BMP, GIF, JPEG, PNG and TGA through the image library; the library holds the pixels from Load to
// CopyPixels.
class ImageDataDevil : public ImageData
{
public:
    // Releases the library's image when CopyPixels never ran.
    ~ImageDataDevil() override;
    VNResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    VNResultEnum CopyPixels(uint32_t pitch, void* destination, HitMask* mask) override;

private:
    void ReleaseLibrary();

    base::Stream* mStream = nullptr;
    bool mOriginLowerLeft = false;
    const uint8_t* mPixels = nullptr;
    uint32_t mImageName = 0;
    bool mHoldsLibrary = false;
};

// Plain PNG files (8-bit RGB or RGBA without a transparency chunk) decoded straight into the texture's rows;
// Load refuses every other PNG, which the loader then gives to the image library, and a file whose chunks
// are cut short or fail their checksums. The pixels and mask are the image library's for the same file.
class ImageDataPng : public ImageData
{
public:
    ImageDataPng();
    ~ImageDataPng() override;
    VNResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    VNResultEnum CopyPixels(uint32_t pitch, void* destination, HitMask* mask) override;
    // The file's bytes are its own, and libpng keeps no state between images.
    bool CanCopyOffThread() const override { return true; }

private:
    struct Decoder;
    std::unique_ptr<Decoder> mDecoder;
};

// Raw 32-bit 0xAARRGGBB pixels of a layer, rows top to bottom; the size comes from the layer's info.
class ImageDataRaw : public ImageData
{
public:
    explicit ImageDataRaw(const base::ImageInfo& info) : mInfo(info) {}
    VNResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    VNResultEnum CopyPixels(uint32_t pitch, void* destination, HitMask* mask) override;

private:
    base::ImageInfo mInfo;
    base::Stream* mStream = nullptr;
};

// Picks the decoder of an image by its extension (or raw pixels by its info) and loads its header.
class ImageLoader : public base::Singletone<ImageLoader>
{
public:
    // A new decoder owned by the caller, or null for a missing or unknown extension or a failed Load.
    // The extension is matched case-sensitively (".dds", ".bmp", ".gif", ".jpg", ".png", ".tga").
    ImageData* Load(base::Stream* stream, const wchar_t* extension, const base::ImageInfo* info);
};

// Solid-pixel thresholds of the hit mask per source.
inline constexpr uint32_t kDDSAlphaAbove = 10;          // DDS: alpha > 10
inline constexpr uint32_t kDevilAlphaMin = 50;          // library images: alpha ≥ 50
inline constexpr uint32_t kRawPixelAbove = 0x09FFFFFFu; // raw pixels: value > 0x09FFFFFF (alpha ≥ 10)

} // namespace render
