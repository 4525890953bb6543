#include "Source/TD/HUD/HUDTestSupport.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <gtest/gtest.h>

namespace
{

using hudtest::Quad;

// A screen whose layout lists its pictures out of depth order, two overlapping buttons (one in a sub-group),
// a third button, two text places and an image in a sub-group of "text".
class HUDWindowTest : public hudtest::ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        hudtest::WriteLayout(mRoot / "td/screen", {
                                                      {"glow", 50, 60, 30, 10, 3},
                                                      {"back", 0, 0, 100, 80, 0},
                                                      {"shade", 10, 10, 20, 20, 2},
                                                      {"button/ok", 100, 100, 40, 20, 4},
                                                      {"button/more/cancel", 120, 110, 40, 20, 5},
                                                      {"button/play", 300, 300, 50, 30, 6},
                                                      {"text/caption", 400, 100, 200, 40, 7},
                                                      {"text/message", 400, 200, 100, 50, 8},
                                                      {"text/deep/inner", 0, 0, 10, 10, 9},
                                                  });
    }

    static std::vector<std::wstring> ImageNames(const HUDWindow& window)
    {
        std::vector<std::wstring> names;
        for (const TDFrameEntry* image : window.mImages)
            names.push_back(image->mName);
        return names;
    }
};

} // namespace

TEST_F(HUDWindowTest, LayoutGivesPicturesByDepthButtonsAtAnyDepthAndDirectTextPlaces)
{
    HUDWindow window(L"td/screen");
    EXPECT_EQ(window.mLayout, nullptr) << "a window built from a name closes its layout";
    EXPECT_EQ(ImageNames(window), (std::vector<std::wstring>{L"back", L"shade", L"glow"}));
    for (const TDFrameEntry* image : window.mImages)
    {
        EXPECT_TRUE(image->mOwnsTexture);
        EXPECT_TRUE(image->mVisible);
        EXPECT_NE(image->mTexture, nullptr) << std::string(image->mName.begin(), image->mName.end());
    }
    EXPECT_EQ(window.mImages[2]->mRect, math::Rect(50, 60, 30, 10));
    EXPECT_EQ(window.mImages[2]->mDepth, 3);

    ASSERT_EQ(window.mButtons.size(), 3u);
    const wchar_t* buttons[] = {L"ok", L"cancel", L"play"};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(window.mButtons[i]->mName, buttons[i]);
        EXPECT_NE(window.mButtons[i]->mTexture, nullptr);
        EXPECT_TRUE(window.mButtons[i]->mOwnsTexture);
    }
    EXPECT_EQ(window.mButtons[1]->mRect, math::Rect(120, 110, 40, 20));
    EXPECT_EQ(window.findButton(L"cancel"), window.mButtons[1]);

    ASSERT_EQ(window.mTextRects.size(), 2u) << "an image in a sub-group of text is no text place";
    EXPECT_EQ(window.mTextRects.at(L"message")->mRect, math::Rect(400, 200, 100, 50));
    EXPECT_EQ(window.mTextRects.at(L"caption")->mTexture, nullptr);

    EXPECT_EQ(window.mFont.Get(), &mBoard->font(TDBoardFont::Main42_3)) << "the board's default font";
    EXPECT_EQ(window.mActive, 1);
    EXPECT_EQ(window.mScale, 1.0f);
    EXPECT_TRUE(tdtest::LogCapture::Text().empty())
        << std::string(tdtest::LogCapture::Text().begin(), tdtest::LogCapture::Text().end());
}

// The first listed button wins where two overlap; edges count as inside; a hidden button is found by the hit
// test but answers no click, and only an answered click plays "simple".
TEST_F(HUDWindowTest, HitTestAndClickByName)
{
    HUDWindow window(L"td/screen");
    window.setButtonVisible(L"play", false);
    struct Case
    {
        int x, y;
        int hit;
        const wchar_t* click;
    };
    const Case cases[] = {
        {130, 115, 0, L"ok"},     // over both: the first listed
        {100, 100, 0, L"ok"},     // top-left corner
        {140, 120, 0, L"ok"},     // right and bottom edge
        {141, 120, 1, L"cancel"}, // only the second
        {160, 130, 1, L"cancel"}, // its right and bottom edge
        {325, 315, 2, L""},       // hidden
        {10, 10, -1, L""},        // nothing
        {161, 131, -1, L""},      // just outside
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        LoadSimpleSound();
        EXPECT_EQ(window.hitTest(c.x, c.y), c.hit);
        EXPECT_EQ(window.click(c.x, c.y), c.click);
        EXPECT_EQ(SimplePlayed(), *c.click != 0);
    }
}

TEST_F(HUDWindowTest, MissingLayoutOrButtonIsLoggedOnceAndAnswersNothing)
{
    HUDWindow window(L"td/none");
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"td/none"), 1);
    EXPECT_TRUE(window.mImages.empty());
    EXPECT_TRUE(window.mButtons.empty());
    EXPECT_EQ(window.hitTest(10, 10), -1);
    EXPECT_EQ(window.click(10, 10), L"");
    window.setText(L"caption", L"Hello");
    window.draw(&Graphics());
    EXPECT_TRUE(mBoard->font(TDBoardFont::Main80).draws.empty());

    HUDWindow screen(L"td/screen");
    tdtest::LogCapture::Reset();
    EXPECT_EQ(screen.findButton(L"gone"), nullptr);
    screen.setButtonVisible(L"gone", false);
    EXPECT_EQ(screen.findButton(L"Ok"), nullptr) << "names compare exactly";
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'gone'"), 1) << "a name is reported once per window";
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"td/screen"), 2) << "with the layout's name";
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'Ok'"), 1);
}

TEST_F(HUDWindowTest, TextsAreCentredInTheirPlacesAndCaptionsUseTheLargeFont)
{
    HUDWindow window(L"td/screen");
    window.setFont(mBoard->getFont(TDBoardFont::Main32_2));
    window.setText(L"message", L"first");
    window.setText(L"ghost", L"nowhere");
    window.setText(L"caption", L"Title");
    window.setText(L"message", L"B");
    ASSERT_EQ(window.mTexts.size(), 3u);
    EXPECT_EQ(window.mTexts[0], std::make_pair(std::wstring(L"message"), std::wstring(L"B")))
        << "a name given again keeps its first place";
    window.mTextRects.at(L"message")->mColor = render::Color(1.0f, 0.5f, 0.25f, 1.0f);

    window.drawTexts(&Graphics());
    const auto& small = mBoard->font(TDBoardFont::Main32_2).draws;
    const auto& large = mBoard->font(TDBoardFont::Main80).draws;
    ASSERT_EQ(small.size(), 1u) << "a text without a place draws nothing";
    ASSERT_EQ(large.size(), 1u);
    EXPECT_EQ(small[0].text, L"B");
    EXPECT_EQ(small[0].centre(), math::Point2(450, 225));
    EXPECT_EQ(small[0].wrapWidth, 100.0f);
    EXPECT_EQ(small[0].align, 2);
    EXPECT_EQ(small[0].color, render::Color(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_EQ(large[0].text, L"Title");
    EXPECT_EQ(large[0].centre(), math::Point2(500, 120));
    EXPECT_EQ(large[0].wrapWidth, 200.0f);

    // A text without a place still makes the window font current.
    Graphics().mFont = nullptr;
    window.drawText(&Graphics(), L"ghost", L"nowhere");
    EXPECT_EQ(Graphics().mFont, &mBoard->font(TDBoardFont::Main32_2));
}

// Pictures and texts move with the offset, buttons do not; the scale pulls everything towards the centre of
// the layout space.
TEST_F(HUDWindowTest, OffsetMovesPicturesAndTextsAndScaleShrinksAboutTheLayoutCentre)
{
    HUDWindow window(L"td/screen");
    window.setText(L"message", L"B");
    window.setButtonVisible(L"play", false);
    auto& font = mBoard->font(TDBoardFont::Main42_3);
    struct Case
    {
        float offsetX, scale;
        Quad back;
        Quad ok;
        math::Point2 text;
        float textWidth;
    };
    const Case cases[] = {
        {0, 1.0f, {0, 0, 100, 80}, {100, 100, 140, 120}, {450, 225}, 10},
        {100, 1.0f, {100, 0, 200, 80}, {100, 100, 140, 120}, {550, 225}, 10},
        // (0, 0) halfway to (512, 384); the button's centre (120, 110) to (316, 247).
        {0, 0.5f, {256, 192, 306, 232}, {306, 242, 326, 252}, {481, 304.5f}, 5},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "offset " << c.offsetX << " scale " << c.scale);
        window.mOffsetX = c.offsetX;
        window.mScale = c.scale;
        font.draws.clear();
        const uint32_t used = Used2D();
        window.draw(&Graphics());
        const std::vector<Quad> quads = QuadsSince(used);
        ASSERT_EQ(quads.size(), 5u) << "three pictures and three buttons, one hidden";
        EXPECT_FLOAT_EQ(quads[0].left, c.back.left);
        EXPECT_FLOAT_EQ(quads[0].top, c.back.top);
        EXPECT_FLOAT_EQ(quads[0].right, c.back.right);
        EXPECT_FLOAT_EQ(quads[0].bottom, c.back.bottom);
        EXPECT_FLOAT_EQ(quads[3].left, c.ok.left);
        EXPECT_FLOAT_EQ(quads[3].top, c.ok.top);
        EXPECT_FLOAT_EQ(quads[3].right, c.ok.right);
        EXPECT_FLOAT_EQ(quads[3].bottom, c.ok.bottom);
        ASSERT_EQ(font.draws.size(), 1u);
        EXPECT_FLOAT_EQ(font.draws[0].centre().x, c.text.x);
        EXPECT_FLOAT_EQ(font.draws[0].centre().y, c.text.y);
        EXPECT_FLOAT_EQ(font.draws[0].width(), c.textWidth);
    }
}

TEST_F(HUDWindowTest, PicturesDrawBackToFrontAndHideByExactName)
{
    HUDWindow window(L"td/screen");
    for (TDButtonFrame* button : window.mButtons)
        button->mVisible = false;
    window.setImageVisible(L"ok", false); // a button's name hides no picture
    window.setImageVisible(L"Shade", false);
    uint32_t used = Used2D();
    window.draw(&Graphics());
    std::vector<Quad> quads = QuadsSince(used);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[0].width(), 100.0f); // back
    EXPECT_EQ(quads[1].width(), 20.0f);  // shade
    EXPECT_EQ(quads[2].width(), 30.0f);  // glow

    window.setImageVisible(L"shade", false);
    Graphics().SetColor(0.5f, 0.5f, 0.5f, 0.5f);
    used = Used2D();
    window.draw(&Graphics());
    quads = QuadsSince(used);
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[1].width(), 30.0f);
    EXPECT_EQ(Last2D(4)[0].diffuse >> 24, 127u) << "pictures take the colour current on the graphics";
    EXPECT_EQ(Graphics().mColor, render::Color(1, 1, 1, 1)) << "the buttons' step leaves white";
}

TEST_F(HUDWindowTest, PointerMovesGrowTheButtonsUnderIt)
{
    HUDWindow window(L"td/screen");
    window.mouseMove(130, 115);
    EXPECT_EQ(window.mCursorX, 130.0f);
    EXPECT_EQ(window.mCursorY, 115.0f);
    window.update(0.1f);
    window.update(0.1f);
    EXPECT_FLOAT_EQ(window.mElapsed, 0.2f);
    EXPECT_FLOAT_EQ(window.mButtons[0]->mZoom, 1.1f);
    EXPECT_FLOAT_EQ(window.mButtons[1]->mZoom, 1.1f);
    EXPECT_FLOAT_EQ(window.mButtons[2]->mZoom, 1.0f);
    window.mouseMove(0, 0);
    window.update(0.05f);
    EXPECT_FLOAT_EQ(window.mButtons[0]->mZoom, 1.05f);
    window.update(1.0f);
    EXPECT_FLOAT_EQ(window.mButtons[0]->mZoom, 1.0f);
}

// A screen that keeps its layout open to read more from it releases it itself, or the base does.
TEST_F(HUDWindowTest, ALayoutLeftOpenIsClosedWithTheWindow)
{
    auto* window = new HUDWindow;
    window->load(L"td/screen");
    ASSERT_NE(window->mLayout, nullptr);
    EXPECT_EQ(window->mButtons.size(), 3u);
    delete window; // the sanitizer build reports a leak otherwise
}
