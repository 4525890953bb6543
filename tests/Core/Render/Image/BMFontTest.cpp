#include "Core/Base/AABB.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Render/BMFont.h"
#include "Core/File/FileTestUtil.h"
#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Core/Render/Image/ImageTestUtil.h"
#include "Core/Resource/ResourceManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace render;
using render::test::TestImage;

namespace
{

// Pages are images of 256 × 256 without a texture; a page file named "fail.png" does not load.
class TestFont : public BMFont
{
public:
    std::vector<std::wstring> loaded;

protected:
    VNResultEnum LoadPage(const std::wstring& path, Image** out) override
    {
        loaded.push_back(path);
        if (path.find(L"fail.png") != std::wstring::npos)
            return VN_FAIL;
        *out = new TestImage(256, 256);
        return VN_OK;
    }
};

// a, b, c, d, e, f, g, h advance 10; i 5; W 30; space 5; x (page 1) 10; U+1F600 12. b after a kerns by −2.
const std::string kFont = R"(<?xml version="1.0"?>
<font>
  <info face="Test" size="20" bold="0" italic="0" charset="" unicode="1" stretchH="100" smooth="1" aa="1" padding="1,2,3,4" spacing="1,1" outline="0"/>
  <common lineHeight="20" base="15" scaleW="256" scaleH="256" pages="2" packed="0" alphaChnl="0" redChnl="4" greenChnl="4" blueChnl="4"/>
  <pages>
    <page id="0" file="test_0.png"/>
    <page id="1" file="test_1.png"/>
  </pages>
  <chars count="13">
    <char id="32" x="0" y="0" width="0" height="0" xoffset="0" yoffset="0" xadvance="5" page="0" chnl="15"/>
    <char id="97" x="0" y="0" width="8" height="12" xoffset="1" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="98" x="16" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="99" x="32" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="100" x="48" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="101" x="64" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="102" x="80" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="103" x="96" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="104" x="112" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="0" chnl="15"/>
    <char id="105" x="128" y="0" width="4" height="12" xoffset="0" yoffset="3" xadvance="5" page="0" chnl="15"/>
    <char id="87" x="0" y="32" width="28" height="12" xoffset="0" yoffset="3" xadvance="30" page="0" chnl="15"/>
    <char id="120" x="0" y="0" width="8" height="12" xoffset="0" yoffset="3" xadvance="10" page="1" chnl="15"/>
    <char id="128512" x="0" y="64" width="12" height="12" xoffset="0" yoffset="3" xadvance="12" page="0" chnl="15"/>
  </chars>
  <kernings count="1">
    <kerning first="97" second="98" amount="-2"/>
  </kernings>
</font>
)";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

VNResultEnum Load(TestFont& font, const std::string& text)
{
    font.SetName(L"td/data/fonts/test");
    base::MemoryStream stream(text.data(), static_cast<unsigned>(text.size()));
    return font.Parse(&stream);
}

std::unique_ptr<TestFont> MakeFont()
{
    auto font = std::make_unique<TestFont>();
    EXPECT_EQ(Load(*font, kFont), VN_OK);
    return font;
}

} // namespace

TEST(BMFont, LoadsDescriptor)
{
    auto font = MakeFont();
    EXPECT_EQ(font->loaded,
              (std::vector<std::wstring>{L"td/data/fonts/test_0.png", L"td/data/fonts/test_1.png"}));
    EXPECT_EQ(font->GetLineHeight(), 20.0f);
    EXPECT_EQ(font->GetBase(), 15.0f);
    EXPECT_EQ(font->GetDescent(), 5.0f);
    EXPECT_EQ(font->GetLineAdvance(), 20.0f);
    EXPECT_EQ(font->mFace, "Test");
    EXPECT_EQ(font->mPadding[3], 4);
    EXPECT_EQ(font->mSpacing[1], 1.0f);
    EXPECT_TRUE(font->HasGlyph('a'));
    EXPECT_FALSE(font->HasGlyph('z'));
    // Code points above U+FFFF keep their own glyph instead of landing on a BMP one.
    EXPECT_TRUE(font->HasGlyph(0x1F600));
    EXPECT_FALSE(font->HasGlyph(0xF600));
    EXPECT_EQ(BMFont::GetKerning(font->mGlyphs['b'], 'a'), -2.0f);
    EXPECT_EQ(font->mPages.size(), 2u);
}

// Padding and spacing of a damaged descriptor: a number past the field's range is held at its edge, one that
// is not a number ends the list (the rest keep their defaults).
TEST(BMFont, PaddingOutOfRangeIsHeldAtTheEdge)
{
    struct Case
    {
        const char* padding;
        int32_t first, second;
    } cases[] = {
        {"2.1e95,3,3,3", 2147483647, 3},
        {"-1e300,7,0,0", -2147483647 - 1, 7},
        {"nan,5,0,0", 0, 0},
    };
    for (const Case& c : cases)
    {
        TestFont font;
        ASSERT_EQ(
            Load(font, Replace(kFont, "padding=\"1,2,3,4\"", std::string("padding=\"") + c.padding + "\"")),
            VN_OK)
            << c.padding;
        EXPECT_EQ(font.mPadding[0], c.first) << c.padding;
        EXPECT_EQ(font.mPadding[1], c.second) << c.padding;
    }
}

// Each row breaks the descriptor in one way; the font must be refused and keep no page images.
TEST(BMFont, LoadFailures)
{
    struct Case
    {
        const char* what;
        std::string from, to;
        bool loads;
    } cases[] = {
        {"chasrset accepted", "charset=\"\"", "chasrset=\"\"", true},
        {"no charset", "charset=\"\"", "", false},
        {"unicode 0", "unicode=\"1\"", "unicode=\"0\"", false},
        {"packed 1", "packed=\"0\"", "packed=\"1\"", false},
        {"alpha channel 1", "alphaChnl=\"0\"", "alphaChnl=\"1\"", false},
        {"red channel 0", "redChnl=\"4\"", "redChnl=\"0\"", false},
        {"no face", "face=\"Test\"", "", false},
        {"size unreadable", "size=\"20\"", "size=\"big\"", false},
        {"no outline", "outline=\"0\"", "", false},
        {"no base", "base=\"15\"", "", false},
        {"no info", "<info ", "<inf ", false},
        {"no chars", "<chars count=\"13\">", "<charz>", false},
        {"page id out of range", "<page id=\"1\"", "<page id=\"2\"", false},
        {"page fails to load", "test_1.png", "fail.png", false},
        {"glyph on a page without image", "<page id=\"1\" file=\"test_1.png\"/>", "", false},
        {"glyph page beyond pages", "pages=\"2\"", "pages=\"1\"", false},
        {"char without xadvance", "xadvance=\"12\"", "", false},
        {"kerning for missing glyph", "second=\"98\"", "second=\"122\"", false},
        {"kerning without amount", "amount=\"-2\"", "", false},
        {"bad xml", "</font>", "</fnt>", false},
        {"huge page count", "pages=\"2\"", "pages=\"4000000000\"", false},
    };
    for (const Case& c : cases)
    {
        TestFont font;
        EXPECT_EQ(Load(font, Replace(kFont, c.from, c.to)) == VN_OK, c.loads) << c.what;
        if (!c.loads)
        {
            EXPECT_TRUE(font.mPages.empty()) << c.what;
        }
    }
}

// Each row: text and layout options, and the lines that must come out.
TEST(BMFont, LayoutTable)
{
    auto font = MakeFont();
    struct Case
    {
        const char* what;
        std::wstring text;
        TextLayout layout;
        std::vector<TextLine> lines;
    } cases[] = {
        {"one line with kerning", L"ab cd", {}, {{43, 0, 5, 0, 0, false}}},
        {"wrap after ab", L"ab cd", {.mWidth = 42}, {{18, 0, 2, 0, 0, true}, {20, 3, 2, 0, 0, false}}},
        {"fits exactly", L"ab cd", {.mWidth = 43}, {{43, 0, 5, 0, 0, false}}},
        {"two gaps counted", L"a b c d", {.mWidth = 40}, {{40, 0, 5, 2, 0, true}, {10, 6, 1, 0, 0, false}}},
        {"trailing spaces before a break",
         L"ab  \ncd",
         {},
         {{18, 0, 2, 0, 0, false}, {20, 5, 2, 0, 0, false}}},
        {"indent on each paragraph",
         L"ab\ncd",
         {.mIndent = 7},
         {{25, 0, 2, 0, 7, false}, {27, 3, 2, 0, 7, false}}},
        {"indent only on first wrapped line",
         L"cd ef",
         {.mWidth = 30, .mIndent = 7},
         {{27, 0, 2, 0, 7, true}, {20, 3, 2, 0, 0, false}}},
        {"long word",
         L"abcdefgh",
         {.mWidth = 35},
         {{28, 0, 3, 0, 0, true}, {30, 3, 3, 0, 0, true}, {20, 6, 2, 0, 0, false}}},
        {"first character wider than the line",
         L"Wa",
         {.mWidth = 20},
         {{30, 0, 1, 0, 0, true}, {10, 1, 1, 0, 0, false}}},
        {"second character does not fit",
         L"aW",
         {.mWidth = 20},
         {{10, 0, 1, 0, 0, true}, {30, 1, 1, 0, 0, false}}},
        {"missing glyph takes no room", L"a\u00e9b", {}, {{20, 0, 3, 0, 0, false}}},
        {"fallback glyph", L"a\u00e9b", {.mFallbackChar = 'a'}, {{30, 0, 3, 0, 0, false}}},
        {"letter spacing", L"a b", {.mLetterSpacing = 1}, {{28, 0, 3, 0, 0, false}}},
        {"beyond the BMP", L"a\U0001F600", {}, {{22, 0, 2, 0, 0, false}}},
        {"blank line kept, no trailing empty line",
         L"a\n\nb\n",
         {},
         {{10, 0, 1, 0, 0, false}, {0, 2, 0, 0, 0, false}, {10, 3, 1, 0, 0, false}}},
        {"only spaces after a break", L"a\n   ", {}, {{10, 0, 1, 0, 0, false}}},
        {"empty text", L"", {}, {}},
        // The paragraph indent alone makes a line: it is measured and takes its height.
        {"empty text with an indent", L"", {.mIndent = 7}, {{7, 0, 0, 0, 7, false}}},
        {"indented text ending in a line break",
         L"ab\n",
         {.mIndent = 7},
         {{25, 0, 2, 0, 7, false}, {7, 3, 0, 0, 7, false}}},
        {"indented spaces", L"  ", {.mIndent = 7}, {{7, 0, 0, 0, 7, false}}},
        {"only characters without a glyph", L"\u00e9\u00e9", {}, {}},
    };
    for (const Case& c : cases)
    {
        std::vector<TextLine> lines;
        font->LayoutLines(c.text, c.layout, lines);
        ASSERT_EQ(lines.size(), c.lines.size()) << c.what;
        for (size_t i = 0; i < lines.size(); ++i)
        {
            const TextLine& got = lines[i];
            const TextLine& want = c.lines[i];
            EXPECT_FLOAT_EQ(got.width, want.width) << c.what << " line " << i;
            EXPECT_EQ(got.first, want.first) << c.what << " line " << i;
            EXPECT_EQ(got.count, want.count) << c.what << " line " << i;
            EXPECT_EQ(got.gaps, want.gaps) << c.what << " line " << i;
            EXPECT_FLOAT_EQ(got.x, want.x) << c.what << " line " << i;
            EXPECT_EQ(got.justified, want.justified) << c.what << " line " << i;
        }
    }
}

TEST(BMFont, MeasureAndRuns)
{
    auto font = MakeFont();
    font->mLineGap = 2;
    float size[2] = {};
    TextLayout layout;
    layout.mLineSpacing = 3;
    std::vector<TextLine> lines;
    font->LayoutLines(L"a\nbb\nc", layout, lines);
    font->Measure(lines, layout, size);
    EXPECT_FLOAT_EQ(size[0], 20.0f);
    EXPECT_FLOAT_EQ(size[1], 2 * (20.0f + 2.0f + 3.0f) + 20.0f);
    layout.mWidth = 100;
    layout.mFitWidth = false;
    font->Measure(lines, layout, size);
    EXPECT_FLOAT_EQ(size[0], 100.0f);
    lines.clear();
    font->Measure(lines, layout, size);
    EXPECT_FLOAT_EQ(size[1], 20.0f);
    // An indented paragraph opened by the final line break is a line of its own.
    layout.mIndent = 7;
    font->LayoutLines(L"a\n", layout, lines);
    font->Measure(lines, layout, size);
    EXPECT_FLOAT_EQ(size[1], 20.0f + 2.0f + 3.0f + 20.0f);

    std::vector<GlyphRun> runs;
    font->CollectRuns(L"ax ax\nb", TextLayout{}, runs);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].page, 0u);
    EXPECT_EQ(runs[1].page, 1u);
    EXPECT_EQ(runs[4].count, 1u);
    runs.clear();
    font->CollectRuns(L"xab", TextLayout{}, runs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].page, 1u);
    EXPECT_EQ(runs[1].count, 2u);
}

TEST(BMFont, MeasureWithoutGraphics)
{
    auto font = MakeFont();
    const std::wstring text = L"ab cd";
    float w = 0, h = 0;
    math::AABB box;
    {
        auto p = font->CreateTextParam(&text);
        p->mOutWidth = &w;
        p->mOutHeight = &h;
        p->mOutBounds = &box;
        p->mAlignH = 2;
    }
    EXPECT_FLOAT_EQ(w, 43.0f);
    EXPECT_FLOAT_EQ(h, 20.0f);
    EXPECT_FLOAT_EQ(box.mMin.x, -22.0f); // floor(−21.5)
    EXPECT_FLOAT_EQ(box.mMax.x, 21.0f);
    EXPECT_FLOAT_EQ(box.mMax.y, 20.0f);
}

class FontDraw : public render::test::GraphicsFixture
{
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        font = MakeFont();
        graphics->mFont = font.get();
    }
    std::unique_ptr<TestFont> font;
};

// Glyph quads: pen position by alignment, glyph offsets, page texture coordinates.
TEST_F(FontDraw, QuadsFollowAlignment)
{
    const std::wstring text = L"ai\na";
    {
        graphics->DrawText(text)->mLayout.mAlign = 2;
    }
    // Block width 15; the second line is 10 wide, so it starts at ceil(2.5) = 3.
    const SVertex2D* v = Last<SVertex2D>(12);
    EXPECT_FLOAT_EQ(v[0].x, 1.0f - 0.5f); // 'a' xoffset 1
    EXPECT_FLOAT_EQ(v[0].y, 3.0f - 0.5f);
    EXPECT_FLOAT_EQ(v[2].x, 9.0f - 0.5f);
    EXPECT_FLOAT_EQ(v[2].u, 8.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[2].v, 12.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[4].x, 10.0f - 0.5f); // 'i' at the pen after 'a'
    EXPECT_FLOAT_EQ(v[8].x, 3.0f + 1.0f - 0.5f);
    EXPECT_FLOAT_EQ(v[8].y, 20.0f + 3.0f - 0.5f);

    const std::wstring indented = L"a";
    {
        auto p = graphics->DrawText(indented, 0.0f, 7.0f, 1, true);
    }
    // Right alignment: the indented line ends the indent short of the block's right edge.
    EXPECT_FLOAT_EQ(Last<SVertex2D>(4)[0].x, 0.0f + 1.0f - 0.5f);

    const std::wstring spread = L"ab cd";
    {
        auto p = graphics->DrawText(spread, 42.0f, 0.0f, 3, true);
        p->mLayout.mFitWidth = false;
    }
    // First line "ab" wrapped without gaps: letters spread by (42 − 18) / 1; the last line is not justified.
    const SVertex2D* j = Last<SVertex2D>(16);
    EXPECT_FLOAT_EQ(j[4].x, 10.0f - 2.0f + 24.0f - 0.5f);
    EXPECT_FLOAT_EQ(j[8].x, 0.0f - 0.5f);
    EXPECT_FLOAT_EQ(j[12].x, 10.0f - 0.5f);
}

TEST_F(FontDraw, AnchorsAndTransformMoveTheText)
{
    const std::wstring text = L"aaaaa"; // 50 wide
    {
        auto p = graphics->DrawText(text);
        p->mAlignH = 2;
        p->mAlignV = 3;
        auto moved = p.Translate(100, 40);
    }
    const SVertex2D* v = Last<SVertex2D>(20);
    EXPECT_FLOAT_EQ(v[0].x, 100.0f - 25.0f + 1.0f - 0.5f);
    EXPECT_FLOAT_EQ(v[0].y, 40.0f - 15.0f + 3.0f - 0.5f);
    const uint32_t before = Used2D();
    {
        auto p = graphics->DrawText(text);
        auto scaled = p.Scale(2.0f);
        auto none = p.Translate(1, 1); // the draw already moved away
    }
    EXPECT_EQ(Used2D() - before, 20u);
    EXPECT_FLOAT_EQ(Last<SVertex2D>(20)[0].x, 2.0f - 0.5f);
}

class FontFiles : public filetest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        RenderInitParam param;
        param.mWidth = 64;
        param.mHeight = 64;
        ASSERT_EQ(render.InitRender(nullptr, param), VN_OK);
    }
    RecordingRender render;
};

// The whole road: the descriptor found by name through the file manager, its page image through the Render's
// texture loader, relative to the descriptor's folder.
TEST_F(FontFiles, LoadsDescriptorAndPagesByName)
{
    filetest::WriteBytes("td/fonts/test.fnt",
                         Replace(Replace(kFont, "test_0.png", "page.tga"), "test_1.png", "page.tga"));
    const std::vector<uint8_t> page =
        render::test::MakeTGA(32, 16, std::vector<uint32_t>(32 * 16, 0xFFFFFFFF), true);
    filetest::WriteBytes("td/fonts/page.tga", std::string(page.begin(), page.end()));
    filetest::WriteBytes("td/fonts/nopage.fnt", Replace(kFont, "test_1.png", "missing.tga"));
    {
        CountedHandle<BMFont> font = resource::ResourceManager::Instance()->Get<BMFont>(L"td/fonts/test");
        font->mRender = &render;
        ASSERT_EQ(font->Load(), VN_OK);
        ASSERT_EQ(font->mPages.size(), 2u);
        ASSERT_TRUE(font->mPages[0]);
        EXPECT_EQ(font->mPages[0]->GetWidth(), 32);
        EXPECT_EQ(font->mPages[1]->GetHeight(), 16);
    }
    for (const wchar_t* name : {L"td/fonts/nopage", L"td/fonts/none"})
    {
        CountedHandle<BMFont> font = resource::ResourceManager::Instance()->Get<BMFont>(name);
        font->mRender = &render;
        EXPECT_EQ(font->Load(), VN_FAIL);
        EXPECT_FALSE(font->IsLoaded());
        EXPECT_TRUE(font->mPages.empty());
    }
}
