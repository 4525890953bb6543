// DirectDraw Surface reader: the header is checked against the data before anything is copied, and DXT blocks
// are decoded only as far as their alpha for the hit mask.
#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"

#include <cstring>

namespace render
{
namespace
{

constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kDataOffset = 128;
constexpr uint32_t kFlagFourCC = 0x4;
constexpr uint32_t kFlagRGB = 0x40;

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint32_t BlockBytes(int32_t compression)
{
    return compression == ImageDXT1 ? 8u : 16u;
}

// Bytes of one mip level of w × h in the format (blocks round up: a 5-wide level holds two block columns).
uint64_t LevelSize(uint64_t w, uint64_t h, int32_t compression)
{
    if (compression == ImageUncompressed)
        return w * h * 4u;
    return ((w + 3) / 4) * ((h + 3) / 4) * BlockBytes(compression);
}

// Alpha of the 16 pixels of a block, row by row.
void BlockAlpha(const uint8_t* block, int32_t compression, uint8_t alpha[16])
{
    if (compression == ImageDXT1)
    {
        const uint32_t c0 = block[0] | block[1] << 8;
        const uint32_t c1 = block[2] | block[3] << 8;
        const uint32_t indices = ReadU32(block + 4);
        for (int k = 0; k < 16; ++k)
            alpha[k] = (c0 <= c1 && ((indices >> (2 * k)) & 3u) == 3u) ? 0 : 255;
    }
    else if (compression == ImageDXT3)
    {
        for (int k = 0; k < 16; ++k)
        {
            const uint32_t nibble = (block[k / 2] >> ((k & 1) * 4)) & 0xFu;
            alpha[k] = static_cast<uint8_t>(nibble * 17u);
        }
    }
    else
    {
        const uint32_t a0 = block[0];
        const uint32_t a1 = block[1];
        uint32_t table[8] = {a0, a1, 0, 0, 0, 0, 0, 0};
        if (a0 > a1)
            for (uint32_t i = 1; i < 7; ++i)
                table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        else
        {
            for (uint32_t i = 1; i < 5; ++i)
                table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
            table[6] = 0;
            table[7] = 255;
        }
        uint64_t bits = 0;
        for (int i = 0; i < 6; ++i)
            bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
        for (int k = 0; k < 16; ++k)
            alpha[k] = static_cast<uint8_t>(table[(bits >> (3 * k)) & 7u]);
    }
}

} // namespace

VNResultEnum ImageDataDDS::Load(base::Stream* stream, const wchar_t*)
{
    if (!stream)
        return VN_FAIL;
    mStream = stream;
    uint8_t magic[4] = {};
    if (stream->Read(magic, 4) != 4 || std::memcmp(magic, "DDS ", 4) != 0)
        return VN_FAIL;
    uint8_t header[kHeaderSize] = {};
    if (stream->Read(header, kHeaderSize) != kHeaderSize)
        return VN_FAIL;
    // Header offsets are the file offsets less the 4-byte magic.
    const uint32_t height = ReadU32(header + 8);
    const uint32_t width = ReadU32(header + 12);
    uint32_t mips = ReadU32(header + 24);
    const uint32_t flags = ReadU32(header + 76);
    const uint32_t bitCount = ReadU32(header + 84);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return VN_FAIL;
    if (mips == 0)
        mips = 1;
    uint32_t possible = 1;
    for (uint32_t side = width > height ? width : height; side > 1; side >>= 1)
        ++possible;
    if (mips > possible)
        return VN_FAIL;

    if (flags & kFlagFourCC)
    {
        const uint8_t* code = header + 80;
        if (std::memcmp(code, "DXT1", 4) == 0)
            mCompression = ImageDXT1;
        else if (std::memcmp(code, "DXT3", 4) == 0)
            mCompression = ImageDXT3;
        else if (std::memcmp(code, "DXT5", 4) == 0)
            mCompression = ImageDXT5;
        else
            return VN_FAIL;
    }
    else
    {
        // Only 32-bit pixels are read; wider ones would not fit the texture's level.
        if ((flags & kFlagRGB) && bitCount != 32)
            return VN_FAIL;
        mCompression = ImageUncompressed;
    }

    // Every declared level must be present: a short file is refused here rather than read past its end.
    const uint32_t size = stream->Size();
    if (size < kDataOffset)
        return VN_FAIL;
    mDataSize = size - kDataOffset;
    uint64_t needed = 0;
    for (uint32_t level = 0; level < mips; ++level)
    {
        const uint64_t w = width >> level ? width >> level : 1;
        const uint64_t h = height >> level ? height >> level : 1;
        needed += LevelSize(w, h, mCompression);
    }
    if (needed > mDataSize)
        return VN_FAIL;

    mWidth = static_cast<int32_t>(width);
    mHeight = static_cast<int32_t>(height);
    mBytesPerPixel = 4;
    mMipLevels = static_cast<int32_t>(mips);
    return VN_OK;
}

VNResultEnum ImageDataDDS::CopyPixels(uint32_t pitch, void* destination, HitMask* mask)
{
    if (!mStream || !destination || mWidth <= 0 || mHeight <= 0)
        return VN_FAIL;
    const auto width = static_cast<uint32_t>(mWidth);
    const auto height = static_cast<uint32_t>(mHeight);
    const bool compressed = mCompression != ImageUncompressed;
    const uint32_t rowBytes = compressed ? (width + 3) / 4 * BlockBytes(mCompression) : width * 4u;
    const uint32_t rows = compressed ? (height + 3) / 4 : height;
    if (pitch < rowBytes)
        return VN_FAIL;
    // Only the top level goes into the texture, whatever follows it in the file.
    if (mStream->Seek(static_cast<int>(kDataOffset), base::kSeekBegin) != kDataOffset)
        return VN_FAIL;
    auto* out = static_cast<uint8_t*>(destination);
    if (pitch == rowBytes)
    {
        if (mStream->Read(out, rowBytes * rows) != rowBytes * rows)
            return VN_FAIL;
    }
    else
        for (uint32_t r = 0; r < rows; ++r)
            if (mStream->Read(out + static_cast<size_t>(r) * pitch, rowBytes) != rowBytes)
                return VN_FAIL;

    if (!mask)
        return VN_OK;
    // Fresh mask: pixels no block covers stay clear.
    mask->Resize(width * height, false);
    if (!compressed)
    {
        for (uint32_t y = 0; y < height; ++y)
        {
            const uint8_t* row = out + static_cast<size_t>(y) * pitch;
            for (uint32_t x = 0; x < width; ++x)
                if (row[x * 4 + 3] > kDDSAlphaAbove)
                    mask->Set(true, x + y * width);
        }
        return VN_OK;
    }
    // Block rows are as long as the data stores them (partial blocks included), so a width that is not a
    // multiple of 4 still finds each block where it is.
    const uint32_t blocksX = (width + 3) / 4;
    const uint32_t blockBytes = BlockBytes(mCompression);
    uint8_t alpha[16];
    for (uint32_t by = 0; by < rows; ++by)
        for (uint32_t bx = 0; bx < blocksX; ++bx)
        {
            BlockAlpha(out + static_cast<size_t>(by) * pitch + static_cast<size_t>(bx) * blockBytes,
                       mCompression, alpha);
            for (uint32_t j = 0; j < 4; ++j)
                for (uint32_t i = 0; i < 4; ++i)
                {
                    const uint32_t x = bx * 4 + i;
                    const uint32_t y = by * 4 + j;
                    if (x < width && y < height && alpha[j * 4 + i] > kDDSAlphaAbove)
                        mask->Set(true, x + y * width);
                }
        }
    return VN_OK;
}

} // namespace render
