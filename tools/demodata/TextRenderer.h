#pragma once
// FreeType faces for the demo art and the bitmap fonts; FreeType stays inside the .cpp.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/demodata/Canvas.h"

namespace demodata
{

// One rendered glyph: an 8-bit coverage bitmap with its placement in pixels.
struct GlyphImage
{
    int width = 0, height = 0;
    int left = 0, top = 0; // bitmap origin relative to the pen on the base line (top is upwards)
    int advance = 0;       // horizontal advance in whole pixels
    std::vector<std::uint8_t> coverage;
};

class Typeface
{
public:
    Typeface();
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // Opens a file from the DejaVu folder, e.g. "DejaVuSans-Bold.ttf".
    bool Open(const std::string& fileName);
    void SetPixelSize(int pixels);
    bool HasGlyph(char32_t c) const;
    bool Render(char32_t c, GlyphImage& out) const;
    // Kerning between two characters in whole pixels (0 when the face has none).
    int Kerning(char32_t left, char32_t right) const;
    bool HasKerning() const;
    int Ascender() const;
    int Descender() const; // positive, below the base line
    int LineHeight() const;
    // Sizes the face so that ascender + descender fills about `lineHeight` pixels.
    void FitLineHeight(int lineHeight);

    int MeasureText(std::string_view utf8) const;
    // Draws UTF-8 text with its base line at y; align 0 left, 1 centre, 2 right of x.
    // A non-zero outline draws a ring of that width in the outline colour under the glyphs.
    void DrawText(Canvas& canvas, std::string_view utf8, int x, int y, Rgba color, int align = 0,
                  int outline = 0, Rgba outlineColor = Rgba{0, 0, 0, 255}) const;

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};

std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(char32_t c);

// Grows a coverage mask by a disc of the given radius (for outlines).
std::vector<std::uint8_t> DilateCoverage(const std::vector<std::uint8_t>& src, int w, int h, int radius,
                                         int& outW, int& outH);

} // namespace demodata
