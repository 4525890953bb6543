// Channel compression: raw, PackBits, ZIP and ZIP with prediction, and their damaged forms.

#include "Core/Psd/PsdWriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace psdtest;

namespace
{

std::vector<uint8_t> noise(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = (i / 5) % 3 == 0 ? uint8_t(rng()) : uint8_t(i / 7); // runs and literals
    return v;
}

// A document of odd width with one layer of four channels, merged and layer data both
// compressed with `method`.
Document compressed(int method, uint16_t depth)
{
    const int w = 7, h = 5;
    const size_t plane = size_t(w * h) * (depth == 16 ? 2 : 1);
    Document d;
    d.width = w;
    d.height = h;
    d.depth = depth;
    d.channels = 4;
    d.mergedMethod = method;
    for (unsigned c = 0; c < 4; ++c)
        d.merged.push_back(noise(plane, c + 1));
    Layer l;
    l.top = 1;
    l.left = 2;
    l.bottom = 1 + h;
    l.right = 2 + w;
    int16_t ids[] = {-1, 0, 1, 2};
    for (unsigned c = 0; c < 4; ++c)
    {
        Channel ch;
        ch.id = ids[c];
        ch.plane = noise(plane, 10 + c);
        ch.method = method;
        l.channels.push_back(ch);
    }
    d.layers.push_back(l);
    d.negateCount = true;
    return d;
}

TEST(PsdImage, CompressionMethodsDecodeAlike)
{
    for (uint16_t depth : {8, 16})
    {
        Loaded raw(write(compressed(0, depth)));
        ASSERT_EQ(raw.status, PSDR_OK);
        const size_t n = 7 * 5;
        for (int method : {1, 2, 3})
        {
            Loaded other(write(compressed(method, depth)));
            ASSERT_EQ(other.status, PSDR_OK) << "method " << method << " depth " << depth;
            for (size_t i = 0; i < n; ++i)
            {
                ASSERT_EQ(other.doc->merged_image[i], raw.doc->merged_image[i])
                    << method << "/" << depth << " @" << i;
                ASSERT_EQ(other.doc->layers[0].pixels[i], raw.doc->layers[0].pixels[i])
                    << method << "/" << depth;
            }
        }
    }
}

// Layer channel data written by hand (compression word added by the writer).
Document handLayer(int method, std::vector<uint8_t> data, int w = 4, int h = 2)
{
    Document d;
    d.width = w;
    d.height = h;
    d.channels = 3;
    Layer l;
    l.bottom = h;
    l.right = w;
    Channel ch;
    ch.id = 0;
    ch.method = method;
    ch.override = std::move(data);
    ch.overrideSet = true;
    l.channels.push_back(ch);
    d.layers.push_back(l);
    return d;
}

uint32_t red(const psdr_document* doc, int i)
{
    return (doc->layers[0].pixels[i] >> 16) & 0xFF;
}

TEST(PsdImage, PackBitsEdges)
{
    struct Case
    {
        const char* what;
        std::vector<uint8_t> data;  // row table (two rows) and runs
        std::vector<uint32_t> reds; // eight pixels, 4 x 2
    } cases[] = {
        {"literal and repeat", {0, 5, 0, 2, 1, 9, 8, 0xFF, 7, 0xFD, 6}, {9, 8, 7, 7, 6, 6, 6, 6}},
        {"128 is a no-operation", {0, 5, 0, 2, 128, 0xFD, 3, 128, 1, 0xFD, 4}, {3, 3, 3, 3, 4, 4, 4, 4}},
        {"a repeat longer than the row stops at the row",
         {0, 2, 0, 2, 0x81, 5, 0xFD, 6},
         {5, 5, 5, 5, 6, 6, 6, 6}},
        {"a literal longer than the row stops at the row",
         {0, 7, 0, 2, 5, 1, 2, 3, 4, 5, 6, 0xFD, 6},
         {1, 2, 3, 4, 6, 6, 6, 6}},
        {"a row count beyond the data", {0, 2, 0x7F, 0xFF, 0xFD, 6, 0, 1}, {6, 6, 6, 6, 1, 0, 0, 0}},
        {"data ending inside a literal", {0, 9, 0, 0, 6, 1, 2}, {1, 2, 0, 0, 0, 0, 0, 0}},
        {"a table cut short", {0}, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        Loaded l(write(handLayer(1, c.data)));
        ASSERT_EQ(l.status, PSDR_OK) << c.what;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(red(l.doc, i), c.reds[size_t(i)]) << c.what << " pixel " << i;
    }
}

TEST(PsdImage, RawAndShortChannels)
{
    // Raw data shorter than the plane is zero-filled.
    Loaded a(write(handLayer(0, {1, 2, 3})));
    ASSERT_EQ(a.status, PSDR_OK);
    EXPECT_EQ(red(a.doc, 2), 3u);
    EXPECT_EQ(red(a.doc, 7), 0u);

    Loaded b(write(handLayer(4, {1, 2, 3})));
    EXPECT_EQ(b.status, PSDR_ERR_COMPRESSION);

    // ZIP data cut short fail to inflate.
    std::vector<uint8_t> zip = deflate(std::vector<uint8_t>(8, 5));
    zip.resize(zip.size() / 2);
    Loaded c(write(handLayer(2, zip)));
    EXPECT_EQ(c.status, PSDR_ERR_INFLATE);
    Loaded d(write(handLayer(3, {1, 2, 3, 4})));
    EXPECT_EQ(d.status, PSDR_ERR_INFLATE);

    // A merged image cut short of its ZIP data fails the same way.
    Document m = compressed(2, 8);
    std::vector<uint8_t> bytes = write(m);
    bytes.resize(bytes.size() - 20);
    Loaded e(bytes);
    EXPECT_EQ(e.status, PSDR_ERR_INFLATE);

    // A raw merged image cut short keeps what is there.
    Document r = compressed(0, 8);
    bytes = write(r);
    bytes.resize(bytes.size() - 10);
    Loaded f(bytes);
    ASSERT_EQ(f.status, PSDR_OK);
    EXPECT_EQ(f.doc->merged_image[34] >> 24, 0u) << "the missing transparency bytes read as zero";
}

TEST(PsdImage, InflateHelpers)
{
    std::vector<uint8_t> plain = noise(300, 3);
    std::vector<uint8_t> z = deflate(plain);
    std::vector<uint8_t> out(300);
    EXPECT_EQ(psdr_inflate(z.data(), int64_t(z.size()), out.data(), 300), PSDR_OK);
    EXPECT_EQ(out, plain);
    // Output smaller than the stream: success with the output full.
    EXPECT_EQ(psdr_inflate(z.data(), int64_t(z.size()), out.data(), 100), PSDR_OK);
    EXPECT_EQ(psdr_inflate(z.data(), 5, out.data(), 300), PSDR_ERR_INFLATE);
    EXPECT_EQ(psdr_inflate(nullptr, 0, out.data(), 300), PSDR_ERR_INFLATE);

    // Prediction: 16-bit samples carry from the low byte into the high byte.
    std::vector<uint8_t> rows = {0x00, 0xFF, 0x00, 0x01, 0x12, 0x34, 0xFF, 0xFF};
    std::vector<uint8_t> zr = deflate(rows);
    std::vector<uint8_t> got(8);
    ASSERT_EQ(psdr_inflate_predicted(zr.data(), int64_t(zr.size()), got.data(), 8, 2, 16), PSDR_OK);
    EXPECT_EQ(got, (std::vector<uint8_t>{0x00, 0xFF, 0x01, 0x00, 0x12, 0x34, 0x12, 0x33}));
    ASSERT_EQ(psdr_inflate_predicted(zr.data(), int64_t(zr.size()), got.data(), 8, 4, 8), PSDR_OK);
    EXPECT_EQ(got, (std::vector<uint8_t>{0x00, 0xFF, 0xFF, 0x00, 0x12, 0x46, 0x45, 0x44}));
}

} // namespace
