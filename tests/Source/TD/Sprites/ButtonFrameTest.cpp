#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <gtest/gtest.h>

namespace
{

TDButtonFrame Button(float x, float y, float w, float h)
{
    TDButtonFrame button;
    button.mRect = math::Rect(x, y, w, h);
    return button;
}

class ButtonFrameDraw : public render::test::GraphicsFixture
{
};

} // namespace

TEST(ButtonFrame, HoverNeedsThePointStrictlyInside)
{
    struct Case
    {
        int x, y;
        int hover;
    };
    const Case cases[] = {
        {50, 40, 1}, {11, 21, 1},  {109, 69, 1},              // inside
        {10, 40, 0}, {110, 40, 0}, {50, 20, 0},  {50, 70, 0}, // on the border
        {5, 40, 0},  {50, 200, 0},                            // outside
    };
    TDButtonFrame button = Button(10, 20, 100, 50);
    for (const Case& c : cases)
    {
        button.onMouseMove(c.x, c.y);
        EXPECT_EQ(button.mHover, c.hover) << "(" << c.x << ", " << c.y << ")";
    }
}

TEST(ButtonFrame, ZoomGrowsWhileHoveredAndShrinksOutside)
{
    TDButtonFrame button = Button(0, 0, 100, 50);
    button.onMouseMove(50, 25);
    button.update(0.1f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.05f);
    button.update(0.1f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.1f); // 0.2 s of hover
    button.update(0.1f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.1f);

    button.onMouseMove(500, 25);
    button.update(0.05f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.05f);
    button.update(0.05f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.0f); // 0.1 s outside

    // A long frame clamps at once.
    button.onMouseMove(50, 25);
    button.update(10.0f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.1f);
    button.onMouseMove(500, 25);
    button.update(10.0f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.0f);

    // Any other hover value leaves the zoom alone.
    button.mZoom = 1.04f;
    button.mHover = 2;
    button.update(1.0f);
    EXPECT_FLOAT_EQ(button.mZoom, 1.04f);
}

// The button sits on its rectangle's centre, grows about it, and the window's scale grows the layout about
// half the map's view size: without a map, the centre of the 1024 x 768 layout.
TEST_F(ButtonFrameDraw, ZoomsAboutItsCentreAndScalesAboutTheLayoutCentre)
{
    render::test::TestImage image(20, 10);
    TDButtonFrame button = Button(100, 100, 20, 10);
    button.mTexture = &image;
    button.mColor = render::Color(1.0f, 1.0f, 1.0f, 0.5f);
    struct Case
    {
        float zoom, scale;
        float left, top, right, bottom;
    };
    const Case cases[] = {
        {1.0f, 1.0f, 100, 100, 120, 110},
        {1.1f, 1.0f, 99, 99.5f, 121, 110.5f},
        // Centre (110, 105) scaled by 2 about (512, 384): (-292, -174); half size (20, 10).
        {1.0f, 2.0f, -312, -184, -272, -164},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " scale " << c.scale);
        button.mZoom = c.zoom;
        {
            button.draw(graphics.get(), c.scale);
        }
        const render::SVertex2D* v = Last<render::SVertex2D>(4);
        EXPECT_NEAR(v[0].x, c.left - 0.5f, 1e-3f);
        EXPECT_NEAR(v[0].y, c.top - 0.5f, 1e-3f);
        EXPECT_NEAR(v[2].x, c.right - 0.5f, 1e-3f);
        EXPECT_NEAR(v[2].y, c.bottom - 0.5f, 1e-3f);
        EXPECT_EQ(v[0].diffuse >> 24, 127u);
    }

    // Without a texture nothing is drawn.
    button.mTexture = nullptr;
    const uint32_t before = Used2D();
    button.draw(graphics.get(), 1.0f);
    EXPECT_EQ(Used2D(), before);
}
