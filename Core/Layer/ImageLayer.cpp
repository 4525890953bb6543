#include "Core/Layer/ImageLayer.h"

#include "Core/Render/Image.h"

namespace layer
{

namespace
{

// The low end of the content box along one axis.
float AnchorOffset(int32_t anchor, float size)
{
    if (anchor == AnchorEnd)
        return -size;
    if (anchor == AnchorCentre)
        return -size * 0.5f;
    return 0.0f;
}

} // namespace

ImageLayer::ImageLayer()
{
    mHasContent = true;
    mContentValid = false;
}

ImageLayer::ImageLayer(render::Image* image, bool owns) : ImageLayer()
{
    mImage = image;
    mOwnsImage = owns;
}

ImageLayer::~ImageLayer()
{
    if (mOwnsImage)
        delete mImage;
}

void ImageLayer::SetImage(render::Image* image, bool owns)
{
    if (mOwnsImage && mImage != image)
        delete mImage;
    mImage = image;
    mOwnsImage = owns;
    mContentValid = false;
}

void ImageLayer::SetAnchors(int32_t horizontal, int32_t vertical)
{
    mAnchorH = horizontal;
    mAnchorV = vertical;
    mContentValid = false;
}

void ImageLayer::UpdateContentBounds()
{
    mContentBox.Clear();
    if (!mImage)
        return;
    const float w = static_cast<float>(mImage->GetWidth());
    const float h = static_cast<float>(mImage->GetHeight());
    const float x = AnchorOffset(mAnchorH, w);
    const float y = AnchorOffset(mAnchorV, h);
    mContentBox = math::AABB(math::Point3(x, y, 0.0f), math::Point3(x + w, y + h, 0.0f));
}

bool ImageLayer::HitTest(const math::Point3& local)
{
    if (!mImage)
        return false;
    const float w = static_cast<float>(mImage->GetWidth());
    const float h = static_cast<float>(mImage->GetHeight());
    const float x = local.x - AnchorOffset(mAnchorH, w);
    const float y = local.y - AnchorOffset(mAnchorV, h);
    return mImage->HitTest(static_cast<int32_t>(x + 0.5f), static_cast<int32_t>(y + 0.5f));
}

} // namespace layer
