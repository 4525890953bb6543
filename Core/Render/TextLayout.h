#pragma once

#include <cstdint>

namespace render
{

// Text layout options; the font interprets them.
struct TextLayout
{
    // Added to every advance, spaces and tabs included.
    float mLetterSpacing = 0.0f;
    // Block width; above 0 lines are broken to fit it and aligned within it.
    float mWidth = 0.0f;
    // 0 left, 1 right, 2 centre, 3 justify.
    int32_t mAlign = 0;
    // The character that ends a line.
    uint32_t mLineBreak = 10;
    // When not 0 and the font has it, its glyph stands in for every missing character.
    uint32_t mFallbackChar = 0;
    // Added to the font's line advance.
    float mLineSpacing = 0.0f;
    // x offset of the first line of every paragraph.
    float mIndent = 0.0f;
    // In justify mode a wrapped line without spaces spreads its letters.
    bool mJustifyLetters = true;
    // The reported width is the widest line; when false and mWidth > 0, it is mWidth.
    bool mFitWidth = true;
};

// One line of a laid-out text.
struct TextLine
{
    float width = 0.0f;
    uint32_t first = 0;
    uint32_t count = 0;
    // Spaces and tabs inside the line.
    uint32_t gaps = 0;
    // The paragraph indent on a paragraph's first line, else 0.
    float x = 0.0f;
    // The line ended by wrapping.
    bool justified = false;
};

// Consecutive drawn glyphs sharing a page.
struct GlyphRun
{
    uint32_t count = 0;
    uint32_t page = 0;
};

} // namespace render
