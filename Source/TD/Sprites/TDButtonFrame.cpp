#include "Source/TD/Sprites/TDButtonFrame.h"

#include "Core/Render/Graphics.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"

#include <algorithm>

namespace
{
// Half the size of the map's view rectangle; its left and top are not added, so on a wide screen the buttons
// scale about a point right of the layout centre. Before there is a map, half the layout space.
math::Point2 halfView()
{
    const TDMap* map = Game::GetMap();
    if (map == nullptr)
        return math::Point2(TDButtonFrame::kLayoutCentreX, TDButtonFrame::kLayoutCentreY);
    return math::Point2(map->mScreenRect[2] * 0.5f, map->mScreenRect[3] * 0.5f);
}
} // namespace

void TDButtonFrame::draw(render::Graphics* graphics, float scale)
{
    if (graphics == nullptr || mTexture == nullptr)
        return;
    const math::Point2 half = halfView();
    render::Transform2D transform;
    transform.Scale(mZoom, mZoom);
    transform.Translate(mRect.x + mRect.width * 0.5f - half.x, mRect.y + mRect.height * 0.5f - half.y);
    transform.Scale(scale, scale);
    transform.Translate(half.x, half.y);
    graphics->SetColor(mColor);
    auto image = graphics->DrawImage(mTexture).Transform(transform);
    image->mAlignH = 2;
    image->mAlignV = 2;
}

void TDButtonFrame::onMouseMove(int x, int y)
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    const bool inside =
        px > mRect.x && px < mRect.x + mRect.width && py > mRect.y && py < mRect.y + mRect.height;
    mHover = inside ? 1 : 0;
}

void TDButtonFrame::update(float dt)
{
    if (mHover == 1)
        mZoom = std::min(mZoom + dt * 0.5f, kMaxZoom);
    else if (mHover == 0)
        mZoom = std::max(mZoom - dt, kMinZoom);
}
