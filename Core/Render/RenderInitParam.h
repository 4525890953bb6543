#pragma once

#include "Core/Base/Matrix4.h"

#include <cstdint>

namespace render
{

// The screen set-up the application hands to the renderer at start and at each screen-mode switch. The window
// placement the application computes with it is kept by the application.
struct RenderInitParam
{
    // Back-buffer size in pixels (the window's client size).
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    bool mWindowed = true;
    // Build an orthographic projection of mWidth × mHeight; when false mProjection is used.
    bool mOrthoFromSize = true;
    math::Matrix4 mProjection{true};
    // Logical-to-pixel mapping for scissor rectangles: pixel = (logical + offset) × scale.
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    // A windowed request had to fall back to full screen.
    bool mWindowDoesNotFit = false;
    // The scene is drawn into a render target of mTargetWidth × mTargetHeight, with this projection and
    // mapping.
    bool mUseRenderTarget = false;
    uint32_t mTargetWidth = 0;
    uint32_t mTargetHeight = 0;
    math::Matrix4 mTargetProjection{true};
    float mTargetScaleX = 1.0f;
    float mTargetScaleY = 1.0f;
    float mTargetOffsetX = 0.0f;
    float mTargetOffsetY = 0.0f;
};

} // namespace render
