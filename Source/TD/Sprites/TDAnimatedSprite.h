#pragma once

#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Sprites/TDSpriteAnimation.h"
#include "Source/TD/Sprites/TDTargetPoint.h"

#include <cstdint>

// A short-lived effect on the map: plays a sheet's root group once or in a loop after an optional delay,
// fades out over its last 0.2 s, and may ride along with a unit.
class TDAnimatedSprite : public TDSprite
{
public:
    static constexpr float kFrameRate = 20.0f;
    static constexpr float kFadeTime = 0.2f;

    explicit TDAnimatedSprite(const std::wstring& sheetPath);

    // Draws the sprite at the target's position from now on; null changes nothing. A target that goes away
    // leaves the sprite where it last saw it.
    void follow(TDTargetPoint* target);
    // Seconds of one pass over the root group; 0 when the frame rate is not positive.
    float getDuration() const;
    // Where the sprite is drawn: the followed target's position while it lives, else its own.
    math::Point2 getDrawPosition() const;

    void update(float dt) override;
    void draw(render::Graphics* graphics) override;

    TDSpriteAnimation mAnimation;
    // 0 plays once, anything else loops.
    int32_t mLoop = 0;
    // Seconds still to wait before the animation starts.
    float mDelay = 0.0f;
    TDWatch<TDTargetPoint> mFollowed;
};
