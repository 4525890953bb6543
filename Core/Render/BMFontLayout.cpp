// Line breaking, glyph runs, measuring and drawing of bitmap-font text.
#include "Core/Render/BMFont.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/QuadIndices.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"

#include <cmath>

namespace render
{
namespace
{

bool IsGap(uint32_t c)
{
    return c == 32 || c == 9;
}

} // namespace

float BMFont::GetKerning(const BMGlyph& g, uint32_t previous)
{
    if (g.kerning.empty())
        return 0.0f;
    auto it = g.kerning.find(previous);
    return it == g.kerning.end() ? 0.0f : it->second;
}

const BMGlyph* BMFont::FindGlyph(uint32_t character, const TextLayout& layout) const
{
    if (character < 256)
    {
        if (mLow[character])
            return mLow[character];
    }
    else if (auto it = mGlyphs.find(character); it != mGlyphs.end())
        return &it->second;
    if (layout.mFallbackChar != 0 && layout.mFallbackChar != character)
    {
        if (layout.mFallbackChar < 256)
            return mLow[layout.mFallbackChar];
        auto it = mGlyphs.find(layout.mFallbackChar);
        return it == mGlyphs.end() ? nullptr : &it->second;
    }
    return nullptr;
}

void BMFont::LayoutLines(const std::wstring& text, const TextLayout& layout, std::vector<TextLine>& out) const
{
    const auto n = static_cast<uint32_t>(text.size());
    uint32_t e = 0, q = 0, r = 0, gaps = 0;
    float A = layout.mIndent, S = 0.0f, W = 0.0f;
    bool inGapRun = false;
    bool firstLine = true;
    auto lineX = [&] { return firstLine ? layout.mIndent : 0.0f; };
    // The line up to index end: trailing gaps are not part of it.
    auto pushParagraphEnd = [&](uint32_t end)
    {
        TextLine line;
        line.first = e;
        line.x = lineX();
        if (inGapRun)
        {
            line.width = A + W;
            line.count = q - e;
        }
        else
        {
            line.width = S + A + W;
            line.count = end - e;
        }
        out.push_back(line);
    };

    for (uint32_t i = 0; i < n; ++i)
    {
        const auto c = static_cast<uint32_t>(text[i]);
        if (c == layout.mLineBreak)
        {
            pushParagraphEnd(i);
            e = r = q = i + 1;
            A = S = 0.0f;
            W = layout.mIndent;
            gaps = 0;
            firstLine = true;
            inGapRun = false;
            continue;
        }
        const BMGlyph* g = FindGlyph(c, layout);
        if (!g)
            continue;
        if (IsGap(c))
        {
            if (!inGapRun)
            {
                A += W + S;
                W = S = 0.0f;
                q = i;
                inGapRun = true;
            }
            S += g->xadvance + layout.mLetterSpacing;
            ++gaps;
            continue;
        }
        if (inGapRun)
        {
            r = i;
            inGapRun = false;
        }
        const float kerning = i > 0 ? GetKerning(*g, static_cast<uint32_t>(text[i - 1])) : 0.0f;
        const float advance = g->xadvance + layout.mLetterSpacing + kerning;
        W += advance;
        if (layout.mWidth <= 0.0f || S + A + W <= layout.mWidth)
            continue;
        if (q != e)
        {
            // Break at the last gap: the current word starts the next line.
            TextLine line{A, e, q - e, gaps - (r - q), lineX(), true};
            out.push_back(line);
            e = q = r;
        }
        else if (i > e)
        {
            // A word wider than the line: it breaks before this character, which starts the next line.
            TextLine line{W + A - advance, e, i - e, 0, lineX(), true};
            out.push_back(line);
            e = r = q = i;
            W = advance - kerning;
        }
        else
            continue; // the first character of a line stays on it even when it alone is too wide
        A = S = 0.0f;
        gaps = 0;
        firstLine = false;
    }
    // The last line counts whenever it has width, also when it is only the paragraph indent (an empty or
    // indented text, or an indented paragraph opened by a final line break); a text ending in gaps after a
    // break has none.
    if (W + A > 0.0f)
        pushParagraphEnd(n);
}

void BMFont::CollectRuns(const std::wstring& text, const TextLayout& layout, std::vector<GlyphRun>& out) const
{
    GlyphRun run;
    for (wchar_t ch : text)
    {
        const auto c = static_cast<uint32_t>(ch);
        if (c == layout.mLineBreak || IsGap(c))
            continue;
        const BMGlyph* g = FindGlyph(c, layout);
        if (!g)
            continue;
        if (g->page != run.page)
        {
            if (run.count > 0)
                out.push_back(run);
            run = GlyphRun{0, g->page};
        }
        ++run.count;
    }
    if (run.count > 0)
        out.push_back(run);
}

void BMFont::Measure(const std::vector<TextLine>& lines, const TextLayout& layout, float* outSize) const
{
    float width = 0.0f;
    for (const TextLine& line : lines)
        if (line.width > width)
            width = line.width;
    if (!layout.mFitWidth && layout.mWidth > 0.0f)
        width = layout.mWidth;
    float height = mLineHeight;
    if (lines.size() > 1)
        height =
            (GetLineAdvance() + layout.mLineSpacing) * static_cast<float>(lines.size() - 1) + mLineHeight;
    outSize[0] = width;
    outSize[1] = height;
}

VNResultEnum BMFont::DrawText(Graphics* graphics, DrawTextParam* param, const std::wstring* text,
                              const TextLayout* layout, float* outSize)
{
    if (!graphics && !outSize)
        return VN_OK;
    if (!text || !layout)
        return VN_FAIL;
    // Scratch kept between draws (main thread only), so ordinary text allocates nothing per frame.
    static std::vector<TextLine> lines;
    static std::vector<GlyphRun> runs;
    lines.clear();
    runs.clear();
    LayoutLines(*text, *layout, lines);
    float size[2];
    Measure(lines, *layout, size);
    if (outSize)
    {
        outSize[0] = size[0];
        outSize[1] = size[1];
    }
    if (param)
    {
        // The anchors of the flushes below need the size now.
        param->mWidth = size[0];
        param->mHeight = size[1];
    }
    if (!graphics || lines.empty())
        return VN_OK;
    CollectRuns(*text, *layout, runs);
    if (runs.empty())
        return VN_OK;

    Bind(graphics);
    ShaderTextured* shader = graphics->mShader;
    Render* render = graphics->mRender;
    if (!render)
        return VN_FAIL;
    auto* vc = static_cast<VertexCache2D*>(render->GetVertexCache(SVertex2D::Format().mId));
    auto* ic = static_cast<IndexCache16*>(render->GetIndexCache16());
    if (!shader || !vc || !ic)
        return VN_FAIL;
    const uint32_t diffuse = graphics->mColor.ToARGB();
    const uint32_t specular = TintSpecular(graphics->mTint);
    const VertexFormat& format = SVertex2D::Format();

    size_t runIndex = 0;
    uint32_t leftInRun = 0;
    uint32_t written = 0;
    SVertex2D* v = nullptr;
    uint16_t* idx = nullptr;
    VertexCache2D::Range vr;
    IndexCache16::Range ir;
    auto flush = [&]() -> VNResultEnum
    {
        if (written == 0)
            return VN_OK;
        Image* page = mPages[runs[runIndex - 1].page];
        if (param)
            if (const VNResultEnum r = param->TransformVertices(v, format, written * 4); r != VN_OK)
                return r;
        if (const VNResultEnum r = ApplyPixelOffset(v, format, written * 4); r != VN_OK)
            return r;
        SetVertexBuffer(vr.mBuffer->GetImpl());
        SetIndexBuffer(ir.mBuffer->GetImpl());
        SetShader(shader->GetImpl());
        if (const VNResultEnum r = CommitState(); r != VN_OK)
            return r;
        shader->SetTexture(page);
        BindProjection(shader);
        const VNResultEnum r =
            render->DrawIndexedPrimitive(TriangleList, ir.mFirst, written * 2, vr.mFirst, written * 4);
        written = 0;
        return r;
    };

    float penY = mTopOffset;
    for (const TextLine& line : lines)
    {
        float penX = 0.0f;
        float gapExtra = 0.0f;
        float letterExtra = 0.0f;
        switch (layout->mAlign)
        {
        case 1:
            penX = size[0] - line.width;
            break;
        case 2:
            penX = std::ceil((size[0] - line.width) * 0.5f) + line.x;
            break;
        case 3:
            penX = line.x;
            if (line.justified)
            {
                if (line.gaps > 0)
                    gapExtra = (size[0] - line.width) / static_cast<float>(line.gaps);
                else if (layout->mJustifyLetters && line.count >= 2)
                    letterExtra = (size[0] - line.width) / static_cast<float>(line.count - 1);
            }
            break;
        default:
            penX = line.x;
            break;
        }
        for (uint32_t i = line.first; i < line.first + line.count; ++i)
        {
            const auto c = static_cast<uint32_t>((*text)[i]);
            const BMGlyph* g = FindGlyph(c, *layout);
            if (!g || c == layout->mLineBreak)
                continue;
            if (IsGap(c))
            {
                penX += g->xadvance + layout->mLetterSpacing + gapExtra;
                continue;
            }
            if (leftInRun == 0)
            {
                if (const VNResultEnum r = flush(); r != VN_OK)
                    return r;
                if (runIndex >= runs.size())
                    return VN_OK;
                const uint32_t count = runs[runIndex++].count;
                if (const VNResultEnum r = vc->Allocate(count * 4, &v, &vr); r != VN_OK)
                    return r;
                if (const VNResultEnum r = ic->Allocate(count * 6, &idx, &ir); r != VN_OK)
                    return r;
                leftInRun = count;
            }
            if (i > 0)
                penX += GetKerning(*g, static_cast<uint32_t>((*text)[i - 1]));
            Image* page = mPages[g->page];
            const float pw = static_cast<float>(page->GetWidth()) * kTextScale;
            const float ph = static_cast<float>(page->GetHeight()) * kTextScale;
            const float x0 = g->xoffset + penX;
            const float y0 = g->yoffset + penY;
            const float x1 = x0 + g->width / mFontScale;
            const float y1 = y0 + g->height / mFontScale;
            const float u0 = pw != 0.0f ? g->x / pw : 0.0f;
            const float v0 = ph != 0.0f ? g->y / ph : 0.0f;
            const float u1 = pw != 0.0f ? (g->x + g->width) / pw : 0.0f;
            const float v1 = ph != 0.0f ? (g->y + g->height) / ph : 0.0f;
            SVertex2D* q = v + written * 4;
            q[0] = {x0, y0, 0.0f, 1.0f, diffuse, specular, u0, v0};
            q[1] = {x1, y0, 0.0f, 1.0f, diffuse, specular, u1, v0};
            q[2] = {x1, y1, 0.0f, 1.0f, diffuse, specular, u1, v1};
            q[3] = {x0, y1, 0.0f, 1.0f, diffuse, specular, u0, v1};
            WriteQuadIndices(idx + written * 6, static_cast<uint16_t>(vr.mFirst + written * 4));
            ++written;
            --leftInRun;
            penX += g->xadvance + layout->mLetterSpacing + letterExtra;
        }
        penY += GetLineAdvance() + layout->mLineSpacing;
    }
    return flush();
}

} // namespace render
