#pragma once

#include "Source/TD/Sprites/TDFrameEntry.h"

// A screen button's image that grows while the pointer is over it and shrinks back when it leaves.
class TDButtonFrame : public TDFrameEntry
{
public:
    static constexpr float kMinZoom = 1.0f;
    static constexpr float kMaxZoom = 1.1f;
    // The centre of the 1024 x 768 layout space, about which a window scales its images and texts on every
    // screen width.
    static constexpr float kLayoutCentreX = 512.0f;
    static constexpr float kLayoutCentreY = 384.0f;

    // Centred on the rectangle's centre, zoomed about it, then the layout scaled by the window's scale about
    // half the size of the map's view rectangle (the layout centre only while the view starts at x 0).
    void draw(render::Graphics* graphics, float scale) override;
    // Hovered while the point lies strictly inside the rectangle.
    void onMouseMove(int x, int y) override;
    // Grows by dt x 0.5 while hovered, shrinks by dt otherwise, within [1.0, 1.1].
    void update(float dt) override;

    float mZoom = kMinZoom;
    // 0 outside, 1 inside.
    int32_t mHover = 0;
};
