#pragma once

#include "Core/App/MonitorInfo.h"
#include "Core/Base/Matrix4.h"
#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"
#include "Core/Render/RenderInitParam.h"

#include <cstdint>
#include <vector>

namespace framework
{

using app::FrameExtents;

// The window placement and the screen set-up handed to the window and the renderer. Defaults are
// those of a fresh record. ComputeScreenFit leaves in mProjection and mTargetProjection only the
// logical-to-pixel part ((p - L) × s + t); the application appends the renderer's orthographic
// projection for the back buffer or the target.
struct ScreenSetup : render::RenderInitParam
{
    // Window position and size including its frame.
    int32_t x = 0;
    int32_t y = 0;
    int32_t outerWidth = 0;
    int32_t outerHeight = 0;
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
