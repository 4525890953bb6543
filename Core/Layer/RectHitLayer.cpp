#include "Core/Layer/RectHitLayer.h"

namespace layer
{

RectHitLayer::RectHitLayer()
{
    mHasContent = true;
    mContentValid = false;
}

RectHitLayer::RectHitLayer(const math::Rect& rect) : RectHitLayer()
{
    mRect = rect;
}

void RectHitLayer::SetRect(const math::Rect& rect)
{
    mRect = rect;
    mContentValid = false;
}

void RectHitLayer::UpdateContentBounds()
{
    mContentBox = math::AABB(math::Point3(mRect.x, mRect.y, 0.0f),
                             math::Point3(mRect.x + mRect.width, mRect.y + mRect.height, 0.0f));
}

} // namespace layer
