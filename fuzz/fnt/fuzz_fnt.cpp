// Bitmap font descriptors: parsing, then laying out and measuring a text with whatever loaded.
#include "Core/Base/MemoryStream.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

class PageImage : public render::Image
{
public:
    PageImage()
    {
        mWidth = 256;
        mHeight = 256;
    }
};

// Pages load without a Render: every page file becomes a 256 × 256 image.
class FuzzFont : public render::BMFont
{
protected:
    VNResultEnum LoadPage(const std::wstring&, render::Image** out) override
    {
        *out = new PageImage();
        return VN_OK;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFont font;
    font.SetName(L"fonts/fuzz");
    base::MemoryStream stream(data, static_cast<unsigned>(size));
    if (font.Parse(&stream) != VN_OK)
        return 0;
    const std::wstring text = L"The quick brown fox\njumps over\tthe lazy dog \u00e9\U0001F600";
    render::TextLayout layout;
    layout.mWidth = 120.0f;
    layout.mAlign = 3;
    layout.mFallbackChar = '?';
    std::vector<render::TextLine> lines;
    std::vector<render::GlyphRun> runs;
    font.LayoutLines(text, layout, lines);
    font.CollectRuns(text, layout, runs);
    float size2[2];
    font.Measure(lines, layout, size2);
    for (const render::TextLine& line : lines)
        if (line.first + line.count > text.size())
            __builtin_trap();
    return 0;
}
