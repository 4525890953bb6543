#include "Framework/ScreenFit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using framework::ComputeScreenFit;
using framework::LogicalScreen;
using framework::ScreenFit;
using framework::ScreenSetup;

const LogicalScreen kGame{1024, 768, 1366};
const app::FrameExtents kNoFrame{};
const app::FrameExtents kFrame{2, 30, 2, 2};

app::MonitorInfo Monitor(int w, int h, int workH = -1)
{
    app::MonitorInfo m;
    m.width = w;
    m.height = h;
    m.workWidth = w;
    m.workHeight = workH < 0 ? h : workH;
    m.primary = true;
    return m;
}

// Full-screen fits of the game's logical screen on displays of every shape.
TEST(ScreenFit, DisplaySizesGiveViewportBarsAndScale)
{
    struct Case
    {
        int w, h;
        int usedW, usedH;
        bool bars, atSides;
        float barSize; // pixels
        float lw, lx;
        bool target;
        float drawScaleX, drawScaleY; // target drawn at, or straight scale
    };
    const Case cases[] = {
        {1366, 768, 1366, 768, false, false, 0, 1366, -171, false, 1.0f, 1.0f},
        {1024, 768, 1024, 768, false, false, 0, 1024, 0, false, 1.0f, 1.0f},
        {1024, 600, 1024, 600, false, false, 0, 1310, -143, false, 1024.0f / 1310, 600.0f / 768},
        {1920, 1080, 1920, 1080, false, false, 0, 1365, -170.5f, true, 1920.0f / 1365, 1080.0f / 768},
        {1280, 1024, 1280, 960, true, false, 32, 1024, 0, true, 1.25f, 1.25f},
        {2560, 1080, 1920, 1080, true, true, 320, 1366, -171, true, 1920.0f / 1366, 1080.0f / 768},
        {800, 600, 800, 600, false, false, 0, 1024, 0, false, 800.0f / 1024, 600.0f / 768},
        // Taller than 4:3 but smaller than the logical screen: bars in logical units, straight drawing.
        {800, 800, 800, 600, true, false, 100, 1024, 0, false, 800.0f / 1024, 600.0f / 768},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        ScreenSetup setup;
        ScreenFit fit;
        ASSERT_EQ(ComputeScreenFit({Monitor(c.w, c.h)}, kGame, false, kNoFrame, setup, fit), VN_OK);
        EXPECT_EQ(setup.mWidth, static_cast<uint32_t>(c.w));
        EXPECT_EQ(setup.mHeight, static_cast<uint32_t>(c.h));
        EXPECT_FALSE(setup.mWindowed);
        EXPECT_EQ(fit.barsVisible, c.bars);
        EXPECT_EQ(fit.barsAtSides, c.atSides);
        EXPECT_FLOAT_EQ(fit.visibleRect.width, c.lw);
        EXPECT_FLOAT_EQ(fit.visibleRect.x, c.lx);
        EXPECT_FLOAT_EQ(fit.visibleRect.height, 768.0f);
        EXPECT_EQ(setup.mUseRenderTarget, c.target);
        EXPECT_FLOAT_EQ(fit.inputScaleX, c.lw / c.usedW);
        EXPECT_FLOAT_EQ(fit.inputScaleY, 768.0f / c.usedH);
        if (c.target)
        {
            EXPECT_TRUE(setup.mOrthoFromSize);
            EXPECT_EQ(setup.mTargetWidth, static_cast<uint32_t>(c.lw));
            EXPECT_EQ(setup.mTargetHeight, 768u);
            EXPECT_FLOAT_EQ(setup.mTargetOffsetX, -c.lx);
            EXPECT_FLOAT_EQ(fit.targetDrawScaleX, c.drawScaleX);
            EXPECT_FLOAT_EQ(fit.targetDrawScaleY, c.drawScaleY);
            EXPECT_FLOAT_EQ(fit.screenCentreX, c.w * 0.5f);
            EXPECT_FLOAT_EQ(fit.screenCentreY, c.h * 0.5f);
            if (c.bars)
            {
                // Bars stay in pixels when a target is drawn.
                const math::Rect second = fit.bar2;
                EXPECT_FLOAT_EQ(c.atSides ? fit.bar1.width : fit.bar1.height, c.barSize);
                EXPECT_FLOAT_EQ(c.atSides ? second.x : second.y, (c.atSides ? c.w : c.h) - c.barSize);
            }
        }
        else
        {
            EXPECT_FALSE(setup.mOrthoFromSize);
            EXPECT_FLOAT_EQ(setup.mScaleX, c.drawScaleX);
            EXPECT_FLOAT_EQ(setup.mScaleY, c.drawScaleY);
            // The projection's logical-to-pixel part takes the visible rectangle's corners to the used
            // area's.
            math::Point3 topLeft(c.lx, 0.0f, 0.0f);
            setup.mProjection.TransformPoint(topLeft);
            EXPECT_NEAR(topLeft.x, (c.w - c.usedW) * 0.5f, 1e-3);
            EXPECT_NEAR(topLeft.y, (c.h - c.usedH) * 0.5f, 1e-3);
            math::Point3 bottomRight(c.lx + c.lw, 768.0f, 0.0f);
            setup.mProjection.TransformPoint(bottomRight);
            EXPECT_NEAR(bottomRight.x, (c.w + c.usedW) * 0.5f, 1e-2);
            EXPECT_NEAR(bottomRight.y, (c.h + c.usedH) * 0.5f, 1e-2);
            // Scissor mapping: pixel = (logical + offset) × scale gives the same point.
            EXPECT_NEAR((c.lx + setup.mOffsetX) * setup.mScaleX, (c.w - c.usedW) * 0.5f, 1e-3);
            if (c.bars)
            {
                // Bars in logical units: the top bar ends where the visible rectangle starts.
                EXPECT_NEAR(fit.bar1.y + fit.bar1.height, 0.0f, 1e-3);
                EXPECT_NEAR(fit.bar2.y, 768.0f, 1e-3);
                EXPECT_NEAR(fit.bar1.height, c.barSize / c.drawScaleY, 1e-3);
            }
        }
    }
}

// Input mapping both ways: the corners of the used area are the corners of the visible rectangle.
TEST(ScreenFit, WindowPixelsMapToLogicalAndBack)
{
    struct Case
    {
        int w, h;
        math::Point2 pixel;
        math::Point2 logical;
    };
    const Case cases[] = {
        {1366, 768, {0, 0}, {-171, 0}},
        {1366, 768, {1366, 768}, {1195, 768}},
        {1024, 768, {512, 384}, {512, 384}},
        {2560, 1080, {320, 0}, {-171, 0}},       // inner edge of the left bar
        {2560, 1080, {2240, 1080}, {1195, 768}}, // inner edge of the right bar
        {2560, 1080, {0, 0}, {-171 - 320 * 1366.0f / 1920, 0}},
        {1280, 1024, {0, 32}, {0, 0}}, // below the top bar
        {1280, 1024, {640, 512}, {512, 384}},
        {1920, 1080, {960, 540}, {512, 384}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        ScreenSetup setup;
        ScreenFit fit;
        ASSERT_EQ(ComputeScreenFit({Monitor(c.w, c.h)}, kGame, false, kNoFrame, setup, fit), VN_OK);
        const math::Point2 logical = framework::WindowToLogical(fit, c.pixel);
        EXPECT_NEAR(logical.x, c.logical.x, 1e-2);
        EXPECT_NEAR(logical.y, c.logical.y, 1e-2);
        const math::Point2 back = framework::LogicalToWindow(fit, logical);
        EXPECT_NEAR(back.x, c.pixel.x, 1e-2);
        EXPECT_NEAR(back.y, c.pixel.y, 1e-2);
    }
}

TEST(ScreenFit, WindowedPlacementCentresInTheWorkAreaOrFallsBackToFullScreen)
{
    struct Case
    {
        int w, h, workH;
        app::FrameExtents frame;
        bool windowed;
        int x, y, outerW, outerH;
    };
    const Case cases[] = {
        {1920, 1080, 1040, kFrame, true, (1920 - 1370) / 2, (1040 - 800) / 2, 1370, 800},
        {1920, 1080, 1080, kNoFrame, true, 277, 156, 1366, 768},
        // The frame and the panel do not fit a 1366 × 768 desktop: full screen.
        {1366, 768, 740, kFrame, false, 0, 0, 1366, 768},
        {1366, 768, 768, kNoFrame, true, 0, 0, 1366, 768},
        {1280, 1024, 1024, kFrame, false, 0, 0, 1280, 1024},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        ScreenSetup setup;
        ScreenFit fit;
        ASSERT_EQ(ComputeScreenFit({Monitor(c.w, c.h, c.workH)}, kGame, true, c.frame, setup, fit), VN_OK);
        EXPECT_EQ(setup.mWindowed, c.windowed);
        EXPECT_EQ(setup.mWindowDoesNotFit, !c.windowed);
        EXPECT_EQ(setup.x, c.x);
        EXPECT_EQ(setup.y, c.y);
        EXPECT_EQ(setup.outerWidth, c.outerW);
        EXPECT_EQ(setup.outerHeight, c.outerH);
        if (c.windowed)
        {
            EXPECT_EQ(setup.mWidth, 1366u);
            EXPECT_EQ(setup.mHeight, 768u);
            EXPECT_FALSE(fit.barsVisible);
        }
        EXPECT_EQ(framework::IsDesktopTooSmall({Monitor(c.w, c.h, c.workH)}, kGame, c.frame), !c.windowed);
    }
}

TEST(ScreenFit, PrimaryMonitorIsUsedAndNoMonitorFails)
{
    app::MonitorInfo side = Monitor(800, 600);
    side.primary = false;
    side.x = -800;
    app::MonitorInfo main = Monitor(1920, 1080);
    main.x = 0;
    ScreenSetup setup;
    ScreenFit fit;
    ASSERT_EQ(ComputeScreenFit({side, main}, kGame, false, kNoFrame, setup, fit), VN_OK);
    EXPECT_EQ(setup.mWidth, 1920u);
    EXPECT_EQ(setup.x, 0);

    // Without a primary flag the first display is used.
    side.primary = false;
    main.primary = false;
    ASSERT_EQ(ComputeScreenFit({side, main}, kGame, false, kNoFrame, setup, fit), VN_OK);
    EXPECT_EQ(setup.mWidth, 800u);
    EXPECT_EQ(setup.x, -800);

    EXPECT_EQ(ComputeScreenFit({}, kGame, true, kNoFrame, setup, fit), VN_FAIL);
    EXPECT_EQ(ComputeScreenFit({Monitor(0, 0)}, kGame, false, kNoFrame, setup, fit), VN_FAIL);
    EXPECT_TRUE(framework::IsDesktopTooSmall({}, kGame, kNoFrame));
}

} // namespace
