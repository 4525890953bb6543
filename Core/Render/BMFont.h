#pragma once

#include "Core/Render/Font.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/TextLayout.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace base
{
class Stream;
}

namespace render
{

class Image;
class Render;

// One glyph: its rectangle on its page, offsets and advance, and kerning by previous character.
struct BMGlyph
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float xoffset = 0.0f;
    float yoffset = 0.0f;
    float xadvance = 0.0f;
    uint32_t page = 0;
    uint32_t channel = 0;
    std::map<uint32_t, float> kerning;
};

// A bitmap font read from its name + ".fnt" (XML descriptor) and its page images.
class BMFont : public Font, public GraphicsFriend
{
public:
    BMFont();
    ~BMFont() override;

    VNResultEnum Release() override;
    VNResultEnum DrawText(Graphics* graphics, DrawTextParam* param, const std::wstring* text,
                          const TextLayout* layout, float* outSize) override;
    bool HasGlyph(uint32_t character) const override;

    // Reads a descriptor; page images are loaded relative to the font name's folder. A glyph on a page
    // without an image refuses the font.
    VNResultEnum Parse(base::Stream* stream);
    // The lines of a text; appends to out.
    void LayoutLines(const std::wstring& text, const TextLayout& layout, std::vector<TextLine>& out) const;
    // The glyph runs (consecutive drawn glyphs on one page) of a text; appends to out.
    void CollectRuns(const std::wstring& text, const TextLayout& layout, std::vector<GlyphRun>& out) const;
    // Width and height of laid-out lines.
    void Measure(const std::vector<TextLine>& lines, const TextLayout& layout, float* outSize) const;
    // The kerning of g after previous (0 when absent).
    static float GetKerning(const BMGlyph& g, uint32_t previous);
    // The glyph of a character, else the layout's fallback glyph, else null.
    const BMGlyph* FindGlyph(uint32_t character, const TextLayout& layout) const;

    Render* mRender = nullptr;
    std::string mFace;
    bool mBold = false;
    bool mItalic = false;
    std::string mCharset;
    float mStretchH = 0.0f;
    bool mSmooth = false;
    uint32_t mAntiAlias = 0;
    int32_t mPadding[4] = {0, 0, 0, 0};
    float mSpacing[2] = {0.0f, 0.0f};
    uint32_t mOutline = 0;
    float mCommonLineHeight = 0.0f;
    float mScaleW = 0.0f;
    float mScaleH = 0.0f;
    std::map<uint32_t, BMGlyph> mGlyphs;
    std::vector<Image*> mPages;
    float mTopOffset = 0.0f;
    float mFontScale = 1.0f;

protected:
    VNResultEnum DoLoad() override;
    VNResultEnum DoUnload() override;
    // Loads one page image (the Render's texture loader).
    virtual VNResultEnum LoadPage(const std::wstring& path, Image** out);

private:
    VNResultEnum ParseDocument(const char* text, size_t length);
    void FreePages();
    // Latin-1 glyphs by index: the common case skips the map search.
    const BMGlyph* mLow[256] = {};
};

} // namespace render
