#include "Core/Render/Font.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>

namespace
{

// A font that lays every text out as 10 units per character by 20, and writes down where the text's
// top-left corner lands and the colour it is drawn in.
class PlaceFont : public render::Font
{
public:
    VNResultEnum DrawText(render::Graphics* graphics, render::DrawTextParam* param, const std::wstring* text,
                          const render::TextLayout*, float* outSize) override
    {
        outSize[0] = 10.0f * static_cast<float>(text->size());
        outSize[1] = 20.0f;
        param->mWidth = outSize[0];
        param->mHeight = outSize[1];
        render::SVertex2D corner{};
        EXPECT_EQ(param->TransformVertices(&corner, render::SVertex2D::Format(), 1), VN_OK);
        texts.push_back(*text);
        corners.emplace_back(corner.x, corner.y);
        alphas.push_back(graphics != nullptr ? graphics->mColor.a : -1.0f);
        return VN_OK;
    }
    bool HasGlyph(uint32_t) const override { return true; }
    VNResultEnum Release() override { return VN_OK; }
    VNResultEnum DoLoad() override { return VN_OK; }
    VNResultEnum DoUnload() override { return VN_OK; }

    std::vector<std::wstring> texts;
    std::vector<math::Point2> corners;
    std::vector<float> alphas;
};

class PopupTexts : public tdtest::SheetDrawFixture
{
protected:
    void SetUp() override
    {
        SheetDrawFixture::SetUp();
        tdtest::RegisterSheet(L"td/ui", {{"", L"ui/immune", math::Rect(0, 0, 12, 12)},
                                         {"", L"ui/money", math::Rect(0, 0, 16, 10)}});
    }
};

} // namespace

TEST_F(PopupTexts, IconsByKind)
{
    HUDPopupTexts popups;
    ASSERT_NE(popups.mIcons[2], nullptr);
    ASSERT_NE(popups.mIcons[4], nullptr);
    EXPECT_EQ(popups.mIcons[4]->GetWidth(), 16);
    struct Case
    {
        int kind;
        render::Image* icon;
    };
    const Case cases[] = {{4, popups.mIcons[4]}, {2, popups.mIcons[2]}, {0, nullptr},  {1, nullptr},
                          {3, nullptr},          {5, nullptr},          {-1, nullptr}, {9, nullptr}};
    for (const Case& c : cases)
        EXPECT_EQ(popups.add(0, 0, c.kind)->mIcon, c.icon) << "kind " << c.kind;

    // Without the sheet every notice is text only.
    TDResources::Instance()->clear();
    HUDPopupTexts bare;
    EXPECT_EQ(bare.add(0, 0, 4)->mIcon, nullptr);
}

TEST_F(PopupTexts, NoticeRisesFadesAndIsDeletedAtThreeQuartersOfASecond)
{
    HUDPopupTexts popups;
    HUDPopupNotice* notice = popups.add(100, 200, 4);
    popups.update(0.3f);
    EXPECT_FLOAT_EQ(notice->mX, 100.0f);
    EXPECT_FLOAT_EQ(notice->mY, 195.5f);

    struct Case
    {
        float elapsed;
        uint32_t alpha;
    };
    const Case cases[] = {{0.3f, 255}, {0.5f, 255}, {0.625f, 127}, {0.7f, 51}};
    for (const Case& c : cases)
    {
        notice->mElapsed = c.elapsed;
        {
            popups.draw(graphics.get());
        }
        const render::SVertex2D* v = Last<render::SVertex2D>(4);
        EXPECT_EQ(v[0].diffuse >> 24, c.alpha) << "elapsed " << c.elapsed;
        // The icon is centred on the notice's point.
        EXPECT_FLOAT_EQ(v[0].x + 0.5f, 100.0f - 8.0f);
        EXPECT_FLOAT_EQ(v[0].y + 0.5f, 195.5f - 5.0f);
        EXPECT_EQ(graphics->mColor, render::Color(1, 1, 1, 1));
    }

    notice->mElapsed = 0.0f;
    popups.update(0.25f);
    popups.update(0.25f);
    EXPECT_EQ(popups.getNotices().size(), 1u);
    popups.update(0.25f);
    EXPECT_TRUE(popups.getNotices().empty());
}

TEST_F(PopupTexts, TextStandsRightOfThePointInTheBoardFont)
{
    PlaceFont font;
    HUDPopupTexts popups;
    popups.mFont = &font;
    popups.add(100, 200, 2)->mText = L"immune";
    popups.add(300, 400, 5)->mText = L"+10%";
    HUDPopupNotice* fading = popups.add(500, 600, 4);
    fading->mText = L"+ 7";
    fading->mElapsed = 0.625f;
    popups.add(0, 0, 4); // an icon without text draws no text

    const uint32_t before = Used2D();
    popups.draw(graphics.get());
    EXPECT_EQ(graphics->mFont, &font);
    EXPECT_EQ(Used2D() - before, 12u); // three icons, none for kind 5
    ASSERT_EQ(font.texts, (std::vector<std::wstring>{L"immune", L"+10%", L"+ 7"}));
    // Scaled by 0.75 and vertically centred: the top-left corner is 14 right of the point, 7.5 above it.
    EXPECT_FLOAT_EQ(font.corners[0].x, 114.0f);
    EXPECT_FLOAT_EQ(font.corners[0].y, 192.5f);
    EXPECT_FLOAT_EQ(font.corners[1].x, 314.0f);
    EXPECT_FLOAT_EQ(font.alphas[0], 1.0f);
    EXPECT_FLOAT_EQ(font.alphas[2], 0.5f);

    // Without a board font the graphics' own font is kept.
    HUDPopupTexts plain;
    plain.add(0, 0, 5)->mText = L"x";
    graphics->mFont = nullptr;
    plain.draw(graphics.get());
    EXPECT_EQ(graphics->mFont, nullptr);
    EXPECT_EQ(font.texts.size(), 3u);
}
