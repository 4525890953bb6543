#pragma once

#include "Core/Layer/Layer.h"

namespace layer
{

// An invisible rectangle that is hit everywhere inside it (the hit area of a frame).
class RectHitLayer : public Layer
{
public:
    RectHitLayer();
    explicit RectHitLayer(const math::Rect& rect);

    void UpdateContentBounds() override;
    bool HitTest(const math::Point3&) override { return true; }

    void SetRect(const math::Rect& rect);
    const math::Rect& GetRect() const { return mRect; }

private:
    math::Rect mRect;
};

} // namespace layer
