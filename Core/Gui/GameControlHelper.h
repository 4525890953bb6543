#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"
#include "Core/Resource/CountedHandle.h"

#include <cstdint>
#include <string>
#include <vector>

namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}
namespace layer
{
class HitTestListener;
class ImageLayer;
class Layer;
class TextLayer;
} // namespace layer
namespace render
{
class Font;
class Render;
} // namespace render
namespace widget
{
class TrapHitTestListener;
class Widget;
} // namespace widget

namespace gui
{

// How a new layer takes hits.
enum HitMode : int32_t
{
    HitModeKeep = 0,     // its own hit settings
    HitModeDisabled = 1, // never hit
    HitModeTrap = 2,     // swallows clicks through the trap listener
};

// Makes an image layer of a named image of a container: a new layer owning the image, placed at the image's x
// and y. The application frame provides one (it owns the renderer).
class ImageLayerFactory
{
public:
    virtual ~ImageLayerFactory() = default;
    virtual VNResultEnum CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                          layer::ImageLayer** out, base::ImageInfo* info) = 0;
};

// The factory that loads the image through a renderer.
class RenderImageLayerFactory : public ImageLayerFactory
{
public:
    explicit RenderImageLayerFactory(render::Render* render) : mRender(render) {}
    VNResultEnum CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                  layer::ImageLayer** out, base::ImageInfo* info) override;

private:
    render::Render* mRender;
};

// The factory the helpers use (not owned; null until the application sets it).
void SetImageLayerFactory(ImageLayerFactory* factory);
ImageLayerFactory* GetImageLayerFactory();

// Builds layers from the named images of a layered image (image folder or PSD document) under a parent layer,
// sets how each is hit, and deletes everything it made.
class GameControlHelper
{
public:
    GameControlHelper() = default;
    GameControlHelper(const GameControlHelper&) = delete;
    GameControlHelper& operator=(const GameControlHelper&) = delete;
    // Removes each made layer from its parent and deletes it; deletes the trap listener and an owned
    // container.
    virtual ~GameControlHelper();

    // Opens the container by name through the file manager; 1 when there is none. The parent defaults to the
    // owner widget's layer.
    VNResultEnum Init(const std::wstring& containerName, widget::Widget* owner,
                      layer::HitTestListener* listener, layer::Layer* parent, bool ownsContainer);
    VNResultEnum Init(file::ImageContainer* container, widget::Widget* owner,
                      layer::HitTestListener* listener, layer::Layer* parent, bool ownsContainer);

    // A new image layer of the named image with the stored listener, not attached; its image rectangle in
    // rect.
    VNResultEnum LoadImageLayer(const std::wstring& name, math::RectI* rect, layer::ImageLayer** out);
    // An image layer placed relative to the stored parent and added on top of the parent's children.
    VNResultEnum CreateImageLayer(const std::wstring& name, int32_t hitMode, layer::Layer* parent,
                                  layer::ImageLayer** out);
    // The same, added below the parent's other children.
    VNResultEnum CreateImageLayerAtBack(const std::wstring& name, int32_t hitMode, layer::Layer* parent,
                                        layer::ImageLayer** out);
    // A centred text layer with its text box on whole units.
    VNResultEnum CreateTextLayer(const CountedHandle<render::Font>& font, const std::wstring& text,
                                 int32_t hitMode, layer::Layer* parent, layer::TextLayer** out);
    // Applies the hit mode, keeps the layer and attaches it on top of the parent (the stored one when null).
    VNResultEnum AddLayer(layer::Layer* layer, int32_t hitMode, layer::Layer* parent);
    VNResultEnum AddLayerAtBack(layer::Layer* layer, int32_t hitMode, layer::Layer* parent);
    // Made on first use with the owner widget.
    widget::TrapHitTestListener* GetTrapListener();

    file::ImageContainer* GetContainer() const { return mContainer; }
    layer::Layer* GetParentLayer() const { return mParent; }
    widget::Widget* GetOwner() const { return mOwner; }
    const std::vector<layer::Layer*>& GetMadeLayers() const { return mLayers; }

private:
    VNResultEnum PlaceImageLayer(const std::wstring& name, layer::ImageLayer** out);
    void ApplyHitMode(layer::Layer* layer, int32_t hitMode);

    std::vector<layer::Layer*> mLayers; // owned
    file::ImageContainer* mContainer = nullptr;
    bool mOwnsContainer = false;
    widget::Widget* mOwner = nullptr;
    layer::Layer* mParent = nullptr;
    layer::HitTestListener* mListener = nullptr;
    widget::TrapHitTestListener* mTrap = nullptr; // owned
};

} // namespace gui
