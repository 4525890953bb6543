#include "Source/TD/HUD/Controls/TamselButton.h"

#include "Source/TD/HUD/Controls/TamselFaces.h"

#include "Core/Base/MathUtil.h"
#include "Core/Layer/ImageLayer.h"

#include <cmath>
#include <numbers>

namespace
{

constexpr int kNormalFace = 0;
constexpr int kOverFace = 1;

} // namespace

TamselButton::TamselButton() : gui::GameControl(mFaces, 2) {}

WidgetTypeId& TamselButton::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(widget::Button::ClassTypeId());
    return id;
}

VNResultEnum TamselButton::init(file::ImageContainer* folder, const std::wstring& normalFace,
                                const std::wstring& overFace, const std::wstring& backImage)
{
    if (const VNResultEnum r = tamsel::attachButton(*this, folder); r != VN_OK)
        return r;
    if (const VNResultEnum r = LoadStateImage(kNormalFace, normalFace, nullptr); r != VN_OK)
        return r;
    if (const VNResultEnum r = LoadStateImage(kOverFace, overFace, nullptr); r != VN_OK)
        return r;
    if (const VNResultEnum r = CenterOnStateImages(); r != VN_OK)
        return r;
    if (const VNResultEnum r = CreateImageLayerAtBack(backImage, gui::HitModeDisabled, nullptr, nullptr);
        r != VN_OK)
        return r;
    return SetVisualState(widget::ButtonNormal);
}

VNResultEnum TamselButton::SetVisualState(int32_t state)
{
    tamsel::enableStateFace(mFaces[kNormalFace], mFaces[kOverFace], state);
    return VN_OK;
}

VNResultEnum TamselButton::Update(float dt)
{
    const int32_t state = GetVisualState();
    const bool over = state == widget::ButtonHover || state == widget::ButtonPressed;
    (void)math::Approach(&mHoverFade, 3.0f * dt, over ? 1.0f : 0.0f);
    (void)math::Approach(&mPressFade, 5.0f * dt, state == widget::ButtonPressed ? 1.0f : 0.0f);
    if (mFaces[kOverFace] != nullptr)
        mFaces[kOverFace]->SetAlpha(mHoverFade);
    if (mFaces[kNormalFace] != nullptr)
        mFaces[kNormalFace]->SetAlpha(tamsel::normalFaceAlpha(mHoverFade));
    const float scale = 1.0f - (0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * mPressFade)) * 0.05f;
    // The setters store (and mark the transform changed) only when the value differs.
    SetScaleX(scale);
    SetScaleY(scale);
    return VN_OK;
}
