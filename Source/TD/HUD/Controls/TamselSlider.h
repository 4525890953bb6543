#pragma once

#include "Core/Gui/GameControl.h"
#include "Core/Widget/Slider.h"

#include <string>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ParticlesLayer;
}
namespace render
{
class ParticleEmitter;
}

class SliderLayer;

// The game's horizontal slider: a bar drawn filled up to the thumb, a thumb, and a looping glint that follows
// the thumb while the slider is hovered, held or gliding. A press on the bar makes the thumb glide to the
// pressed point (200 units per second on average, eased); a press on the thumb drags it. Moving values are
// reported as changing, the settled value as changed. Every position is kept on the track, so no value
// leaves [minimum, maximum].
class TamselSlider : public gui::GameControl,
                     public widget::Slider,
                     public widget::WidgetListener,
                     public widget::WidgetHitTestListener
{
public:
    static constexpr float kGlideSpeed = 200.0f;

    TamselSlider();
    // Deletes the thumb (the holder and the bar are state images, the glint belongs to the helper).
    ~TamselSlider() override;

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();
    // Places the thumb at the value.
    VNResultEnum UpdateView() override;
    // Glint, press pulse and glide.
    VNResultEnum Update(float dt) override;
    VNResultEnum OnCapturedMouseUp(widget::CaptureInfo* capture, const math::Point3& point,
                                   int32_t button) override;
    VNResultEnum OnCapturedMouseDrag(widget::CaptureInfo* capture, const math::Point3& point) override;
    // A press on the bar starts a glide, one on the thumb grabs it where it was hit.
    VNResultEnum GetCaptureInfo(const math::Point3& point, widget::CaptureInfo& out) override;

    // Builds the bar, the thumb and the glint from the layout (not owned) and places the thumb at the value.
    // A picture that cannot be loaded ends it with the loader's result.
    VNResultEnum init(file::ImageContainer* folder, const std::wstring& barImage,
                      const std::wstring& thumbImage);

    // The value of a thumb position; the minimum on a track without length.
    float valueAt(float x) const;
    bool isGliding() const { return mGlideDuration > 0.0f; }

    widget::Slider* mSlider = nullptr;
    SliderLayer* mBar = nullptr;
    // Owned; the only child of the holder (state image 1).
    layer::ImageLayer* mThumb = nullptr;
    // Owned by the helper; it owns the emitter.
    layer::ParticlesLayer* mGlintLayer = nullptr;
    render::ParticleEmitter* mGlint = nullptr;
    // The holder's x range, control coordinates.
    float mTrackLeft = 0.0f;
    float mTrackRight = 0.0f;
    float mHalfThumbWidth = 0.0f;
    float mPressPulse = 0.0f;
    bool mGlintActive = false;
    bool mDragging = false;
    float mGlideStartX = 0.0f;
    float mGlideTargetX = 0.0f;
    // No glide runs while the duration is 0.
    float mGlideDuration = 0.0f;
    float mGlideElapsed = 0.0f;

private:
    layer::ImageLayer* holder() const { return mStateSlots[1]; }
    // The holder to x, the bar filled up to it, the glint over it.
    void moveThumb(float x);
    float clampToTrack(float x) const;

    layer::ImageLayer* mStateSlots[2] = {};
};
