#include "Source/TD/HUD/Controls/HUDButton.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Paths.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{

constexpr float kMinZoom = 1.0f;
constexpr float kMaxZoom = 1.1f;

// The image's record; a missing one is logged (each lookup happens once per button).
const base::ImageInfo* findLayer(file::ImageContainer* layout, const std::wstring& name)
{
    const base::ImageInfo* info = findPsdLayer(layout, name);
    if (info == nullptr)
        logDataProblem(layout != nullptr ? layout->GetPath() : std::wstring(L"(no layout)"),
                       L"no layer '" + name + L"'");
    return info;
}

// A picture of the layout placed on the button's rectangle; without the image it has no texture.
TDFrameEntry* makeFace(file::ImageContainer* layout, const std::wstring& imageName, const math::Rect& rect)
{
    auto* face = new TDFrameEntry;
    face->mOwnsTexture = true;
    face->mRect = rect;
    face->mName = base::GetBaseName(imageName);
    if (findLayer(layout, imageName) != nullptr)
        face->mTexture = loadPsdLayerImage(layout, imageName);
    return face;
}

} // namespace

HUDButton::HUDButton() : mFont(boardFont(TDBoardFont::Main32_1)) {}

HUDButton::~HUDButton() = default;

void HUDButton::draw(render::Graphics*) {}

void HUDButton::update(float dt)
{
    mElapsed += dt;
}

bool HUDButton::hitTest(int, int)
{
    return false;
}

bool HUDButton::contains(int, int)
{
    return false;
}

void HUDButton::mouseDown(int, int) {}

void HUDButton::mouseUp(int, int) {}

void HUDButton::mouseMove(int, int) {}

HUDButtonOver::HUDButtonOver(file::ImageContainer* layout, const std::wstring& groupName)
{
    std::wstring art;
    std::wstring name;
    base::StringTokenizer<std::wstring> pieces(groupName, L'_', true);
    (void)pieces.Next(&art);
    (void)pieces.Next(&name);
    mName = name;

    const std::wstring group = L"button/" + groupName;
    math::Rect place;
    if (const base::ImageInfo* pos = findLayer(layout, group + L"/pos"))
        place = layoutRect(*pos);
    if (const base::ImageInfo* label = findPsdLayer(layout, group + L"/label"))
    {
        mHasLabel = 1;
        mLabelRect = layoutRect(*label);
    }
    mNormal = makeFace(layout, L"button/" + art + L"_normal", place);
    mOver = makeFace(layout, L"button/" + art + L"_over", place);
    mVisible = 1;
}

HUDButtonOver::~HUDButtonOver()
{
    delete mNormal;
    delete mOver;
}

const TDFrameEntry* HUDButtonOver::shownFrame() const
{
    return mPressed != 0 ? mOver : mNormal;
}

bool HUDButtonOver::contains(int x, int y)
{
    const TDFrameEntry* frame = shownFrame();
    if (mVisible == 0 || frame == nullptr)
        return false;
    const math::Rect& r = frame->mRect;
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px >= mXOffset + r.x && px <= r.x + r.width + mXOffset && py >= r.y && py <= r.y + r.height;
}

void HUDButtonOver::mouseDown(int x, int y)
{
    mPressed = contains(x, y) ? 1 : 0;
}

void HUDButtonOver::mouseUp(int, int)
{
    mPressed = 0;
}

void HUDButtonOver::mouseMove(int x, int y)
{
    mHovered = contains(x, y) ? 1 : 0;
}

void HUDButtonOver::update(float dt)
{
    HUDButton::update(dt);
    if (mHovered != 0)
        mScale = std::min(mScale + dt * 0.5f, kMaxZoom);
    else
        mScale = std::max(mScale - dt, kMinZoom);
}

void HUDButtonOver::draw(render::Graphics* graphics)
{
    if (mVisible == 0 || graphics == nullptr)
        return;
    const TDFrameEntry* frame = shownFrame();
    if (frame != nullptr && frame->mTexture != nullptr)
    {
        const math::Rect& r = frame->mRect;
        auto picture = graphics->DrawImage(frame->mTexture);
        picture->mAlignH = 2;
        picture->mAlignV = 2;
        picture.Scale(mScale).Translate(r.x + r.width * 0.5f + mXOffset, r.y + r.height * 0.5f);
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (mFont)
        graphics->mFont = mFont.Get();
    if (mHasLabel == 0 || mLabel.empty() || graphics->mFont == nullptr)
        return;
    auto label = graphics->DrawText(mLabel);
    label->mAlignH = 2;
    label->mAlignV = 2;
    label.Scale(mScale).Translate(mLabelRect.x + mLabelRect.width * 0.5f + mXOffset,
                                  mLabelRect.y + mLabelRect.height * 0.5f);
}
