#include "Source/TD/HUD/Controls/TamselSlider.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/MathUtil.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/Controls/SliderLayer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr char kGlintEffect[] = "blik_1";

// The picture and its document rectangle through the application's renderer.
VNResultEnum loadPicture(file::ImageContainer* folder, const std::wstring& name, render::Image** image,
                         base::ImageInfo* info)
{
    framework::GameApplication* application = framework::GetGameApplication();
    render::Render* renderer = application != nullptr ? application->GetRender() : nullptr;
    if (renderer == nullptr)
        return VN_FAIL;
    render::Image* loaded = nullptr;
    if (const VNResultEnum r = renderer->LoadTexture(name, folder, &loaded, info); r != VN_OK)
    {
        delete loaded;
        return r;
    }
    if (loaded == nullptr)
        return VN_FAIL;
    *image = loaded;
    return VN_OK;
}

math::RectI truncated(const base::ImageInfo& info)
{
    return math::RectI(static_cast<int>(info.mRect[0]), static_cast<int>(info.mRect[1]),
                       static_cast<int>(info.mRect[2]), static_cast<int>(info.mRect[3]));
}

} // namespace

TamselSlider::TamselSlider()
    : gui::GameControl(mStateSlots, 2), widget::WidgetHitTestListener(static_cast<widget::Slider*>(this))
{
    mSlider = this;
    mSlider->SetLayer(static_cast<layer::Layer*>(this), false, false);
    mSlider->SetListener(static_cast<widget::WidgetListener*>(this), true);
}

TamselSlider::~TamselSlider()
{
    if (mThumb != nullptr)
    {
        if (layer::Layer* parent = mThumb->GetParent())
            parent->RemoveChild(mThumb);
        delete mThumb;
        mThumb = nullptr;
    }
}

WidgetTypeId& TamselSlider::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(widget::Slider::ClassTypeId());
    return id;
}

VNResultEnum TamselSlider::init(file::ImageContainer* folder, const std::wstring& barImage,
                                const std::wstring& thumbImage)
{
    // The control's own layer carries the slider's hit-test listener: presses on the bar or the thumb below
    // it reach the slider with the hit layer as target.
    SetHitTestListener(static_cast<widget::WidgetHitTestListener*>(this));
    if (const VNResultEnum r = gui::GameControlHelper::Init(
            folder, mSlider, static_cast<widget::WidgetHitTestListener*>(this), nullptr, false);
        r != VN_OK)
        return r;

    render::Image* barPicture = nullptr;
    base::ImageInfo barInfo;
    if (const VNResultEnum r = loadPicture(folder, barImage, &barPicture, &barInfo); r != VN_OK)
        return r;
    mBar = new SliderLayer;
    mBar->SetImage(barPicture, true);
    mBar->SetPosition(math::Point3(barInfo.mRect[0], barInfo.mRect[1], 0.0f));
    mBar->mSourceRect[2] = static_cast<float>(barPicture->GetWidth());
    mBar->mSourceRect[3] = static_cast<float>(barPicture->GetHeight());
    mStateSlots[0] = mBar;
    mBounds = truncated(barInfo);
    mBoundsSet = true;

    render::Image* thumbPicture = nullptr;
    base::ImageInfo thumbInfo;
    if (const VNResultEnum r = loadPicture(folder, thumbImage, &thumbPicture, &thumbInfo); r != VN_OK)
        return r;
    const float w = thumbInfo.mRect[2];
    const float h = thumbInfo.mRect[3];
    mThumb = new layer::ImageLayer(thumbPicture, true);
    mThumb->SetPosition(math::Point3(2.0f - w / 2.0f, -h / 2.0f, 0.0f));
    auto* thumbHolder = new layer::ImageLayer;
    thumbHolder->SetPosition(
        math::Point3(thumbInfo.mRect[0] + w / 2.0f - 2.0f, thumbInfo.mRect[1] + h / 2.0f, 0.0f));
    thumbHolder->AddChild(mThumb);
    mStateSlots[1] = thumbHolder;
    mBounds.Union(truncated(thumbInfo));

    if (const VNResultEnum r = CenterOnStateImages(); r != VN_OK)
        return r;

    mHalfThumbWidth = static_cast<float>(thumbPicture->GetWidth() / 2);
    mTrackLeft = mBar->GetPosition().x + mHalfThumbWidth;
    mTrackRight = mTrackLeft + static_cast<float>(barPicture->GetWidth()) -
                  static_cast<float>(thumbPicture->GetWidth()) - 2.0f;

    mGlint = render::ParticleSystem::Instance()->GetEmitter(kGlintEffect);
    if (mGlint != nullptr)
    {
        mGlint->SetLoopMode(1);
        mGlintLayer = new layer::ParticlesLayer;
        mGlintLayer->SetEmitter(mGlint, true);
        if (const VNResultEnum r = AddLayer(mGlintLayer, gui::HitModeDisabled, nullptr); r != VN_OK)
            return r;
    }
    else
    {
        logDataProblem(L"td/fx/fx2.ptc",
                       L"no effect '" + base::ToWide(kGlintEffect, 1) + L"'; the slider shows no glint");
    }

    return mSlider->SetValue(GetValue(), true);
}

float TamselSlider::clampToTrack(float x) const
{
    return std::clamp(x, mTrackLeft, std::max(mTrackLeft, mTrackRight));
}

float TamselSlider::valueAt(float x) const
{
    const float length = mTrackRight - mTrackLeft;
    if (length <= 0.0f)
        return GetMinimum();
    return GetMinimum() + (GetMaximum() - GetMinimum()) * (x - mTrackLeft) / length;
}

void TamselSlider::moveThumb(float x)
{
    if (layer::ImageLayer* thumbHolder = holder())
        thumbHolder->SetX(x);
    if (mBar != nullptr)
        mBar->mSourceRect[2] = x - mBar->GetPosition().x;
    if (mGlint != nullptr)
        mGlint->SetPosition(math::Point2(x, 0.0f), 0);
}

VNResultEnum TamselSlider::UpdateView()
{
    const float range = GetMaximum() - GetMinimum();
    float fraction = range != 0.0f ? (GetValue() - GetMinimum()) / range : 0.0f;
    // A value set from code beyond the range keeps the thumb at the end of the track.
    fraction = std::clamp(fraction, 0.0f, 1.0f);
    moveThumb(mTrackLeft + (mTrackRight - mTrackLeft) * fraction);
    return VN_OK;
}

VNResultEnum TamselSlider::GetCaptureInfo(const math::Point3& point, widget::CaptureInfo& out)
{
    float grab = point.x;
    layer::ImageLayer* thumbHolder = holder();
    if (mBar != nullptr && mTargetLayer == mBar && thumbHolder != nullptr)
    {
        mDragging = true;
        mGlideStartX = thumbHolder->GetPosition().x;
        mGlideTargetX = clampToTrack(point.x);
        mGlideDuration = std::fabs(mGlideTargetX - mGlideStartX) / kGlideSpeed;
        mGlideElapsed = 0.0f;
        grab = 0.0f;
    }
    else if (mThumb != nullptr && mTargetLayer == mThumb && thumbHolder != nullptr)
    {
        mDragging = true;
        mGlideDuration = 0.0f;
        mGlideElapsed = 0.0f;
        mGlideStartX = mGlideTargetX = thumbHolder->GetPosition().x;
        grab = point.x - thumbHolder->GetPosition().x;
    }
    out.Set(mSlider, static_cast<layer::Layer*>(this), math::Point3(grab, point.y, point.z), false);
    return VN_OK;
}

VNResultEnum TamselSlider::OnCapturedMouseDrag(widget::CaptureInfo* capture, const math::Point3& point)
{
    if (const VNResultEnum r = widget::WidgetListener::OnCapturedMouseDrag(capture, point); r != VN_OK)
        return r;
    if (!mDragging || capture == nullptr)
        return VN_OK;
    const float x = clampToTrack(point.x - capture->point.x);
    if (isGliding())
    {
        mGlideTargetX = x;
        return VN_OK;
    }
    moveThumb(x);
    return mSlider->SetDragValue(valueAt(x), false);
}

VNResultEnum TamselSlider::OnCapturedMouseUp(widget::CaptureInfo* capture, const math::Point3& point,
                                             int32_t button)
{
    // Read before the base ends the capture.
    const float grab = capture != nullptr ? capture->point.x : 0.0f;
    if (const VNResultEnum r = widget::WidgetListener::OnCapturedMouseUp(capture, point, button); r != VN_OK)
    {
        mDragging = false;
        return r;
    }
    const bool settle = mDragging && !isGliding();
    mDragging = false;
    if (!settle)
        return VN_OK;
    const float x = clampToTrack(point.x - grab);
    moveThumb(x);
    return mSlider->SetValue(valueAt(x), false);
}

VNResultEnum TamselSlider::Update(float dt)
{
    if (mGlint != nullptr)
        mGlint->Update(dt);
    const bool active = mSlider->IsHovered() || mSlider->IsCaptured() || isGliding();
    if (active != mGlintActive)
    {
        mGlintActive = active;
        if (mGlint != nullptr)
            mGlint->SetState(active ? 1 : 2);
    }
    (void)math::Approach(&mPressPulse, 10.0f * dt, mDragging && !isGliding() ? 1.0f : 0.0f);
    if (layer::ImageLayer* thumbHolder = holder())
    {
        const float scale = 1.0f - 0.05f * mPressPulse;
        thumbHolder->SetScaleX(scale);
        thumbHolder->SetScaleY(scale);
    }
    if (!isGliding())
        return VN_OK;
    if (math::Approach(&mGlideElapsed, dt, mGlideDuration))
    {
        mGlideElapsed = 0.0f;
        mGlideDuration = 0.0f;
        moveThumb(mGlideTargetX);
        const float value = valueAt(mGlideTargetX);
        return mDragging ? mSlider->SetDragValue(value, false) : mSlider->SetValue(value, false);
    }
    const float eased = 0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * mGlideElapsed / mGlideDuration);
    const float x = mGlideStartX + (mGlideTargetX - mGlideStartX) * eased;
    moveThumb(x);
    return mSlider->SetDragValue(valueAt(x), false);
}
