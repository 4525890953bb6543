#include "Source/TD/HUD/Controls/HUDTabBar.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{

constexpr wchar_t kActiveImage[] = L"tabs/up_button_ac";
constexpr wchar_t kInactiveImage[] = L"tabs/up_button_in";
constexpr float kFirstTabX = 300.0f;
constexpr float kTabPitch = 200.0f;
constexpr float kLabelBoxWidth = 211.0f;
constexpr float kMinZoom = 1.0f;
constexpr float kMaxZoom = 1.1f;

std::wstring pathOf(file::ImageContainer* layout)
{
    return layout != nullptr ? layout->GetPath() : std::wstring(L"(no layout)");
}

// A picture of the layout at (0, 0); a layer the layout lacks leaves it empty (the bar reports it once).
layer::ImageLayer* makePicture(file::ImageContainer* layout, const wchar_t* name)
{
    auto* picture = new layer::ImageLayer;
    if (findPsdLayer(layout, name) != nullptr)
        picture->SetImage(loadPsdLayerImage(layout, name), true);
    return picture;
}

int widthOf(const layer::ImageLayer* picture)
{
    return picture->GetImage() != nullptr ? picture->GetImage()->GetWidth() : 0;
}

int heightOf(const layer::ImageLayer* picture)
{
    return picture->GetImage() != nullptr ? picture->GetImage()->GetHeight() : 0;
}

void detachAndDelete(layer::Layer* layer)
{
    removeFromParent(layer);
    delete layer;
}

} // namespace

HUDTab::HUDTab(file::ImageContainer* layout, const std::wstring& labelKey)
{
    mActive = makePicture(layout, kActiveImage);
    mInactive = makePicture(layout, kInactiveImage);
    mLabel = new layer::TextLayer(boardFont(TDBoardFont::Main42_1), LocalStrings::Instance()->get(labelKey),
                                  kLabelBoxWidth, 0.0f, 2, false);
    mLabel->SetAlignment(2, 2);
    mLabel->SetPosition(math::Point3(static_cast<float>(widthOf(mActive)) * 0.5f,
                                     static_cast<float>(heightOf(mActive)) * 0.5f + 6.0f, 0.0f));
    mInner = new layer::Layer;
    mInner->SetPosition(math::Point3(static_cast<float>(-(widthOf(mInactive) / 2)),
                                     static_cast<float>(-heightOf(mInactive)), 0.0f));
    mInner->AddChild(mInactive);
    mInner->AddChild(mActive);
    mInner->AddChild(mLabel);
    mRoot = new layer::Layer;
    mRoot->AddChild(mInner);
}

HUDTab::~HUDTab()
{
    detachAndDelete(mLabel);
    detachAndDelete(mActive);
    detachAndDelete(mInactive);
    detachAndDelete(mInner);
    detachAndDelete(mRoot);
}

void HUDTab::setSelected()
{
    mLabel->SetFont(boardFont(TDBoardFont::Main42_3));
    mSelected = 1;
    mScale = kMaxZoom;
    mInactive->SetVisible(false);
    mActive->SetVisible(true);
}

void HUDTab::setDeselected()
{
    mLabel->SetFont(boardFont(TDBoardFont::Main32_2));
    mHovered = 0;
    mSelected = 0;
    mInactive->SetVisible(true);
    mActive->SetVisible(false);
}

bool HUDTab::contains(int x, int y) const
{
    if (mEnabled == 0)
        return false;
    const math::Point3& anchor = mRoot->GetPosition();
    const float half = static_cast<float>(widthOf(mActive) / 2);
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px > anchor.x - half && px < anchor.x + half &&
           py > anchor.y - static_cast<float>(heightOf(mActive)) && py < anchor.y;
}

HUDTabBar::HUDTabBar(file::ImageContainer* layout, const std::vector<std::wstring>& labelKeys,
                     const std::vector<bool>& enabled)
{
    mRoot = new layer::Layer;
    // Every tab shows the same two pictures: a missing one is reported once for the bar.
    for (const wchar_t* name : {kActiveImage, kInactiveImage})
        if (findPsdLayer(layout, name) == nullptr)
            logDataProblem(pathOf(layout), std::wstring(L"no layer '") + name + L"'; the tabs show nothing");
    float baseline = 0.0f;
    if (const base::ImageInfo* info = findPsdLayer(layout, kActiveImage))
        baseline = info->mRect[1] + info->mRect[3];
    float x = kFirstTabX;
    for (size_t i = 0; i < labelKeys.size(); ++i)
    {
        auto* tab = new HUDTab(layout, labelKeys[i]);
        tab->mRoot->SetPosition(math::Point3(x, baseline, 0.0f));
        tab->mEnabled = i < enabled.size() && enabled[i] ? 1 : 0;
        mRoot->AddChild(tab->mRoot);
        mTabs.push_back(tab);
        if (tab->mEnabled != 0)
            x += kTabPitch;
    }
    if (layer::Layer* board = boardRootLayer())
        board->AddChild(mRoot);
    if (!mTabs.empty())
        select(0);
}

HUDTabBar::~HUDTabBar()
{
    for (HUDTab* tab : mTabs)
        delete tab;
    mTabs.clear();
    detachAndDelete(mRoot);
}

void HUDTabBar::select(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= mTabs.size())
        return;
    HUDTab* chosen = mTabs[static_cast<size_t>(index)];
    mRoot->RemoveChild(chosen->mRoot);
    mRoot->AddChild(chosen->mRoot);
    for (HUDTab* tab : mTabs)
    {
        if (tab == chosen)
            tab->setSelected();
        else
            tab->setDeselected();
    }
}

int HUDTabBar::press(int x, int y)
{
    for (size_t i = 0; i < mTabs.size(); ++i)
    {
        if (mTabs[i]->contains(x, y))
        {
            select(static_cast<int>(i));
            return static_cast<int>(i);
        }
    }
    return -1;
}

void HUDTabBar::updateHover(int x, int y)
{
    for (HUDTab* tab : mTabs)
        if (tab->mSelected == 0)
            tab->mHovered = tab->contains(x, y) ? 1 : 0;
}

void HUDTabBar::update(float dt)
{
    for (HUDTab* tab : mTabs)
    {
        if (tab->mSelected == 0)
        {
            const bool hovered = tab->mHovered != 0;
            tab->mActive->SetVisible(hovered);
            tab->mInactive->SetVisible(!hovered);
            tab->mScale =
                hovered ? std::min(tab->mScale + dt * 0.5f, kMaxZoom) : std::max(tab->mScale - dt, kMinZoom);
        }
        tab->mRoot->SetScale(math::Point3(tab->mScale, tab->mScale, 0.0f));
    }
}
