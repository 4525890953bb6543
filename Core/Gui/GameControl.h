#pragma once

#include "Core/Gui/GameControlHelper.h"
#include "Core/Layer/Layer.h"

namespace gui
{

// A control drawn from state images (normal, hover, pressed, ...) of a layered image, centred under the
// control; the control itself draws nothing and is never hit.
class GameControl : public layer::Layer, public GameControlHelper
{
public:
    // The subclass provides the array of state-image slots (null-filled) and its size.
    GameControl(layer::ImageLayer** stateImages, int32_t stateImageCount);
    // Removes each state image from its parent and deletes it.
    ~GameControl() override;

    // Loads the named image into slot index and grows the bounds by its rectangle; an empty name does
    // nothing.
    VNResultEnum LoadStateImage(int32_t index, const std::wstring& name, layer::ImageLayer** out);
    // Moves the control to the centre of the bounds and attaches the state images under it, in place.
    VNResultEnum CenterOnStateImages();

    const math::RectI& GetBounds() const { return mBounds; }
    bool HasBounds() const { return mBoundsSet; }
    layer::ImageLayer* GetStateImage(int32_t index) const;
    int32_t GetStateImageCount() const { return mStateImageCount; }

protected:
    math::RectI mBounds;
    bool mBoundsSet = false;
    layer::ImageLayer** mStateImages;
    int32_t mStateImageCount;
};

} // namespace gui
