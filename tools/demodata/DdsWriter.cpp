#include "tools/demodata/DdsWriter.h"

#include <algorithm>
#include <cstdlib>

namespace demodata
{
namespace
{

std::uint16_t To565(const Rgba& c)
{
    return static_cast<std::uint16_t>(((c.r * 31 + 127) / 255) << 11 | ((c.g * 63 + 127) / 255) << 5 |
                                      ((c.b * 31 + 127) / 255));
}

Rgba From565(std::uint16_t v)
{
    int r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return Rgba{static_cast<std::uint8_t>(r << 3 | r >> 2), static_cast<std::uint8_t>(g << 2 | g >> 4),
                static_cast<std::uint8_t>(b << 3 | b >> 2), 255};
}

int Distance(const Rgba& a, const Rgba& b)
{
    int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

// Colour block: end points are the darkest and brightest opaque pixels, which is plenty
// for flat-shaded demo art. With `punchThrough`, pixels below half alpha use index 3.
void ColourBlock(const Rgba (&px)[16], bool punchThrough, ByteWriter& w)
{
    bool anyTransparent = false;
    int lo = -1, hi = -1, loL = 1 << 30, hiL = -1;
    for (int i = 0; i < 16; ++i)
    {
        if (punchThrough && px[i].a < 128)
        {
            anyTransparent = true;
            continue;
        }
        int l = px[i].r * 3 + px[i].g * 6 + px[i].b;
        if (l < loL)
        {
            loL = l;
            lo = i;
        }
        if (l > hiL)
        {
            hiL = l;
            hi = i;
        }
    }
    std::uint16_t c0 = lo >= 0 ? To565(px[hi]) : 0, c1 = lo >= 0 ? To565(px[lo]) : 0;
    bool threeColour = anyTransparent;
    if (threeColour ? c0 > c1 : c0 < c1)
        std::swap(c0, c1);
    if (!threeColour && c0 == c1)
    {
        // Equal end points would switch to three-colour mode; keep four-colour mode.
        if (c1 > 0)
            --c1;
        else
            ++c0;
    }
    Rgba pal[4];
    pal[0] = From565(c0);
    pal[1] = From565(c1);
    auto mix = [](const Rgba& a, const Rgba& b, int wa, int wb, int d)
    {
        return Rgba{static_cast<std::uint8_t>((a.r * wa + b.r * wb) / d),
                    static_cast<std::uint8_t>((a.g * wa + b.g * wb) / d),
                    static_cast<std::uint8_t>((a.b * wa + b.b * wb) / d), 255};
    };
    if (threeColour)
    {
        pal[2] = mix(pal[0], pal[1], 1, 1, 2);
        pal[3] = Rgba{0, 0, 0, 0};
    }
    else
    {
        pal[2] = mix(pal[0], pal[1], 2, 1, 3);
        pal[3] = mix(pal[0], pal[1], 1, 2, 3);
    }
    std::uint32_t bits = 0;
    for (int i = 0; i < 16; ++i)
    {
        int best = 0;
        if (threeColour && px[i].a < 128)
        {
            best = 3;
        }
        else
        {
            int bestD = 1 << 30;
            for (int k = 0; k < (threeColour ? 3 : 4); ++k)
            {
                int d = Distance(px[i], pal[k]);
                if (d < bestD)
                {
                    bestD = d;
                    best = k;
                }
            }
        }
        bits |= static_cast<std::uint32_t>(best) << (2 * i);
    }
    w.U16(c0);
    w.U16(c1);
    w.U32(bits);
}

void Dxt5Alpha(const Rgba (&px)[16], ByteWriter& w)
{
    int a0 = 0, a1 = 255;
    for (const Rgba& p : px)
    {
        a0 = std::max<int>(a0, p.a);
        a1 = std::min<int>(a1, p.a);
    }
    int table[8] = {a0, a1, 0, 0, 0, 0, 0, 0};
    if (a0 > a1)
    {
        for (int k = 1; k <= 6; ++k)
            table[k + 1] = ((7 - k) * a0 + k * a1) / 7;
    }
    else
    {
        for (int k = 1; k <= 4; ++k)
            table[k + 1] = ((5 - k) * a0 + k * a1) / 5;
        table[6] = 0;
        table[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
    {
        int best = 0, bestD = 1 << 30;
        for (int k = 0; k < 8; ++k)
        {
            int d = std::abs(table[k] - px[i].a);
            if (d < bestD)
            {
                bestD = d;
                best = k;
            }
        }
        bits |= static_cast<std::uint64_t>(best) << (3 * i);
    }
    w.U8(static_cast<std::uint8_t>(a0));
    w.U8(static_cast<std::uint8_t>(a1));
    for (int k = 0; k < 6; ++k)
        w.U8(static_cast<std::uint8_t>(bits >> (8 * k)));
}

void WriteLevel(const Canvas& img, DdsFormat format, ByteWriter& w)
{
    if (format == DdsFormat::Bgra)
    {
        for (const Rgba& p : img.Pixels())
        {
            w.U8(p.b);
            w.U8(p.g);
            w.U8(p.r);
            w.U8(p.a);
        }
        return;
    }
    for (int by = 0; by < (img.Height() + 3) / 4; ++by)
        for (int bx = 0; bx < (img.Width() + 3) / 4; ++bx)
        {
            Rgba px[16];
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i)
                    px[j * 4 + i] =
                        img.At(std::min(img.Width() - 1, bx * 4 + i), std::min(img.Height() - 1, by * 4 + j));
            if (format == DdsFormat::Dxt3)
            {
                for (int k = 0; k < 16; k += 2)
                {
                    int lo = (px[k].a * 15 + 127) / 255, hi = (px[k + 1].a * 15 + 127) / 255;
                    w.U8(static_cast<std::uint8_t>(lo | hi << 4));
                }
            }
            else if (format == DdsFormat::Dxt5)
            {
                Dxt5Alpha(px, w);
            }
            ColourBlock(px, format == DdsFormat::Dxt1, w);
        }
}

} // namespace

Bytes EncodeDds(const Canvas& image, DdsFormat format, bool mips)
{
    std::vector<Canvas> levels{image};
    while (mips && (levels.back().Width() > 1 || levels.back().Height() > 1))
        levels.push_back(levels.back().Half());

    const std::uint32_t width = static_cast<std::uint32_t>(image.Width()),
                        height = static_cast<std::uint32_t>(image.Height());
    const bool compressed = format != DdsFormat::Bgra;
    const std::uint32_t blockBytes = format == DdsFormat::Dxt1 ? 8 : 16;
    ByteWriter w;
    w.Text("DDS ");
    w.U32(124);
    // caps, height, width, pixel format, plus mip count and pitch or linear size.
    std::uint32_t flags = 0x1 | 0x2 | 0x4 | 0x1000 | (compressed ? 0x80000 : 0x8) | (mips ? 0x20000 : 0);
    w.U32(flags);
    w.U32(height);
    w.U32(width);
    w.U32(compressed ? std::max(1u, (width + 3) / 4) * std::max(1u, (height + 3) / 4) * blockBytes
                     : width * 4);
    w.U32(0); // depth
    w.U32(static_cast<std::uint32_t>(levels.size()));
    for (int i = 0; i < 11; ++i)
        w.U32(0);
    w.U32(32); // pixel format size
    if (compressed)
    {
        w.U32(0x4);
        w.Text(format == DdsFormat::Dxt1 ? "DXT1" : format == DdsFormat::Dxt3 ? "DXT3" : "DXT5");
        for (int i = 0; i < 5; ++i)
            w.U32(0);
    }
    else
    {
        w.U32(0x41); // RGB with alpha
        w.U32(0);
        w.U32(32);
        w.U32(0x00FF0000);
        w.U32(0x0000FF00);
        w.U32(0x000000FF);
        w.U32(0xFF000000);
    }
    w.U32(0x1000 | (mips ? 0x400008 : 0)); // texture, plus complex and mip-map for chains
    w.U32(0);
    w.U32(0);
    w.U32(0);
    w.U32(0);
    for (const Canvas& level : levels)
        WriteLevel(level, format, w);
    return w.Take();
}

} // namespace demodata
