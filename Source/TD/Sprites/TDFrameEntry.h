#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Render/Color.h"
#include "Core/Render/Transform2D.h"

#include <cstdint>
#include <string>

namespace render
{
class Graphics;
class Image;
class ParticleEmitter;
class ShaderTextured;
} // namespace render

class TDBuildSpot;

// One named image of a sprite sheet or a screen layout: its texture, its rectangle in the document, how the
// map draws it (colour, shader, blend, mirror, transform) and where it sorts.
class TDFrameEntry
{
public:
    TDFrameEntry() = default;
    // Copies every field, the owns-texture flag included: a copier that does not take the texture over
    // clears the copy's flag.
    TDFrameEntry(const TDFrameEntry&) = default;
    TDFrameEntry& operator=(const TDFrameEntry&) = default;
    // Releases the texture only when the entry owns it.
    virtual ~TDFrameEntry();

    virtual void draw(render::Graphics* graphics, float scale);
    virtual void onMouseMove(int x, int y);
    virtual void update(float dt);

    // Layout order: back to front by layer index.
    static bool lessByDepth(const TDFrameEntry* a, const TDFrameEntry* b) { return a->mDepth < b->mDepth; }

    // Null: the default textured shader.
    render::ShaderTextured* mShader = nullptr;
    // Handed to the shader as its second colour.
    render::Color mShaderColor{0.0f, 0.0f, 0.0f, 0.0f};
    bool mOwnsTexture = false;
    render::Color mColor{1.0f, 1.0f, 1.0f, 1.0f};
    // Null draws nothing.
    render::Image* mTexture = nullptr;
    std::wstring mName;
    bool mAdditive = false;
    bool mMirrored = false;
    // The layer's bounds in its document, layout units.
    math::Rect mRect;
    // The layer's index in its document; set by the layout loaders, not by sheets.
    int32_t mDepth = 0;
    // Where the entry is drawn when an animation places it.
    render::Transform2D mTransform;
    // The map's depth-sort key; set by whoever queues the entry.
    float mSortKey = 0.0f;
    // The build spot the entry stands for, not owned.
    TDBuildSpot* mLink = nullptr;
    // When set, drawn in place of the texture; not owned.
    render::ParticleEmitter* mParticles = nullptr;
    bool mVisible = true;
};
