#include "Source/TD/HUD/Controls/HUDScrollBar.h"

#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Render/Image.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

HUDScrollBar::HUDScrollBar(file::ImageContainer* layout)
{
    mRoot = new layer::Layer;
    mBar = new layer::ImageLayer;
    mSlider = new layer::ImageLayer;
    // A layer the layout lacks is logged by the helper and left without picture.
    initImageLayerFromPsd(mBar, layout, L"scroll/bar", math::Point2(0.0f, 0.0f));
    initImageLayerFromPsd(mSlider, layout, L"scroll/slider_in", math::Point2(0.0f, 0.0f));
    mRoot->AddChild(mBar);
    mRoot->AddChild(mSlider);
    moveSliderTo(kPointerTop - kGrab);
    if (layer::Layer* board = boardRootLayer())
        board->AddChild(mRoot);
}

HUDScrollBar::~HUDScrollBar()
{
    removeFromParent(mRoot);
    delete mBar;
    delete mSlider;
    delete mRoot;
}

void HUDScrollBar::moveSliderTo(float top)
{
    mSlider->SetPosition(math::Point3(mSlider->GetPosition().x, top, 0.0f));
}

void HUDScrollBar::press(float x, float y)
{
    const render::Image* image = mSlider->GetImage();
    if (image == nullptr)
        return;
    const math::Point3& at = mSlider->GetPosition();
    if (x > at.x && x < at.x + static_cast<float>(image->GetWidth()) && y > at.y &&
        y < at.y + static_cast<float>(image->GetHeight()))
        mDragState = 0;
}

void HUDScrollBar::drag(float, float y)
{
    if (mDragState != 0)
        return;
    const float clamped = std::clamp(y, kPointerTop, kPointerBottom);
    moveSliderTo(clamped - kGrab);
    mPosition = (clamped - kPointerTop) / kRange;
}

void HUDScrollBar::release(float, float)
{
    mDragState = -1;
}

void HUDScrollBar::reset()
{
    moveSliderTo(kPointerTop - kGrab);
    mPosition = 0.0f;
}

void HUDScrollBar::placeSlider()
{
    moveSliderTo(mPosition * kRange + kPointerTop - kGrab);
}
