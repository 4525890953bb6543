#include "Source/TD/Sprites/TDButtonFrame.h"

#include "Core/Render/Graphics.h"

#include <algorithm>

void TDButtonFrame::draw(render::Graphics* graphics, float scale)
{
    if (graphics == nullptr || mTexture == nullptr)
        return;
    render::Transform2D transform;
    transform.Scale(mZoom, mZoom);
    transform.Translate(mRect.x + mRect.width * 0.5f - kLayoutCentreX,
                        mRect.y + mRect.height * 0.5f - kLayoutCentreY);
    transform.Scale(scale, scale);
    transform.Translate(kLayoutCentreX, kLayoutCentreY);
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
