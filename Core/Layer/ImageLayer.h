#pragma once

#include "Core/Layer/Layer.h"

#include <cstdint>

namespace render
{
class Image;
}

namespace layer
{

// Image anchors: where the image sits against the layer origin.
enum ImageAnchor : int32_t
{
    AnchorStart = 0,  // left (top) edge at the origin
    AnchorEnd = 1,    // right (bottom) edge at the origin
    AnchorCentre = 2, // centred on the origin
};

// A layer that draws one image and is hit where the image's hit mask is set.
class ImageLayer : public Layer
{
public:
    ImageLayer();
    explicit ImageLayer(render::Image* image, bool owns = false);
    ~ImageLayer() override;

    VNResultEnum DrawSelf(render::Graphics* graphics) override;
    void UpdateContentBounds() override;
    bool HitTest(const math::Point3& local) override;

    // Deletes a previously owned image, then stores this one.
    void SetImage(render::Image* image, bool owns);
    void SetAnchors(int32_t horizontal, int32_t vertical);

    render::Image* GetImage() const { return mImage; }
    bool OwnsImage() const { return mOwnsImage; }
    int32_t GetAnchorH() const { return mAnchorH; }
    int32_t GetAnchorV() const { return mAnchorV; }

private:
    render::Image* mImage = nullptr;
    bool mOwnsImage = false;
    int32_t mAnchorH = AnchorStart;
    int32_t mAnchorV = AnchorStart;
};

} // namespace layer
