#include "tools/demodata/ImageEncoders.h"

#include <png.h>

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace demodata
{
namespace
{

void PngWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void PngFlush(png_structp) {}

} // namespace

Bytes EncodePng(const Canvas& image)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    png_set_IHDR(png, info, image.Width(), image.Height(), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < image.Height(); ++y)
    {
        auto* row = reinterpret_cast<png_bytep>(const_cast<Rgba*>(&image.At(0, y)));
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpeg(const Canvas& image, int quality)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.Width()) * 3);
    for (int y = 0; y < image.Height(); ++y)
    {
        for (int x = 0; x < image.Width(); ++x)
        {
            const Rgba& p = image.At(x, y);
            row[x * 3] = p.r;
            row[x * 3 + 1] = p.g;
            row[x * 3 + 2] = p.b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

Bytes EncodeTga(const Canvas& image)
{
    ByteWriter w;
    w.U8(0); // no image id
    w.U8(0); // no colour map
    w.U8(2); // uncompressed true colour
    w.Raw("\0\0\0\0\0", 5);
    w.U16(0);
    w.U16(0);
    w.U16(static_cast<std::uint16_t>(image.Width()));
    w.U16(static_cast<std::uint16_t>(image.Height()));
    w.U8(32);
    w.U8(0x28); // 8 alpha bits, origin at the top left
    for (const Rgba& p : image.Pixels())
    {
        w.U8(p.b);
        w.U8(p.g);
        w.U8(p.r);
        w.U8(p.a);
    }
    return w.Take();
}

Bytes EncodeBmp(const Canvas& image)
{
    int rowSize = (image.Width() * 3 + 3) & ~3;
    std::uint32_t dataSize = static_cast<std::uint32_t>(rowSize) * image.Height();
    ByteWriter w;
    w.Text("BM");
    w.U32(54 + dataSize);
    w.U32(0);
    w.U32(54);
    w.U32(40);
    w.U32(static_cast<std::uint32_t>(image.Width()));
    w.U32(static_cast<std::uint32_t>(image.Height())); // positive: rows stored bottom-up
    w.U16(1);
    w.U16(24);
    w.U32(0);
    w.U32(dataSize);
    w.U32(2835);
    w.U32(2835);
    w.U32(0);
    w.U32(0);
    for (int y = image.Height() - 1; y >= 0; --y)
    {
        for (int x = 0; x < image.Width(); ++x)
        {
            const Rgba& p = image.At(x, y);
            w.U8(p.b);
            w.U8(p.g);
            w.U8(p.r);
        }
        for (int pad = image.Width() * 3; pad < rowSize; ++pad)
            w.U8(0);
    }
    return w.Take();
}

Bytes EncodeGif(const Canvas& image)
{
    // Palette in order of first appearance keeps the output stable.
    std::vector<Rgba> palette;
    std::map<std::uint32_t, int> lookup;
    std::vector<std::uint8_t> indices;
    indices.reserve(image.Pixels().size());
    for (const Rgba& p : image.Pixels())
    {
        std::uint32_t key = (p.r << 16) | (p.g << 8) | p.b;
        auto it = lookup.find(key);
        int index;
        if (it != lookup.end())
        {
            index = it->second;
        }
        else if (palette.size() < 256)
        {
            index = static_cast<int>(palette.size());
            palette.push_back(p);
            lookup[key] = index;
        }
        else
        {
            int best = 0, bestD = 1 << 30;
            for (std::size_t i = 0; i < palette.size(); ++i)
            {
                int dr = palette[i].r - p.r, dg = palette[i].g - p.g, db = palette[i].b - p.b;
                int d = dr * dr + dg * dg + db * db;
                if (d < bestD)
                {
                    bestD = d;
                    best = static_cast<int>(i);
                }
            }
            index = best;
        }
        indices.push_back(static_cast<std::uint8_t>(index));
    }
    const int bits = 8;
    ByteWriter w;
    w.Text("GIF89a");
    w.U16(static_cast<std::uint16_t>(image.Width()));
    w.U16(static_cast<std::uint16_t>(image.Height()));
    w.U8(0xF0 | (bits - 1)); // global colour table of 256 entries
    w.U8(0);
    w.U8(0);
    for (int i = 0; i < 256; ++i)
    {
        Rgba c = i < static_cast<int>(palette.size()) ? palette[i] : Rgba{};
        w.U8(c.r);
        w.U8(c.g);
        w.U8(c.b);
    }
    w.U8(0x2C);
    w.U16(0);
    w.U16(0);
    w.U16(static_cast<std::uint16_t>(image.Width()));
    w.U16(static_cast<std::uint16_t>(image.Height()));
    w.U8(0);
    w.U8(bits);

    // LZW with a growing code size and a reset when the table is full.
    Bytes packed;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    const int clearCode = 1 << bits, endCode = clearCode + 1;
    int codeSize = bits + 1, nextCode = endCode + 1;
    auto emit = [&](int code)
    {
        bitBuffer |= static_cast<std::uint32_t>(code) << bitCount;
        bitCount += codeSize;
        while (bitCount >= 8)
        {
            packed.push_back(bitBuffer & 0xFF);
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };
    std::map<std::uint32_t, int> table; // (prefix code << 8 | byte) -> code
    emit(clearCode);
    int prefix = -1;
    for (std::uint8_t k : indices)
    {
        if (prefix < 0)
        {
            prefix = k;
            continue;
        }
        std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | k;
        auto it = table.find(key);
        if (it != table.end())
        {
            prefix = it->second;
            continue;
        }
        emit(prefix);
        if (nextCode < 4096)
        {
            table[key] = nextCode++;
            if (nextCode > (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        else
        {
            emit(clearCode);
            table.clear();
            codeSize = bits + 1;
            nextCode = endCode + 1;
        }
        prefix = k;
    }
    if (prefix >= 0)
        emit(prefix);
    emit(endCode);
    if (bitCount > 0)
        packed.push_back(bitBuffer & 0xFF);
    for (std::size_t at = 0; at < packed.size(); at += 255)
    {
        std::size_t n = std::min<std::size_t>(255, packed.size() - at);
        w.U8(static_cast<std::uint8_t>(n));
        w.Raw(packed.data() + at, n);
    }
    w.U8(0);
    w.U8(0x3B);
    return w.Take();
}

} // namespace demodata
