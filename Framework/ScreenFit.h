#pragma once

#include "Core/App/MonitorInfo.h"
#include "Core/Base/Matrix4.h"
#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"

#include <cstdint>
#include <vector>

namespace framework
{

using app::FrameExtents;

// The window placement and the screen set-up handed to the window and the renderer. Defaults are
// those of a fresh record.
struct ScreenSetup
{
    // Window position and size including its frame.
    int32_t x = 0;
    int32_t y = 0;
    int32_t outerWidth = 0;
    int32_t outerHeight = 0;

    // Back-buffer size in pixels (the client size).
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    bool mWindowed = true;
    // The renderer builds its own pixel projection; when false mProjection is used.
    bool mOrthoFromSize = true;
    // Logical to back-buffer pixels ((p - L) × s + t); the renderer appends its orthographic
    // projection for mWidth × mHeight.
    math::Matrix4 mProjection{true};
    // pixel = (logical + offset) × scale, for scissor rectangles.
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    // A windowed request had to fall back to full screen.
    bool mWindowDoesNotFit = false;
    // The scene is drawn into a render target of logical size, then scaled onto the back buffer.
    bool mUseRenderTarget = false;
    uint32_t mTargetWidth = 0;
    uint32_t mTargetHeight = 0;
    // Logical to target pixels; the renderer appends its orthographic projection for the target size.
    math::Matrix4 mTargetProjection{true};
    float mTargetScaleX = 1.0f;
    float mTargetScaleY = 1.0f;
    float mTargetOffsetX = 0.0f;
    float mTargetOffsetY = 0.0f;
};

// How the logical screen sits on the real one: the application's mapping fields.
struct ScreenFit
{
    // Window pixel to logical: logical = scale × (offset + pixel) per axis.
    float inputScaleX = 1.0f;
    float inputScaleY = 1.0f;
    float inputOffsetX = 0.0f;
    float inputOffsetY = 0.0f;
    // The part of the logical plane visible on the screen.
    math::Rect visibleRect;
    bool barsVisible = false;
    // Bars left and right when true, above and below when false.
    bool barsAtSides = false;
    // In logical units when drawing straight to the back buffer, in pixels with a render target.
    math::Rect bar1;
    math::Rect bar2;
    float targetDrawScaleX = 1.0f;
    float targetDrawScaleY = 1.0f;
    float screenCentreX = 0.0f;
    float screenCentreY = 0.0f;
};

// The logical screen: baseHeight high, baseWidth to maxWidth wide.
struct LogicalScreen
{
    uint32_t baseWidth = 1024;
    uint32_t baseHeight = 768;
    uint32_t maxWidth = 1366;
};

// Fits the logical screen to the primary monitor, windowed (centred in the work area, when the framed
// window fits) or full screen. Fails without monitors or with an empty screen size.
VNResultEnum ComputeScreenFit(const std::vector<app::MonitorInfo>& monitors, const LogicalScreen& screen,
                              bool windowed, const FrameExtents& frame, ScreenSetup& setup, ScreenFit& fit);

// The framed window of the widest logical screen does not fit the primary monitor's work area.
bool IsDesktopTooSmall(const std::vector<app::MonitorInfo>& monitors, const LogicalScreen& screen,
                       const FrameExtents& frame);

// window pixel -> logical and back with the mapping of a fit.
math::Point2 WindowToLogical(const ScreenFit& fit, const math::Point2& pixel);
math::Point2 LogicalToWindow(const ScreenFit& fit, const math::Point2& logical);

} // namespace framework
