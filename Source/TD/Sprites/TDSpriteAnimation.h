#pragma once

#include <cstddef>
#include <string>

namespace render
{
class Graphics;
}

class TDFrameEntry;
class TDSpriteSheet;

// Plays one layer group of a sprite sheet at a frame rate and places the current frame at a point, turned by
// an angle, keeping each layer where the document draws it relative to the sheet's "s_point" marker.
class TDSpriteAnimation
{
public:
    static constexpr float kDefaultAnchorX = 50.0f;
    static constexpr float kDefaultAnchorY = 30.0f;

    // The sheet comes from the registry (loaded on first request); an empty group plays the root group.
    TDSpriteAnimation(const std::wstring& sheetPath, const std::wstring& group);

    // True when an animation of that many frames has played through by time: at once for no frames or a
    // frame rate that is not positive (nothing to wait for), else once time reaches frames / fps.
    static bool isPlayedThrough(float time, std::size_t frames, float fps);

    // Images of the sheet's root group.
    std::size_t getFrameCount() const;
    // Advances the time; it wraps to 0 after one cycle of the root group.
    void advance(float dt);
    // The sheet's shared entry to show, its transform set for (x, y, angle in degrees); null when the played
    // group has no images.
    TDFrameEntry* getFrame(float x, float y, float angle);
    // Draws the current frame centred through its transform, in the graphics' current colour.
    void draw(render::Graphics* graphics, float x, float y, float angle);

    // Shared, owned by the registry.
    TDSpriteSheet* mSheet = nullptr;
    // The played group's name as the sheet keys it (narrow), converted once.
    std::string mGroup;
    float mTime = 0.0f;
    float mAnchorX = kDefaultAnchorX;
    float mAnchorY = kDefaultAnchorY;
    std::wstring mSheetPath;
    float mFps = 30.0f;
};
