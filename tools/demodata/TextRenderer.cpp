#include "tools/demodata/TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace demodata
{

struct Typeface::Impl
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Typeface::Typeface() : mImpl(std::make_unique<Impl>())
{
    FT_Init_FreeType(&mImpl->library);
}

Typeface::~Typeface()
{
    if (mImpl->face)
        FT_Done_Face(mImpl->face);
    if (mImpl->library)
        FT_Done_FreeType(mImpl->library);
}

bool Typeface::Open(const std::string& fileName)
{
    std::string path = std::string(CORV_DEMODATA_FONT_DIR) + "/" + fileName;
    if (!mImpl->library || FT_New_Face(mImpl->library, path.c_str(), 0, &mImpl->face) != 0)
    {
        mImpl->face = nullptr;
        return false;
    }
    return true;
}

void Typeface::SetPixelSize(int pixels)
{
    FT_Set_Pixel_Sizes(mImpl->face, 0, static_cast<FT_UInt>(pixels));
}

void Typeface::FitLineHeight(int lineHeight)
{
    FT_Face f = mImpl->face;
    int units = f->ascender - f->descender;
    SetPixelSize(std::max(
        1, static_cast<int>(std::lround(lineHeight * static_cast<double>(f->units_per_EM) / units))));
}

bool Typeface::HasGlyph(char32_t c) const
{
    return FT_Get_Char_Index(mImpl->face, c) != 0;
}

bool Typeface::Render(char32_t c, GlyphImage& out) const
{
    FT_Face f = mImpl->face;
    FT_UInt index = FT_Get_Char_Index(f, c);
    if (index == 0 || FT_Load_Glyph(f, index, FT_LOAD_DEFAULT) != 0)
        return false;
    if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_Bitmap& bm = f->glyph->bitmap;
    out.width = static_cast<int>(bm.width);
    out.height = static_cast<int>(bm.rows);
    out.left = f->glyph->bitmap_left;
    out.top = f->glyph->bitmap_top;
    out.advance = static_cast<int>((f->glyph->advance.x + 32) >> 6);
    out.coverage.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.coverage[y * out.width + x] = bm.buffer[y * bm.pitch + x];
    return true;
}

int Typeface::Kerning(char32_t left, char32_t right) const
{
    FT_Face f = mImpl->face;
    if (!FT_HAS_KERNING(f))
        return 0;
    FT_Vector k{0, 0};
    if (FT_Get_Kerning(f, FT_Get_Char_Index(f, left), FT_Get_Char_Index(f, right), FT_KERNING_DEFAULT, &k) !=
        0)
        return 0;
    return static_cast<int>(k.x >= 0 ? (k.x + 32) >> 6 : -((-k.x + 32) >> 6));
}

bool Typeface::HasKerning() const
{
    return FT_HAS_KERNING(mImpl->face);
}
int Typeface::Ascender() const
{
    return static_cast<int>((mImpl->face->size->metrics.ascender + 63) >> 6);
}
int Typeface::Descender() const
{
    return static_cast<int>((-mImpl->face->size->metrics.descender + 63) >> 6);
}
int Typeface::LineHeight() const
{
    return static_cast<int>((mImpl->face->size->metrics.height + 32) >> 6);
}

int Typeface::MeasureText(std::string_view utf8) const
{
    int width = 0;
    char32_t prev = 0;
    GlyphImage g;
    for (char32_t c : DecodeUtf8(utf8))
    {
        if (prev)
            width += Kerning(prev, c);
        FT_Face f = mImpl->face;
        if (FT_Load_Char(f, c, FT_LOAD_DEFAULT) == 0)
            width += static_cast<int>((f->glyph->advance.x + 32) >> 6);
        prev = c;
    }
    return width;
}

void Typeface::DrawText(Canvas& canvas, std::string_view utf8, int x, int y, Rgba color, int align,
                        int outline, Rgba outlineColor) const
{
    int pen = x;
    if (align == 1)
        pen -= MeasureText(utf8) / 2;
    if (align == 2)
        pen -= MeasureText(utf8);
    char32_t prev = 0;
    GlyphImage g;
    for (char32_t c : DecodeUtf8(utf8))
    {
        if (prev)
            pen += Kerning(prev, c);
        prev = c;
        if (!Render(c, g))
            continue;
        int ox = pen + g.left, oy = y - g.top;
        if (outline > 0)
        {
            int w = 0, h = 0;
            std::vector<std::uint8_t> ring = DilateCoverage(g.coverage, g.width, g.height, outline, w, h);
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i)
                    canvas.Blend(ox - outline + i, oy - outline + j, outlineColor, ring[j * w + i] / 255.0f);
        }
        for (int j = 0; j < g.height; ++j)
            for (int i = 0; i < g.width; ++i)
                canvas.Blend(ox + i, oy + j, color, g.coverage[j * g.width + i] / 255.0f);
        pen += g.advance;
    }
}

std::u32string DecodeUtf8(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();)
    {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : 3;
        char32_t cp = n == 0 ? c : n == 1 ? (c & 0x1F) : n == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= n && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n + 1;
    }
    return out;
}

std::string EncodeUtf8(char32_t c)
{
    std::string s;
    if (c < 0x80)
    {
        s += static_cast<char>(c);
    }
    else if (c < 0x800)
    {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

std::vector<std::uint8_t> DilateCoverage(const std::vector<std::uint8_t>& src, int w, int h, int radius,
                                         int& outW, int& outH)
{
    outW = w + 2 * radius;
    outH = h + 2 * radius;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(outW) * outH, 0);
    // Soft disc: full weight inside the radius, fading over one pixel. Weights are in 1/256.
    struct Tap
    {
        int dx, dy, weight;
    };
    std::vector<Tap> taps;
    for (int dy = -radius - 1; dy <= radius + 1; ++dy)
        for (int dx = -radius - 1; dx <= radius + 1; ++dx)
        {
            float weight =
                std::clamp(radius + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)), 0.0f, 1.0f);
            if (weight > 0)
                taps.push_back({dx, dy, static_cast<int>(weight * 256)});
        }
    // Scatter each covered source pixel into its neighbourhood, keeping the maximum.
    for (int sy = 0; sy < h; ++sy)
        for (int sx = 0; sx < w; ++sx)
        {
            int v = src[sy * w + sx];
            if (v == 0)
                continue;
            for (const Tap& t : taps)
            {
                int x = sx + radius + t.dx, y = sy + radius + t.dy;
                if (x < 0 || y < 0 || x >= outW || y >= outH)
                    continue;
                std::uint8_t& o = out[y * outW + x];
                o = static_cast<std::uint8_t>(std::max<int>(o, v * t.weight >> 8));
            }
        }
    return out;
}

} // namespace demodata
