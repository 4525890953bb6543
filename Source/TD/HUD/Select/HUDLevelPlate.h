#pragma once

#include <array>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
class ParticlesLayer;
class TextLayer;
} // namespace layer
namespace render
{
class Graphics;
class Image;
class ParticleEmitter;
} // namespace render

// One level of the level select: a plate whose picture tells locked, open, completed or three stars, with
// its number, up to three stars, a "new" badge while the player has not been shown it, and particles on the
// level to play next. Its layers hang below its own root layer, which the screen draws.
class HUDLevelPlate
{
public:
    // The plate of level index `level` of episode `episode` in the map's mode, built from the screen's
    // layout.
    HUDLevelPlate(int episode, int level, file::ImageContainer* layout);
    ~HUDLevelPlate();
    HUDLevelPlate(const HUDLevelPlate&) = delete;
    HUDLevelPlate& operator=(const HUDLevelPlate&) = delete;

    // Hover zoom and the particles.
    void update(float dt);
    void draw(render::Graphics* graphics);
    // Strictly inside the plate's rectangle.
    bool contains(int x, int y) const;

    bool mOpen = false;
    int mEpisode = 0;
    bool mCompleted = false;
    // 0 to 3, whatever the profile holds.
    int mStars = 0;
    layer::Layer* mRoot = nullptr;
    layer::ImageLayer* mPlate = nullptr;
    layer::TextLayer* mNumber = nullptr;
    layer::ImageLayer* mNewBadge = nullptr;
    layer::TextLayer* mNewText = nullptr;
    std::array<layer::ImageLayer*, 3> mStarLayers{};
    layer::ImageLayer* mStarsPlate = nullptr;
    // Owned by the plate; the plate layer only shows it.
    render::Image* mStateImage = nullptr;
    layer::ParticlesLayer* mParticles = nullptr;
    int mHover = 0;
    float mZoom = 1.0f;
    int mLevel = 0;
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
};
