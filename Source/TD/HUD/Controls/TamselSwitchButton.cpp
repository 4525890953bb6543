#include "Source/TD/HUD/Controls/TamselSwitchButton.h"

#include "Source/TD/HUD/Controls/TamselFaces.h"

#include "Core/Base/MathUtil.h"
#include "Core/Gui/TrapHitTestListener.h"
#include "Core/Layer/ImageLayer.h"

#include <cmath>
#include <numbers>

namespace
{

constexpr int kSelectedFace = 0;
constexpr int kNormalFace = 1;
constexpr int kOverFace = 2;

} // namespace

TamselSwitchButton::TamselSwitchButton() : gui::GameControl(mFaces, 3) {}

WidgetTypeId& TamselSwitchButton::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(widget::Button::ClassTypeId());
    return id;
}

VNResultEnum TamselSwitchButton::init(file::ImageContainer* folder, const std::wstring& normalFace,
                                      const std::wstring& overFace, const std::wstring& selectedFace,
                                      const std::wstring& backImage)
{
    if (const VNResultEnum r = tamsel::attachButton(*this, folder); r != VN_OK)
        return r;
    if (const VNResultEnum r = LoadStateImage(kSelectedFace, selectedFace, nullptr); r != VN_OK)
        return r;
    if (mFaces[kSelectedFace] != nullptr)
        mFaces[kSelectedFace]->SetHitTestListener(GetTrapListener());
    if (const VNResultEnum r = LoadStateImage(kNormalFace, normalFace, nullptr); r != VN_OK)
        return r;
    if (const VNResultEnum r = LoadStateImage(kOverFace, overFace, nullptr); r != VN_OK)
        return r;
    if (const VNResultEnum r = CenterOnStateImages(); r != VN_OK)
        return r;
    if (const VNResultEnum r = CreateImageLayerAtBack(backImage, gui::HitModeDisabled, nullptr, nullptr);
        r != VN_OK)
        return r;
    if (const VNResultEnum r = SetVisualState(widget::ButtonNormal); r != VN_OK)
        return r;
    return Update(0.0f);
}

void TamselSwitchButton::setSelected(bool selected)
{
    mSelected = selected;
    layer::HitTestListener* listener =
        selected ? nullptr
                 : static_cast<layer::HitTestListener*>(static_cast<widget::WidgetHitTestListener*>(this));
    for (int face : {kNormalFace, kOverFace})
        if (mFaces[face] != nullptr)
            mFaces[face]->SetHitTestListener(listener);
}

VNResultEnum TamselSwitchButton::SetVisualState(int32_t state)
{
    tamsel::enableStateFace(mFaces[kNormalFace], mFaces[kOverFace], state);
    return VN_OK;
}

VNResultEnum TamselSwitchButton::Update(float dt)
{
    const int32_t state = GetVisualState();
    const bool over = state == widget::ButtonHover || state == widget::ButtonPressed;
    (void)math::Approach(&mHoverFade, 3.0f * dt, over ? 1.0f : 0.0f);
    (void)math::Approach(&mSelectFade, 5.0f * dt, mSelected ? 1.0f : 0.0f);
    const float k = tamsel::normalFaceAlpha(mHoverFade);
    const float s = mSelectFade;
    if (mFaces[kOverFace] != nullptr)
        mFaces[kOverFace]->SetAlpha((1.0f - s) * mHoverFade);
    if (mFaces[kNormalFace] != nullptr)
        mFaces[kNormalFace]->SetAlpha((1.0f - s) * k);
    if (mFaces[kSelectedFace] != nullptr)
        mFaces[kSelectedFace]->SetAlpha(s < 0.1f ? s * 10.0f : 1.0f);
    const float scale = 1.0f + (0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * mHoverFade)) * 0.1f;
    SetScaleX(scale);
    SetScaleY(scale);
    return VN_OK;
}
