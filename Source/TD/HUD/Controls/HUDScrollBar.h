#pragma once

#include <cstdint>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
} // namespace layer

// The upgrade shop's vertical scroll bar: a track ("scroll/bar") and a slider ("scroll/slider_in") dragged
// along a fixed range, turning the slider's height into a position from 0 (top) to 1 (bottom). It hangs on
// the game board's root layer. The slider's top runs from 221 to 464; the pointer range is 251 to 494.
class HUDScrollBar
{
public:
    static constexpr float kPointerTop = 251.0f;
    static constexpr float kPointerBottom = 494.0f;
    static constexpr float kRange = kPointerBottom - kPointerTop;
    // Between the pointer and the slider's top edge.
    static constexpr float kGrab = 30.0f;

    // Layers the layout lacks stay empty (logged); an empty slider is never grabbed.
    explicit HUDScrollBar(file::ImageContainer* layout);
    HUDScrollBar(const HUDScrollBar&) = delete;
    HUDScrollBar& operator=(const HUDScrollBar&) = delete;
    // Takes the bar off the board and deletes its layers.
    ~HUDScrollBar();

    // Grabs the slider when the point lies strictly inside its picture.
    void press(float x, float y);
    // While grabbed: the slider follows the pointer within the range and the position follows the slider.
    void drag(float x, float y);
    void release(float x, float y);
    // Slider at the top, position 0.
    void reset();
    // Moves the slider to the position the owner wrote.
    void placeSlider();

    // -1 idle, 0 while the slider is held.
    int32_t mDragState = -1;
    layer::Layer* mRoot = nullptr;
    layer::ImageLayer* mSlider = nullptr;
    layer::ImageLayer* mBar = nullptr;
    float mPosition = 0.0f;

private:
    void moveSliderTo(float top);
};
