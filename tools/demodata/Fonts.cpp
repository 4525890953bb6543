// Six bitmap fonts rendered from DejaVu: a ".fnt" XML descriptor and PNG pages each.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/demodata/Content.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/TextRenderer.h"

namespace demodata
{
namespace
{

struct FontStyle
{
    const char* name; // file name below td/data/fonts/
    const char* file; // DejaVu face file
    const char* face;
    int size; // line height in pixels
    bool bold;
    int outline; // dark outline in pixels, 0 for plain white glyphs
};

// Roles: _1 labels, _2 small plain text, 42_3 the default window font, 80 captions.
const FontStyle kFonts[] = {
    {"main_32_1", "DejaVuSans-Bold.ttf", "DejaVu Sans", 32, true, 2},
    {"main_32_2", "DejaVuSans.ttf", "DejaVu Sans", 32, false, 0},
    {"main_42_1", "DejaVuSans.ttf", "DejaVu Sans", 42, false, 2},
    {"main_42_2", "DejaVuSerif-Bold.ttf", "DejaVu Serif", 42, true, 2},
    {"main_42_3", "DejaVuSans-Bold.ttf", "DejaVu Sans", 42, true, 2},
    {"main_80", "DejaVuSerif-Bold.ttf", "DejaVu Serif", 80, true, 3},
};

std::vector<char32_t> Charset()
{
    std::vector<char32_t> cs;
    for (char32_t c = 32; c < 127; ++c)
        cs.push_back(c);
    for (char32_t c = 160; c < 256; ++c)
        cs.push_back(c);
    for (char32_t c : {0x2013, 0x2014, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2026, 0x20AC})
        cs.push_back(c);
    return cs;
}

struct Glyph
{
    char32_t code;
    Canvas image;
    int xoffset, yoffset, advance;
    int page = 0, x = 0, y = 0;
};

// Shelf packing into square pages; returns the page count (glyphs get page, x, y).
int Pack(std::vector<Glyph*>& glyphs, int pageSize, int spacing)
{
    int page = 0, x = spacing, y = spacing, shelf = 0;
    for (Glyph* g : glyphs)
    {
        int w = g->image.Width(), h = g->image.Height();
        if (x + w + spacing > pageSize)
        {
            x = spacing;
            y += shelf + spacing;
            shelf = 0;
        }
        if (y + h + spacing > pageSize)
        {
            ++page;
            x = y = spacing;
            shelf = 0;
        }
        g->page = page;
        g->x = x;
        g->y = y;
        x += w + spacing;
        shelf = std::max(shelf, h);
    }
    return page + 1;
}

void WriteFont(Output& out, const FontStyle& style)
{
    Typeface face;
    if (!face.Open(style.file))
    {
        out.Fail(std::string("cannot open font ") + style.file);
        return;
    }
    face.FitLineHeight(style.size);
    const int base = face.Ascender();
    const int pad = style.outline;
    const int spacing = 1;

    std::vector<Glyph> glyphs;
    for (char32_t c : Charset())
    {
        GlyphImage gi;
        if (!face.Render(c, gi))
            continue;
        Glyph g{c, Canvas(), gi.left - pad, base - gi.top - pad, gi.advance};
        if (gi.width > 0 && gi.height > 0)
        {
            if (pad > 0)
            {
                int w = 0, h = 0;
                std::vector<std::uint8_t> ring = DilateCoverage(gi.coverage, gi.width, gi.height, pad, w, h);
                g.image = Canvas(w, h);
                for (int j = 0; j < h; ++j)
                    for (int i = 0; i < w; ++i)
                        g.image.Blend(i, j, Rgba{16, 16, 24, 255}, ring[j * w + i] / 255.0f);
                for (int j = 0; j < gi.height; ++j)
                    for (int i = 0; i < gi.width; ++i)
                        g.image.Blend(pad + i, pad + j, Rgba{255, 255, 255, 255},
                                      gi.coverage[j * gi.width + i] / 255.0f);
            }
            else
            {
                g.image = Canvas(gi.width, gi.height, Rgba{255, 255, 255, 0});
                for (int j = 0; j < gi.height; ++j)
                    for (int i = 0; i < gi.width; ++i)
                        g.image.At(i, j).a = gi.coverage[j * gi.width + i];
            }
        }
        else
        {
            g.xoffset = 0;
            g.yoffset = 0;
        }
        glyphs.push_back(std::move(g));
    }

    // Tallest first packs tighter; ties keep character order so the layout is stable.
    std::vector<Glyph*> order;
    for (Glyph& g : glyphs)
        order.push_back(&g);
    std::stable_sort(order.begin(), order.end(),
                     [](const Glyph* a, const Glyph* b) { return a->image.Height() > b->image.Height(); });
    int pageSize = 256, pages = 0;
    for (; pageSize <= 1024; pageSize *= 2)
    {
        pages = Pack(order, pageSize, spacing);
        if (pages == 1)
            break;
    }
    if (pageSize > 1024)
    {
        pageSize = 1024;
        pages = Pack(order, pageSize, spacing);
    }

    std::vector<Canvas> pageImages(pages, Canvas(pageSize, pageSize, Rgba{255, 255, 255, 0}));
    for (const Glyph& g : glyphs)
        for (int j = 0; j < g.image.Height(); ++j)
            for (int i = 0; i < g.image.Width(); ++i)
                pageImages[g.page].At(g.x + i, g.y + j) = g.image.At(i, j);

    std::string dir = "td/data/fonts/";
    char buf[512];
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<font>\n";
    std::snprintf(buf, sizeof buf,
                  "  <info face=\"%s\" size=\"%d\" bold=\"%d\" italic=\"0\" charset=\"\" unicode=\"1\" "
                  "stretchH=\"100\" "
                  "smooth=\"1\" aa=\"1\" padding=\"%d,%d,%d,%d\" spacing=\"%d,%d\" outline=\"%d\"/>\n",
                  style.face, style.size, style.bold ? 1 : 0, pad, pad, pad, pad, spacing, spacing,
                  style.outline);
    xml += buf;
    std::snprintf(
        buf, sizeof buf,
        "  <common lineHeight=\"%d\" base=\"%d\" scaleW=\"%d\" scaleH=\"%d\" pages=\"%d\" packed=\"0\" "
        "alphaChnl=\"0\" redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"/>\n",
        style.size, base, pageSize, pageSize, pages);
    xml += buf;
    xml += "  <pages>\n";
    for (int p = 0; p < pages; ++p)
    {
        std::string file = std::string(style.name) + "_" + std::to_string(p) + ".png";
        std::snprintf(buf, sizeof buf, "    <page id=\"%d\" file=\"%s\"/>\n", p, file.c_str());
        xml += buf;
        out.Write(dir + file, EncodePng(pageImages[p]));
    }
    xml += "  </pages>\n";
    std::snprintf(buf, sizeof buf, "  <chars count=\"%zu\">\n", glyphs.size());
    xml += buf;
    for (const Glyph& g : glyphs)
    {
        std::snprintf(
            buf, sizeof buf,
            "    <char id=\"%u\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" xoffset=\"%d\" yoffset=\"%d\" "
            "xadvance=\"%d\" page=\"%d\" chnl=\"15\"/>\n",
            static_cast<unsigned>(g.code), g.image.Width() ? g.x : 0, g.image.Width() ? g.y : 0,
            g.image.Width(), g.image.Height(), g.xoffset, g.yoffset, g.advance, g.page);
        xml += buf;
    }
    xml += "  </chars>\n";

    std::string kernings;
    int kerningCount = 0;
    if (face.HasKerning())
    {
        for (const Glyph& a : glyphs)
            for (const Glyph& b : glyphs)
            {
                int k = face.Kerning(a.code, b.code);
                if (k == 0)
                    continue;
                std::snprintf(buf, sizeof buf, "    <kerning first=\"%u\" second=\"%u\" amount=\"%d\"/>\n",
                              static_cast<unsigned>(a.code), static_cast<unsigned>(b.code), k);
                kernings += buf;
                ++kerningCount;
            }
    }
    std::snprintf(buf, sizeof buf, "  <kernings count=\"%d\">\n", kerningCount);
    xml += buf;
    xml += kernings;
    xml += "  </kernings>\n</font>\n";
    out.WriteText(dir + style.name + ".fnt", xml);
}

} // namespace

void WriteFonts(Output& out)
{
    for (const FontStyle& style : kFonts)
        WriteFont(out, style);
}

} // namespace demodata
