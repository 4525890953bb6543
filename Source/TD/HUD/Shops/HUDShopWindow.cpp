#include "Source/TD/HUD/Shops/HUDShopWindow.h"

#include "Core/Base/Delegate.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/TextStream.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/HUDScrollBar.h"
#include "Source/TD/HUD/Controls/HUDTabBar.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Shops/HUDShopPlate.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{

// The scroll column: a press there may start a drag of the list.
constexpr int kScrollLeft = 865;
constexpr int kScrollRight = 909;
constexpr int kScrollTop = 201;
constexpr int kScrollBottom = 619;
// A wheel notch of 120 moves the list by 120 / 1024 of its range.
constexpr float kWheelRange = 1024.0f;
constexpr float kButtonStep = 0.25f;

std::wstring decimal(int value)
{
    base::TextStream stream;
    stream.WriteInt(value);
    return stream.GetText();
}

int gemCount()
{
    const TDMap* map = Game::GetMap();
    return map != nullptr && map->mEconomy ? map->mEconomy->mGems : 0;
}

// A text on the board, centred on the middle of a layout rectangle (where it stays when the layout lacks it).
layer::TextLayer* centredText(file::ImageContainer* layout, const wchar_t* rectName, const std::wstring& text,
                              float boxWidth)
{
    auto* label = new layer::TextLayer(boardFont(TDBoardFont::Main80), text, boxWidth, 0.0f, 2, false);
    label->SetAlignment(2, 2);
    if (const base::ImageInfo* rect = findPsdLayer(layout, rectName))
        label->SetPosition(math::Point3(static_cast<float>(rect->mRect[0]) + rect->mRect[2] * 0.5f,
                                        static_cast<float>(rect->mRect[1]) + rect->mRect[3] * 0.5f, 0.0f));
    return label;
}

} // namespace

HUDShopWindow::HUDShopWindow(int fromGame) : mFromGame(fromGame)
{
    load(L"td/shop");
    setButtonVisible(fromGame == 0 ? L"return_ac" : L"back_ac", false);
    TDMap* map = Game::GetMap();
    if (map != nullptr)
        map->mState = kStateShop;
    setFont(boardFont(TDBoardFont::Main80));
    setText(L"caption", LocalStrings::Instance()->get(L"shop"));
    mContainer = new layer::Layer;

    std::vector<std::wstring> tabKeys;
    std::vector<bool> tabEnabled;
    for (int i = 0; i < kSections; ++i)
    {
        tabKeys.push_back(L"shop_tab_" + decimal(i));
        tabEnabled.push_back(sectionAvailableCount(i) > 0);
    }
    mScrollBar = new HUDScrollBar(mLayout);

    // The board draws the header and the footer over the plates; the window's own copies would only lie
    // under them.
    setImageVisible(L"back_header", false);
    setImageVisible(L"back_footer", false);
    mHeader = new layer::ImageLayer;
    mFooter = new layer::ImageLayer;
    initImageLayerFromPsd(mHeader, mLayout, L"back_header", math::Point2(0.0f, 0.0f));
    initImageLayerFromPsd(mFooter, mLayout, L"back_footer", math::Point2(0.0f, 0.0f));
    mCaption = centredText(mLayout, L"text/caption", LocalStrings::Instance()->get(L"shop"), 429.0f);
    mGems = centredText(mLayout, L"text/gems", decimal(gemCount()), 200.0f);
    layer::Layer* board = boardRootLayer();
    if (board != nullptr)
    {
        board->AddChild(mHeader);
        board->AddChild(mFooter);
    }
    CountedHandle<layer::Layer::DrawDelegate> overFooter;
    overFooter.Reset(new base::MemberDelegate2<HUDShopWindow, render::Graphics*, layer::Layer*, VNResultEnum>(
        this, &HUDShopWindow::drawButtonsOverFooter));
    mFooter->SetPostDraw(overFooter);
    mTabs = new HUDTabBar(mLayout, tabKeys, tabEnabled);
    if (board != nullptr)
    {
        board->AddChild(mCaption);
        board->AddChild(mGems);
    }
    showSection(0);

    // Each variant offers the way to the gem shop that brings the player back to it.
    for (TDButtonFrame* button : mButtons)
    {
        if (button->mName == L"gem_shop0")
            button->mVisible = fromGame == 0;
        else if (button->mName == L"gem_shop1")
            button->mVisible = fromGame != 0;
        else if (button->mName == L"gem_shop")
            button->mVisible = false;
    }
}

HUDShopWindow::~HUDShopWindow()
{
    removeFromParent(mHeader);
    removeFromParent(mFooter);
    removeFromParent(mCaption);
    removeFromParent(mGems);
    deletePlates();
    delete mGems;
    delete mCaption;
    delete mContainer;
    releaseLayout();
    delete mTabs;
    delete mScrollBar;
    // The delegate points at this window: it goes with the footer.
    mFooter->SetPostDraw({});
    delete mHeader;
    delete mFooter;
}

bool HUDShopWindow::blocked() const
{
    const TDMap* map = Game::GetMap();
    return map != nullptr && map->mHud && map->mHud->mBlockShop != 0;
}

void HUDShopWindow::deletePlates()
{
    for (HUDShopPlate* plate : mPlates)
        delete plate;
    mPlates.clear();
}

void HUDShopWindow::draw(render::Graphics* graphics)
{
    HUDWindow::draw(graphics);
    if (graphics != nullptr)
        (void)mContainer->Draw(graphics);
}

void HUDShopWindow::update(float dt)
{
    for (TDButtonFrame* button : mButtons)
        button->update(dt);
    mTabs->update(dt);
    for (HUDShopPlate* plate : mPlates)
        plate->update(dt);
    mGems->SetText(decimal(gemCount()));
}

void HUDShopWindow::refresh()
{
    for (HUDShopPlate* plate : mPlates)
        plate->refresh();
}

void HUDShopWindow::mouseMove(int x, int y)
{
    for (HUDShopPlate* plate : mPlates)
        plate->updateHover(x, y);
    for (TDButtonFrame* button : mButtons)
        button->onMouseMove(x, y);
    if (mPlates.size() >= 4)
    {
        if (mDragState == 1)
            mDragState = 2;
        mScrollBar->drag(static_cast<float>(x), static_cast<float>(y));
        if (mScrollBar->mDragState == 0)
            applyScroll(mScrollBar->mPosition);
    }
    mTabs->updateHover(x, y);
}

void HUDShopWindow::mouseDown(int x, int y)
{
    if (x >= kScrollLeft && x <= kScrollRight && y >= kScrollTop && y <= kScrollBottom)
        mDragState = 1;
    if (!blocked())
    {
        mScrollBar->press(static_cast<float>(x), static_cast<float>(y));
        const int tab = mTabs->press(x, y);
        if (tab != -1)
        {
            mSection = tab;
            (void)w7::SoundTags::Instance()->Play(L"simple");
            showSection(tab);
        }
    }
    for (HUDShopPlate* plate : mPlates)
        plate->refresh();
}

void HUDShopWindow::mouseUp(int x, int y)
{
    // A release that ends a drag of the list is no press of a buy button.
    if (mDragState != 2)
        for (HUDShopPlate* plate : mPlates)
            plate->release(x, y);
    mScrollBar->release(static_cast<float>(x), static_cast<float>(y));
    mDragState = 0;
}

void HUDShopWindow::mouseWheel(int delta)
{
    if (mPlates.size() < 5)
        return;
    scrollTo(mScrollBar->mPosition - static_cast<float>(delta) / kWheelRange);
}

std::wstring HUDShopWindow::click(int x, int y)
{
    if (blocked())
        return std::wstring();
    const std::wstring name = HUDWindow::click(x, y);
    if (name == L"down_in")
    {
        scrollTo(mScrollBar->mPosition + kButtonStep);
        return std::wstring();
    }
    if (name == L"up_in")
    {
        scrollTo(mScrollBar->mPosition - kButtonStep);
        return std::wstring();
    }
    return name;
}

void HUDShopWindow::scrollTo(float position)
{
    mScrollBar->mPosition = std::clamp(position, 0.0f, 1.0f);
    applyScroll(mScrollBar->mPosition);
    mScrollBar->placeSlider();
}

int HUDShopWindow::sectionAvailableCount(int section)
{
    const TDMap* map = Game::GetMap();
    if (map == nullptr || !map->mUpgrades || !map->mUnlocks)
        return 0;
    std::vector<TDUpgrade*> upgrades;
    map->mUpgrades->getBySection(section, upgrades);
    return static_cast<int>(std::count_if(upgrades.begin(), upgrades.end(),
                                          [&](const TDUpgrade* upgrade)
                                          { return upgrade->isAvailable(true, *map->mUnlocks); }));
}

void HUDShopWindow::applyScroll(float position)
{
    const float hidden = static_cast<float>(static_cast<int>(mPlates.size()) - kVisiblePlates);
    mContainer->SetPosition(math::Point3(0.0f, -hidden * position * kScrollPitch, 0.0f));
}

void HUDShopWindow::showSection(int section)
{
    deletePlates();
    mScrollBar->reset();
    mContainer->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));
    const TDMap* map = Game::GetMap();
    if (map != nullptr && map->mUpgrades && map->mUnlocks)
    {
        math::Point2 origin(0.0f, 0.0f);
        if (const base::ImageInfo* plate = findPsdLayer(mLayout, L"item_plate/Layer_1"))
            origin = math::Point2(static_cast<float>(plate->mRect[0]), static_cast<float>(plate->mRect[1]));
        std::vector<TDUpgrade*> upgrades;
        map->mUpgrades->getBySection(section, upgrades);
        for (const TDUpgrade* upgrade : upgrades)
        {
            if (!upgrade->isAvailable(true, *map->mUnlocks))
                continue;
            auto* plate = new HUDShopPlate(mLayout, *upgrade);
            plate->mRoot->SetPosition(
                math::Point3(origin.x, origin.y + kPlatePitch * static_cast<float>(mPlates.size()), 0.0f));
            mContainer->AddChild(plate->mRoot);
            mPlates.push_back(plate);
        }
    }
    const bool scrolls = mPlates.size() >= 5;
    mScrollBar->mRoot->SetVisible(scrolls);
    for (TDButtonFrame* button : mButtons)
        if (button->mName == L"down_in" || button->mName == L"up_in")
            button->mVisible = scrolls;
}

VNResultEnum HUDShopWindow::drawButtonsOverFooter(render::Graphics* graphics, layer::Layer*)
{
    if (graphics == nullptr)
        return VN_OK;
    for (TDButtonFrame* button : mButtons)
        if (button->mVisible)
            button->draw(graphics, 1.0f);
    return VN_OK;
}
