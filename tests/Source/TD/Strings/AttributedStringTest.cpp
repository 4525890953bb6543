#include "Source/TD/HUD/Play/AttributedString.h"

#include "Core/Render/Image/GraphicsTestUtil.h"

#include <gtest/gtest.h>

namespace
{
// Every character 10 units wide; draws nothing.
class FixedFont : public render::Font
{
public:
    VNResultEnum DrawText(render::Graphics*, render::DrawTextParam*, const std::wstring* text,
                          const render::TextLayout*, float* outSize) override
    {
        if (outSize)
        {
            outSize[0] = 10.0f * static_cast<float>(text->size());
            outSize[1] = 20.0f;
        }
        return VN_OK;
    }
    bool HasGlyph(uint32_t) const override { return true; }
    VNResultEnum Release() override { return VN_OK; }

protected:
    VNResultEnum DoLoad() override { return VN_OK; }
    VNResultEnum DoUnload() override { return VN_OK; }
};

// "T:width" for a text chunk, "I:width" for an image chunk.
std::vector<std::string> Chunks(const AttributedString& s)
{
    std::vector<std::string> out;
    for (const AttributedChunk* chunk : s.mChunks)
    {
        const bool image = dynamic_cast<const AttributedImageChunk*>(chunk) != nullptr;
        out.push_back(std::string(image ? "I:" : "T:") + std::to_string(static_cast<int>(chunk->mWidth)));
    }
    return out;
}

class AttributedStringTest : public render::test::GraphicsFixture
{
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        mString.mFont = CountedHandle<render::Font>(&mFont, nullptr);
        mString.addImage(u'$', &mCoin);
        mString.addImage(u'#', &mGem);
    }

    FixedFont mFont;
    render::test::TestImage mCoin{16, 16};
    render::test::TestImage mGem{24, 24};
    AttributedString mString;
};

TEST_F(AttributedStringTest, BoundCharactersBecomeImageChunks)
{
    struct Case
    {
        const wchar_t* text;
        std::vector<std::string> chunks;
    } cases[] = {
        {L"$100", {"I:16", "T:30"}},
        {L"100$", {"T:30", "I:16", "T:0"}}, // an empty final text chunk
        {L"", {"T:0"}},
        {L"5$ 2#", {"T:10", "I:16", "T:20", "I:24", "T:0"}},
        {L"$$", {"I:16", "I:16", "T:0"}},
        {L"a\U0001F600", {"T:20"}}, // a code point beyond 16 bits is never bound
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        mString.mText = c.text;
        mString.buildChunks();
        EXPECT_EQ(Chunks(mString), c.chunks);
    }
    mString.mText = L"$1";
    mString.buildChunks();
    mString.buildChunks();
    EXPECT_EQ(mString.mChunks.size(), 2u) << "rebuilding replaces the chunks";
}

TEST_F(AttributedStringTest, TheLineIsCentredOnTheOriginAtAnyScale)
{
    // "1$" is 10 + 16 units wide: unscaled the image starts at -13 + 10, drawn centred on the line.
    mString.mText = L"1$";
    mString.buildChunks();
    for (float scale : {1.0f, 2.0f})
    {
        SCOPED_TRACE(scale);
        render::Transform2D transform;
        transform.Scale(scale, scale);
        transform.Translate(500.0f, 300.0f);
        const uint32_t before = Used2D();
        mString.layout(graphics.get(), transform);
        ASSERT_EQ(Used2D() - before, 4u) << "one quad: the image (the text draws nothing)";
        const render::SVertex2D* quad = Last<render::SVertex2D>(4);
        float left = quad[0].x, right = quad[0].x, top = quad[0].y;
        for (int i = 1; i < 4; ++i)
        {
            left = std::min(left, quad[i].x);
            right = std::max(right, quad[i].x);
            top = std::min(top, quad[i].y);
        }
        // Every vertex is moved by -0.5 as the last step of a draw.
        EXPECT_FLOAT_EQ(left + 0.5f, 500.0f + (-13.0f + 10.0f) * scale);
        EXPECT_FLOAT_EQ(right + 0.5f, 500.0f + (-13.0f + 26.0f) * scale);
        EXPECT_FLOAT_EQ(top + 0.5f, 300.0f - 8.0f * scale);
    }
    EXPECT_EQ(graphics->mFont, &mFont) << "the string's font becomes the current font";
}
} // namespace
