#include "Framework/ScreenFit.h"

#include <numeric>

namespace framework
{

namespace
{

struct Ratio
{
    uint32_t x;
    uint32_t y;
};

Ratio Reduce(uint32_t w, uint32_t h)
{
    const uint32_t g = std::gcd(w, h);
    return g == 0 ? Ratio{w, h} : Ratio{w / g, h / g};
}

math::Rect ToLogical(const math::Rect& r, float sx, float sy, float tx, float ty, float lx, float ly)
{
    return math::Rect((r.x - tx) / sx + lx, (r.y - ty) / sy + ly, r.width / sx, r.height / sy);
}

} // namespace

VNResultEnum ComputeScreenFit(const std::vector<app::MonitorInfo>& monitors, const LogicalScreen& screen,
                              bool windowed, const FrameExtents& frame, ScreenSetup& setup, ScreenFit& fit)
{
    const app::MonitorInfo* m = app::FindPrimaryMonitor(monitors);
    if (m == nullptr || screen.baseWidth == 0 || screen.baseHeight == 0 || screen.maxWidth == 0)
        return VN_FAIL;

    // All integer divisions below are unsigned and truncate, as the fitted sizes always were.
    const Ratio base = Reduce(screen.baseWidth, screen.baseHeight);  // a:b
    const Ratio widest = Reduce(screen.maxWidth, screen.baseHeight); // c:d

    uint32_t W = 0;
    uint32_t H = 0;
    if (windowed)
    {
        W = screen.maxWidth;
        H = screen.baseHeight;
        const int32_t outerW = static_cast<int32_t>(W) + frame.left + frame.right;
        const int32_t outerH = static_cast<int32_t>(H) + frame.top + frame.bottom;
        if (outerH > m->workHeight || outerW > m->workWidth)
        {
            setup.mWindowDoesNotFit = true;
            windowed = false;
        }
        else
        {
            setup.outerWidth = outerW;
            setup.outerHeight = outerH;
            setup.x = m->workX + (m->workWidth - outerW) / 2;
            setup.y = m->workY + (m->workHeight - outerH) / 2;
        }
    }
    if (!windowed)
    {
        if (m->width <= 0 || m->height <= 0)
            return VN_FAIL;
        W = static_cast<uint32_t>(m->width);
        H = static_cast<uint32_t>(m->height);
        setup.outerWidth = m->width;
        setup.outerHeight = m->height;
        setup.x = m->x;
        setup.y = m->y;
    }
    setup.mWidth = W;
    setup.mHeight = H;
    setup.mWindowed = windowed;

    const Ratio real = Reduce(W, H);
    uint32_t usedW = W;
    uint32_t usedH = H;
    Ratio used = real;
    fit.barsVisible = false;
    fit.barsAtSides = false;
    fit.bar1 = math::Rect();
    fit.bar2 = math::Rect();
    if (base.y * real.x / real.y < base.x || real.x < base.x * real.y / base.y)
    {
        // Taller than the narrowest logical screen: bars above and below.
        usedH = W * base.y / base.x;
        used = base;
        fit.barsVisible = true;
        const float h = (static_cast<float>(H) - static_cast<float>(usedH)) / 2.0f;
        fit.bar1 = math::Rect(0.0f, 0.0f, static_cast<float>(W), h);
        fit.bar2 = math::Rect(0.0f, static_cast<float>(H) - h, static_cast<float>(W), h);
    }
    else if (widest.x * real.y / widest.y < real.x || widest.x < widest.y * real.x / real.y)
    {
        // Wider than the widest logical screen: bars at the sides.
        usedW = H * widest.x / widest.y;
        used = widest;
        fit.barsVisible = true;
        fit.barsAtSides = true;
        const float w = (static_cast<float>(W) - static_cast<float>(usedW)) / 2.0f;
        fit.bar1 = math::Rect(0.0f, 0.0f, w, static_cast<float>(H));
        fit.bar2 = math::Rect(static_cast<float>(W) - w, 0.0f, w, static_cast<float>(H));
    }

    const uint32_t lw = screen.baseHeight * used.x / used.y;
    const float Lw = static_cast<float>(lw);
    const float Lh = static_cast<float>(screen.baseHeight);
    const float Lx = (static_cast<float>(screen.baseWidth) - Lw) * 0.5f;
    const float Ly = 0.0f;
    fit.visibleRect = math::Rect(Lx, Ly, Lw, Lh);

    const float fW = static_cast<float>(W);
    const float fH = static_cast<float>(H);
    const float fUsedW = static_cast<float>(usedW);
    const float fUsedH = static_cast<float>(usedH);
    fit.inputScaleX = Lw / fUsedW;
    fit.inputScaleY = Lh / fUsedH;
    fit.inputOffsetX = (fUsedW - fW) * 0.5f + Lx / fit.inputScaleX;
    fit.inputOffsetY = (fUsedH - fH) * 0.5f;

    if (usedH <= screen.baseHeight)
    {
        // Not larger than the logical screen: draw straight into the back buffer.
        const float sx = fUsedW / Lw;
        const float sy = fUsedH / Lh;
        const float tx = (fW - fUsedW) * 0.5f;
        const float ty = (fH - fUsedH) * 0.5f;
        setup.mUseRenderTarget = false;
        setup.mOrthoFromSize = false;
        setup.mProjection.SetIdentity();
        setup.mProjection.Translate(math::Point3(-Lx, -Ly, 0.0f));
        setup.mProjection.Scale(math::Point3(sx, sy, 1.0f));
        setup.mProjection.Translate(math::Point3(tx, ty, 0.0f));
        setup.mScaleX = sx;
        setup.mScaleY = sy;
        setup.mOffsetX = tx / sx - Lx;
        setup.mOffsetY = ty / sy - Ly;
        if (fit.barsVisible)
        {
            fit.bar1 = ToLogical(fit.bar1, sx, sy, tx, ty, Lx, Ly);
            fit.bar2 = ToLogical(fit.bar2, sx, sy, tx, ty, Lx, Ly);
        }
        fit.targetDrawScaleX = 1.0f;
        fit.targetDrawScaleY = 1.0f;
    }
    else
    {
        // Larger than the logical screen: draw at logical size into a target scaled onto the screen.
        setup.mUseRenderTarget = true;
        setup.mOrthoFromSize = true;
        setup.mTargetWidth = lw;
        setup.mTargetHeight = screen.baseHeight;
        setup.mTargetOffsetX = -Lx;
        setup.mTargetOffsetY = -Ly;
        setup.mTargetProjection.SetIdentity();
        setup.mTargetProjection.Translate(math::Point3(-Lx, -Ly, 0.0f));
        fit.targetDrawScaleX = fUsedW / Lw;
        fit.targetDrawScaleY = fUsedH / Lh;
    }
    fit.screenCentreX = fW * 0.5f;
    fit.screenCentreY = fH * 0.5f;
    return VN_OK;
}

bool IsDesktopTooSmall(const std::vector<app::MonitorInfo>& monitors, const LogicalScreen& screen,
                       const FrameExtents& frame)
{
    const app::MonitorInfo* m = app::FindPrimaryMonitor(monitors);
    if (m == nullptr)
        return true;
    const int64_t outerW = static_cast<int64_t>(screen.maxWidth) + frame.left + frame.right;
    const int64_t outerH = static_cast<int64_t>(screen.baseHeight) + frame.top + frame.bottom;
    return outerH > m->workHeight || outerW > m->workWidth;
}

math::Point2 WindowToLogical(const ScreenFit& fit, const math::Point2& pixel)
{
    return math::Point2(fit.inputScaleX * (fit.inputOffsetX + pixel.x),
                        fit.inputScaleY * (fit.inputOffsetY + pixel.y));
}

math::Point2 LogicalToWindow(const ScreenFit& fit, const math::Point2& logical)
{
    return math::Point2(logical.x / fit.inputScaleX - fit.inputOffsetX,
                        logical.y / fit.inputScaleY - fit.inputOffsetY);
}

} // namespace framework
