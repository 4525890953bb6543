#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Image/ImageTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

using namespace render;
using render::test::MakeBMP;
using render::test::MakeDDS;
using render::test::MakeTGA;

namespace
{

struct Decoded
{
    std::unique_ptr<ImageData> data;
    std::vector<uint32_t> pixels;
    HitMask mask;
    VNResultEnum copy = VN_FAIL;
};

// Loads bytes through the loader and copies them into a tight buffer as a texture would.
Decoded Decode(const std::vector<uint8_t>& bytes, const wchar_t* ext, const base::ImageInfo* info = nullptr)
{
    Decoded d;
    base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
    d.data.reset(ImageLoader::Instance()->Load(&stream, ext, info));
    if (!d.data)
        return d;
    const uint32_t w = static_cast<uint32_t>(d.data->GetWidth());
    const uint32_t h = static_cast<uint32_t>(d.data->GetHeight());
    uint32_t pitch = w * 4;
    size_t bytesNeeded = static_cast<size_t>(pitch) * h;
    if (d.data->GetCompression() != ImageUncompressed)
    {
        pitch = (w + 3) / 4 * (d.data->GetCompression() == ImageDXT1 ? 8 : 16);
        bytesNeeded = static_cast<size_t>(pitch) * ((h + 3) / 4);
    }
    d.pixels.assign((bytesNeeded + 3) / 4, 0);
    d.mask.Resize(w * h, false);
    d.copy = d.data->CopyPixels(pitch, d.pixels.data(), &d.mask);
    return d;
}

std::vector<uint8_t> Bytes(std::initializer_list<uint32_t> pixels)
{
    std::vector<uint8_t> out;
    for (uint32_t p : pixels)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(p >> (8 * i)));
    return out;
}

// A PNG of the given colour type and bit depth from unfiltered rows of raw sample bytes, with optional extra
// chunks before the pixels (a transparency chunk).
std::vector<uint8_t> MakePNGOf(uint8_t colorType, uint8_t depth, uint32_t w, uint32_t h,
                               const std::vector<uint8_t>& samples, const std::vector<uint8_t>& trns = {})
{
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto u32 = [](std::vector<uint8_t>& v, uint32_t x)
    {
        for (int s = 24; s >= 0; s -= 8)
            v.push_back(uint8_t(x >> s));
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data)
    {
        u32(out, uint32_t(data.size()));
        std::vector<uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        out.insert(out.end(), body.begin(), body.end());
        u32(out, uint32_t(crc32(0, body.data(), uInt(body.size()))));
    };
    std::vector<uint8_t> header;
    u32(header, w);
    u32(header, h);
    header.insert(header.end(), {depth, colorType, 0, 0, 0});
    chunk("IHDR", header);
    if (!trns.empty())
        chunk("tRNS", trns);
    const size_t rowBytes = samples.size() / h;
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < h; ++y)
    {
        raw.push_back(0);
        raw.insert(raw.end(), samples.begin() + long(y * rowBytes),
                   samples.begin() + long((y + 1) * rowBytes));
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(size);
    compress(packed.data(), &size, raw.data(), uLong(raw.size()));
    packed.resize(size);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

// A whole RGB PNG of w x h pixels (one IDAT chunk), so tests can cut it where the rows are.
std::vector<uint8_t> MakePNG(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> samples;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w * 3; ++x)
            samples.push_back(uint8_t(x * 7 + y));
    return MakePNGOf(2, 8, w, h, samples);
}

} // namespace

TEST(ImageLoader, PicksDecoderByExactExtension)
{
    const auto dds = MakeDDS(1, 1, 1, "", Bytes({0xFF000000}));
    struct Case
    {
        const wchar_t* ext;
        bool loads;
    } cases[] = {{L".dds", true}, {L".DDS", false}, {L".Dds", false}, {L".xyz", false}, {L"", false}};
    for (const Case& c : cases)
    {
        base::MemoryStream stream(dds.data(), static_cast<unsigned>(dds.size()));
        std::unique_ptr<ImageData> data(ImageLoader::Instance()->Load(&stream, c.ext, nullptr));
        EXPECT_EQ(data != nullptr, c.loads) << static_cast<int>(c.ext[0] ? c.ext[1] : '-');
    }
    base::MemoryStream stream(dds.data(), static_cast<unsigned>(dds.size()));
    EXPECT_EQ(ImageLoader::Instance()->Load(&stream, nullptr, nullptr), nullptr);
}

// Solid-pixel thresholds differ per source; each row is one pixel value and whether it must be solid.
TEST(ImageLoader, MaskThresholdPerKind)
{
    struct Case
    {
        const char* kind;
        uint32_t pixel;
        bool solid;
    } cases[] = {
        {"dds", 0x0A000000, false}, {"dds", 0x0B000000, true}, {"dds", 0x00FFFFFF, false},
        {"tga", 0x31FFFFFF, false}, {"tga", 0x32000000, true}, {"tga", 0xFF000000, true},
        {"raw", 0x09FFFFFF, false}, {"raw", 0x0A000000, true}, {"raw", 0x00000000, false},
    };
    for (const Case& c : cases)
    {
        Decoded d;
        base::ImageInfo info(L"layer", 0, 0, 1, 1, 255, 0, true, true, 1.0f);
        if (std::string(c.kind) == "dds")
            d = Decode(MakeDDS(1, 1, 0, "", Bytes({c.pixel})), L".dds");
        else if (std::string(c.kind) == "tga")
            d = Decode(MakeTGA(1, 1, {c.pixel}, true), L".tga");
        else
            d = Decode(Bytes({c.pixel}), L".png", &info); // raw flag wins over the extension
        ASSERT_TRUE(d.data) << c.kind;
        ASSERT_EQ(d.copy, VN_OK) << c.kind;
        EXPECT_EQ(d.mask.Get(0), c.solid ? 1u : 0u) << c.kind << " " << std::hex << c.pixel;
        EXPECT_EQ(d.pixels[0], c.pixel) << c.kind;
    }
}

TEST(ImageLoader, DxtMaskFromBlockAlpha)
{
    struct Case
    {
        const char* code;
        std::vector<uint8_t> block;
        uint32_t solidBits; // bit k: pixel k of the 4 × 4 block is solid
    } cases[] = {
        // DXT1, c0 > c1: four opaque colours whatever the index.
        {"DXT1", {0x00, 0xF8, 0x1F, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFF},
        // DXT1, c0 <= c1: index 3 is transparent (pixels 0-3 use index 3, the rest 0).
        {"DXT1", {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0x00, 0x00, 0x00}, 0xFFF0},
        // DXT3: nibble 0 → 0, nibble 1 → 17 (> 10), first row only.
        {"DXT3", {0x10, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x000A},
        // DXT5, a0 = 255 > a1 = 0: pixel 0 takes index 1 (0), pixel 1 index 6 ((2·255 + 5·0) / 7 = 72), the
        // rest
        // index 0 (255).
        {"DXT5", {255, 0, 0x31, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0xFFFE},
        // DXT5, a0 = 70 > a1 = 0: index 7 is (70 + 0) / 7 = 10, not solid; index 6 is 20, solid.
        {"DXT5", {70, 1, 0x37, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0xFFFE},
        // DXT5, a0 = 0 ≤ a1 = 0: index 6 → 0, index 7 → 255; pixel 0 takes 7, pixel 1 takes 6, the rest 0.
        {"DXT5", {0, 0, 0x37, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x0001},
    };
    for (const Case& c : cases)
    {
        Decoded d = Decode(MakeDDS(4, 4, 1, c.code, c.block), L".dds");
        ASSERT_TRUE(d.data) << c.code;
        ASSERT_EQ(d.copy, VN_OK);
        uint32_t bits = 0;
        for (uint32_t k = 0; k < 16; ++k)
            bits |= d.mask.Get(k) << k;
        EXPECT_EQ(bits, c.solidBits) << c.code;
    }
}

// A width that is not a multiple of 4 stores a partial block column: the second block of a row must be read
// from where the data has it, and its pixels inside the image get their bits.
TEST(ImageLoader, DxtMaskStrideForPartialBlocks)
{
    std::vector<uint8_t> data;
    // Row of blocks 0: block 0 all transparent (DXT3 alpha 0), block 1 all opaque.
    std::vector<uint8_t> clear(16, 0), solid(16, 0);
    for (int i = 0; i < 8; ++i)
        solid[i] = 0xFF;
    data.insert(data.end(), clear.begin(), clear.end());
    data.insert(data.end(), solid.begin(), solid.end());
    // Row of blocks 1: the other way round.
    data.insert(data.end(), solid.begin(), solid.end());
    data.insert(data.end(), clear.begin(), clear.end());
    Decoded d = Decode(MakeDDS(6, 5, 1, "DXT3", data), L".dds");
    ASSERT_TRUE(d.data);
    ASSERT_EQ(d.copy, VN_OK);
    auto bit = [&](uint32_t x, uint32_t y) { return d.mask.Get(x + y * 6); };
    EXPECT_EQ(bit(0, 0), 0u);
    EXPECT_EQ(bit(3, 3), 0u);
    EXPECT_EQ(bit(4, 0), 1u);
    EXPECT_EQ(bit(5, 3), 1u);
    EXPECT_EQ(bit(0, 4), 1u);
    EXPECT_EQ(bit(5, 4), 0u);
}

TEST(ImageLoader, DdsHeaderAndSizeChecks)
{
    const std::vector<uint8_t> px4x4(4 * 4 * 4, 0xFF);
    struct Case
    {
        const char* what;
        std::vector<uint8_t> file;
        bool loads;
        int mips;
    } cases[] = {
        {"plain", MakeDDS(4, 4, 1, "", px4x4), true, 1},
        {"mip count 0 is 1", MakeDDS(4, 4, 0, "", px4x4), true, 1},
        {"data one byte short", MakeDDS(4, 4, 1, "", std::vector<uint8_t>(63, 0)), false, 0},
        {"declared mips missing", MakeDDS(4, 4, 3, "", px4x4), false, 0},
        {"declared mips present", MakeDDS(4, 4, 3, "", std::vector<uint8_t>(64 + 16 + 4, 0)), true, 3},
        {"more mips than sides allow", MakeDDS(4, 4, 4, "", std::vector<uint8_t>(200, 0)), false, 0},
        {"zero width", MakeDDS(0, 4, 1, "", px4x4), false, 0},
        {"huge width", MakeDDS(0x40000000, 0x40000000, 1, "", px4x4), false, 0},
        {"24-bit pixels", MakeDDS(4, 4, 1, "", px4x4, 24), false, 0},
        {"unknown code", MakeDDS(4, 4, 1, "DXT2", px4x4), false, 0},
        {"DXT1 4x4", MakeDDS(4, 4, 1, "DXT1", std::vector<uint8_t>(8, 0)), true, 1},
        {"DXT5 short block", MakeDDS(4, 4, 1, "DXT5", std::vector<uint8_t>(15, 0)), false, 0},
        {"short header",
         []
         {
             auto f = MakeDDS(4, 4, 1, "", {});
             f.pop_back();
             return f;
         }(),
         false, 0},
        {"bad magic",
         []
         {
             auto f = MakeDDS(1, 1, 1, "", std::vector<uint8_t>(4, 0));
             f[3] = 'X';
             return f;
         }(),
         false, 0},
        {"three bytes", {'D', 'D', 'S'}, false, 0},
    };
    for (const Case& c : cases)
    {
        Decoded d = Decode(c.file, L".dds");
        EXPECT_EQ(d.data != nullptr, c.loads) << c.what;
        if (d.data)
        {
            EXPECT_EQ(d.data->GetMipLevels(), c.mips) << c.what;
            EXPECT_EQ(d.copy, VN_OK) << c.what;
        }
    }
}

// A bottom-up image is upright in the texture, and the mask bit of the visible top-left pixel is its own.
TEST(ImageLoader, BottomUpImagesAreUpright)
{
    const std::vector<uint32_t> pixels = {0x00112233, 0xFF445566, 0xFF778899, 0xFFAABBCC};
    for (bool topDown : {true, false})
    {
        Decoded d = Decode(MakeTGA(2, 2, pixels, topDown), L".tga");
        ASSERT_TRUE(d.data);
        ASSERT_EQ(d.copy, VN_OK);
        EXPECT_EQ(d.pixels, pixels) << topDown;
        EXPECT_EQ(d.mask.Get(0), 0u) << topDown;
        EXPECT_EQ(d.mask.Get(3), 1u) << topDown;
    }
    Decoded bmp = Decode(MakeBMP(2, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC}), L".bmp");
    ASSERT_TRUE(bmp.data);
    ASSERT_EQ(bmp.copy, VN_OK);
    EXPECT_EQ(bmp.pixels, (std::vector<uint32_t>{0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC}));
}

// Damaged library images fail in Load and leave the library free for the next image.
TEST(ImageLoader, DamagedLibraryImagesFailCleanly)
{
    const std::vector<uint8_t> junk = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3};
    for (int i = 0; i < 3; ++i)
    {
        Decoded bad = Decode(junk, L".png");
        EXPECT_FALSE(bad.data);
    }
    // Cut inside the pixel rows: the library has its row table by then (it keeps it on this error; the
    // sanitizer runs suppress exactly that).
    const std::vector<uint8_t> whole = MakePNG(64, 64);
    Decoded intact = Decode(whole, L".png");
    ASSERT_TRUE(intact.data);
    EXPECT_EQ(intact.copy, VN_OK);
    for (size_t cut : {whole.size() / 2, whole.size() - 20})
    {
        Decoded truncated = Decode(std::vector<uint8_t>(whole.begin(), whole.begin() + long(cut)), L".png");
        EXPECT_FALSE(truncated.data) << cut;
    }
    Decoded empty = Decode({}, L".tga");
    EXPECT_FALSE(empty.data);
    Decoded good = Decode(MakeTGA(1, 1, {0xFF010203}, true), L".tga");
    ASSERT_TRUE(good.data);
    EXPECT_EQ(good.copy, VN_OK);
    EXPECT_EQ(good.pixels[0], 0xFF010203u);
}

TEST(ImageLoader, RawPixelsNeedTheirSize)
{
    base::ImageInfo info(L"layer", 0, 0, 2, 2, 255, 0, true, true, 1.0f);
    Decoded shortStream = Decode(Bytes({1, 2, 3}), L".raw", &info);
    ASSERT_TRUE(shortStream.data);
    EXPECT_EQ(shortStream.copy, VN_FAIL);
    base::ImageInfo empty(L"layer", 0, 0, 0, 2, 255, 0, true, true, 1.0f);
    EXPECT_FALSE(Decode(Bytes({1}), L".raw", &empty).data);
}

TEST(HitMask, ResizeKeepsOrClears)
{
    HitMask mask;
    mask.Resize(20, false);
    mask.Set(true, 3);
    mask.Set(true, 19);
    mask.Set(true, 20); // outside: ignored
    EXPECT_EQ(mask.Get(3), 1u);
    EXPECT_EQ(mask.Get(19), 1u);
    EXPECT_EQ(mask.GetBits()[0], 0x08);
    mask.Resize(12, true);
    EXPECT_EQ(mask.Get(3), 1u);
    EXPECT_EQ(mask.Get(19), 0u);
    mask.Resize(12, false);
    EXPECT_EQ(mask.Get(3), 0u);
    mask.Set(true, 5);
    mask.Set(false, 5);
    EXPECT_EQ(mask.Get(5), 0u);
    mask.Resize(0, true);
    EXPECT_EQ(mask.GetCount(), 0u);
}

namespace
{
// The same bytes through the image library alone, as every PNG went before.
Decoded DecodeWithLibrary(const std::vector<uint8_t>& bytes)
{
    Decoded d;
    base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
    auto data = std::make_unique<ImageDataDevil>();
    if (data->Load(&stream, L".png") != VN_OK)
        return d;
    const auto w = static_cast<uint32_t>(data->GetWidth());
    const auto h = static_cast<uint32_t>(data->GetHeight());
    d.pixels.assign(static_cast<size_t>(w) * h, 0);
    d.mask.Resize(w * h, false);
    d.copy = data->CopyPixels(w * 4, d.pixels.data(), &d.mask);
    d.data = std::move(data);
    return d;
}
} // namespace

// Plain PNGs take the direct decoder, every other kind the library; either way the texture gets what the
// library alone gave: the same pixels and the same mask (alpha 49 open, 50 solid).
TEST(ImageLoader, PngGivesTheLibrarysPixelsAndMask)
{
    std::vector<uint8_t> rgba;
    for (uint32_t i = 0; i < 6 * 3; ++i)
        rgba.insert(rgba.end(), {uint8_t(i * 13), uint8_t(200 - i), uint8_t(i * 7 + 1),
                                 uint8_t(i == 0   ? 49
                                         : i == 1 ? 50
                                                  : i * 14)});
    std::vector<uint8_t> rgb;
    for (uint32_t i = 0; i < 6 * 3; ++i)
        rgb.insert(rgb.end(), {uint8_t(i * 13), uint8_t(200 - i), uint8_t(i * 7 + 1)});
    std::vector<uint8_t> gray;
    for (uint32_t i = 0; i < 6 * 3; ++i)
        gray.push_back(uint8_t(i * 11));
    std::vector<uint8_t> rgba16;
    for (uint8_t b : rgba)
        rgba16.insert(rgba16.end(), {b, uint8_t(255 - b)});
    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
        bool direct;
    };
    const Case cases[] = {
        {"rgba", MakePNGOf(6, 8, 6, 3, rgba), true},
        {"rgb", MakePNGOf(2, 8, 6, 3, rgb), true},
        {"rgb with a transparent colour", MakePNGOf(2, 8, 6, 3, rgb, {0, 13, 0, 200, 0, 1}), false},
        {"gray", MakePNGOf(0, 8, 6, 3, gray), false},
        {"rgba of 16 bits", MakePNGOf(6, 16, 6, 3, rgba16), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Decoded expected = DecodeWithLibrary(c.bytes);
        ASSERT_TRUE(expected.data);
        ASSERT_EQ(expected.copy, VN_OK);
        const Decoded got = Decode(c.bytes, L".png");
        ASSERT_TRUE(got.data);
        ASSERT_EQ(got.copy, VN_OK);
        EXPECT_EQ(dynamic_cast<ImageDataPng*>(got.data.get()) != nullptr, c.direct);
        EXPECT_EQ(got.data->CanCopyOffThread(), c.direct);
        EXPECT_EQ(got.data->GetWidth(), 6);
        EXPECT_EQ(got.data->GetHeight(), 3);
        EXPECT_EQ(got.pixels, expected.pixels);
        for (uint32_t i = 0; i < 18; ++i)
            EXPECT_EQ(got.mask.Get(i), expected.mask.Get(i)) << i;
    }
    // The threshold itself, on the direct road.
    const Decoded plain = Decode(cases[0].bytes, L".png");
    EXPECT_EQ(plain.mask.Get(0), 0u);
    EXPECT_EQ(plain.mask.Get(1), 1u);
}

// A plain PNG cut short or failing a checksum never takes the direct road, whose decoding may come later:
// the library reads it at once, and the load ends as it did before, with its pixels or refused.
TEST(ImageLoader, DamagedPlainPngGoesToTheLibrary)
{
    const std::vector<uint8_t> whole = MakePNG(32, 32);
    ASSERT_TRUE(dynamic_cast<ImageDataPng*>(Decode(whole, L".png").data.get()));
    std::vector<uint8_t> flipped = whole;
    flipped[flipped.size() / 2] ^= 0x20;
    std::vector<uint8_t> noEnd(whole.begin(), whole.end() - 12);
    std::vector<uint8_t> cut(whole.begin(), whole.end() - 20);
    for (const std::vector<uint8_t>& bad : {flipped, noEnd, cut})
    {
        const Decoded got = Decode(bad, L".png");
        const Decoded library = DecodeWithLibrary(bad);
        EXPECT_EQ(dynamic_cast<ImageDataPng*>(got.data.get()), nullptr);
        ASSERT_EQ(got.data != nullptr, library.data != nullptr);
        EXPECT_EQ(got.pixels, library.pixels);
    }
}
