#include "Core/Layer/Layer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Font.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace layer;

namespace
{

// A font whose every text measures 3.5 units per character by 11 units, and which counts its layouts.
class BlockFont : public render::Font
{
public:
    VNResultEnum DrawText(render::Graphics*, render::DrawTextParam*, const std::wstring* text,
                          const render::TextLayout* layout, float* outSize) override
    {
        ++layouts;
        lastFitWidth = layout->mFitWidth;
        outSize[0] = 3.5f * static_cast<float>(text->size());
        outSize[1] = 11.0f;
        return VN_OK;
    }
    bool HasGlyph(uint32_t) const override { return true; }
    VNResultEnum Release() override { return VN_OK; }
    VNResultEnum DoLoad() override { return VN_OK; }
    VNResultEnum DoUnload() override { return VN_OK; }

    int layouts = 0;
    bool lastFitWidth = true;
};

} // namespace

TEST(TextLayer, EmptyTextHasNoBoxAndDrawsNothing)
{
    BlockFont font;
    TextLayer text(CountedHandle<render::Font>(&font, nullptr), L"");
    EXPECT_TRUE(text.HasContent());
    text.UpdateBounds();
    EXPECT_TRUE(text.GetContentBox().IsEmpty());
    EXPECT_EQ(font.layouts, 0);
    EXPECT_EQ(text.Draw(nullptr), VN_OK);
}

TEST(TextLayer, ContentBoxIsTheMeasuredTextAndFollowsSetters)
{
    BlockFont font;
    TextLayer text(CountedHandle<render::Font>(&font, nullptr), L"abcd");
    text.UpdateBounds();
    EXPECT_FLOAT_EQ(text.GetContentBox().mMax.x - text.GetContentBox().mMin.x, 14.0f);
    EXPECT_FLOAT_EQ(text.GetContentBox().mMax.y - text.GetContentBox().mMin.y, 11.0f);
    EXPECT_FALSE(font.lastFitWidth); // the layer's auto-width flag replaces the layout's

    text.SetText(L"abcdefgh");
    EXPECT_FALSE(text.IsContentValid());
    text.UpdateBounds();
    EXPECT_FLOAT_EQ(text.GetContentBox().mMax.x - text.GetContentBox().mMin.x, 28.0f);
    // A text layer is hit anywhere in its box.
    EXPECT_TRUE(text.HitTest(math::Point3(1, 1, 0)));
}

TEST(TextLayer, CentredTextAlignsToWholeUnits)
{
    BlockFont font;
    TextLayer text(CountedHandle<render::Font>(&font, nullptr), L"abc", 0.0f, 0.0f, 2, false);
    text.SetAlignment(2, 2);
    text.SetPosition(math::Point3(100.25f, 50.0f, 0));
    text.AlignToPixels();
    const math::AABB& box = text.GetContentBox();
    ASSERT_FALSE(box.IsEmpty());
    // Centred on the origin (the font rounds the half width down to whole units).
    EXPECT_LT(box.mMin.x, 0.0f);
    EXPECT_GT(box.mMax.x, 0.0f);
    EXPECT_FLOAT_EQ(box.mMax.x - box.mMin.x, 10.5f);
    const float left = text.GetPosition().x + box.mMin.x;
    const float top = text.GetPosition().y + box.mMin.y;
    EXPECT_FLOAT_EQ(left, std::floor(left));
    EXPECT_FLOAT_EQ(top, std::floor(top));
    EXPECT_TRUE(text.IsTransformChanged());
}
