#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"

#include <cstdint>
#include <string>

namespace file
{
class ImageContainer;
}
namespace render
{
class Graphics;
}

class TDFrameEntry;

// The root of the buttons that screens draw by hand and keep beside their layout's frame buttons. It reports
// hits to its owner, which decides what a hit means.
class HUDButton
{
public:
    HUDButton();
    HUDButton(const HUDButton&) = delete;
    HUDButton& operator=(const HUDButton&) = delete;

    virtual void draw(render::Graphics* graphics);
    // Advances the elapsed time.
    virtual void update(float dt);
    virtual ~HUDButton();
    // Whether a press at the point may act now; false here.
    virtual bool hitTest(int x, int y);
    // Whether the point lies on the button; false here.
    virtual bool contains(int x, int y);
    virtual void mouseDown(int x, int y);
    virtual void mouseUp(int x, int y);
    virtual void mouseMove(int x, int y);

    // The board's button label font at construction.
    CountedHandle<render::Font> mFont;
    // An invisible button neither draws nor hits.
    uint8_t mVisible = 0;
    // Seconds; a spell button counts its remaining recharge here instead.
    float mElapsed = 0.0f;
    // Added to the x of the picture, the label and the hit test.
    float mXOffset = 0.0f;
    int32_t mHovered = 0;
    // The hover zoom, within [1.0, 1.1].
    float mScale = 1.0f;
    // A spell button keeps its cooling flag here instead.
    int32_t mPressed = 0;
    // A spell button's place in the HUD's list.
    int32_t mIndex = 0;
    // The answer of a click.
    std::wstring mName;
    float mCenterX = 0.0f;
    float mCenterY = 0.0f;
    // Set by the owning screen.
    std::wstring mLabel;
    math::Rect mLabelRect;
};

// A labelled two-picture button of a layout group "button/<art>_<name>": its place is the group's "pos"
// image, its optional label place the group's "label" image, and its pictures the images
// "button/<art>_normal" and "button/<art>_over" shared by every button of the same art. It shows the over
// picture while pressed and grows while hovered.
class HUDButtonOver : public HUDButton
{
public:
    // A layout image the group needs and lacks is logged once; the button then has no picture (and, without
    // "pos", no area).
    HUDButtonOver(file::ImageContainer* layout, const std::wstring& groupName);

    // The shown picture centred on its place, zoomed; then the label, zoomed, in the button font.
    void draw(render::Graphics* graphics) override;
    // Grows by dt x 0.5 while hovered, shrinks by dt otherwise, within [1.0, 1.1].
    void update(float dt) override;
    ~HUDButtonOver() override;
    // Visible, and the point inside the shown picture's rectangle, edges included.
    bool contains(int x, int y) override;
    // Pressed while the press landed on the button, until the next release anywhere.
    void mouseDown(int x, int y) override;
    void mouseUp(int x, int y) override;
    void mouseMove(int x, int y) override;

    // Owned.
    TDFrameEntry* mNormal = nullptr;
    TDFrameEntry* mOver = nullptr;
    uint8_t mHasLabel = 0;

private:
    const TDFrameEntry* shownFrame() const;
};
