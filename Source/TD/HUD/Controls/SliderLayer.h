#pragma once

#include "Core/Layer/ImageLayer.h"

// The bar of a TamselSlider: its image drawn only up to the filled width, from the left.
class SliderLayer : public layer::ImageLayer
{
public:
    SliderLayer() = default;

    // Sets the graphics state up and restores it exactly as an image layer does, and draws the source
    // rectangle (0, 0, filled width, bar height) of the image; nothing without an image.
    VNResultEnum DrawSelf(render::Graphics* graphics) override;

    // The part of the image shown: x and y stay 0, the height is the image's, the width the filled width.
    float mSourceRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};
