#pragma once

#include <cstdint>

namespace render
{
class Graphics;
class Image;
} // namespace render

// One picture of the splash screens: faded in from black (0.5 s), held (1.5 s), faded out to black (0.5 s).
class TDSplashLogo
{
public:
    // Takes the image (null: a black logo of the same length).
    explicit TDSplashLogo(render::Image* image);
    ~TDSplashLogo();
    TDSplashLogo(const TDSplashLogo&) = delete;
    TDSplashLogo& operator=(const TDSplashLogo&) = delete;

    // The time beyond a phase's end is dropped at each change.
    void update(float dt);
    // The picture centred on the viewport, then the black fade over the whole screen.
    void draw(render::Graphics* graphics);

    // Owned; null when the file could not be loaded.
    render::Image* mImage = nullptr;
    // 0 fading in, 1 holding, 2 fading out, 3 done.
    int32_t mPhase = 0;
    // Seconds in the current phase.
    float mTime = 0.0f;
};
