// Plain PNG images (8-bit RGB or RGBA, no transparency chunk) decoded with libpng straight into the texture's
// rows. The image library gives the same pixels for these, but through a buffer of its own, a conversion pass
// and a start-up per image; every other PNG still goes to it.
#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <memory>
#include <cstring>
#include <vector>

namespace render
{
namespace
{
// libpng reports errors by longjmp: these keep the jump target in frames without objects to destroy.
bool ReadHeader(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    return true;
}

// Rows come out as the texture keeps them: bytes B, G, R, A, opaque where the file has no alpha.
bool SetTransforms(png_structp png, png_infop info, bool addAlpha)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_bgr(png);
    if (addAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    (void)png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

// Every chunk whole and matching its checksum, up to the end chunk. The pixels are decoded only when the
// texture is filled, perhaps later; a file cut short or damaged is refused now, when the image library would
// have refused it.
bool ChunksIntact(const std::vector<uint8_t>& bytes)
{
    size_t at = 8;
    while (bytes.size() - at >= 12)
    {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t length = static_cast<uint32_t>(chunk[0]) << 24 |
                                static_cast<uint32_t>(chunk[1]) << 16 | static_cast<uint32_t>(chunk[2]) << 8 |
                                chunk[3];
        if (length > bytes.size() - at - 12)
            return false;
        const uint8_t* end = chunk + 8 + length;
        const uint32_t stored = static_cast<uint32_t>(end[0]) << 24 | static_cast<uint32_t>(end[1]) << 16 |
                                static_cast<uint32_t>(end[2]) << 8 | end[3];
        if (crc32(0, chunk + 4, length + 4) != stored)
            return false;
        if (std::memcmp(chunk + 4, "IEND", 4) == 0)
            return true;
        at += 12 + static_cast<size_t>(length);
    }
    return false;
}

bool ReadRows(png_structp png, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}
} // namespace

struct ImageDataPng::Decoder
{
    std::vector<uint8_t> bytes;
    size_t offset = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~Decoder()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }

    static void Read(png_structp png, png_bytep out, png_size_t count)
    {
        auto* self = static_cast<Decoder*>(png_get_io_ptr(png));
        if (count > self->bytes.size() - self->offset)
            png_error(png, "truncated");
        std::memcpy(out, self->bytes.data() + self->offset, count);
        self->offset += count;
    }

    // libpng reports through longjmp; a warning is no failure.
    static void Warn(png_structp, png_const_charp) {}
};

ImageDataPng::ImageDataPng() = default;
ImageDataPng::~ImageDataPng() = default;

VNResultEnum ImageDataPng::Load(base::Stream* stream, const wchar_t*)
{
    if (!stream)
        return VN_FAIL;
    auto decoder = std::make_unique<Decoder>();
    const unsigned size = stream->Size();
    if (size < 8)
        return VN_FAIL;
    decoder->bytes.resize(size);
    if (stream->Read(decoder->bytes.data(), size) != size || png_sig_cmp(decoder->bytes.data(), 0, 8) != 0 ||
        !ChunksIntact(decoder->bytes))
        return VN_FAIL;
    decoder->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, &Decoder::Warn);
    if (!decoder->png)
        return VN_FAIL;
    decoder->info = png_create_info_struct(decoder->png);
    if (!decoder->info)
        return VN_FAIL;
    png_structp png = decoder->png;
    png_infop info = decoder->info;
    png_set_read_fn(png, decoder.get(), &Decoder::Read);
    if (!ReadHeader(png, info))
        return VN_FAIL;
    const int colorType = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) != 8 || png_get_valid(png, info, PNG_INFO_tRNS) != 0 ||
        (colorType != PNG_COLOR_TYPE_RGB && colorType != PNG_COLOR_TYPE_RGB_ALPHA))
        return VN_FAIL;
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu ||
        static_cast<uint64_t>(width) * height * 4u > 0xFFFFFFFFull)
        return VN_FAIL;
    if (!SetTransforms(png, info, colorType == PNG_COLOR_TYPE_RGB))
        return VN_FAIL;
    mWidth = static_cast<int32_t>(width);
    mHeight = static_cast<int32_t>(height);
    mBytesPerPixel = colorType == PNG_COLOR_TYPE_RGB ? 3 : 4;
    mDecoder = std::move(decoder);
    return VN_OK;
}

VNResultEnum ImageDataPng::CopyPixels(uint32_t pitch, void* destination, HitMask* mask)
{
    const auto width = static_cast<uint32_t>(mWidth);
    const auto height = static_cast<uint32_t>(mHeight);
    if (!mDecoder || !destination || pitch < width * 4u)
        return VN_FAIL;
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = static_cast<png_bytep>(destination) + static_cast<size_t>(y) * pitch;
    const bool read = ReadRows(mDecoder->png, rows.data());
    mDecoder.reset();
    if (!read)
        return VN_FAIL;
    if (!mask)
        return VN_OK;
    if (mask->GetCount() < width * height)
        mask->Resize(width * height, false);
    for (uint32_t y = 0; y < height; ++y)
    {
        const uint8_t* row = rows[y];
        for (uint32_t x = 0; x < width; ++x)
            if (row[x * 4u + 3u] >= kDevilAlphaMin)
                mask->Set(true, x + y * width);
    }
    return VN_OK;
}

} // namespace render
