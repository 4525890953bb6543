#pragma once

#include "Core/Layer/Layer.h"

#include <cstdint>
#include <string>

namespace layer
{
class ImageLayer;
class TextLayer;
} // namespace layer
namespace render
{
class Image;
}

class TDFrameEntry;

// A button built as a small layer tree (normal picture, pressed picture, label, drawn in that order) that
// the layer tree it hangs on draws. Its picture is centred on its position; it grows while hovered. The
// owner asks it for hits and calls onClick, which subclasses fill.
class HUDLayerButton : public layer::Layer
{
public:
    // The pictures are the frames' textures (not owned: the frames keep them); a missing frame or texture
    // leaves its picture empty. The label is centred on the position in the board's default font.
    HUDLayerButton(const TDFrameEntry* normal, const TDFrameEntry* pressed, const std::wstring& label);
    // Detaches and deletes its three layers.
    ~HUDLayerButton() override;

    // Nothing here.
    virtual void onClick(int x, int y);

    // Visible, and the point strictly inside the normal picture at its unscaled place.
    bool hitTest(int x, int y) const;
    void updateHover(int x, int y);
    // Grows by dt while hovered and shrinks by dt x 0.5 otherwise, within [1.0, 1.1].
    void update(float dt);

    render::Image* mNormalImage = nullptr;
    render::Image* mPressedImage = nullptr;
    layer::ImageLayer* mNormalLayer = nullptr;
    layer::ImageLayer* mPressedLayer = nullptr;
    layer::TextLayer* mLabelLayer = nullptr;
    float mScale = 1.0f;
    uint8_t mHovered = 0;
};
